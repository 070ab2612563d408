#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CardOperationsUnderWine.h"

namespace quorvel::test {
namespace {

struct LocateCase {
    const char* behaviour;
    int modemCom;  // 0: no modem seeded
    std::vector<std::string> portsDevices;
    std::vector<std::string> config;  // empty: no configuration file
    std::vector<std::string> cardArgs;
    int status;
    int portNumber;
    std::vector<std::string> received;
};

void PrintTo(const LocateCase& c, std::ostream* os) {
    *os << c.behaviour;
}

class Locate : public CardOperationsUnderWine, public ::testing::WithParamInterface<LocateCase> {};

TEST_P(Locate, FindsAndChecksTheCardsPortAndLeavesItClosed) {
    const LocateCase& c = GetParam();
    if (c.modemCom != 0) {
        ASSERT_FALSE(seed.SeedModem(kModemName, c.modemCom).empty());
    }
    for (const std::string& name : c.portsDevices)
        ASSERT_FALSE(seed.SeedPortsDevice(name).empty());
    if (!c.config.empty()) WriteConfig(c.config);
    ASSERT_TRUE(card.Start(kCardCom, c.cardArgs));

    EXPECT_EQ(operations.LocateAndVerify(), c.status);
    EXPECT_EQ(state.portNumber, c.portNumber);
    EXPECT_EQ(state.status, kStatusSuccess) << "the locate itself stores no status";
    EXPECT_FALSE(port.IsOpen());
    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), c.received);
}

const std::vector<std::string> kEchoOffOnly = {"ATE0\\r"};
const char kConfiguredDevice[] = "F0F0 Diagnostics Port (COM7)";

const LocateCase kLocateCases[] = {
    {"ModemThroughItsDriverKey", kCardCom, {}, {}, {}, kStatusSuccess, kCardCom, kEchoOffOnly},
    // The modem's driver key names a port with nothing behind it.
    {"StaleModemPortFallsBackToTheUiPort",
     kEmptyCom,
     {UiPortName(kCardCom)},
     {},
     {},
     kStatusSuccess,
     kCardCom,
     kEchoOffOnly},
    {"ConfiguredNameWhenNoBuiltInNameMatches",
     0,
     {kConfiguredDevice},
     {"[OTHER]", "FRIENDLY_NAME=F0F0 Diagnostics"},
     {},
     kStatusSuccess,
     kCardCom,
     kEchoOffOnly},
    {"ConfiguredNameWithoutAConfigFile",
     0,
     {kConfiguredDevice},
     {},
     {},
     kStatusCardNotFound,
     0,
     {}},
    {"ConfiguredNameLeftAtItsPlaceholder",
     0,
     {kConfiguredDevice},
     {"[OTHER]", "FRIENDLY_NAME=ERROR"},
     {},
     kStatusCardNotFound,
     0,
     {}},
    // Searched twice by the UI names, found twice, and twice it fails to open.
    {"UiPortWithNothingBehindIt",
     0,
     {UiPortName(kEmptyCom)},
     {},
     {},
     kStatusOpenFailed,
     kEmptyCom,
     {}},
    {"CardRefusesTheHandshake",
     kCardCom,
     {},
     {},
     {"--reply", "ATE0=ERROR"},
     kStatusNoHandshake,
     kCardCom,
     kEchoOffOnly},
};

INSTANTIATE_TEST_SUITE_P(Cases, Locate, ::testing::ValuesIn(kLocateCases),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(CardOperationsUnderWine, TypeQueryGivesTheCardsModel) {
    ASSERT_FALSE(seed.SeedPortsDevice(UiPortName(kCardCom)).empty());
    ASSERT_TRUE(card.Start(kCardCom, {"--model", "K3765"}));

    EXPECT_TRUE(operations.QueryCardType());
    EXPECT_EQ(state.status, kStatusSuccess);
    EXPECT_EQ(state.cardType, "K3765");
    EXPECT_FALSE(port.IsOpen());
    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), (std::vector<std::string>{"ATE0\\r", "AT+CGMM\\r"}));
}

TEST_F(CardOperationsUnderWine, TypeQueryAnsweredWithErrorKeepsTheEarlierType) {
    ASSERT_FALSE(seed.SeedPortsDevice(UiPortName(kCardCom)).empty());
    ASSERT_TRUE(card.Start(kCardCom, {"--reply", "AT+CGMM=ERROR"}));
    state.cardType = "K3500";

    EXPECT_FALSE(operations.QueryCardType());
    EXPECT_EQ(state.status, kStatusNoAnswer);
    EXPECT_EQ(state.cardType, "K3500");
    EXPECT_FALSE(port.IsOpen());
}

struct ConfigCase {
    const char* behaviour;
    const char* cardType;
    std::vector<std::string> config;  // empty: no configuration file
    bool loaded;
    int status;
    int cdromValue;
    int diagValue;
    int customLabelFlag;
    const char* firstLabel;
    const char* secondLabel;
};

// The configuration file read through the system's own profile functions, from the current
// directory.
TEST_F(CardOperationsUnderWine, SwitchConfigComesFromTheFileInTheCurrentDirectory) {
    const ConfigCase cases[] = {
        {"numbers and labels", "K3765", TwoCardTypesConfig(), true, kStatusSuccess, 3, 5, 1,
         "Storage to Modem", "Modem to Storage"},
        {"numbers without labels", "K3500", TwoCardTypesConfig(), true, kStatusSuccess, 1, 0, 0,
         kDefaultFirstChoiceLabel, kDefaultSecondChoiceLabel},
        {"no file",
         "K3765",
         {},
         false,
         kStatusConfigMissing,
         -1,
         -1,
         0,
         kDefaultFirstChoiceLabel,
         kDefaultSecondChoiceLabel},
        {"sections match whatever their case, the card type does not", "k3765",
         TwoCardTypesConfig(), false, kStatusCardTypeNotConfigured, -1, -1, 0,
         kDefaultFirstChoiceLabel, kDefaultSecondChoiceLabel},
        {"a number missing",
         "K3765",
         {"[K3765]", "DIAG_COMMAND=0"},
         false,
         kStatusSwitchNumberMissing,
         -1,
         0,
         0,
         kDefaultFirstChoiceLabel,
         kDefaultSecondChoiceLabel},
    };
    for (const ConfigCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        ScratchDirectory caseDirectory;
        ASSERT_TRUE(caseDirectory.Entered());
        if (!c.config.empty()) {
            ASSERT_TRUE(caseDirectory.WriteFile("Quorvel.ini", IniText(c.config)));
        }
        CardState caseState;
        caseState.cardType = c.cardType;
        CardOperations caseOperations(caseState, {port, clock, devices, registry, profile});

        EXPECT_EQ(caseOperations.LoadSwitchConfig(), c.loaded);
        EXPECT_EQ(caseState.status, c.status);
        EXPECT_EQ(caseState.cdromValue, c.cdromValue);
        EXPECT_EQ(caseState.diagValue, c.diagValue);
        EXPECT_EQ(caseState.customLabelFlag, c.customLabelFlag);
        EXPECT_EQ(caseState.firstChoiceLabel, c.firstLabel);
        EXPECT_EQ(caseState.secondChoiceLabel, c.secondLabel);
    }
}

}  // namespace
}  // namespace quorvel::test
