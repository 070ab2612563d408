#include <gtest/gtest.h>
#include <windows.h>

TEST(Wine, Runs) {
    EXPECT_NE(GetCurrentProcessId(), 0u);
}
