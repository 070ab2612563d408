#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ResultPage.h"
#include "WizardExpectations.h"
#include "WizardRig.h"

namespace quorvel::test {
namespace {

struct ChoiceCase {
    const char* name;
    int radio;
    const char* command;  // as the card's transcript records it
};

void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.name;
}

class SwitchByChoice : public ::testing::TestWithParam<ChoiceCase> {
  protected:
    WizardRig rig;
};

// The numbers differ from each other and from their positions in the file, so a mix-up shows.
constexpr char kConfig[] = "[K3000]\r\nCDROM_COMMAND=17\r\nDIAG_COMMAND=23\r\n";

TEST_P(SwitchByChoice, SendsTheChosenNumberAndReportsSuccess) {
    const ChoiceCase& c = GetParam();
    ASSERT_TRUE(rig.PlugInCard());
    ASSERT_TRUE(rig.WriteConfig(kConfig));
    ASSERT_TRUE(rig.StartWizard());
    WizardDriver& wizard = rig.driver;
    const int other = c.radio == kFirstRadio ? kSecondRadio : kFirstRadio;
    ASSERT_TRUE(wizard.Click(c.radio));
    ASSERT_TRUE(
        wizard.WaitUntil([&] { return wizard.Checked(c.radio) && !wizard.Checked(other); }));

    ASSERT_TRUE(SwitchAndWaitForResult(wizard));
    ExpectResultPage(wizard, 107, 113);
    EXPECT_EQ(rig.card.Transcript(),
              (std::vector<std::string>{"ATE0\\r", "AT+CGMM\\r", c.command}));

    ASSERT_TRUE(wizard.Click(kNext));
    ASSERT_TRUE(wizard.WaitForExit());
    EXPECT_EQ(wizard.ExitCode(), 0u);
    EXPECT_EQ(rig.card.Transcript().size(), 3u) << "Finish sent the card something";
}

const ChoiceCase kChoices[] = {
    {"FirstChoiceSendsTheDiagNumber", kFirstRadio, "at^u2diag=23\\r"},
    {"SecondChoiceSendsTheCdromNumber", kSecondRadio, "at^u2diag=17\\r"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SwitchByChoice, ::testing::ValuesIn(kChoices),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SwitchPage, PortGoneBeforeTheSwitchReportsOpenFailed) {
    WizardRig rig;
    ASSERT_TRUE(rig.PlugInCard());
    ASSERT_TRUE(rig.WriteConfig(kConfig));
    ASSERT_TRUE(rig.StartWizard());
    ASSERT_TRUE(rig.card.RemoveLink());

    ASSERT_TRUE(SwitchAndWaitForResult(rig.driver));
    ExpectResultPage(rig.driver, 115, 110);
    EXPECT_EQ(rig.card.Transcript(), (std::vector<std::string>{"ATE0\\r", "AT+CGMM\\r"}));
}

// The one test that waits out the card's whole 30-second answer window.
TEST(SwitchPage, CardSilentAtTheSwitchFailsAfterItsAnswerWindow) {
    WizardRig rig;
    ASSERT_TRUE(rig.PlugInCard({"--reply", "at^u2diag=NONE"}));
    ASSERT_TRUE(rig.WriteConfig(kConfig));
    ASSERT_TRUE(rig.StartWizard());
    WizardDriver& wizard = rig.driver;

    const DWORD pressed = GetTickCount();
    ASSERT_TRUE(SwitchAndWaitForResult(wizard, 40000));
    const DWORD waited = GetTickCount() - pressed;
    EXPECT_GE(waited, 29000u);
    EXPECT_LT(waited, 35000u);
    ExpectResultPage(wizard, 115, 114);
    EXPECT_EQ(rig.card.Transcript(),
              (std::vector<std::string>{"ATE0\\r", "AT+CGMM\\r", "at^u2diag=23\\r"}));
}

}  // namespace
}  // namespace quorvel::test
