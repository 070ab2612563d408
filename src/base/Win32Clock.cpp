#include "base/Win32Clock.h"

#include <windows.h>

namespace quorvel {

std::int64_t Win32Clock::NowSeconds() {
    return static_cast<std::int64_t>(GetTickCount64() / 1000);
}

std::int64_t Win32Clock::NowMilliseconds() {
    return static_cast<std::int64_t>(GetTickCount64());
}

// A message that arrives ends the queue's wait early; the pause goes on until its end.
void Win32Clock::SleepMilliseconds(unsigned milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64())
        queue_.AwaitAndDispatch(static_cast<unsigned>(end - now));
}

}  // namespace quorvel
