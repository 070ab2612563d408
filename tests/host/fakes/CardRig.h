#pragma once

#include <string>

#include "FakeCard.h"
#include "FakeDeviceInventory.h"
#include "FakeRegistry.h"
#include "InMemoryFiles.h"
#include "VirtualClock.h"
#include "card/CardOperations.h"
#include "card/CardState.h"
#include "config/IniProfile.h"

namespace quorvel::test {

inline constexpr char kModemName[] = "KELTRO Datalink - 3G Modem";
inline constexpr char kUiPortName[] = "KELTRO Datalink - 3G PC UI Interface";
inline constexpr char kConfigPath[] = "C:\\Cards\\Quorvel.ini";

// A whole machine for the card operations: a scripted card on the one COM port, the devices
// and driver keys that lead to it, a configuration file, and the run's state.
struct CardRig {
    CardRig();

    // The card installed as a modem whose driver key records its port.
    void InstallModem(int comNumber, const std::string& friendlyName = kModemName);
    // A serial device of the Ports class, e.g. the card's PC UI interface "... (COM8)".
    void AddPortsDevice(const std::string& friendlyName);
    void WriteConfig(const std::string& text) { files.AddFile(kConfigPath, text); }
    // The card answers every command with OK and the type query with its model.
    void AnswerAsCard(const std::string& model = "K3000");

    static std::string Device(int comNumber) { return "\\\\.\\COM" + std::to_string(comNumber); }

    VirtualClock clock;
    FakeCard card{clock};
    FakeDeviceInventory devices;
    FakeRegistry registry;
    InMemoryFiles files;
    IniProfile profile{files};
    CardState state;
    CardPlatform platform{card, clock, devices, registry, profile};
    CardOperations operations{state, platform};

  private:
    int driverKeys_ = 0;
};

}  // namespace quorvel::test
