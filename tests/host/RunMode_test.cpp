#include "app/RunMode.h"

#include <gtest/gtest.h>

#include <climits>

namespace quorvel::test {
namespace {

TEST(ParseCommandLine, DecidesTheRunModeAndTheMessage) {
    const std::wstring exe = L"QuorvelTool.exe";
    const char* const count = "The number of parameter is wrong, please input again!";
    const char* const rejected = "The  parameter is wrong, please input again!";
    // The arguments as split, the program's path first; then silent, its number, the box's text.
    // clang-format off
    const struct {
        std::vector<std::wstring> arguments; bool silent; int value; const char* message;
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
        {{exe, L"-s", L"99999999999"}, false, -1, rejected},
        {{exe, L"-s", L"\xFF12"}, false, -1, rejected},  // a full-width digit
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
    }
}

}  // namespace
}  // namespace quorvel::test
