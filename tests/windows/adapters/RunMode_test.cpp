#include "app/RunMode.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>  // needs <windows.h> first

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace quorvel {
namespace {

// The number after -s must read as the C library's _wtoi reads it. Past int the libraries
// disagree with one another, so there the clamp is what counts.
TEST(RunMode, WideTextToIntAgreesWithTheCLibrary) {
    // clang-format off
    const struct { const wchar_t* text; int value; bool withinInt; } cases[] = {
        {L"",                       0,       true},
        {L"+7",                     7,       true},
        {L"-7",                     -7,      true},
        {L" \t\n\v\f\r12",          12,      true},
        {L"12abc",                  12,      true},
        {L"+-5",                    0,       true},
        {L"0x10",                   0,       true},
        {L"2147483647",             INT_MAX, true},
        {L"-2147483648",            INT_MIN, true},
        {L"00000000002147483647",   INT_MAX, true},
        {L"2147483648",             INT_MAX, false},
        {L"-2147483649",            INT_MIN, false},
        {L"99999999999999999999",   INT_MAX, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(WideTextToInt(c.text), c.value);
        if (c.withinInt) {
            EXPECT_EQ(_wtoi(c.text), c.value);
        }
    }
}

// The program splits its command line with CommandLineToArgvW; these are the pieces
// ParseCommandLine is then given.
TEST(RunMode, DecidesOnThePlatformsSplitOfTheCommandLine) {
    // clang-format off
    const struct { const wchar_t* line; std::size_t pieces; bool silent; int value; StartupMessage message; } cases[] = {
        {L"Q.exe -s 2",                      3, true,  2,  StartupMessage::kNone},
        {L"\"C:\\Program Files\\Q.exe\" -S 7", 3, true,  7,  StartupMessage::kNone},
        {L"Q.exe \"-s\" \" 12\"",            3, true,  12, StartupMessage::kNone},
        {L"Q.exe \"-s 2\"",                  2, false, -1, StartupMessage::kWrongArgumentCount},
        {L"Q.exe -s",                        2, false, -1, StartupMessage::kWrongArgumentCount},
        {L"Q.exe -s 2 3",                    4, false, -1, StartupMessage::kWrongArgumentCount},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.line)));
        int count = 0;
        LPWSTR* pieces = CommandLineToArgvW(c.line, &count);
        ASSERT_NE(pieces, nullptr);
        const std::vector<std::wstring> arguments(pieces, pieces + count);
        LocalFree(pieces);
        EXPECT_EQ(arguments.size(), c.pieces);
        const CommandLineDecision decision = ParseCommandLine(arguments);
        EXPECT_EQ(decision.runMode.silent, c.silent);
        EXPECT_EQ(decision.runMode.value, c.value);
        EXPECT_EQ(decision.message, c.message);
    }
}

}  // namespace
}  // namespace quorvel
