#include "ui/Win32WizardDialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "fakes/Rig.h"
#include "ui/resources/ResourceIds.h"
#include "winedrive/Screenshot.h"
#include "winedrive/Wine.h"
#include "winedrive/WizardDriver.h"

// The real wizard runs modally on the main thread, on the host fakes, while a thread of its own
// plays the user with posted messages and typed keys: what only the live dialog shows.
namespace quorvel::test {
namespace {

using winedrive::Screenshot, winedrive::WizardDriver;

constexpr char kTypedTitle[] = "\r\nWelcome to KELTRO Quorvel Wizard\r\nThe Card type is K3000";
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Read without a message, so it works while the dialog's thread is held inside the card.
std::string WindowText(HWND window) {
    wchar_t text[512] = {};
    InternalGetWindowText(window, text, 512);
    return std::string(text, text + wcslen(text));  // every text compared here is ASCII
}

std::string LoadText(int id) {
    char text[1024] = {};
    LoadStringA(GetModuleHandleW(nullptr), static_cast<UINT>(id), text, sizeof text);
    return text;
}

bool Eventually(const std::function<bool()>& condition) {
    return winedrive::WaitFor(condition, winedrive::kConditionTimeoutMs);
}

// The dialog box of this process (the wizard, a message box, the About box) `wanted` picks.
HWND FindDialog(const std::function<bool(HWND)>& wanted) {
    for (HWND w : WizardDriver::TopLevelWindowsOf(GetCurrentProcessId(), winedrive::kDialogClass))
        if (wanted(w)) return w;
    return nullptr;
}

HWND WaitForDialog(const std::function<bool(HWND)>& wanted) {
    HWND found = nullptr;
    Eventually([&] { return (found = FindDialog(wanted)) != nullptr; });
    return found;
}

// The card behind the dialog. Opens from `holdFrom` on wait until `released` reaches their number,
// so that the dialog can be looked at and pressed while its thread is in the card; bounded, but
// longer than any of the user's waits, which would otherwise see the dialog go on after a hold.
constexpr DWORD kHoldMs = 3 * winedrive::kConditionTimeoutMs / 2;
class GatedPort : public ComDevice {
  public:
    explicit GatedPort(FakeCard& card) : card_(card) {}
    bool Open(const std::string& path) override {
        opened = ++opens_;
        if (opens_ >= holdFrom) winedrive::WaitFor([&] { return released >= opens_; }, kHoldMs);
        if (opens_ >= throwFrom) throw std::bad_alloc();
        return opens_ < refuseFrom && card_.Open(path);
    }
    std::uint32_t OpenError() const override { return card_.OpenError(); }
    bool IsOpen() const override { return card_.IsOpen(); }
    void Close() override { card_.Close(); }
    std::size_t Write(const char* b, std::size_t n) override { return card_.Write(b, n); }
    void ClearReceived() override { card_.ClearReceived(); }
    std::size_t ReadArrived(char* b, std::size_t n) override { return card_.ReadArrived(b, n); }

    // From these opens on: held; running out of memory; failing (port taken).
    int holdFrom = 1000, throwFrom = 1000, refuseFrom = 1000;
    // Shared with the user's thread: the latest open, and every open up to `released` goes on.
    std::atomic<int> opened{0}, released{0};

