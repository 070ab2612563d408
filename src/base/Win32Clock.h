#pragma once

#include "base/Clock.h"
#include "base/Win32MessageQueue.h"

namespace quorvel {

// Seconds since the system started, which no change of the calendar moves. A pause keeps the
// thread's windows alive through the message queue: they paint and answer what is sent to
// them, so that a wizard waiting on the card is never marked "Not Responding".
class Win32Clock : public Clock {
  public:
    explicit Win32Clock(Win32MessageQueue& queue) : queue_(queue) {}

    std::int64_t NowSeconds() override;
    std::int64_t NowMilliseconds() override;
    void SleepMilliseconds(unsigned milliseconds) override;

  private:
    Win32MessageQueue& queue_;
};

}  // namespace quorvel
