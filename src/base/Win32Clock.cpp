#include "base/Win32Clock.h"

#include <windows.h>

namespace quorvel {

namespace {

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||
           message == WM_NCMOUSEHOVER || message == WM_NCMOUSELEAVE ||
           message == WM_MOUSEHOVER || message == WM_MOUSELEAVE || message == WM_INPUT;
}

}  // namespace

std::int64_t Win32Clock::NowSeconds() {
    return static_cast<std::int64_t>(GetTickCount64() / 1000);
}

// Without a window on the thread (a silent run) this is a plain wait: nothing arrives.
void Win32Clock::SleepMilliseconds(unsigned milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        DispatchQueuedMessagesDroppingInput();
    }
}

void DispatchQueuedMessagesDroppingInput() {
    MSG message;
    bool quit = false;
    int quitCode = 0;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;  // for the loop that runs when the wait is over
            quitCode = static_cast<int>(message.wParam);
        } else if (!IsInput(message.message)) {
            DispatchMessageA(&message);
        }
    }
    if (quit) PostQuitMessage(quitCode);
}

}  // namespace quorvel
