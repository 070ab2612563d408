#include "base/Win32Clock.h"

#include <windows.h>

namespace quorvel {

std::int64_t Win32Clock::NowSeconds() {
    return static_cast<std::int64_t>(GetTickCount64() / 1000);
}

void Win32Clock::SleepMilliseconds(unsigned milliseconds) {
    Sleep(milliseconds);
}

}  // namespace quorvel
