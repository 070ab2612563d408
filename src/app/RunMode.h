#pragma once

#include <string>
#include <vector>

#include "base/Status.h"
#include "base/Trace.h"

namespace quorvel {

// How the run goes: silent switches at once with `value` and shows nothing; otherwise the
// interactive wizard runs, which never reads `value`.
struct RunMode {
    bool silent = false;
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

// Rejected arguments leave the run mode at its interactive default.
struct CommandLineDecision {
    RunMode runMode;
    StartupMessage message = StartupMessage::kNone;
    const char* reason = "";  // why the arguments were refused, for the trace
};

// The message box text for a start-up message; empty for kNone.
const char* StartupMessageText(StartupMessage message);

// Decides the run mode from the split command line, argument 0 being the program's path. The
// number after -s or -S must be plain ASCII digits within int; after any other flag it is read
// as _wtoi reads it and must not be negative. Refused arguments give the interactive default.
CommandLineDecision ParseCommandLine(const std::vector<std::wstring>& arguments);

// The number in a command-line argument, by the C library's _wtoi rule as ReadDecimal gives it:
// leading white space, an optional sign, then decimal digits up to the first non-digit; no
// digits gives 0, and a number beyond int is held at INT_MAX or INT_MIN. White space and digits
// are ASCII only.
int WideTextToInt(const std::wstring& text);

// The process's exit status after a silent run, for the scripts and installers that run it:
// 0 when the switch and the first reset command went through, otherwise the failing step's
// status (2 not found, 3 open failed, 4 no handshake, 5 write failed), and 1 where the card
// refused or did not answer (status 0, which as an exit status would read as success).
int SilentRunExitStatus(Status outcome);

// An interactive run exits 0 once the wizard has closed, and 1 when no wizard could be shown:
// the dialog could not be made, or its set-up failed.
inline constexpr int kInteractiveRunExitStatus = 0;
inline constexpr int kNoWizardExitStatus = 1;
// A run whose command line was refused, by either box, exits 6 whatever then happened in the
// wizard, or when none could be shown, so that a script can tell that the silent run it asked
// for never ran.
inline constexpr int kRejectedArgumentsExitStatus = 6;

// The exit status of a run that went to the wizard, after the start-up message it showed.
int WizardRunExitStatus(StartupMessage message, bool wizardShown);

// A run that a failure of the program's own ended (an exception, running out of memory say).
inline constexpr int kFailedRunExitStatus = 1;

// The first lines of a run's trace: the version and word size, the command line as it was
// split, and the run mode decided from it.
void TraceStart(Trace& trace, const char* version, const std::vector<std::wstring>& arguments,
                const CommandLineDecision& decision);

// The last line of every run's trace, whichever way it ends; returns `exitStatus`.
int TraceExit(Trace& trace, int exitStatus);

}  // namespace quorvel
