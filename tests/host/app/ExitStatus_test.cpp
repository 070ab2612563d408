#include "app/ExitStatus.h"

#include <gtest/gtest.h>

#include "card/WizardStatus.h"

namespace quorvel::test {
namespace {

TEST(SilentRunExitStatus, IsZeroOnlyForSuccess) {
    const struct {
        int outcome;
        int exitStatus;
    } cases[] = {
        {kStatusSuccess, 0},    {kStatusNoAnswer, 1},    {kStatusCardNotFound, 2},
        {kStatusOpenFailed, 3}, {kStatusNoHandshake, 4}, {kStatusWriteFailed, 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SilentRunExitStatus(c.outcome), c.exitStatus) << "outcome " << c.outcome;
    }
    EXPECT_EQ(kInteractiveRunExitStatus, 0);
}

}  // namespace
}  // namespace quorvel::test
