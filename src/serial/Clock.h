#pragma once

#include <cstdint>

namespace quorvel {

// Time as the program uses it: whole calendar seconds for the command windows, and plain
// sleeps. Tests substitute a virtual clock so a 30-second window costs no real time.
class Clock {
  public:
    virtual ~Clock() = default;

    // Current calendar time in whole seconds (the time of day, not a tick counter).
    virtual std::int64_t NowSeconds() = 0;

    virtual void SleepMilliseconds(unsigned milliseconds) = 0;
};

}  // namespace quorvel
