#pragma once

namespace quorvel {

// The thread's message queue while the card works. The wizard's windows go on painting and
// answering what is sent to them, but input that arrives meanwhile is dropped: a press made
// while the card works must not act once the wait is over. A WM_QUIT taken from the queue is
// kept, not put back, until the card's work is over: put back at once, it would wake every
// pause straight away and turn the wait into a busy loop.
class Win32MessageQueue {
  public:
    // Waits at most `milliseconds` for something to arrive, then dispatches what has arrived,
    // dropping input. Without a window on the thread (a silent run) this is a plain wait.
    void AwaitAndDispatch(unsigned milliseconds);

    // Drops what waits in the queue: mouse and keyboard input, or one kind of message.
    // Whatever is sent to the thread's windows meanwhile is answered on the way.
    void DropQueuedInput();
    void DropQueuedMessages(unsigned message);

    // Whether a WM_QUIT was taken and waits to be posted again.
    bool QuitKept() const { return quitKept_; }

    // Posts a kept WM_QUIT again, once; nothing when none is kept.
    void PostKeptQuit();

  private:
    template <typename Keep>
    void TakeQueuedMessages(unsigned first, unsigned last, Keep keep);

    bool quitKept_ = false;
    int keptQuitCode_ = 0;
};

}  // namespace quorvel
