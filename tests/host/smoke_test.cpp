#include <gtest/gtest.h>

#include "card/CardState.h"

TEST(CardState, StartsAsSuccess) {
    EXPECT_EQ(quorvel::CardState{}.status, 1);
}
