#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "winedrive/ProgramRun.h"
#include "winedrive/Screenshot.h"
#include "winedrive/Wine.h"

namespace quorvel::winedrive {

// Window captions as QuorvelTool shows them (UTF-8, as every text the driver hands back).
inline constexpr char kWizardCaption[] = "QuorvelTool";
inline constexpr char kStartupBoxCaption[] = "Quorvel Tool";
inline constexpr char kConfirmBoxCaption[] = "Quorvel";
// The class of every dialog box, message boxes included.
inline constexpr char kDialogClass[] = "#32770";
// The wizard's Next (later Finish) button.
inline constexpr int kNextButton = 1001;

// What a message box shows.
struct MessageBoxView {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    std::vector<int> buttons;  // identifiers of its visible buttons, in window order
};

// How a run that should show nothing ended.
struct UnseenRun {
    bool exited = false;      // the program has ended
    std::string shownWindow;  // caption and class of a window that became visible; empty if none
};

// Drives QuorvelTool.exe from outside, the way a user would, through window messages and typed
// keys.
// Every wait is bounded, and a program still running when the driver goes is ended. Clicks are
// posted, never sent: a handler that blocks on the card must not block the driver. Texts are
// read without messages, so they can be read while the wizard is busy.
//
//     WizardDriver driver;
//     ASSERT_TRUE(driver.Start({}, workDirectory));
//     ASSERT_TRUE(driver.WaitForWizard());
//     driver.Click(IDC_NEXT_BUTTON);
//     driver.WaitUntil([&] { return driver.Text(IDC_NEXT_BUTTON) == "&Finish"; });
class WizardDriver {
  public:
    static constexpr DWORD kTimeoutMs = kConditionTimeoutMs;

    // `exeUnixPath` defaults to $QUORVEL_EXE.
    explicit WizardDriver(std::string exeUnixPath = "");

    // Starts the program with `args` in `workDirUnix` (where it reads Quorvel.ini).
    bool Start(const std::vector<std::string>& args, const std::string& workDirUnix);
    // The same, with the program's trace (Wine's debug output of it) going to `stderrUnixPath`.
    bool StartTraced(const std::vector<std::string>& args, const std::string& workDirUnix,
                     const std::string& stderrUnixPath);
    ProgramRun& Program() { return program_; }

    // Polls `condition` until it holds; false on timeout, or once the program has ended
    // without it holding.
    bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs);

    // --- the wizard
    // Waits until the wizard is visible with its welcome page filled, and returns it. It shows
    // first while it asks the card, greyed; its page is read only once it is filled.
    HWND WaitForWizard(DWORD timeoutMs = kTimeoutMs);
    // True when `wizard` is visible with a page filled: its Next (or Finish) is on.
    static bool Filled(HWND wizard);
    std::string Text(int id) const { return TextOf(GetDlgItem(wizard_, id)); }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(wizard_, id)) != FALSE; }
    bool Visible(int id) const { return IsWindowVisible(GetDlgItem(wizard_, id)) != FALSE; }
    // Posts a click to control `id`.
    bool Click(int id) { return PostMessageW(GetDlgItem(wizard_, id), BM_CLICK, 0, 0) != FALSE; }
    // The wizard's client area as it shows on the screen, taken once two shots in a row agree
    // (the frame is left out: without a window manager nobody draws it).
    Screenshot CaptureWizard(DWORD timeoutMs = kTimeoutMs) const;

    // --- boxes
    // Waits for a visible dialog of the program with this caption; nullptr on timeout.
    HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = kTimeoutMs);
    // Any top-level window of the program with this caption and class, shown or not.
    HWND FindWindowOfProgram(const std::string& caption, const std::string& className) const;
    // Clicks the box's button `buttonId` (IDOK, IDYES, IDNO) and waits until the box is gone.
    bool Answer(HWND box, int buttonId, DWORD timeoutMs = kTimeoutMs);

    // --- the end
    bool WaitForExit(DWORD timeoutMs = kTimeoutMs) { return program_.WaitForExit(timeoutMs); }
    DWORD ExitCode() const { return program_.ExitCode(); }
    // For runs that must show nothing: watches the program's windows until it ends, or until
    // one of them shows.
    UnseenRun WaitForExitUnseen(DWORD timeoutMs = kTimeoutMs);

    // --- any window, also in the caller's own process
    // The process's top-level windows of `className` (all, if empty), from one snapshot of the
    // desktop's list. Never walked with FindWindowEx from a window: Wine 10's server loops for
    // ever when that window is being destroyed.
    static std::vector<HWND> TopLevelWindowsOf(DWORD processId, const std::string& className = "");
    static std::vector<HWND> Children(HWND window);
    static std::string TextOf(HWND window);
    static std::string ClassOf(HWND window);
    static MessageBoxView ReadMessageBox(HWND box);
    // A key typed as the keyboard types it: it goes to the focused control of the window in
    // front, and is lost when nothing has the focus. False unless `dialog` comes to be in front.
    // Only where no other wizard runs meanwhile: the keys go to whichever is in front.
    static bool PressKey(HWND dialog, WORD key);
    static bool PressEscape(HWND dialog) { return PressKey(dialog, VK_ESCAPE); }
    // A key posted to the dialog's focused control, or to the dialog when nothing has the focus,
    // as a busy wizard has none: typed, it would arrive there as a system key.
    static bool PostKey(HWND dialog, WORD key);
    // A click of the left mouse button inside the control, posted as the mouse would send it.
    static bool PressWithMouse(HWND control);
    // What the caption's close box issues.
    static bool PressCloseBox(HWND window);

  private:
    std::vector<HWND> TopLevelWindows() const;

    std::string exe_;
    ProgramRun program_;
    HWND wizard_ = nullptr;
};

}  // namespace quorvel::winedrive