  private:
    FakeCard& card_;
    int opens_ = 0;
};

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

int UncoveredPixelsOtherThan(COLORREF colour, const Screenshot& shot, const RECT& area,
                             const std::vector<RECT>& covered) {
    int other = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const RECT pixel = {x, y, x + 1, y + 1};
            other += shot.At(x, y) != colour &&
                     std::none_of(covered.begin(), covered.end(),
                                  [&](const RECT& rect) { return Inside(pixel, rect); });
        }
    return other;
}

const auto CaseName = [](const auto& info) { return std::string(info.param.name); };

class WizardTest : public ::testing::Test {
  protected:
    // Runs the real dialog modally on this thread, with `script` as the user on another. What
    // the script leaves open is closed afterwards, so that DoModal returns even when it failed.
    void Run(const std::function<void()>& script, bool setUp = true) {
        CardPlatform platform{port, rig.clock, rig.devices, rig.registry, rig.profile, rig.trace};
        Win32MessageQueue queue;
        Win32WizardDialog dialog(GetModuleHandleW(nullptr), platform, queue);
        std::atomic<bool> ended{false};
        std::thread user([&] {
            // The wizard is shown while it asks the card; its page is filled once Next is on.
            wizard = WaitForDialog([&](HWND w) {
                const HWND next = GetDlgItem(w, IDC_NEXT_BUTTON);
                return WindowText(w) == winedrive::kWizardCaption && IsWindowVisible(w) &&
                       (!waitForFilled || next == nullptr || IsWindowEnabled(next));
            });
            if (wizard != nullptr) script();
            if (wizard == nullptr) ADD_FAILURE() << "the wizard never showed";
            port.released = 1000;
            Eventually([&] {
                FindDialog([](HWND w) {  // a box takes No, the About box and the wizard OK
                    for (int command : {IDNO, IDOK})
                        PostMessageW(w, WM_COMMAND, command, 0);
                    return false;
                });
                return ended.load();
            });
        });
        EXPECT_EQ(dialog.DoModal(), setUp);
        ended = true;
        user.join();
    }

    HWND Control(int id) const { return GetDlgItem(wizard, id); }
    std::string Text(int id) const { return WindowText(Control(id)); }
    // The page as the user reads it: the title, the body, then the buttons and radios in order,
    // each one's text (or "-" when hidden), marked when disabled.
    std::string Page() const {
        std::string seen = Text(IDC_TITLE_TEXT) + "|" + Text(IDC_BODY_TEXT);
        for (int id : {IDC_NEXT_BUTTON, IDC_CANCEL_BUTTON, IDC_FIRST_CHOICE, IDC_SECOND_CHOICE})
            seen += "|" + (IsWindowVisible(Control(id)) ? Text(id) : "-") +
                    (IsWindowEnabled(Control(id)) ? "" : " (off)");
        return seen;
    }
    bool Click(int id) const { return PostMessageW(Control(id), BM_CLICK, 0, 0); }
    bool Focused(int id) const {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        return GetGUIThreadInfo(GetWindowThreadProcessId(wizard, nullptr), &thread) &&
               thread.hwndFocus == Control(id);
    }
    // Filled, and with the card's work over: that gives the focus back to Finish, after what
    // was pressed meanwhile has been dropped.
    bool ResultPageShown() const {
        return Eventually([&] {
            return Text(IDC_FOOTER_TEXT) == LoadText(IDS_CLICK_FINISH) && Focused(IDC_NEXT_BUTTON);
        });
    }
    bool Gone(HWND window) const {
        return Eventually([&] { return !IsWindow(window); });
    }
    HWND WaitForBox() const {
        return WaitForDialog([&](HWND w) { return w != wizard && IsWindowVisible(w); });
    }
    bool Answer(HWND box, int button) const {
        return PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0) && Gone(box);
    }
    RECT Place(int id) const {
        RECT rect;
        GetWindowRect(Control(id), &rect);
        MapWindowPoints(nullptr, wizard, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // The radio's label shows whole: its text in the radio's font fits in the control beside
    // the radio's box and a character's gap.
    bool LabelFits(int id) const {
        const HWND radio = Control(id);
        const HDC dc = GetDC(radio);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(radio, WM_GETFONT, 0, 0)));
        const std::string label = Text(id);
        SIZE text{};
        TEXTMETRICA font{};
        GetTextExtentPoint32A(dc, label.c_str(), static_cast<int>(label.size()), &text);
        GetTextMetricsA(dc, &font);
        SelectObject(dc, old);
        ReleaseDC(radio, dc);
        const RECT place = Place(id);
        return GetSystemMetrics(SM_CXMENUCHECK) + font.tmAveCharWidth + text.cx <=
               place.right - place.left;
    }
    // Pixels of the window-text colour the control shows, right of the first `skip` columns.
    int InkShown(const Screenshot& shot, int id, int skip) const {
        const RECT rect = Place(id);
        int ink = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left + skip; x < rect.right; ++x)
                ink += shot.At(x, y) == GetSysColor(COLOR_WINDOWTEXT);
        return ink;
    }
    // The same for `text` drawn with DrawText in the control's font, in the window-text colour
    // on the window colour, on as much of the control: what the control must show.
    int InkDrawn(int id, const std::string& text, int skip, UINT format) const {
        const RECT place = Place(id);
        RECT rect = {0, 0, place.right - place.left - skip, place.bottom - place.top};
        const HDC screen = GetDC(nullptr);
        const HDC dc = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.right, rect.bottom);
        ReleaseDC(nullptr, screen);
        const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        const HGDIOBJ oldFont = SelectObject(
            dc, reinterpret_cast<HGDIOBJ>(SendMessageW(Control(id), WM_GETFONT, 0, 0)));
        FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        DrawTextA(dc, text.c_str(), -1, &rect, format | DT_NOPREFIX);
        int ink = 0;
        for (int y = 0; y < rect.bottom; ++y)
            for (int x = 0; x < rect.right; ++x)
                ink += GetPixel(dc, x, y) == GetSysColor(COLOR_WINDOWTEXT);
        SelectObject(dc, oldFont);
        DeleteObject(SelectObject(dc, oldBitmap));
        DeleteDC(dc);
        return ink;
    }
    int PixelsOtherThan(COLORREF colour, const Screenshot& shot, int id) const {
        return UncoveredPixelsOtherThan(colour, shot, Place(id), {});
    }
    // On the screen while the dialog's thread is held in the card: white right of the picture,
    // the title and the body drawn, and whatever else `more` asks. Wine puts a window's drawing
    // on the screen when a thread of the process next waits for messages, so this one does.
    bool PaintedWhileHeld(const std::function<bool(const Screenshot&)>& more) const {
        const RECT picture = Place(IDC_PICTURE);
        return Eventually([&] {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
            const Screenshot shot = Screenshot::OfClient(wizard);
            return shot.At(picture.right + 3, picture.top + 3) == kWhite &&
                   PixelsOtherThan(kWhite, shot, IDC_TITLE_TEXT) > 0 &&
                   PixelsOtherThan(kWhite, shot, IDC_BODY_TEXT) > 0 && more(shot);
        });
    }

    Rig rig;
    GatedPort port{rig.card};
    HWND wizard = nullptr;
    bool waitForFilled = true;  // Run's script starts on the filled page, not while searching
};

