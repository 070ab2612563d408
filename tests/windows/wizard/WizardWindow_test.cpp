#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ProgramResources.h"
#include "WizardExpectations.h"
#include "WizardRig.h"

namespace quorvel::test {
namespace {

RECT RectInClient(HWND control, HWND dialog) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Describe(const RECT& rect) {
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") " +
           std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

class WizardWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(resources.Loaded());
        ASSERT_TRUE(units.Ready());
        ASSERT_TRUE(rig.StartWizard());
    }

    ProgramResources resources;
    DialogUnits units{resources.Bytes(RT_DIALOG, 102), resources.Module()};
    WizardRig rig;
};

TEST_F(WizardWindow, ControlsAreTheTemplatesInOrderKindAndPlace) {
    HWND wizard = rig.driver.Wizard();
    const std::vector<HWND> children = WizardDriver::Children(wizard);
    ASSERT_EQ(children.size(), std::size(kWizardControls));
    for (std::size_t i = 0; i < children.size(); ++i) {
        const TemplateControl& expected = kWizardControls[i];
        HWND control = children[i];
        SCOPED_TRACE("control " + std::to_string(expected.id));
        EXPECT_EQ(GetDlgCtrlID(control), expected.id);
        EXPECT_EQ(WizardDriver::ClassOf(control), expected.className);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
        const DWORD typeMask =
            std::string(expected.className) == "Button" ? BS_TYPEMASK : SS_TYPEMASK;
        EXPECT_EQ(style & typeMask, expected.type);
        EXPECT_EQ(style & expected.mustHave, expected.mustHave);
        EXPECT_EQ(style & expected.mustNotHave, 0u);
        EXPECT_TRUE(IsWindowVisible(control));

        RECT want = units.ToPixels(expected.x, expected.y, expected.width, expected.height);
        if (expected.id == kPicture) {
            want.right = want.left + kPictureSize.cx;
            want.bottom = want.top + kPictureSize.cy;
        }
        EXPECT_EQ(Describe(RectInClient(control, wizard)), Describe(want));
    }
}

TEST_F(WizardWindow, StartsWithTheFirstChoiceAndTheFocusOnNext) {
    EXPECT_TRUE(rig.driver.Checked(kFirstRadio));
    EXPECT_FALSE(rig.driver.Checked(kSecondRadio));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(rig.driver.Wizard(), nullptr), &info));
    EXPECT_EQ(info.hwndFocus, rig.driver.Control(kNext));
}

TEST_F(WizardWindow, IsAFixedSizeApplicationWindowInTheMiddleOfTheScreen) {
    HWND wizard = rig.driver.Wizard();
    const DWORD style = static_cast<DWORD>(GetWindowLongA(wizard, GWL_STYLE));
    const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_TRUE(GetWindowLongA(wizard, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(wizard, GW_OWNER), nullptr);

    RECT client;
    GetClientRect(wizard, &client);
    const RECT size = units.ToPixels(0, 0, 340, 236);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    RECT window;
    GetWindowRect(wizard, &window);
    RECT area;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    const int dx = (window.left + window.right) - (area.left + area.right);
    const int dy = (window.top + window.bottom) - (area.top + area.bottom);
    EXPECT_LE(std::abs(dx), 2) << "window " << Describe(window) << ", screen " << Describe(area);
    EXPECT_LE(std::abs(dy), 2) << "window " << Describe(window) << ", screen " << Describe(area);
}

}  // namespace
}  // namespace quorvel::test
