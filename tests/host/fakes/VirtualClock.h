#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "base/Clock.h"

namespace quorvel::test {

// Sleeps advance time at once and are recorded, so a 30-second window costs nothing and its
// pauses can be counted. Starts on a whole second, so a window's seconds line up with its pauses.
class VirtualClock : public Clock {
  public:
    std::int64_t NowSeconds() override { return milliseconds / 1000; }
    std::int64_t NowMilliseconds() override { return milliseconds; }
    void SleepMilliseconds(unsigned pause) override {
        if (onSleep) onSleep();
        sleeps.push_back(pause);
        milliseconds += pause;
    }

    std::int64_t milliseconds = 1'700'000'000'000;
    std::vector<unsigned> sleeps;
    std::function<void()> onSleep;  // a look at the world while the code waits
};

}  // namespace quorvel::test
