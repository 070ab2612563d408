#pragma once

#include "base/Clock.h"

namespace quorvel {

// Seconds since the system started, which no change of the calendar moves; sleeps are the
// system's.
class Win32Clock : public Clock {
  public:
    std::int64_t NowSeconds() override;
    void SleepMilliseconds(unsigned milliseconds) override;
};

}  // namespace quorvel
