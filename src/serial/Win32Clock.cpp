#include "serial/Win32Clock.h"

#include <windows.h>

#include <ctime>

namespace quorvel {

std::int64_t Win32Clock::NowSeconds() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

void Win32Clock::SleepMilliseconds(unsigned milliseconds) {
    Sleep(milliseconds);
}

}  // namespace quorvel
