#pragma once

#include "serial/Clock.h"

namespace quorvel {

// Calendar seconds from the C library's time(), as the command windows are measured in
// whole seconds of the time of day; sleeps are the system's.
class Win32Clock : public Clock {
  public:
    std::int64_t NowSeconds() override;
    void SleepMilliseconds(unsigned milliseconds) override;
};

}  // namespace quorvel
