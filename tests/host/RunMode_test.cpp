#include "app/RunMode.h"

#include <gtest/gtest.h>

#include <climits>

namespace quorvel::test {
namespace {

TEST(ParseCommandLine, DecidesTheRunModeAndTheMessage) {
    const std::wstring exe = L"QuorvelTool.exe";
    const char* const count = "The number of parameter is wrong, please input again!";
    const char* const rejected = "The  parameter is wrong, please input again!";
    // The arguments as split, the program's path first; then silent, its number, the box's text,
    // and the mode named.
    // clang-format off
    const SwitchDirection diag = SwitchDirection::kCdromToDiag;
    const SwitchDirection cdrom = SwitchDirection::kDiagToCdrom;
    const struct {
        std::vector<std::wstring> arguments; bool silent; int value; const char* message;
        SwitchDirection byName = SwitchDirection::kNone;
    } cases[] = {
        {{exe}, false, -1, ""},
        {{exe, L"-s"}, false, -1, count},
        {{exe, L"-s", L"1", L"x"}, false, -1, count},
        {{exe, L"-s", L"2"}, true, 2, ""},
        {{exe, L"-S", L"0"}, true, 0, ""},
        {{exe, L"-s", L"0002147483647"}, true, INT_MAX, ""},
        // After -s or -S only plain digits within int: anything else is a typo, not a number.
        {{exe, L"-s", L"abc"}, false, -1, rejected},
        {{exe, L"-s", L"5x"}, false, -1, rejected},
        {{exe, L"-s", L"-1"}, false, -1, rejected},
        {{exe, L"-S", L"+2"}, false, -1, rejected},
        {{exe, L"-s", L" 2"}, false, -1, rejected},
        {{exe, L"-s", L""}, false, -1, rejected},
        {{exe, L"-s", L"2147483648"}, false, -1, rejected},
        {{exe, L"-s", L"\xFF12"}, false, -1, rejected},  // a full-width digit
        // A mode name in any letter case, compared in ASCII only, and nothing more.
        {{exe, L"-s", L"diag"}, true, -1, "", diag},
        {{exe, L"-s", L"DIAG"}, true, -1, "", diag},
        {{exe, L"-S", L"cdrom"}, true, -1, "", cdrom},
        {{exe, L"-s", L"CdRom"}, true, -1, "", cdrom},
        {{exe, L"-s", L"diagx"}, false, -1, rejected},
        {{exe, L"-s", L"diag "}, false, -1, rejected},
        {{exe, L"-s", L"di"}, false, -1, rejected},
        {{exe, L"-s", L"D\x0130AG"}, false, -1, rejected},  // a Turkish dotted capital I
        {{exe, L"-s", L"d\x0131ag"}, false, -1, rejected},  // a Turkish dotless small i
        {{exe, L"/s", L"diag"}, false, 0, ""},  // only after -s is a name a mode
        {{exe, L"-silent", L"3"}, false, 3, ""},
        {{exe, L"/s", L"3"}, false, 3, ""},
        {{exe, L"-x", L" \t+7x"}, false, 7, ""},
        {{exe, L"/s", L"-3"}, false, -1, rejected},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const CommandLineDecision decision = ParseCommandLine(c.arguments);
        EXPECT_EQ(decision.runMode.silent, c.silent);
        EXPECT_EQ(decision.runMode.value, c.value);
        EXPECT_STREQ(StartupMessageText(decision.message), c.message);
        EXPECT_EQ(decision.runMode.byName, c.byName);
    }
}

// A script tells from the exit status why nothing was switched.
TEST(ExitStatus, TellsEachOutcomeApart) {
    // By status 0 to 9: refused, success, not found, open failed, no handshake, write failed,
    // then the four configuration statuses.
    const int silentExits[] = {1, 0, 2, 3, 4, 5, 8, 8, 8, 8};
    using M = StartupMessage;
    const struct { M message; bool shown; int status; } wizardCases[] = {
        {M::kNone, true, 0}, {M::kNone, false, 7}, {M::kRejectedArguments, true, 6},
        {M::kRejectedArguments, false, 6}, {M::kWrongArgumentCount, false, 6},
    };
    for (int code = 0; code < 10; ++code)
        EXPECT_EQ(SilentRunExitStatus(static_cast<Status>(code)), silentExits[code]) << code;
    for (const auto& c : wizardCases)
        EXPECT_EQ(WizardRunExitStatus(c.message, c.shown), c.status) << "shown " << c.shown;
}

}  // namespace
}  // namespace quorvel::test
