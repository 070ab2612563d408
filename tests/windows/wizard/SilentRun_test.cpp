#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "WizardRig.h"

namespace quorvel::test {
namespace {

enum class Card { kNone, kRegisteredOnly, kPlugged };

struct SilentCase {
    const char* name;
    std::vector<std::string> args;
    Card card;
    std::vector<std::string> cardArgs;
    std::vector<std::string> transcript;
    DWORD exitCode;
};

void PrintTo(const SilentCase& c, std::ostream* os) {
    *os << c.name;
}

class SilentRun : public ::testing::TestWithParam<SilentCase> {
  protected:
    WizardRig rig;
};

TEST_P(SilentRun, SwitchesWithoutAWindowAndEndsWithTheOutcome) {
    const SilentCase& c = GetParam();
    if (c.card == Card::kPlugged) {
        ASSERT_TRUE(rig.PlugInCard(c.cardArgs));
    }
    if (c.card == Card::kRegisteredOnly) {
        ASSERT_TRUE(rig.RegisterCard());
    }

    ASSERT_TRUE(rig.StartProgram(c.args));
    const UnseenRun run = rig.driver.WaitForExitUnseen();
    ASSERT_TRUE(run.exited) << "still running";
    EXPECT_EQ(run.shownWindow, "");
    EXPECT_EQ(rig.driver.ExitCode(), c.exitCode);
    if (c.card == Card::kPlugged) {
        EXPECT_EQ(rig.card.Transcript(), c.transcript);
    }
}

const std::vector<std::string> kSwitchedWith2 = {"ATE0\\r", "at^u2diag=2\\r", "at+cfun=4\\r",
                                                 "at+cfun=6\\r"};

const SilentCase kSilentRuns[] = {
    {"SwitchAndResetSucceed", {"-s", "2"}, Card::kPlugged, {}, kSwitchedWith2, 0},
    {"UpperCaseFlag",
     {"-S", "0"},
     Card::kPlugged,
     {},
     {"ATE0\\r", "at^u2diag=0\\r", "at+cfun=4\\r", "at+cfun=6\\r"},
     0},
    {"NegativeNumberIsSentAsIs",
     {"-s", "-1"},
     Card::kPlugged,
     {},
     {"ATE0\\r", "at^u2diag=-1\\r", "at+cfun=4\\r", "at+cfun=6\\r"},
     0},
    // Only the first reset command counts: the card restarts on the second.
    {"RestartRefusedStillSucceeds",
     {"-s", "2"},
     Card::kPlugged,
     {"--reply", "at+cfun=6=ERROR"},
     kSwitchedWith2,
     0},
    {"NoCard", {"-s", "2"}, Card::kNone, {}, {}, 2},
    {"PortCannotBeOpened", {"-s", "2"}, Card::kRegisteredOnly, {}, {}, 3},
    {"HandshakeRefused", {"-s", "2"}, Card::kPlugged, {"--reply", "ATE0=ERROR"}, {"ATE0\\r"}, 4},
    {"SwitchRefused",
     {"-s", "2"},
     Card::kPlugged,
     {"--reply", "at^u2diag=ERROR"},
     {"ATE0\\r", "at^u2diag=2\\r"},
     1},
    {"GoingOfflineRefused",
     {"-s", "2"},
     Card::kPlugged,
     {"--reply", "at+cfun=4=ERROR"},
     {"ATE0\\r", "at^u2diag=2\\r", "at+cfun=4\\r"},
     1},
};

INSTANTIATE_TEST_SUITE_P(Cases, SilentRun, ::testing::ValuesIn(kSilentRuns),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::test
