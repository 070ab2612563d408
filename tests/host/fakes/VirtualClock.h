#pragma once

#include <cstdint>
#include <vector>

#include "serial/Clock.h"

namespace quorvel::test {

// A clock whose sleeps advance time at once and are recorded, so tests can count the waits of
// a 30-second window without spending it. Fakes that play a device read NowMilliseconds() to
// decide what has arrived by then.
class VirtualClock : public Clock {
  public:
    // Starts on a whole second unless told otherwise.
    explicit VirtualClock(std::int64_t startMilliseconds = 1'700'000'000'000)
        : nowMilliseconds_(startMilliseconds) {}

    std::int64_t NowSeconds() override { return nowMilliseconds_ / 1000; }

    void SleepMilliseconds(unsigned milliseconds) override {
        sleeps_.push_back(milliseconds);
        nowMilliseconds_ += milliseconds;
    }

    std::int64_t NowMilliseconds() const { return nowMilliseconds_; }
    void Advance(std::int64_t milliseconds) { nowMilliseconds_ += milliseconds; }

    const std::vector<unsigned>& Sleeps() const { return sleeps_; }
    std::int64_t SleptMilliseconds() const {
        std::int64_t total = 0;
        for (unsigned s : sleeps_)
            total += s;
        return total;
    }

  private:
    std::int64_t nowMilliseconds_;
    std::vector<unsigned> sleeps_;
};

}  // namespace quorvel::test
