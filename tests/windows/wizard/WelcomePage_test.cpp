#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "WizardExpectations.h"
#include "WizardRig.h"

namespace quorvel::test {
namespace {

enum class Card { kNone, kRegisteredOnly, kPlugged };

struct RefusalCase {
    const char* name;
    Card card;
    std::vector<std::string> cardArgs;
    const char* config;  // nullptr: no Quorvel.ini
    int body;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

::testing::AssertionResult Prepare(WizardRig& rig, Card card,
                                   const std::vector<std::string>& cardArgs, const char* config) {
    if (card == Card::kPlugged) {
        ::testing::AssertionResult plugged = rig.PlugInCard(cardArgs);
        if (!plugged) return plugged;
    }
    if (card == Card::kRegisteredOnly) {
        ::testing::AssertionResult registered = rig.RegisterCard();
        if (!registered) return registered;
    }
    if (config != nullptr) return rig.WriteConfig(config);
    return ::testing::AssertionSuccess();
}

class WelcomePageRefusal : public ::testing::TestWithParam<RefusalCase> {
  protected:
    WizardRig rig;
};

TEST_P(WelcomePageRefusal, TellsWhyAndOffersOnlyFinish) {
    const RefusalCase& c = GetParam();
    ASSERT_TRUE(Prepare(rig, c.card, c.cardArgs, c.config));
    ASSERT_TRUE(rig.StartWizard());
    WizardDriver& wizard = rig.driver;

    EXPECT_EQ(wizard.Text(kTitle), StringText(104));
    EXPECT_EQ(wizard.Text(kBody), StringText(c.body));
    EXPECT_EQ(wizard.Text(kNext), kFinishCaption);
    EXPECT_TRUE(wizard.Enabled(kNext));
    EXPECT_TRUE(wizard.Enabled(kCancel));
    for (int radio : {kFirstRadio, kSecondRadio}) {
        EXPECT_TRUE(wizard.Visible(radio)) << radio;
        EXPECT_TRUE(wizard.Enabled(radio)) << radio;
    }

    HWND window = wizard.Wizard();
    ASSERT_TRUE(wizard.Click(kNext));
    EXPECT_TRUE(wizard.WaitUntilGone(window)) << "Finish did not close the wizard";
    EXPECT_EQ(wizard.FindWindowOfProgram(kConfirmBoxCaption, kDialogClass), nullptr);
}

constexpr char kNoSections[] = "; switch numbers to come\r\nCDROM_COMMAND=1\r\n";
constexpr char kOtherCardOnly[] = "[E1750]\r\nCDROM_COMMAND=255\r\nDIAG_COMMAND=1\r\n";
constexpr char kDiagNumberMissing[] = "[K3000]\r\nCDROM_COMMAND=1\r\n";

const RefusalCase kRefusals[] = {
    {"NoCard", Card::kNone, {}, kK3000Config, 109},
    {"PortCannotBeOpened", Card::kRegisteredOnly, {}, kK3000Config, 110},
    {"CardRefusesHandshake", Card::kPlugged, {"--reply", "ATE0=ERROR"}, kK3000Config, 111},
    {"CardRefusesTypeQuery", Card::kPlugged, {"--reply", "AT+CGMM=ERROR"}, kK3000Config, 114},
    {"ConfigMissing", Card::kPlugged, {}, nullptr, 116},
    {"CardTypeNotConfigured", Card::kPlugged, {}, kOtherCardOnly, 117},
    {"ConfigWithoutSections", Card::kPlugged, {}, kNoSections, 118},
    {"SwitchNumberMissing", Card::kPlugged, {}, kDiagNumberMissing, 119},
};

INSTANTIATE_TEST_SUITE_P(Cases, WelcomePageRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

struct ChoiceCase {
    const char* name;
    const char* config;
    const char* firstRadio;
    const char* secondRadio;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.name;
}

class WelcomePageChoice : public ::testing::TestWithParam<ChoiceCase> {
  protected:
    WizardRig rig;
};

TEST_P(WelcomePageChoice, NamesTheCardAndOffersBothDirections) {
    const ChoiceCase& c = GetParam();
    ASSERT_TRUE(rig.PlugInCard());
    ASSERT_TRUE(rig.WriteConfig(c.config));
    ASSERT_TRUE(rig.StartWizard());
    WizardDriver& wizard = rig.driver;

    EXPECT_EQ(wizard.Text(kTitle), kK3000Title);
    EXPECT_EQ(wizard.Text(kBody), StringText(105));
    EXPECT_EQ(wizard.Text(kFooter), "");
    EXPECT_EQ(wizard.Text(kNext), kNextCaption);
    EXPECT_EQ(wizard.Text(kFirstRadio), c.firstRadio);
    EXPECT_EQ(wizard.Text(kSecondRadio), c.secondRadio);
    EXPECT_TRUE(wizard.Checked(kFirstRadio));
    EXPECT_FALSE(wizard.Checked(kSecondRadio));
    for (int control : {kNext, kCancel, kFirstRadio, kSecondRadio}) {
        EXPECT_TRUE(wizard.Visible(control)) << control;
        EXPECT_TRUE(wizard.Enabled(control)) << control;
    }
    // The welcome page only asks the card; nothing is switched before Next.
    EXPECT_EQ(rig.card.Transcript(), (std::vector<std::string>{"ATE0\\r", "AT+CGMM\\r"}));
}

const ChoiceCase kChoices[] = {
    {"DefaultLabels", kK3000Config, kFirstRadioText, kSecondRadioText},
    {"CustomLabels",
     "[K3000]\r\nCDROM_COMMAND=1\r\nDIAG_COMMAND=0\r\n"
     "CDROM_DISPLAY=Install mode to modem mode\r\nDIAG_DISPLAY=Modem mode to install mode\r\n",
     "Install mode to modem mode", "Modem mode to install mode"},
};

INSTANTIATE_TEST_SUITE_P(Cases, WelcomePageChoice, ::testing::ValuesIn(kChoices),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::test
