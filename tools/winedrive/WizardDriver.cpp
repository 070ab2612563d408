#include "winedrive/WizardDriver.h"

#include <utility>

#include "winedrive/Wine.h"

namespace quorvel::winedrive {

namespace {

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

bool WizardDriver::StartTraced(const std::vector<std::string>& args, const std::string& workDirUnix,
                               const std::string& stderrUnixPath) {
    wizard_ = nullptr;
    return !exe_.empty() &&
           program_.StartWithWineDebug(exe_, args, workDirUnix, "warn+debugstr", stderrUnixPath);
}

bool WizardDriver::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    bool held = false;
    WaitFor(
        [&] {
            const bool running = program_.Running();
            held = condition();
            return held || !running;
        },
        timeoutMs);
    return held;
}

std::vector<HWND> WizardDriver::TopLevelWindowsOf(DWORD processId, const std::string& className) {
    std::vector<HWND> all;
    std::vector<HWND> wanted;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == processId && (className.empty() || ClassOf(window) == className))
            wanted.push_back(window);
    }
    return wanted;
}

std::vector<HWND> WizardDriver::TopLevelWindows() const {
    return program_.Started() ? TopLevelWindowsOf(program_.ProcessId()) : std::vector<HWND>{};
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

// The wizard shows while it asks the card, with Next greyed; the welcome page turns it on.
bool WizardDriver::Filled(HWND wizard) {
    return IsWindowVisible(wizard) && IsWindowEnabled(GetDlgItem(wizard, kNextButton));
}

HWND WizardDriver::WaitForWizard(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindWindowOfProgram(kWizardCaption, kDialogClass);
            return found != nullptr && Filled(found);
        },
        timeoutMs);
    wizard_ = found != nullptr && Filled(found) ? found : nullptr;
    return wizard_;
}

bool WizardDriver::Answer(HWND box, int buttonId, DWORD timeoutMs) {
    HWND button = GetDlgItem(box, buttonId);
    return button != nullptr && PostMessageW(button, BM_CLICK, 0, 0) &&
           WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, timeoutMs);
}

UnseenRun WizardDriver::WaitForExitUnseen(DWORD timeoutMs) {
    UnseenRun run;
    WaitFor(
        [&] {
            const bool ended = !program_.Running();
            for (HWND window : TopLevelWindows()) {
                if (run.shownWindow.empty() && IsWindowVisible(window))
                    run.shownWindow = "\"" + TextOf(window) + "\" (" + ClassOf(window) + ")";
            }
            return ended || !run.shownWindow.empty();
        },
        timeoutMs);
    run.exited = !program_.Running();
    return run;
}

Screenshot WizardDriver::CaptureWizard(DWORD timeoutMs) const {
    Screenshot last = Screenshot::OfClient(wizard_);
    Screenshot settled;
    WaitFor(
        [&] {
            Sleep(kSettleMs);
            Screenshot next = Screenshot::OfClient(wizard_);
            if (!next.Empty() && next == last) settled = next;
            last = std::move(next);
            return !settled.Empty();
        },
        timeoutMs);
    return settled;
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

bool WizardDriver::PressKey(HWND dialog, WORD key) {
    if (dialog == nullptr || !WaitFor([&] { return GetForegroundWindow() == dialog; }, kTimeoutMs))
        return false;
    INPUT strokes[2] = {};
    for (INPUT& stroke : strokes) {
        stroke.type = INPUT_KEYBOARD;
        stroke.ki.wVk = key;
        stroke.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        // The arrows and the keys above them are the extended keys beside the number pad.
        stroke.ki.dwFlags = key >= VK_PRIOR && key <= VK_DOWN ? KEYEVENTF_EXTENDEDKEY : 0;
    }
    strokes[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    return SendInput(2, strokes, sizeof(INPUT)) == 2;
}

bool WizardDriver::PostKey(HWND dialog, WORD key) {
    if (dialog == nullptr) return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = dialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
        info.hwndFocus != nullptr && (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus)))
        target = info.hwndFocus;
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    return PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16)) &&
           PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
}

bool WizardDriver::PressWithMouse(HWND control) {
    const LPARAM inside = MAKELPARAM(5, 5);
    return control != nullptr && PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, inside) &&
           PostMessageW(control, WM_LBUTTONUP, 0, inside);
}

bool WizardDriver::PressCloseBox(HWND window) {
    return window != nullptr && PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace quorvel::winedrive
