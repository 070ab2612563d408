#include "WizardDriver.h"

#include <utility>

#include "WinePaths.h"

namespace quorvel::test {

namespace {

constexpr DWORD kPollMs = 20;
// How long a message that needs the wizard's thread may wait for it.
constexpr UINT kAnswerTimeoutMs = 3000;
// Between two screenshots that must agree.
constexpr DWORD kSettleMs = 150;
constexpr int kTextSize = 1024;

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return "";
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(size) - 1);
    return utf8;
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

}  // namespace

WizardDriver::WizardDriver(std::string exeUnixPath)
    : exe_(exeUnixPath.empty() ? Environment("QUORVEL_EXE") : std::move(exeUnixPath)) {}

bool WizardDriver::Start(const std::vector<std::string>& args, const std::string& workDirUnix) {
    wizard_ = nullptr;
    return !exe_.empty() && program_.Start(exe_, args, workDirUnix);
}

bool WizardDriver::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const bool running = program_.Running();
        if (condition()) return true;
        if (!running || GetTickCount() - start >= timeoutMs) return false;
        Sleep(kPollMs);
    }
}

// Top-level windows only: EnumWindows lists every process's, so they are told apart by owner.
std::vector<HWND> WizardDriver::TopLevelWindows() const {
    std::vector<HWND> all;
    std::vector<HWND> ours;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        if (program_.Started() && ProcessOf(window) == program_.ProcessId()) ours.push_back(window);
    }
    return ours;
}

HWND WizardDriver::FindWindowOfProgram(const std::string& caption,
                                       const std::string& className) const {
    for (HWND window : TopLevelWindows()) {
        if (TextOf(window) == caption && ClassOf(window) == className) return window;
    }
    return nullptr;
}

HWND WizardDriver::WaitForDialog(const std::string& caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindWindowOfProgram(caption, kDialogClass);
            return found != nullptr && IsWindowVisible(found);
        },
        timeoutMs);
    return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

HWND WizardDriver::WaitForWizard(DWORD timeoutMs) {
    wizard_ = nullptr;
    HWND found = nullptr;
    // The title is the welcome page's last text but one; the page is set before the dialog
    // shows, so a shown dialog with a title is a filled one.
    WaitUntil(
        [&] {
            found = FindWindowOfProgram(kWizardCaption, kDialogClass);
            return found != nullptr && IsWindowVisible(found) &&
                   !TextOf(GetDlgItem(found, 1004)).empty();
        },
        timeoutMs);
    if (found != nullptr && IsWindowVisible(found)) wizard_ = found;
    return wizard_;
}

HWND WizardDriver::Control(int id) const {
    return wizard_ != nullptr ? GetDlgItem(wizard_, id) : nullptr;
}

std::string WizardDriver::Text(int id) const {
    return TextOf(Control(id));
}

bool WizardDriver::Enabled(int id) const {
    HWND control = Control(id);
    return control != nullptr && IsWindowEnabled(control);
}

bool WizardDriver::Visible(int id) const {
    HWND control = Control(id);
    return control != nullptr && IsWindowVisible(control);
}

bool WizardDriver::Checked(int id) const {
    DWORD_PTR state = 0;
    HWND control = Control(id);
    return control != nullptr &&
           SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                               &state) != 0 &&
           state == BST_CHECKED;
}

bool WizardDriver::WaitForText(int id, const std::string& text, DWORD timeoutMs) {
    return WaitUntil([&] { return Text(id) == text; }, timeoutMs);
}

bool WizardDriver::Click(int id) {
    HWND control = Control(id);
    return control != nullptr && PostMessageW(control, BM_CLICK, 0, 0);
}

bool WizardDriver::PostSysCommand(WPARAM command) {
    return wizard_ != nullptr && PostMessageW(wizard_, WM_SYSCOMMAND, command, 0);
}

// The key goes where the keyboard would send it, the dialog's focused control, and the
// dialog's message loop turns it into the cancel command.
bool WizardDriver::PressEscape(HWND dialog) {
    if (dialog == nullptr) return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = dialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
        info.hwndFocus != nullptr && (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus)))
        target = info.hwndFocus;
    const UINT scan = MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC);
    return PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1 | (scan << 16)) &&
           PostMessageW(target, WM_KEYUP, VK_ESCAPE, 1 | (scan << 16) | 0xC0000000u);
}

bool WizardDriver::PressCloseBox(HWND window) {
    return window != nullptr && PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

MessageBoxView WizardDriver::ReadMessageBox(HWND box) {
    MessageBoxView view;
    view.window = box;
    view.caption = TextOf(box);
    view.owner = GetWindow(box, GW_OWNER);
    for (HWND child : Children(box)) {
        if (!IsWindowVisible(child)) continue;
        const std::string className = ClassOf(child);
        if (className == "Button") {
            view.buttons.push_back(GetDlgCtrlID(child));
        } else if (className == "Static" && view.text.empty() &&
                   (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            view.text = TextOf(child);
        }
    }
    return view;
}

bool WizardDriver::Answer(HWND box, int buttonId, DWORD timeoutMs) {
    HWND button = GetDlgItem(box, buttonId);
    return button != nullptr && PostMessageW(button, BM_CLICK, 0, 0) &&
           WaitUntilGone(box, timeoutMs);
}

HWND WizardDriver::OpenAbout(WPARAM command, DWORD timeoutMs) {
    if (!PostSysCommand(command)) return nullptr;
    return WaitForDialog(kAboutCaption, timeoutMs);
}

bool WizardDriver::WaitUntilGone(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(kPollMs);
    }
    return true;
}

UnseenRun WizardDriver::WaitForExitUnseen(DWORD timeoutMs) {
    UnseenRun run;
    const DWORD start = GetTickCount();
    for (;;) {
        const bool ended = !program_.Running();
        for (HWND window : TopLevelWindows()) {
            if (run.shownWindow.empty() && IsWindowVisible(window))
                run.shownWindow = "\"" + TextOf(window) + "\" (" + ClassOf(window) + ")";
        }
        if (ended) {
            run.exited = true;
            return run;
        }
        if (GetTickCount() - start >= timeoutMs) return run;
        Sleep(1);
    }
}

Screenshot WizardDriver::CaptureWizard(DWORD timeoutMs) const {
    Screenshot last = Screenshot::OfClient(wizard_);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        Sleep(kSettleMs);
        Screenshot next = Screenshot::OfClient(wizard_);
        if (!next.Empty() && next == last) return next;
        last = std::move(next);
    }
    return Screenshot();
}

std::vector<HWND> WizardDriver::Children(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// For another process's window the system hands back the text it keeps, without sending a
// message, so this works while that window's thread is busy.
std::string WizardDriver::TextOf(HWND window) {
    if (window == nullptr) return "";
    wchar_t text[kTextSize] = {};
    GetWindowTextW(window, text, kTextSize);
    text[kTextSize - 1] = L'\0';
    return Utf8(text);
}

std::string WizardDriver::ClassOf(HWND window) {
    char name[256] = {};
    if (window == nullptr || GetClassNameA(window, name, sizeof name) == 0) return "";
    return name;
}

}  // namespace quorvel::test
