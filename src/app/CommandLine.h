#pragma once

#include <string>
#include <vector>

namespace quorvel {

// How the run goes: silent 1 switches at once with `value` and shows nothing; anything else
// is the interactive wizard, which never reads `value`.
struct RunMode {
    int silent = 0;
    int value = -1;
};

enum class StartupMessage {
    kNone,
    kWrongArgumentCount,
    kRejectedArguments,
};

inline constexpr char kStartupMessageCaption[] = "Quorvel Tool";
inline constexpr char kWrongArgumentCountText[] =
    "The number of parameter is wrong, please input again!";
inline constexpr char kRejectedArgumentsText[] = "The  parameter is wrong, please input again!";

struct CommandLineDecision {
    RunMode runMode;
    // False only when the arguments were rejected: the wizard then keeps its own default.
    bool handToWizard = true;
    StartupMessage message = StartupMessage::kNone;
};

// The message box text for a start-up message; empty for kNone.
const char* StartupMessageText(StartupMessage message);

// Decides the run mode from the split command line, argument 0 being the program's path.
CommandLineDecision ParseCommandLine(const std::vector<std::wstring>& arguments);

// The C library's _wtoi rule: leading white space, an optional sign, then decimal digits up to
// the first non-digit; no digits gives 0. A number beyond int is clamped to INT_MAX or INT_MIN.
int WideTextToInt(const std::wstring& text);

}  // namespace quorvel
