#pragma once

#include <string>
#include <vector>

#include "Options.h"

namespace quorvel::cardsim {

// One piece of a reply: wait `afterMs` from the previous piece (or from the command), then
// send `bytes` (which may be empty: a pure wait).
struct ReplyStep {
    int afterMs = 0;
    std::string bytes;
};

// What follows the last step.
enum class ReplyEnd { Done, Flood, Vanish };

struct ReplyPlan {
    std::vector<ReplyStep> steps;
    ReplyEnd end = ReplyEnd::Done;
};

// Decides how the card answers each command, from the script and the card's echo setting.
class CommandEngine {
  public:
    explicit CommandEngine(const Options& options);

    // The answer to one command line (the bytes before its CR, without leading line feeds).
    // ATE0 and ATE1 change the echo when they are answered OK.
    ReplyPlan Answer(const std::string& command);

    bool Echo() const { return echo_; }

  private:
    std::string NormalReply(const std::string& command) const;
    std::string ReplyText(const Reply& reply, const std::string& command) const;
    void ApplyEchoCommand(const std::string& command);

    Options options_;
    bool echo_;
};

// True for the commands the card knows; all others are answered ERROR.
bool IsKnownCommand(const std::string& command);

}  // namespace quorvel::cardsim
