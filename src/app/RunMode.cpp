#include "app/RunMode.h"

#include "base/Status.h"
#include "base/Text.h"

namespace quorvel {

namespace {

bool IsSilentSwitch(const std::wstring& argument) {
    return argument == L"-s" || argument == L"-S";
}

CommandLineDecision DecideFromTwoArguments(const std::wstring& mode, const std::wstring& number) {
    CommandLineDecision decision;
    decision.runMode.silent = IsSilentSwitch(mode);
    decision.runMode.value = WideTextToInt(number);
    if (!decision.runMode.silent && decision.runMode.value < 0) {
        decision.runMode = RunMode{};
        decision.message = StartupMessage::kRejectedArguments;
    }
    return decision;
}

}  // namespace

const char* StartupMessageText(StartupMessage message) {
    switch (message) {
        case StartupMessage::kWrongArgumentCount:
            return kWrongArgumentCountText;
        case StartupMessage::kRejectedArguments:
            return kRejectedArgumentsText;
        case StartupMessage::kNone:
            break;
    }
    return "";
}

CommandLineDecision ParseCommandLine(const std::vector<std::wstring>& arguments) {
    if (arguments.size() == 3) return DecideFromTwoArguments(arguments[1], arguments[2]);
    CommandLineDecision decision;
    if (arguments.size() != 1) decision.message = StartupMessage::kWrongArgumentCount;
    return decision;
}

int WideTextToInt(const std::wstring& text) {
    // No character beyond ASCII is a digit, a sign or white space to the rule, so the number
    // ends where the ASCII does, and the narrow reader can take what comes before.
    std::string ascii;
    for (wchar_t c : text) {
        if (c < 1 || c > 0x7F) break;
        ascii += static_cast<char>(c);
    }
    return ReadDecimal(ascii.c_str());
}

int SilentRunExitStatus(int outcomeStatus) {
    switch (outcomeStatus) {
        case kStatusSuccess:
            return 0;
        case kStatusRefusedOrUnanswered:
            return 1;
        default:
            return outcomeStatus;
    }
}

}  // namespace quorvel
