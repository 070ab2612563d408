#include "card/CardOperations.h"

#include <cstdio>
#include <string>

#include "discovery/PortDiscovery.h"
#include "serial/SerialPort.h"

namespace quorvel {

namespace {

// What the card is sent, byte for byte; each command carries its own carriage return.
constexpr char kCardTypeQuery[] = "AT+CGMM\r";
constexpr char kSwitchCommandFormat[] = "at^u2diag=%d\r";
constexpr char kGoOfflineCommand[] = "at+cfun=4\r";
constexpr char kRestartCommand[] = "at+cfun=6\r";

std::string RemoveAll(const std::string& text, const std::string& what) {
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, from)) {
        result.append(text, from, at - from);
        from = at + what.size();
    }
    result.append(text, from, std::string::npos);
    return result;
}

// The card type from the answer to the type query, its lines joined. Configuration files name
// their sections after exactly this text, so a type that holds the letters OK loses them.
std::string CardTypeFromAnswer(const std::string& answer) {
    return RemoveAll(RemoveAll(RemoveAll(answer, "\r"), "\n"), "OK");
}

}  // namespace

CardOperations::CardOperations(CardState& state, const CardPlatform& platform)
    : state_(state), platform_(platform), config_(state, platform.profile, platform.trace) {}

SerialPort CardOperations::Port() const {
    return SerialPort(platform_.port, platform_.clock, platform_.trace);
}

Status CardOperations::Traced(const char* step, Status status) {
    TraceLine(platform_.trace) << step << ": status " << StatusCode(status);
    return status;
}

Status CardOperations::LocateAndVerify() {
    constexpr char kStep[] = "locate and verify";
    state_.portNumber = 0;
    PortDiscovery discovery(platform_.devices, platform_.registry, platform_.clock,
                            platform_.trace);
    SerialPort port = Port();

    if (!discovery.FindCardPort(&state_.portNumber) && !FindConfiguredPort(discovery)) {
        return Traced(kStep, Status::kCardNotFound);
    }
    // The modem's port may be held by another program; the UI interface port is the
    // fallback, searched afresh even when the first search already found it.
    if (!port.Open(state_.portNumber)) {
        if (!discovery.FindUiPort(&state_.portNumber)) return Traced(kStep, Status::kCardNotFound);
        if (!port.Open(state_.portNumber)) return Traced(kStep, Status::kOpenFailed);
    }
    // The handshake closes the port whatever the card says.
    return Traced(kStep, port.EchoOffHandshake() ? Status::kSuccess : Status::kNoHandshake);
}

bool CardOperations::FindConfiguredPort(PortDiscovery& discovery) {
    return config_.ReadConfiguredFriendlyName() &&
           discovery.FindPortByName(state_.configuredFriendlyName, &state_.portNumber);
}

bool CardOperations::QueryCardType() {
    state_.status = LocateAndVerify();
    if (state_.status != Status::kSuccess) return false;
    char reply[kReplyBufferSize] = {};
    state_.status = Traced("card type query", SendOnFreshPort(kCardTypeQuery, reply));
    if (state_.status != Status::kSuccess) return false;
    state_.cardType = CardTypeFromAnswer(reply);
    TraceLine(platform_.trace) << "card type " << Quoted(state_.cardType);
    return true;
}

// Opens the card's port through `port` and sends one command; the port is left as it is.
// `reply` (kReplyBufferSize bytes) receives the card's answer on success.
Status CardOperations::OpenAndSend(SerialPort& port, const char* command, char* reply) {
    if (!port.Open(state_.portNumber)) return Status::kOpenFailed;
    return port.SendAtCommand(command, reply);
}

// One command on a port opened for it alone, closed again whatever the card said. Closing a
// port that never opened does nothing.
Status CardOperations::SendOnFreshPort(const char* command, char* reply) {
    SerialPort port = Port();
    const Status result = OpenAndSend(port, command, reply);
    port.Close();
    return result;
}

bool CardOperations::SendSwitchCommand(int number) {
    char command[kReplyBufferSize];
    std::snprintf(command, sizeof command, kSwitchCommandFormat, number);
    char reply[kReplyBufferSize] = {};
    state_.status = Traced("switch", SendOnFreshPort(command, reply));
    return state_.status == Status::kSuccess;
}

bool CardOperations::SwitchBySelection(SwitchDirection direction) {
    switch (direction) {
        case SwitchDirection::kCdromToDiag:
            return SendSwitchCommand(state_.diagValue);
        case SwitchDirection::kDiagToCdrom:
            return SendSwitchCommand(state_.cdromValue);
        case SwitchDirection::kNone:
            break;
    }
    TraceLine(platform_.trace) << "switch: no direction chosen";
    return false;
}

// The port is left open: this is the run's last exchange and the process ends after it.
bool CardOperations::ResetCard() {
    SerialPort port = Port();
    char reply[kReplyBufferSize] = {};
    state_.status = Traced("reset", OpenAndSend(port, kGoOfflineCommand, reply));
    if (state_.status != Status::kSuccess) return false;
    char restartReply[kReplyBufferSize] = {};
    port.SendAtCommand(kRestartCommand, restartReply);
    return true;
}

Status CardOperations::SilentSwitch() {
    const Status located = LocateAndVerify();
    if (located != Status::kSuccess) return located;
    if (SendSwitchCommand(state_.silentValue)) ResetCard();
    return state_.status;
}

}  // namespace quorvel
