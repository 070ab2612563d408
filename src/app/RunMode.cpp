#include "app/RunMode.h"

#include <optional>

#include "base/Status.h"
#include "base/Text.h"

namespace quorvel {

namespace {

bool IsSilentSwitch(const std::wstring& argument) {
    return argument == L"-s" || argument == L"-S";
}

// The number a silent run sends, written out in full. A script's typo ("5x", "-1", a word)
// must not put the card into a mode nobody asked for. A character beyond ASCII is no digit,
// whatever its low byte.
std::optional<int> ReadSilentNumber(const std::wstring& text) {
    std::string ascii;
    for (wchar_t c : text)
        ascii += static_cast<unsigned long>(c) <= 0x7F ? static_cast<char>(c) : 'x';
    return ReadPlainNumber(ascii);
}

// After any other flag the number is read by _wtoi's rule, and only a negative one is refused.
CommandLineDecision DecideFromTwoArguments(const std::wstring& mode, const std::wstring& number) {
    CommandLineDecision decision;
    decision.runMode.silent = IsSilentSwitch(mode);
    const std::optional<int> value =
        decision.runMode.silent ? ReadSilentNumber(number) : WideTextToInt(number);
    if (value && *value >= 0) {
        decision.runMode.value = *value;
    } else {
        decision.runMode = RunMode{};
        decision.message = StartupMessage::kRejectedArguments;
        decision.reason = IsSilentSwitch(mode)
                              ? "the number after the flag is not plain digits within int"
                              : "the number after the flag is negative";
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
    if (arguments.size() != 1) {
        decision.message = StartupMessage::kWrongArgumentCount;
        decision.reason = "neither none nor two arguments";
    }
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

int WizardRunExitStatus(StartupMessage message, bool wizardShown) {
    if (message != StartupMessage::kNone) return kRejectedArgumentsExitStatus;
    return wizardShown ? kInteractiveRunExitStatus : kNoWizardExitStatus;
}

int SilentRunExitStatus(Status outcome) {
    switch (outcome) {
        case Status::kSuccess:
            return 0;
        case Status::kRefusedOrUnanswered:
            return 1;
        default:
            return StatusCode(outcome);
    }
}

void TraceStart(Trace& trace, const char* version, const std::vector<std::wstring>& arguments,
                const CommandLineDecision& decision) {
    TraceLine(trace) << "start, version " << version << ", " << int(sizeof(void*) * 8) << "-bit";
    {
        TraceLine line(trace);
        line << "command line, split:";
        for (const std::wstring& argument : arguments)
            line << " " << Quoted(argument);
    }
    TraceLine line(trace);
    line << "run mode: ";
    if (decision.runMode.silent) {
        line << "silent, number " << decision.runMode.value;
    } else if (decision.message != StartupMessage::kNone) {
        line << "wizard after refusing the arguments: " << decision.reason;
    } else {
        line << "wizard";
    }
}

int TraceExit(Trace& trace, int exitStatus) {
    TraceLine(trace) << "exit " << exitStatus;
    return exitStatus;
}

}  // namespace quorvel
