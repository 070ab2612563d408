#include "app/RunMode.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

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

}  // namespace
}  // namespace quorvel
