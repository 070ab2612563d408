#include <gtest/gtest.h>

#include <functional>

#include "CardRig.h"

namespace quorvel::test {
namespace {

// A rig whose card has been located at COM7, as the welcome page leaves it.
struct LocatedRig : CardRig {
    LocatedRig() {
        AnswerAsCard();
        InstallModem(7);
        state.portNumber = 7;
        state.cdromValue = 1;
        state.diagValue = 0;
    }
};

struct SelectionCase {
    const char* name;
    WizardChoice choice;
    std::function<void(CardRig&)> arrange;
    bool result;
    int status;
    std::vector<std::string> sent;
};

const SelectionCase kSelectionCases[] = {
    {"first choice sends the Diag value",
     WizardChoice::kFirst,
     [](CardRig&) {},
     true,
     kStatusSuccess,
     {"at^u2diag=0\r"}},
    {"second choice sends the CD-ROM value",
     WizardChoice::kSecond,
     [](CardRig&) {},
     true,
     kStatusSuccess,
     {"at^u2diag=1\r"}},
    {"neither sends nothing and keeps the status",
     WizardChoice::kNeither,
     [](CardRig& rig) { rig.state.status = 7; },
     false,
     7,
     {}},
    {"switch refused",
     WizardChoice::kFirst,
     [](CardRig& rig) { rig.card.OnCommand("at^u2diag=0\r", kErrorReply); },
     false,
     kStatusNoAnswer,
     {"at^u2diag=0\r"}},
    {"switch not answered",
     WizardChoice::kFirst,
     [](CardRig& rig) { rig.card.OnCommand("at^u2diag=0\r", kSilence); },
     false,
     kStatusNoAnswer,
     {"at^u2diag=0\r"}},
    {"switch not written",
     WizardChoice::kFirst,
     [](CardRig& rig) { rig.card.FailWriteOf("at^u2diag=0\r"); },
     false,
     kStatusWriteFailed,
     {}},
    {"card removed since the welcome page",
     WizardChoice::kSecond,
     [](CardRig& rig) { rig.card.Unplug(); },
     false,
     kStatusOpenFailed,
     {}},
};

TEST(SwitchBySelection, SendsTheNumberForTheCheckedChoice) {
    for (const SelectionCase& c : kSelectionCases) {
        SCOPED_TRACE(c.name);
        LocatedRig rig;
        c.arrange(rig);

        EXPECT_EQ(rig.operations.SwitchBySelection(c.choice), c.result);

        EXPECT_EQ(rig.state.status, c.status);
        EXPECT_EQ(rig.card.Received(), c.sent);
        EXPECT_FALSE(rig.card.IsOpen());
    }
}

TEST(SendSwitchCommand, FormatsAnyNumberInDecimal) {
    for (int number : {0, 2, -1, 255, 2147483647}) {
        LocatedRig rig;
        rig.operations.SendSwitchCommand(number);
        EXPECT_EQ(rig.card.Received(),
                  std::vector<std::string>{"at^u2diag=" + std::to_string(number) + "\r"});
    }
}

struct SilentCase {
    const char* name;
    int silentValue;
    std::function<void(CardRig&)> arrange;
    bool result;
    int outcome;
    int status;
    std::vector<std::string> sent;
    bool portLeftOpen;
};

const SilentCase kSilentCases[] = {
    {"all answered OK",
     2,
     [](CardRig&) {},
     true,
     kStatusSuccess,
     kStatusSuccess,
     {"ATE0\r", "at^u2diag=2\r", "at+cfun=4\r", "at+cfun=6\r"},
     true},
    {"the value -1 is sent as it is",
     -1,
     [](CardRig&) {},
     true,
     kStatusSuccess,
     kStatusSuccess,
     {"ATE0\r", "at^u2diag=-1\r", "at+cfun=4\r", "at+cfun=6\r"},
     true},
    {"ERROR to going offline: no restart",
     2,
     [](CardRig& rig) { rig.card.OnCommand("at+cfun=4\r", kErrorReply); },
     false,
     kStatusNoAnswer,
     kStatusNoAnswer,
     {"ATE0\r", "at^u2diag=2\r", "at+cfun=4\r"},
     true},
    {"the restart's own answer does not count",
     2,
     [](CardRig& rig) { rig.card.OnCommand("at+cfun=6\r", kErrorReply); },
     true,
     kStatusSuccess,
     kStatusSuccess,
     {"ATE0\r", "at^u2diag=2\r", "at+cfun=4\r", "at+cfun=6\r"},
     true},
    {"switch refused: no reset",
     2,
     [](CardRig& rig) { rig.card.OnCommand("at^u2diag=2\r", kErrorReply); },
     false,
     kStatusNoAnswer,
     kStatusNoAnswer,
     {"ATE0\r", "at^u2diag=2\r"},
     false},
    {"card gone before the reset",
     2,
     [](CardRig& rig) { rig.card.UnplugAfter("at^u2diag=2\r"); },
     false,
     kStatusOpenFailed,
     kStatusOpenFailed,
     {"ATE0\r", "at^u2diag=2\r"},
     false},
    {"no card: nothing sent, status untouched",
     2,
     [](CardRig& rig) { rig.devices = FakeDeviceInventory(); },
     false,
     kStatusCardNotFound,
     kStatusSuccess,
     {},
     false},
    {"no handshake",
     2,
     [](CardRig& rig) { rig.card.OnCommand("ATE0\r", kSilence); },
     false,
     kStatusNoHandshake,
     kStatusSuccess,
     {"ATE0\r"},
     false},
};

TEST(SilentSwitch, LocatesSwitchesAndResets) {
    for (const SilentCase& c : kSilentCases) {
        SCOPED_TRACE(c.name);
        CardRig rig;
        rig.AnswerAsCard();
        rig.InstallModem(7);
        rig.state.silentFlag = 1;
        rig.state.silentValue = c.silentValue;
        c.arrange(rig);
        int outcome = -100;

        EXPECT_EQ(rig.operations.SilentSwitch(&outcome), c.result);

        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(rig.state.status, c.status);
        EXPECT_EQ(rig.card.Received(), c.sent);
        EXPECT_EQ(rig.card.IsOpen(), c.portLeftOpen);
        EXPECT_TRUE(rig.files.Reads().empty()) << "a silent run reads no switch configuration";
    }
}

TEST(ResetCard, PortThatWillNotOpenGivesThree) {
    LocatedRig rig;
    rig.card.Unplug();
    EXPECT_FALSE(rig.operations.ResetCard());
    EXPECT_EQ(rig.state.status, kStatusOpenFailed);
    EXPECT_TRUE(rig.card.Received().empty());
}

}  // namespace
}  // namespace quorvel::test
