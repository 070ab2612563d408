#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ResultPage.h"
#include "WizardExpectations.h"
#include "WizardRig.h"

namespace quorvel::test {
namespace {

enum class Way { kCancelButton, kEscapeKey, kCloseBox };

const char* Name(Way way) {
    switch (way) {
        case Way::kCancelButton:
            return "Cancel button";
        case Way::kEscapeKey:
            return "Escape key";
        case Way::kCloseBox:
            return "close box";
    }
    return "?";
}

bool AskToLeave(WizardDriver& wizard, Way way) {
    switch (way) {
        case Way::kCancelButton:
            return wizard.Click(kCancel);
        case Way::kEscapeKey:
            return wizard.PressEscape();
        case Way::kCloseBox:
            return wizard.PressCloseBox();
    }
    return false;
}

// Everything the user can see of the wizard's controls.
std::string PageState(const WizardDriver& wizard) {
    std::string state;
    for (const TemplateControl& control : kWizardControls) {
        state += std::to_string(control.id) + " \"" + wizard.Text(control.id) + "\" " +
                 (wizard.Visible(control.id) ? "shown " : "hidden ") +
                 (wizard.Enabled(control.id) ? "enabled" : "disabled") + "\n";
    }
    return state + (wizard.Checked(kFirstRadio) ? "first" : "") +
           (wizard.Checked(kSecondRadio) ? "second" : "") + " checked\n";
}

::testing::AssertionResult IsConfirmationBox(const MessageBoxView& box, HWND wizard) {
    if (box.window == nullptr) return ::testing::AssertionFailure() << "no confirmation box";
    if (box.text != kConfirmText || box.owner != wizard ||
        box.buttons != std::vector<int>{IDYES, IDNO})
        return ::testing::AssertionFailure()
               << "box \"" << box.text << "\", " << box.buttons.size() << " buttons, "
               << (box.owner == wizard ? "owned by the wizard" : "not owned by the wizard");
    return ::testing::AssertionSuccess();
}

struct LeaveCase {
    const char* name;
    bool onResultPage;
    std::vector<Way> answeredNo;  // each brings the box, answered No
    Way answeredYes;              // brings the box once more, answered Yes
};

void PrintTo(const LeaveCase& c, std::ostream* os) {
    *os << c.name;
}

class LeavingTheWizard : public ::testing::TestWithParam<LeaveCase> {
  protected:
    WizardRig rig;
};

TEST_P(LeavingTheWizard, AsksFirstNoKeepsThePageYesEndsTheProgram) {
    const LeaveCase& c = GetParam();
    ASSERT_TRUE(rig.PlugInCard());
    ASSERT_TRUE(rig.WriteConfig(kK3000Config));
    ASSERT_TRUE(rig.StartWizard());
    WizardDriver& wizard = rig.driver;
    if (c.onResultPage) {
        ASSERT_TRUE(SwitchAndWaitForResult(wizard));
        ASSERT_FALSE(wizard.Enabled(kCancel));
    }
    const std::string before = PageState(wizard);

    for (Way way : c.answeredNo) {
        SCOPED_TRACE(Name(way));
        ASSERT_TRUE(AskToLeave(wizard, way));
        HWND box = wizard.WaitForDialog(kConfirmBoxCaption);
        ASSERT_TRUE(IsConfirmationBox(WizardDriver::ReadMessageBox(box), wizard.Wizard()));
        ASSERT_TRUE(wizard.Answer(box, IDNO));
        EXPECT_TRUE(wizard.Program().Running());
        EXPECT_EQ(PageState(wizard), before);
    }

    SCOPED_TRACE(Name(c.answeredYes));
    ASSERT_TRUE(AskToLeave(wizard, c.answeredYes));
    HWND box = wizard.WaitForDialog(kConfirmBoxCaption);
    ASSERT_TRUE(IsConfirmationBox(WizardDriver::ReadMessageBox(box), wizard.Wizard()));
    ASSERT_TRUE(wizard.Answer(box, IDYES));
    ASSERT_TRUE(wizard.WaitForExit());
    EXPECT_EQ(wizard.ExitCode(), 0u);
    const std::size_t sent = c.onResultPage ? 3 : 2;
    EXPECT_EQ(rig.card.Transcript().size(), sent) << "leaving sent the card something";
}

const LeaveCase kLeaves[] = {
    {"WelcomePage",
     false,
     {Way::kCancelButton, Way::kEscapeKey, Way::kCloseBox},
     Way::kCancelButton},
    // Cancel is disabled there, but the key and the close box still ask.
    {"ResultPage", true, {Way::kEscapeKey}, Way::kCloseBox},
};

INSTANTIATE_TEST_SUITE_P(Cases, LeavingTheWizard, ::testing::ValuesIn(kLeaves),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::test
