#pragma once

#include <ostream>
#include <string>

#include "card/CardOperations.h"
#include "discovery/PortDiscovery.h"
#include "fakes/FakeCard.h"
#include "fakes/FakeDeviceInventory.h"
#include "fakes/FakeProfile.h"
#include "fakes/FakeRegistry.h"
#include "fakes/RecordingTrace.h"

namespace quorvel {

// A status shows as its number in a failed expectation.
inline void PrintTo(Status status, std::ostream* out) {
    *out << StatusCode(status);
}

}  // namespace quorvel

namespace quorvel::test {

inline constexpr char kModemName[] = "KELTRO Datalink - 3G Modem";
inline constexpr char kUiName[] = "KELTRO Datalink - 3G PC UI Interface";

// A machine for the card operations: the card on the one COM port, the devices and driver keys
// that lead to it, Quorvel.ini, and the run's state. Bare until a preset fills it: no devices,
// a card that says nothing, and a Quorvel.ini without sections.
struct Rig {
    // The card as a machine shows it: its modem, whose driver key gives COM7, and its UI
    // interface on COM8. It answers OK, says it is a K3000, and Quorvel.ini knows that type
    // with CD-ROM number 1 and Diag number 0.
    Rig& CardInstalled();

    static std::string Com(int port) { return "\\\\.\\COM" + std::to_string(port); }
    static std::string DriverKey(const std::string& subkey) {
        return std::string(kModemClassKeyPath) + "\\" + subkey;
    }

    VirtualClock clock;
    FakeCard card{clock};
    FakeDeviceInventory devices;
    FakeRegistry registry;
    FakeProfile profile;
    RecordingTrace trace;
    CardState state;
    CardPlatform platform{card, clock, devices, registry, profile, trace};
    CardOperations operations{state, platform};
};

}  // namespace quorvel::test
