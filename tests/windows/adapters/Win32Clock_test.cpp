#include "base/Win32Clock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

namespace quorvel {
namespace {

// The reply windows are measured on a count that setting the calendar cannot move; the time
// of day would be some 1.7e9 seconds away from it.
TEST(Win32Clock, CountsTheSecondsSinceTheSystemStarted) {
    Win32Clock clock;
    const auto ticks = static_cast<std::int64_t>(GetTickCount64() / 1000);
    const std::int64_t now = clock.NowSeconds();
    EXPECT_LE(now - ticks, 1);
    EXPECT_GE(now - ticks, -1);
}

}  // namespace
}  // namespace quorvel