constexpr char kDefaultButtons[] = "|&Next|&Cancel|CD-ROM To Diag|Diag To CD-ROM";
constexpr char kWelcomeTitle[] = "\r\nWelcome to KELTRO Quorvel Wizard";
// The labels the shipped Quorvel.ini suggests.
constexpr const char* kLongLabels[] = {"Install mode to modem mode", "Modem mode to install mode"};
// clang-format off
// A choice clicked of 0 keeps the radio checked at the start; keys are typed instead of clicking
// Next, then Enter for Finish.
struct PagesCase {
    const char* name; void (*setup)(Rig&, GatedPort&); const char* title; int body;
    std::string buttons; int click; std::vector<std::string> sent; int resultTitle; int resultBody;
    std::vector<WORD> keys = {};
};
const std::vector<std::string> kSwitched1 = {"ATE0\r", "AT+CGMM\r", "at^u2diag=1\r"};
const PagesCase kPagesCases[] = {
    // name, set-up,
    //   welcome title, welcome body, buttons and labels, choice clicked,
    //   card's transcript, result title, result body, keys typed
    {"FirstChoiceSendsDiag", [](Rig&, GatedPort&) {},
     kTypedTitle, IDS_WELCOME_BODY, kDefaultButtons, IDC_FIRST_CHOICE,
     {"ATE0\r", "AT+CGMM\r", "at^u2diag=0\r"}, IDS_UPDATE_SUCCESSFUL, IDS_WIZARD_PURPOSE},
    // Tab goes Next, Cancel, the checked choice; Down checks the second; Enter is Next's.
    {"KeyboardOnly", [](Rig&, GatedPort&) {},
     kTypedTitle, IDS_WELCOME_BODY, kDefaultButtons, 0,
     kSwitched1, IDS_UPDATE_SUCCESSFUL, IDS_WIZARD_PURPOSE, {VK_TAB, VK_TAB, VK_DOWN, VK_RETURN}},
    {"ClickedChoiceThenEnter", [](Rig&, GatedPort&) {},
     kTypedTitle, IDS_WELCOME_BODY, kDefaultButtons, IDC_SECOND_CHOICE,
     kSwitched1, IDS_UPDATE_SUCCESSFUL, IDS_WIZARD_PURPOSE, {VK_RETURN}},
    {"CustomLabels",
     [](Rig& r, GatedPort&) {
         r.profile.values["K3000"].insert(
             {{"CDROM_DISPLAY", kLongLabels[0]}, {"DIAG_DISPLAY", kLongLabels[1]}});
     },
     kTypedTitle, IDS_WELCOME_BODY,
     std::string("|&Next|&Cancel|") + kLongLabels[0] + "|" + kLongLabels[1], IDC_SECOND_CHOICE,
     kSwitched1, IDS_UPDATE_SUCCESSFUL, IDS_WIZARD_PURPOSE},
    {"PortTakenBeforeSwitch", [](Rig&, GatedPort& p) { p.refuseFrom = 3; },
     kTypedTitle, IDS_WELCOME_BODY, kDefaultButtons, 0,
     {"ATE0\r", "AT+CGMM\r"}, IDS_UPDATE_FAILED, IDS_OPEN_PORT_FAILED},
    {"NoCardFinishCloses", [](Rig& r, GatedPort&) { r.devices.present.clear(); },
     "\r\nWelcome to KELTRO Quorvel Wizard", IDS_CARD_NOT_FOUND,
     "|&Finish|&Cancel|CD-ROM To Diag|Diag To CD-ROM", 0,
     {}, 0, 0},
};
// clang-format on

