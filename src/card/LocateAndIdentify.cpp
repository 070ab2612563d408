#include <cstdio>

#include "card/CardCommands.h"
#include "card/CardOperations.h"
#include "card/CardType.h"
#include "config/ConfigOperations.h"
#include "discovery/PortDiscovery.h"
#include "serial/EchoOffHandshake.h"
#include "serial/SerialPort.h"

namespace quorvel {

CardOperations::CardOperations(CardState& state, const CardPlatform& platform)
    : state_(state), platform_(platform) {}

CardOperations::~CardOperations() = default;

int CardOperations::LocateAndVerify() {
    state_.portNumber = 0;
    PortDiscovery discovery(platform_.devices, platform_.registry, platform_.clock);
    SerialPort port(platform_.port, platform_.clock);

    if (!discovery.FindCardPort(&state_.portNumber) && !FindConfiguredPort(discovery)) {
        return kStatusCardNotFound;
    }
    // The modem's port may be held by another program; the UI interface port is the
    // fallback, searched afresh even when the first search already found it.
    if (!port.Open(state_.portNumber)) {
        if (!discovery.FindUiPort(&state_.portNumber)) return kStatusCardNotFound;
        if (!port.Open(state_.portNumber)) return kStatusOpenFailed;
    }
    if (EchoOffHandshake(platform_.port, platform_.clock)) return kStatusSuccess;
    port.Close();
    return kStatusNoHandshake;
}

bool CardOperations::FindConfiguredPort(PortDiscovery& discovery) {
    return ReadConfiguredFriendlyName() &&
           discovery.FindPortByName(state_.configuredFriendlyName, &state_.portNumber);
}

bool CardOperations::QueryCardType() {
    state_.status = LocateAndVerify();
    if (state_.status != kStatusSuccess) return false;

    char reply[kReplyBufferSize] = {};
    SerialPort port(platform_.port, platform_.clock);
    if (!port.Open(state_.portNumber)) {
        state_.status = kStatusOpenFailed;
        return false;
    }
    char command[kReplyBufferSize] = {};
    std::snprintf(command, sizeof command, "%s", kCardTypeQuery);
    state_.status = port.SendAtCommand(command, reply);
    port.Close();

    if (state_.status != kStatusSuccess) return false;
    state_.cardType = CleanCardType(reply);
    return true;
}

bool CardOperations::LoadSwitchConfig() {
    return quorvel::LoadSwitchConfig(state_, platform_.profile);
}

bool CardOperations::ReadConfiguredFriendlyName() {
    return quorvel::ReadConfiguredFriendlyName(state_, platform_.profile);
}

}  // namespace quorvel
