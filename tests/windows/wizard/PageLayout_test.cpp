#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "ProgramResources.h"
#include "ResultPage.h"
#include "WinePaths.h"
#include "WizardExpectations.h"
#include "WizardRig.h"

namespace quorvel::test {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
// Long enough to look at the progress page while the card takes its time over the switch.
constexpr char kSwitchDelay[] = "at^u2diag=8000";

// Where the screenshots go: beside the program in the build tree, so they outlive the
// throwaway prefix.
std::string ScreenshotDirectory() {
    std::string exe = Environment("QUORVEL_EXE");
    std::string directory = exe.substr(0, exe.find_last_of('/')) + "/screenshots";
    CreateDirectoryA(UnixToWindowsPath(directory).c_str(), nullptr);
    directory += "/wizard";
    CreateDirectoryA(UnixToWindowsPath(directory).c_str(), nullptr);
    return directory;
}

bool Inside(const RECT& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

std::string Hex(COLORREF colour) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

// The bitmap's pixels, top row first.
std::vector<COLORREF> PicturePixels(const ProgramResources& resources) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(resources.Module(), MAKEINTRESOURCEA(129),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return {};
    const int width = kPictureSize.cx;
    const int height = kPictureSize.cy;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> raw(static_cast<std::size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, height, raw.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    if (rows != height) return {};
    std::vector<COLORREF> pixels;
    for (DWORD bgr : raw)
        pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    return pixels;
}

// Which controls a page shows, and which of them must show something (text, a frame).
struct PageLook {
    const char* name;
    std::vector<int> shown;
    std::vector<int> inked;
};

const PageLook kWelcome = {
    "welcome",
    {kBody, kPicture, -1, kNext, kCancel, kTitle, kFooter, kFirstRadio, kSecondRadio},
    {kBody, -1, kNext, kCancel, kTitle, kFirstRadio, kSecondRadio}};
const PageLook kProgress = {"progress",
                            {kBody, kPicture, -1, kNext, kCancel, kTitle, kFooter},
                            {kBody, -1, kNext, kCancel, kTitle}};
const PageLook kResult = {"result",
                          {kBody, kPicture, -1, kNext, kCancel, kTitle, kFooter},
                          {kBody, -1, kNext, kCancel, kTitle, kFooter}};

// Compares screenshots of the wizard's pages with where the template puts things.
class PageLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(resources.Loaded());
        ASSERT_TRUE(units.Ready());
        for (const TemplateControl& c : kWizardControls) {
            rects[c.id] = units.ToPixels(c.x, c.y, c.width, c.height);
            isButton[c.id] = std::string(c.className) == "Button" && c.type == BS_PUSHBUTTON;
        }
        RECT& picture = rects[kPicture];
        picture.right = picture.left + kPictureSize.cx;
        picture.bottom = picture.top + kPictureSize.cy;
        panel = {picture.right, picture.top, picture.right + kWhitePanelWidth, picture.bottom};
        picturePixels = PicturePixels(resources);
        ASSERT_EQ(picturePixels.size(),
                  static_cast<std::size_t>(kPictureSize.cx * kPictureSize.cy));
    }

    // White in the panel right of the picture, the button face everywhere else.
    COLORREF Background(int x, int y) const {
        return Inside(panel, x, y) ? kWhite : GetSysColor(COLOR_BTNFACE);
    }

    Screenshot CaptureAndSave(const char* page) {
        Screenshot shot = rig.driver.CaptureWizard();
        EXPECT_FALSE(shot.Empty()) << page << ": the screen would not settle";
        const std::string path = ScreenshotDirectory() + "/" + page + ".bmp";
        EXPECT_TRUE(shot.SaveBmp(UnixToWindowsPath(path))) << path;
        return shot;
    }

    void ExpectLayout(const Screenshot& shot, const PageLook& look);
    void ExpectBackgroundOutsideControls(const Screenshot& shot, const PageLook& look);
    void ExpectInkInside(const Screenshot& shot, int id);
    void ExpectPicture(const Screenshot& shot);

    ProgramResources resources;
    DialogUnits units{resources.Bytes(RT_DIALOG, 102), resources.Module()};
    std::map<int, RECT> rects;
    std::map<int, bool> isButton;
    RECT panel{};
    std::vector<COLORREF> picturePixels;
    WizardRig rig;
};

void PageLayout::ExpectLayout(const Screenshot& shot, const PageLook& look) {
    SCOPED_TRACE(std::string(look.name) + " page");
    RECT client;
    GetClientRect(rig.driver.Wizard(), &client);
    ASSERT_EQ(shot.Width(), client.right);
    ASSERT_EQ(shot.Height(), client.bottom);
    ExpectBackgroundOutsideControls(shot, look);
    for (int id : look.inked)
        ExpectInkInside(shot, id);
    ExpectPicture(shot);
}

// Nothing paints outside the controls: there the panel is pure white over exactly its extent
// and the rest is the button face. Hidden controls leave no trace.
void PageLayout::ExpectBackgroundOutsideControls(const Screenshot& shot, const PageLook& look) {
    int wrong = 0;
    std::string first;
    for (int y = 0; y < shot.Height(); ++y) {
        for (int x = 0; x < shot.Width(); ++x) {
            bool covered = false;
            for (int id : look.shown)
                covered = covered || Inside(rects[id], x, y);
            if (covered) continue;
            const COLORREF seen = shot.At(x, y);
            if (seen == Background(x, y)) continue;
            if (wrong++ == 0)
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " + Hex(seen) +
                        ", not " + Hex(Background(x, y));
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels off the background, first " << first;
}

// Text and frames are drawn on white in the panel's controls and on the button face on
// the buttons; a control that should show something has some other colour in its place.
void PageLayout::ExpectInkInside(const Screenshot& shot, int id) {
    const RECT& rect = rects[id];
    const COLORREF paper = isButton[id] || id == -1 ? GetSysColor(COLOR_BTNFACE) : kWhite;
    int ink = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x)
            ink += shot.At(x, y) != paper;
    }
    EXPECT_GT(ink, 0) << "control " << id << " shows nothing at its place";
}

void PageLayout::ExpectPicture(const Screenshot& shot) {
    const RECT& rect = rects[kPicture];
    int wrong = 0;
    for (int y = 0; y < kPictureSize.cy; ++y) {
        for (int x = 0; x < kPictureSize.cx; ++x) {
            const COLORREF want = picturePixels[static_cast<std::size_t>(y) * kPictureSize.cx + x];
            wrong += shot.At(rect.left + x, rect.top + y) != want;
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels of the picture out of place";
}

TEST_F(PageLayout, WelcomeProgressAndResultPagesMatchTheTemplate) {
    ASSERT_TRUE(rig.PlugInCard({"--delay", kSwitchDelay}));
    ASSERT_TRUE(rig.WriteConfig(kK3000Config));
    ASSERT_TRUE(rig.StartWizard());
    WizardDriver& wizard = rig.driver;
    ExpectLayout(CaptureAndSave("welcome"), kWelcome);

    // The dialog paints the progress page before it blocks on the card, so the page is on
    // the screen although the dialog answers nothing while the card delays.
    ASSERT_TRUE(wizard.Click(kNext));
    ASSERT_TRUE(wizard.WaitUntil([&] {
        return wizard.Text(kBody) == kProgressBody && !wizard.Visible(kFirstRadio) &&
               !wizard.Visible(kSecondRadio) && !wizard.Enabled(kNext);
    }));
    ExpectLayout(CaptureAndSave("progress"), kProgress);
    EXPECT_EQ(wizard.Text(kNext), kNextCaption) << "the card answered before the shot";

    ASSERT_TRUE(wizard.WaitForText(kTitle, StringText(107), 20000));
    ExpectResultPage(wizard, 107, 113);
    ExpectLayout(CaptureAndSave("result"), kResult);
}

}  // namespace
}  // namespace quorvel::test
