#include "app/RunMode.h"

#include <gtest/gtest.h>

#include <climits>

namespace quorvel::test {
namespace {

TEST(ParseCommandLine, DecidesTheRunModeAndTheMessage) {
    const std::wstring exe = L"QuorvelTool.exe";
    const char* const count = "The number of parameter is wrong, please input again!";
    const char* const rejected = "The  parameter is wrong, please input again!";
    // The arguments as split, the program's path first.
    // clang-format off
    const struct { std::vector<std::wstring> arguments; bool silent; int value; const char* message; } cases[] = {
        {{exe}, false, -1, ""},
        {{exe, L"-s"}, false, -1, count},
        {{exe, L"-s", L"1", L"x"}, false, -1, count},
        {{exe, L"-s", L"2"}, true, 2, ""},
        {{exe, L"-S", L"0"}, true, 0, ""},
        {{exe, L"-s", L" \t+7x"}, true, 7, ""},
        {{exe, L"-s", L"-1"}, true, -1, ""},
        {{exe, L"-s", L"99999999999"}, true, INT_MAX, ""},
        {{exe, L"-s", L"-99999999999"}, true, INT_MIN, ""},
        {{exe, L"-silent", L"3"}, false, 3, ""},
        {{exe, L"/s", L"3"}, false, 3, ""},
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
