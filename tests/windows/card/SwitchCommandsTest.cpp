#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CardOperationsUnderWine.h"

namespace quorvel::test {
namespace {

constexpr int kSilentValue = 2;

struct SilentCase {
    const char* behaviour;
    bool cardSeeded;
    std::vector<std::string> cardArgs;
    bool switched;
    int outcome;
    int status;
    std::vector<std::string> received;
    bool portLeftOpen;
};

void PrintTo(const SilentCase& c, std::ostream* os) {
    *os << c.behaviour;
}

class SilentSwitch : public CardOperationsUnderWine,
                     public ::testing::WithParamInterface<SilentCase> {};

TEST_P(SilentSwitch, SendsTheSwitchAndTheResetAsFarAsTheCardAllows) {
    const SilentCase& c = GetParam();
    if (c.cardSeeded) {
        ASSERT_FALSE(seed.SeedModem(kModemName, kCardCom).empty());
    }
    ASSERT_TRUE(card.Start(kCardCom, c.cardArgs));
    state.silentFlag = 1;
    state.silentValue = kSilentValue;

    int outcome = -1;
    EXPECT_EQ(operations.SilentSwitch(&outcome), c.switched);
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(state.status, c.status);
    EXPECT_EQ(port.IsOpen(), c.portLeftOpen);
    port.Close();
    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), c.received);
}

const SilentCase kSilentCases[] = {
    {"CardAnswersOkToEverything",
     true,
     {},
     true,
     kStatusSuccess,
     kStatusSuccess,
     {"ATE0\\r", "at^u2diag=2\\r", "at+cfun=4\\r", "at+cfun=6\\r"},
     true},
    {"ErrorToGoingOffline",
     true,
     {"--reply", "at+cfun=4=ERROR"},
     false,
     kStatusNoAnswer,
     kStatusNoAnswer,
     {"ATE0\\r", "at^u2diag=2\\r", "at+cfun=4\\r"},
     true},
    {"ErrorToTheSwitch",
     true,
     {"--reply", "at^u2diag=ERROR"},
     false,
     kStatusNoAnswer,
     kStatusNoAnswer,
     {"ATE0\\r", "at^u2diag=2\\r"},
     false},
    // The status keeps its initial value: a failed locate is not stored.
    {"NoCardPresent", false, {}, false, kStatusCardNotFound, kStatusSuccess, {}, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, SilentSwitch, ::testing::ValuesIn(kSilentCases),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(CardOperationsUnderWine, InteractiveSwitchSendsTheConfiguredNumberForEachChoice) {
    ASSERT_FALSE(seed.SeedPortsDevice(UiPortName(kCardCom)).empty());
    WriteConfig(TwoCardTypesConfig());
    ASSERT_TRUE(card.Start(kCardCom, {"--model", "K3765"}));

    ASSERT_TRUE(operations.QueryCardType());
    ASSERT_TRUE(operations.LoadSwitchConfig());
    EXPECT_TRUE(operations.SwitchBySelection(WizardChoice::kFirst));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(operations.SwitchBySelection(WizardChoice::kSecond));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(operations.SwitchBySelection(WizardChoice::kNeither));
    EXPECT_EQ(state.status, kStatusSuccess);

    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), (std::vector<std::string>{"ATE0\\r", "AT+CGMM\\r",
                                                           "at^u2diag=5\\r", "at^u2diag=3\\r"}));
}

TEST_F(CardOperationsUnderWine, CardRemovedBeforeTheSwitchGivesOpenFailed) {
    ASSERT_FALSE(seed.SeedPortsDevice(UiPortName(kCardCom)).empty());
    WriteConfig(TwoCardTypesConfig());
    ASSERT_TRUE(card.Start(kCardCom, {"--model", "K3765"}));
    ASSERT_TRUE(operations.QueryCardType());
    ASSERT_TRUE(operations.LoadSwitchConfig());

    ASSERT_TRUE(card.RemoveLink());
    EXPECT_FALSE(operations.SwitchBySelection(WizardChoice::kFirst));
    EXPECT_EQ(state.status, kStatusOpenFailed);
    EXPECT_FALSE(port.IsOpen());
    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), (std::vector<std::string>{"ATE0\\r", "AT+CGMM\\r"}));
}

}  // namespace
}  // namespace quorvel::test
