#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "WizardExpectations.h"
#include "WizardRig.h"

namespace quorvel::test {
namespace {

constexpr char kWrongCount[] = "The number of parameter is wrong, please input again!";
constexpr char kWrongParameter[] = "The  parameter is wrong, please input again!";

struct StartupCase {
    const char* name;
    std::vector<std::string> args;
    const char* message;
};

void PrintTo(const StartupCase& c, std::ostream* os) {
    *os << c.name;
}

class StartupMessage : public ::testing::TestWithParam<StartupCase> {
  protected:
    WizardRig rig;
};

// The box comes before the wizard, and the wizard after it is an interactive one, whatever
// the arguments asked for.
TEST_P(StartupMessage, ShowsTheMessageThenTheInteractiveWizard) {
    const StartupCase& c = GetParam();
    ASSERT_TRUE(rig.PlugInCard());
    ASSERT_TRUE(rig.WriteConfig(kK3000Config));
    ASSERT_TRUE(rig.StartProgram(c.args));
    WizardDriver& wizard = rig.driver;

    HWND box = wizard.WaitForDialog(kStartupBoxCaption);
    ASSERT_NE(box, nullptr) << "no message box";
    const MessageBoxView view = WizardDriver::ReadMessageBox(box);
    EXPECT_EQ(view.text, c.message);
    EXPECT_EQ(view.owner, nullptr);
    EXPECT_EQ(view.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(wizard.FindWindowOfProgram(kWizardCaption, kDialogClass), nullptr)
        << "the wizard exists before the message is dismissed";
    EXPECT_TRUE(rig.card.Transcript().empty()) << "the card was used before the message";

    ASSERT_TRUE(wizard.Answer(box, IDOK));
    ASSERT_NE(wizard.WaitForWizard(), nullptr);
    EXPECT_EQ(wizard.Text(kTitle), kK3000Title);
    EXPECT_EQ(wizard.Text(kNext), kNextCaption);
    EXPECT_EQ(rig.card.Transcript(), (std::vector<std::string>{"ATE0\\r", "AT+CGMM\\r"}));
}

const StartupCase kStartups[] = {
    {"FlagWithoutNumber", {"-s"}, kWrongCount},
    {"ThreeArguments", {"-s", "2", "3"}, kWrongCount},
    {"NegativeNumberWithoutFlag", {"/s", "-3"}, kWrongParameter},
};

INSTANTIATE_TEST_SUITE_P(Cases, StartupMessage, ::testing::ValuesIn(kStartups),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel::test
