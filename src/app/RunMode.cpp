#include "app/RunMode.h"

#include <climits>

#include "base/Status.h"

namespace quorvel {

namespace {

bool IsWhiteSpace(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

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
    std::size_t i = 0;
    while (i < text.size() && IsWhiteSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';

    // Digits past int's range only decide the clamp, so the loop stops soon after it.
    constexpr long long kPastInt = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9' && magnitude <= kPastInt; ++i) {
        magnitude = magnitude * 10 + (text[i] - L'0');
    }
    if (negative) return magnitude >= kPastInt ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

int SilentRunExitStatus(int outcomeStatus) {
    switch (outcomeStatus) {
        case kStatusSuccess:
            return 0;
        case kStatusNoAnswer:
            return 1;
        default:
            return outcomeStatus;
    }
}

}  // namespace quorvel