class Pages : public WizardTest, public ::testing::WithParamInterface<PagesCase> {};

TEST_P(Pages, WelcomeThenProgressWhileTheCardWorksThenTheOutcome) {
    const PagesCase& c = GetParam();
    rig.CardInstalled();
    c.setup(rig, port);
    port.holdFrom = 3;  // the switch's: the handshake and the type query had the first two
    Run([&] {
        EXPECT_EQ(Page(), c.title + ("|" + LoadText(c.body)) + c.buttons);
        for (int radio : {IDC_FIRST_CHOICE, IDC_SECOND_CHOICE})
            EXPECT_TRUE(LabelFits(radio)) << Text(radio) << " is cut off";
        EXPECT_TRUE(Eventually([&] { return Focused(IDC_NEXT_BUTTON); }))
            << "the keyboard focus is not on Next";
        if (!c.sent.empty()) {
            if (c.click != 0) SendMessageW(Control(c.click), BM_CLICK, 0, 0);  // handled on return
            EXPECT_EQ(rig.card.sent.size(), 2u) << "the card was sent more than its queries";
            for (WORD key : c.keys)
                ASSERT_TRUE(WizardDriver::PressKey(wizard, key)) << "the wizard is not in front";
            ASSERT_TRUE(!c.keys.empty() || Click(IDC_NEXT_BUTTON));
            ASSERT_TRUE(Eventually([&] { return port.opened == 3; }));
            EXPECT_EQ(Page(), c.title + std::string("|\r\n\r\nUpdating... Please wait.") +
                                  "|&Next (off)|&Cancel (off)|- (off)|- (off)");
            port.released = 3;
            ASSERT_TRUE(ResultPageShown());
            EXPECT_EQ(Page(), LoadText(c.resultTitle) + "|" + LoadText(c.resultBody) +
                                  "|&Finish|&Cancel (off)|- (off)|- (off)");
        }
        ASSERT_TRUE(c.keys.empty() ? Click(IDC_NEXT_BUTTON)
                                   : WizardDriver::PressKey(wizard, VK_RETURN));
        EXPECT_TRUE(Gone(wizard)) << "Finish did not close the wizard";
    });
    EXPECT_EQ(rig.card.sent, c.sent);
    EXPECT_FALSE(rig.card.IsOpen()) << "the port was not let go";
}

INSTANTIATE_TEST_SUITE_P(Cases, Pages, ::testing::ValuesIn(kPagesCases), CaseName);

