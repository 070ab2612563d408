#include "base/Win32MessageQueue.h"

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

}  // namespace

// Takes the thread's queued messages from `first` to `last` (0 and 0: all of them) and hands
// each that is not input to `keep`. A WM_QUIT, which every request returns, is kept.
template <typename Keep>
void Win32MessageQueue::TakeQueuedMessages(unsigned first, unsigned last, Keep keep) {
    MSG message;
    while (PeekMessageA(&message, nullptr, first, last, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitKept_ = true;
            keptQuitCode_ = static_cast<int>(message.wParam);
        } else if (!IsInput(message.message)) {
            keep(message);
        }
    }
}

void Win32MessageQueue::AwaitAndDispatch(unsigned milliseconds) {
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    TakeQueuedMessages(0, 0, [](const MSG& message) { DispatchMessageA(&message); });
}

void Win32MessageQueue::DropQueuedInput() {
    for (const auto& range : kInputRanges)
        TakeQueuedMessages(range[0], range[1], [](const MSG&) {});
}

void Win32MessageQueue::DropQueuedMessages(unsigned message) {
    TakeQueuedMessages(message, message, [](const MSG&) {});
}

void Win32MessageQueue::PostKeptQuit() {
    if (!quitKept_) return;
    quitKept_ = false;
    PostQuitMessage(keptQuitCode_);
}

}  // namespace quorvel
