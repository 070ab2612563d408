#include <cstdio>

#include "card/CardCommands.h"
#include "card/CardOperations.h"
#include "serial/SerialPort.h"

namespace quorvel {

int CardOperations::SendOnFreshPort(const char* command) {
    SerialPort port(platform_.port, platform_.clock);
    if (!port.Open(state_.portNumber)) return kStatusOpenFailed;
    char reply[kReplyBufferSize] = {};
    const int result = port.SendAtCommand(command, reply);
    port.Close();
    return result;
}

bool CardOperations::SendSwitchCommand(int number) {
    char command[kReplyBufferSize];
    std::snprintf(command, sizeof command, kSwitchCommandFormat, number);
    state_.status = SendOnFreshPort(command);
    return state_.status == kStatusSuccess;
}

bool CardOperations::SwitchBySelection(WizardChoice choice) {
    // Each label names the mode the card leaves; the number sent is the mode it enters.
    switch (choice) {
        case WizardChoice::kFirst:
            return SendSwitchCommand(state_.diagValue);
        case WizardChoice::kSecond:
            return SendSwitchCommand(state_.cdromValue);
        case WizardChoice::kNeither:
            break;
    }
    return false;
}

bool CardOperations::ResetCard() {
    SerialPort port(platform_.port, platform_.clock);
    if (!port.Open(state_.portNumber)) {
        state_.status = kStatusOpenFailed;
        return false;
    }
    // The port is left open: this is the run's last exchange and the process ends after it.
    char reply[kReplyBufferSize] = {};
    state_.status = port.SendAtCommand(kGoOfflineCommand, reply);
    if (state_.status != kStatusSuccess) return false;
    char restartReply[kReplyBufferSize] = {};
    port.SendAtCommand(kRestartCommand, restartReply);
    return true;
}

bool CardOperations::SilentSwitch(int* outcome) {
    int status = LocateAndVerify();
    bool switched = false;
    if (status == kStatusSuccess) {
        switched = SendSwitchCommand(state_.silentValue) && ResetCard();
        status = state_.status;
    }
    if (outcome != nullptr) *outcome = status;
    return switched;
}

}  // namespace quorvel
