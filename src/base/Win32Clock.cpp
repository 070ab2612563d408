#include "base/Win32Clock.h"

#include <windows.h>

namespace quorvel {

namespace {

// Mouse and keyboard input, client and non-client, as message ranges.
constexpr UINT kInputRanges[][2] = {
    {WM_KEYFIRST, WM_KEYLAST},
    {WM_MOUSEFIRST, WM_MOUSELAST},
    {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
    {WM_NCMOUSEHOVER, WM_NCMOUSEHOVER},
    {WM_NCMOUSELEAVE, WM_NCMOUSELEAVE},
    {WM_MOUSEHOVER, WM_MOUSEHOVER},
    {WM_MOUSELEAVE, WM_MOUSELEAVE},
    {WM_INPUT, WM_INPUT},
};

bool IsInput(UINT message) {
    for (const auto& range : kInputRanges) {
        if (message >= range[0] && message <= range[1]) return true;
    }
    return false;
}

// A WM_QUIT taken from the queue, kept for the loop that runs once the card's work is over.
// Put back at once, it would wake every pause straight away and turn the wait into a busy loop.
bool quitKept = false;
int keptQuitCode = 0;

// Takes the thread's queued messages from `first` to `last` (0 and 0: all of them) and hands
// each that is not input to `keep`. A WM_QUIT, which every request returns, is kept.
template <typename Keep>
void TakeQueuedMessages(UINT first, UINT last, Keep keep) {
    MSG message;
    while (PeekMessageA(&message, nullptr, first, last, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitKept = true;
            keptQuitCode = static_cast<int>(message.wParam);
        } else if (!IsInput(message.message)) {
            keep(message);
        }
    }
}

}  // namespace

std::int64_t Win32Clock::NowSeconds() {
    return static_cast<std::int64_t>(GetTickCount64() / 1000);
}

std::int64_t Win32Clock::NowMilliseconds() {
    return static_cast<std::int64_t>(GetTickCount64());
}

// Without a window on the thread (a silent run) this is a plain wait: nothing arrives.
void Win32Clock::SleepMilliseconds(unsigned milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        TakeQueuedMessages(0, 0, [](const MSG& message) { DispatchMessageA(&message); });
    }
}

void DropQueuedInput() {
    for (const auto& range : kInputRanges)
        TakeQueuedMessages(range[0], range[1], [](const MSG&) {});
}

void DropQueuedMessages(unsigned message) {
    TakeQueuedMessages(message, message, [](const MSG&) {});
}

bool QuitKept() {
    return quitKept;
}

void PostKeptQuit() {
    if (!quitKept) return;
    quitKept = false;
    PostQuitMessage(keptQuitCode);
}

}  // namespace quorvel