// The wizard is on the screen, greyed and saying what it does, while its thread is held in the
// first open of the card, which may take half a minute to answer; then the welcome page comes,
// with the keyboard at Next.
TEST_F(WizardTest, ShowsTheWizardBeforeTheCardIsAskedThenTheWelcomePage) {
    rig.CardInstalled();
    port.holdFrom = 1;
    waitForFilled = false;
    Run([&] {
        ASSERT_TRUE(Eventually([&] { return port.opened == 1; })) << "the card was not asked";
        EXPECT_EQ(Page(), kWelcomeTitle + std::string("|Looking for the data card. Please wait.") +
                              "|&Next (off)|&Cancel (off)|CD-ROM To Diag (off)" +
                              "|Diag To CD-ROM (off)");
        EXPECT_TRUE(PaintedWhileHeld([](const Screenshot&) { return true; }))
            << "the wizard was not painted before the card was asked";
        port.released = 1000;
        EXPECT_TRUE(Eventually([&] { return Focused(IDC_NEXT_BUTTON); }))
            << "the keyboard focus is not on Next";
        EXPECT_EQ(Page(), kTypedTitle + ("|" + LoadText(IDS_WELCOME_BODY)) + kDefaultButtons);
    });
}

// clang-format off
struct LeaveCase { const char* name; bool onResultPage; bool (*press)(HWND wizard); };
const LeaveCase kLeaveCases[] = {
    {"CancelOnWelcome",   false,
     [](HWND w) { return PostMessageW(GetDlgItem(w, IDC_CANCEL_BUTTON), BM_CLICK, 0, 0) != 0; }},
    {"EscapeOnWelcome",   false, WizardDriver::PressEscape},
    {"CloseBoxOnWelcome", false, WizardDriver::PressCloseBox},
    {"EscapeOnResult",    true,  WizardDriver::PressEscape},  // Cancel is disabled there
    {"CloseBoxOnResult",  true,  WizardDriver::PressCloseBox},
};
// clang-format on

class Leaving : public WizardTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(Leaving, AsksInABoxOfTheWizardWhereNoKeepsThePageAndYesCloses) {
    const LeaveCase& c = GetParam();
    rig.CardInstalled();
    Run([&] {
        ASSERT_TRUE(!c.onResultPage || (Click(IDC_NEXT_BUTTON) && ResultPageShown()));
        const std::string page = Page();
        for (int answer : {IDNO, IDYES}) {
            ASSERT_TRUE(c.press(wizard));
            const winedrive::MessageBoxView view = WizardDriver::ReadMessageBox(WaitForBox());
            EXPECT_EQ(view.caption + ": " + view.text, "Quorvel: Are you sure exit!");
            EXPECT_EQ(view.owner, wizard) << "the box is not the wizard's";
            ASSERT_TRUE(Answer(view.window, answer));
            Sleep(100);  // time for a wrong close to happen
            if (answer == IDYES) {
                ASSERT_TRUE(Gone(wizard)) << "Yes did not close the wizard";
            } else {
                ASSERT_TRUE(IsWindowVisible(wizard)) << "No closed the wizard";
                ASSERT_EQ(Page(), page) << "No did not keep the page";
            }
        }
    });
    EXPECT_EQ(rig.card.sent.size(), c.onResultPage ? 3u : 2u);
}

INSTANTIATE_TEST_SUITE_P(Cases, Leaving, ::testing::ValuesIn(kLeaveCases), CaseName);

// The type query's open runs out of memory after the handshake: the wizard never shows half
// built, so no Next can send a switch. The box, under the wizard's caption, is all that shows.
TEST_F(WizardTest, FailureDuringSetUpEndsTheRunWithABoxInstead) {
    rig.CardInstalled();
    port.throwFrom = 2;
    const auto answerTheBox = [&] {
        const winedrive::MessageBoxView box = WizardDriver::ReadMessageBox(wizard);
        EXPECT_EQ(box.text,
                  "QuorvelTool could not start the wizard. Nothing was changed on the card.");
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_TRUE(Answer(wizard, IDOK));
    };
    Run(answerTheBox, false);
    EXPECT_EQ(rig.card.sent, std::vector<std::string>{"ATE0\r"});
}

