#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "cardsim/Options.h"

namespace quorvel::cardsim {

using Millis = std::int64_t;

// One piece of a reply: wait `afterMs` from the previous piece (or from the command), then
// send `bytes` (which may be empty: a pure wait).
struct ReplyStep {
    int afterMs = 0;
    std::string bytes;
};

enum class ReplyEnd { kDone, kFlood, kVanish };

struct ReplyPlan {
    std::deque<ReplyStep> steps;
    ReplyEnd end = ReplyEnd::kDone;  // what follows the last step
};

// The card's behaviour over time, free of any I/O: bytes come in through Receive, what the
// card says collects in Output() for the caller to write, and NextWake tells when the card
// next has something to do. Time is passed in: the card never reads a clock.
class Card {
  public:
    Card(const Options& options, Millis now);

    // Echoes the bytes if echo is on and answers every command completed by a CR. Returns
    // the completed lines, each up to and including its CR, for the transcript.
    std::vector<std::string> Receive(const std::string& bytes, Millis now);

    // Moves whatever has come due by `now` into the output.
    void Advance(Millis now);

    // Bytes waiting to be written. The caller erases what it has written.
    std::string& Output() { return output_; }

    // When Advance next has work, or -1 when only received bytes can wake the card. While
    // flooding, the next line is due as soon as the output has drained.
    Millis NextWake() const;

    // True once a VANISH reply has sent its part: the card is to be unplugged.
    bool Vanished() const { return vanished_; }

    // Bytes received since the last CR.
    const std::string& PartialLine() const { return line_; }

  private:
    void Answer(const std::string& line, Millis now);
    ReplyPlan Plan(const std::string& command);
    void RunDueSteps(Millis now);
    void SendUnsolicited(Millis now);
    bool Idle() const;

    Options options_;
    bool echo_;
    std::string line_;
    std::string output_;
    ReplyPlan reply_;
    Millis nextStepAt_ = 0;
    bool flooding_ = false;
    unsigned floodLines_ = 0;
    bool vanished_ = false;
    std::vector<Millis> unsolicitedDue_;
};

}  // namespace quorvel::cardsim
