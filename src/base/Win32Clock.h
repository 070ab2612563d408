#pragma once

#include "base/Clock.h"

namespace quorvel {

// Seconds since the system started, which no change of the calendar moves. A pause keeps the
// thread's windows alive: they paint and answer what is sent to them, so that a wizard waiting
// on the card is never marked "Not Responding". Input that arrives meanwhile is dropped: a
// press made while the card works must not act once the wait is over.
class Win32Clock : public Clock {
  public:
    std::int64_t NowSeconds() override;
    std::int64_t NowMilliseconds() override;
    void SleepMilliseconds(unsigned milliseconds) override;
};

// Drop what waits in the thread's queue: mouse and keyboard input, or one kind of message.
// Whatever is sent to the thread's windows meanwhile is answered on the way.
void DropQueuedInput();
void DropQueuedMessages(unsigned message);

// A WM_QUIT that a pause or a drop took from the queue is kept, not put back, until the card's
// work is over: then PostKeptQuit posts it again, once. QuitKept tells whether one waits.
bool QuitKept();
void PostKeptQuit();

}  // namespace quorvel