// The dialog's thread is held in the switch's open, before any pause of the card's could paint:
// what is on the screen is what the progress page painted on its own. While the card works,
// nothing the user does, nor any command sent or posted to the wizard, is acted on, then or
// later: a click and Enter made during the switch would otherwise close the result page as
// Finish and OK the moment it shows; the close box and the About box would open their boxes in
// the middle of the switch. Once it is over, the About box opens over the wizard again.
TEST_F(WizardTest, ProgressPageShowsAndTakesNoPressesOrCommandsDuringTheSwitch) {
    rig.CardInstalled();
    port.holdFrom = 3;  // the switch's: the handshake and the type query had the first two
    Run([&] {
        ASSERT_TRUE(Click(IDC_NEXT_BUTTON));
        ASSERT_TRUE(Eventually([&] { return port.opened == 3; }));
        const RECT picture = Place(IDC_PICTURE);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        EXPECT_TRUE(PaintedWhileHeld([&](const Screenshot& shot) {
            return shot.At(picture.right + 344, picture.top + 3) == kWhite &&  // to its 345th pixel
                   shot.At(picture.right + 345, picture.top + 3) == face &&
                   shot.At(3, shot.Height() - 3) == face &&  // the button strip
                   PixelsOtherThan(face, shot, IDC_PICTURE) > 0 &&
                   PixelsOtherThan(kWhite, shot, IDC_FIRST_CHOICE) == 0;
        })) << "the progress page was not on the screen before the switch";
        EXPECT_TRUE(WizardDriver::PressWithMouse(Control(IDC_NEXT_BUTTON)) &&
                    WizardDriver::PostKey(wizard, VK_RETURN) &&
                    PostMessageW(wizard, WM_COMMAND, IDOK, 0) &&
                    PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0));
        // Sent, not posted: handled when the dialog's thread next looks at its queue.
        EXPECT_TRUE(SendNotifyMessageW(wizard, WM_SYSCOMMAND, IDM_ABOUTBOX, 0));
        port.released = 3;
        ASSERT_TRUE(ResultPageShown());
        Sleep(200);  // time for a wrong close or box to happen
        EXPECT_TRUE(IsWindowVisible(wizard)) << "the result page was closed";
        EXPECT_EQ(FindDialog([&](HWND w) { return w != wizard && IsWindowVisible(w); }), nullptr)
            << "a box opened";
        ASSERT_TRUE(PostMessageW(wizard, WM_SYSCOMMAND, IDM_ABOUTBOX, 0));
        const HWND box = WaitForBox();
        EXPECT_TRUE(box != nullptr && GetWindow(box, GW_OWNER) == wizard);
        EXPECT_TRUE(Answer(box, IDOK) && IsWindowVisible(wizard));
    });
    EXPECT_EQ(rig.card.sent.size(), 3u);
}

// The wizard is sized by its font: SimSun at 9 points gives base units of 6 x 12 on Windows at
// 96 DPI, and the picture and the panel were drawn in pixels to fit that size. Wine draws it
// with the stand-in that every prefix of the project carries; without it the dialog comes out a
// sixth larger. At another display scale (QUORVEL_DPI, which the prefix was made with) the font
// grows the dialog, and the picture and the panel must grow with it: every text and choice lies
// on the panel, and the panel has the window colour wherever no control covers it. In every
// colour scheme (QUORVEL_COLOURS, too) each text shows as written, in the window-text colour
// on the window colour: a card type and labels with an "&" included.
// clang-format off
struct ScaleCase { int dpi; const char* sizes; int panelWidth; };
const ScaleCase kScaleCases[] = {
    {96,  "6 x 12, 510 x 354; picture 164 x 313; title font 17 high",  345},
    {120, "8 x 15, 680 x 443; picture 219 x 391; title font 21 high",  460},
    {144, "9 x 18, 765 x 531; picture 246 x 470; title font 26 high",  518},
    {192, "12 x 24, 1020 x 708; picture 328 x 626; title font 34 high", 690},
};
// clang-format on

std::string SizeOf(const RECT& rect) {
    return std::to_string(rect.right - rect.left) + " x " + std::to_string(rect.bottom - rect.top);
}

