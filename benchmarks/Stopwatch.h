#pragma once

#include <windows.h>

namespace quorvel::bench {

// Milliseconds on the performance counter, fractions kept: the figures compared here differ
// by less than GetTickCount's steps.
inline double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

}  // namespace quorvel::bench
