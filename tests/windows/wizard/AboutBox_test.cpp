#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ProgramResources.h"
#include "WizardExpectations.h"
#include "WizardRig.h"

namespace quorvel::test {
namespace {

enum class Closing { kOkButton, kEscapeKey, kCloseBox };

struct AboutCase {
    WPARAM command;  // only its upper bits name the About box
    Closing closing;
};

RECT ClientRectOf(HWND control, HWND dialog) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectAt(HWND about, HWND control, const RECT& expected, const char* what) {
    const RECT rect = ClientRectOf(control, about);
    EXPECT_EQ(rect.left, expected.left) << what;
    EXPECT_EQ(rect.top, expected.top) << what;
}

void ExpectSize(HWND about, HWND control, const RECT& expected, const char* what) {
    const RECT rect = ClientRectOf(control, about);
    EXPECT_EQ(rect.right - rect.left, expected.right - expected.left) << what;
    EXPECT_EQ(rect.bottom - rect.top, expected.bottom - expected.top) << what;
}

// The About box's controls, found by what they are rather than by identifier.
struct AboutControls {
    HWND icon = nullptr;
    HWND version = nullptr;
    HWND second = nullptr;
    HWND ok = nullptr;
};

AboutControls FindControls(HWND about) {
    AboutControls found;
    for (HWND child : WizardDriver::Children(about)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (WizardDriver::ClassOf(child) == "Button")
            found.ok = child;
        else if ((style & SS_TYPEMASK) == SS_ICON)
            found.icon = child;
        else if (found.version == nullptr)
            found.version = child;
        else
            found.second = child;
    }
    return found;
}

void ExpectAboutBox(HWND about, HWND wizard, const DialogUnits& units) {
    EXPECT_EQ(GetWindow(about, GW_OWNER), wizard);
    EXPECT_FALSE(IsWindowEnabled(wizard)) << "the About box is not modal";
    RECT client;
    GetClientRect(about, &client);
    const RECT size = units.ToPixels(0, 0, 235, 55);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    const AboutControls c = FindControls(about);
    ASSERT_NE(c.icon, nullptr);
    ASSERT_NE(c.version, nullptr);
    ASSERT_NE(c.second, nullptr);
    ASSERT_NE(c.ok, nullptr);
    EXPECT_EQ(WizardDriver::TextOf(c.version), "QuorvelTool 1.3 ");
    EXPECT_TRUE(GetWindowLongA(c.version, GWL_STYLE) & SS_NOPREFIX) << "& would be hidden";
    EXPECT_FALSE(WizardDriver::TextOf(c.second).empty());
    EXPECT_EQ(WizardDriver::TextOf(c.ok), "\xE7\xA1\xAE\xE5\xAE\x9A");  // 确定
    EXPECT_EQ(GetDlgCtrlID(c.ok), IDOK);
    EXPECT_EQ(GetWindowLongA(c.ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);

    ExpectAt(about, c.icon, units.ToPixels(11, 17, 0, 0), "icon");
    for (HWND text : {c.version, c.second}) {
        const RECT expected =
            text == c.version ? units.ToPixels(40, 10, 119, 8) : units.ToPixels(40, 25, 119, 8);
        ExpectAt(about, text, expected, "text");
        ExpectSize(about, text, expected, "text");
    }
    ExpectAt(about, c.ok, units.ToPixels(178, 7, 50, 14), "button");
    ExpectSize(about, c.ok, units.ToPixels(178, 7, 50, 14), "button");
}

bool CloseAbout(HWND about, Closing closing) {
    switch (closing) {
        case Closing::kOkButton:
            return PostMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
        case Closing::kEscapeKey:
            return WizardDriver::PressEscape(about);
        case Closing::kCloseBox:
            return WizardDriver::PressCloseBox(about);
    }
    return false;
}

// One run opens the box several times: each way of closing it must leave the wizard as it was.
TEST(AboutBox, OpensOnTheSystemCommandAndClosesEveryWay) {
    ProgramResources resources;
    ASSERT_TRUE(resources.Loaded());
    DialogUnits units(resources.Bytes(RT_DIALOG, 100), resources.Module());
    ASSERT_TRUE(units.Ready());

    WizardRig rig;
    ASSERT_TRUE(rig.StartWizard());
    WizardDriver& wizard = rig.driver;
    const std::string body = wizard.Text(kBody);

    const AboutCase cases[] = {
        {0x0010, Closing::kOkButton},
        {0x001F, Closing::kEscapeKey},
        {0x0013, Closing::kCloseBox},
    };
    for (const AboutCase& c : cases) {
        SCOPED_TRACE("system command " + std::to_string(c.command));
        HWND about = wizard.OpenAbout(c.command);
        ASSERT_NE(about, nullptr);
        ExpectAboutBox(about, wizard.Wizard(), units);
        ASSERT_TRUE(CloseAbout(about, c.closing));
        EXPECT_TRUE(wizard.WaitUntilGone(about));
        EXPECT_TRUE(wizard.WaitUntil([&] { return IsWindowEnabled(wizard.Wizard()) != FALSE; }));
        EXPECT_EQ(wizard.FindWindowOfProgram(kConfirmBoxCaption, kDialogClass), nullptr);
        EXPECT_EQ(wizard.Text(kBody), body);
    }
    EXPECT_TRUE(IsWindowVisible(wizard.Wizard()));
}

}  // namespace
}  // namespace quorvel::test