TEST_F(WizardTest, IsWholeWithTheBaseUnitsOfItsFontAtTheDisplaysScale) {
    const std::string asked = winedrive::Environment("QUORVEL_DPI");
    const int dpi = asked.empty() ? 96 : std::stoi(asked);
    const auto c = std::find_if(std::begin(kScaleCases), std::end(kScaleCases),
                                [&](const ScaleCase& row) { return row.dpi == dpi; });
    ASSERT_NE(c, std::end(kScaleCases)) << "no row for " << dpi << " DPI";
    const HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi) << "the prefix has another scale";
    ReleaseDC(nullptr, screen);
    rig.CardInstalled();
    rig.card.replies["AT+CGMM\r"] = Now("\r\nK&3000\r\n\r\nOK\r\n");
    rig.profile.sectionList = std::string("K&3000\0", 8);
    rig.profile.values["K&3000"] = {{"CDROM_COMMAND", "1"},
                                    {"DIAG_COMMAND", "0"},
                                    {"CDROM_DISPLAY", "Modem & Diag"},
                                    {"DIAG_DISPLAY", "Diag & Modem"}};
    Run([&] {
        RECT units = {0, 0, 4, 8}, client;
        MapDialogRect(wizard, &units);
        GetClientRect(wizard, &client);
        const RECT picture = Place(IDC_PICTURE);
        LOGFONTW title{};
        GetObjectW(
            reinterpret_cast<HGDIOBJ>(SendMessageW(Control(IDC_TITLE_TEXT), WM_GETFONT, 0, 0)),
            sizeof title, &title);
        EXPECT_EQ(SizeOf(units) + ", " + SizeOf(client) + "; picture " + SizeOf(picture) +
                      "; title font " + std::to_string(-title.lfHeight) + " high",
                  c->sizes);
        const RECT panel = {picture.right, picture.top, picture.right + c->panelWidth,
                            picture.bottom};
        const std::vector<int> onPanel = {IDC_TITLE_TEXT, IDC_BODY_TEXT, IDC_FOOTER_TEXT,
                                          IDC_FIRST_CHOICE, IDC_SECOND_CHOICE};
        std::vector<RECT> controls;
        for (int id : onPanel) {
            controls.push_back(Place(id));
            EXPECT_TRUE(Inside(controls.back(), panel)) << "control " << id << " is off the panel";
        }
        // Every other control but the picture (the separator, the buttons) lies below it.
        for (HWND child : WizardDriver::Children(wizard)) {
            const int id = GetDlgCtrlID(child);
            RECT place;
            GetWindowRect(child, &place);
            MapWindowPoints(nullptr, wizard, reinterpret_cast<POINT*>(&place), 2);
            EXPECT_TRUE(id == IDC_PICTURE || std::count(onPanel.begin(), onPanel.end(), id) ||
                        Inside(place, {0, panel.bottom, client.right, client.bottom}))
                << "control " << id << " is not below the panel inside the client";
        }
        const int box = GetSystemMetrics(SM_CXMENUCHECK) + 2;  // and the circle's shade
        const UINT text = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK, label = DT_SINGLELINE;
        // clang-format off
        const struct { int id; std::string written; int skip; UINT format; } texts[] = {
            {IDC_TITLE_TEXT, LoadText(IDS_WELCOME_TITLE) + "\r\nThe Card type is K&3000", 0, text},
            {IDC_BODY_TEXT, LoadText(IDS_WELCOME_BODY), 0, text},
            {IDC_FIRST_CHOICE, "Modem & Diag", box, label},
            {IDC_SECOND_CHOICE, "Diag & Modem", box, label},
        };
        // clang-format on
        std::vector<int> drawn, shown;
        for (const auto& t : texts)
            drawn.push_back(InkDrawn(t.id, t.written, t.skip, t.format));
        int other = -1;
        Eventually([&] {
            const Screenshot shot = Screenshot::OfClient(wizard);
            other = UncoveredPixelsOtherThan(GetSysColor(COLOR_WINDOW), shot, panel, controls);
            shown.clear();
            for (const auto& t : texts)
                shown.push_back(InkShown(shot, t.id, t.skip));
            return other == 0 && shown == drawn;
        });
        EXPECT_EQ(other, 0) << "pixels of the panel are not the window colour";
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            EXPECT_GT(drawn[i], 0);
            EXPECT_EQ(shown[i], drawn[i])
                << "control " << texts[i].id << " does not show \"" << texts[i].written
                << "\" as written, in the window-text colour";
        }
        for (int radio : {IDC_FIRST_CHOICE, IDC_SECOND_CHOICE})
            EXPECT_TRUE(LabelFits(radio)) << Text(radio) << " is cut off";
    });
}

}  // namespace
}  // namespace quorvel::test
