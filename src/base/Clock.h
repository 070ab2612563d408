#pragma once

#include <cstdint>

namespace quorvel {

// Time as the program uses it: whole seconds for the reply windows, and plain sleeps. Tests
// substitute a virtual clock so a 30-second window costs no real time.
class Clock {
  public:
    virtual ~Clock() = default;

    // Whole seconds of a steady count that only moves forward. The time of day would do for
    // a well-kept clock, but a wait must neither freeze nor end early when someone (or a time
    // sync) sets the calendar back or forward.
    virtual std::int64_t NowSeconds() = 0;

    // The same count in milliseconds, for the trace's times.
    virtual std::int64_t NowMilliseconds() = 0;

    virtual void SleepMilliseconds(unsigned milliseconds) = 0;
};

}  // namespace quorvel
