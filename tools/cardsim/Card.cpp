#include "Card.h"

#include <algorithm>

namespace quorvel::cardsim {

namespace {

// Noise for FLOOD: numbered so a reader can tell lines apart, and free of any result code
// even where a reader's window cuts two lines together.
std::string FloodLine(unsigned number) {
    return "\r\n+NOISE: " + std::to_string(number) + "\r\n";
}

// The command a line holds: a line feed after the previous CR is not part of it.
std::string CommandOf(const std::string& line) {
    std::size_t start = line.find_first_not_of('\n');
    if (start == std::string::npos) return "";
    return line.substr(start, line.size() - 1 - start);
}

}  // namespace

Card::Card(const Options& options, Millis now)
    : engine_(options), unsolicited_(options.unsolicited) {
    for (const auto& entry : unsolicited_)
        unsolicitedDue_.push_back(now + entry.everyMs);
}

std::vector<std::string> Card::Receive(const std::string& bytes, Millis now) {
    std::vector<std::string> lines;
    for (char c : bytes) {
        line_ += c;
        if (engine_.Echo()) output_ += c;
        if (c == '\r') {
            lines.push_back(line_);
            Answer(line_, now);
            line_.clear();
        }
    }
    return lines;
}

void Card::Answer(const std::string& line, Millis now) {
    std::string command = CommandOf(line);
    // A modem ignores an empty line rather than calling it an error.
    if (command.empty()) return;
    // A new command ends whatever the card was still saying to the previous one, so a
    // reply held back past the program's patience cannot land in the next exchange.
    flooding_ = false;
    ReplyPlan plan = engine_.Answer(command);
    steps_.assign(plan.steps.begin(), plan.steps.end());
    end_ = plan.end;
    nextStepAt_ = steps_.empty() ? now : now + steps_.front().afterMs;
    RunDueSteps(now);
}

void Card::Advance(Millis now) {
    RunDueSteps(now);
    if (flooding_ && output_.empty()) output_ += FloodLine(++floodLines_);
    SendUnsolicited(now);
}

void Card::RunDueSteps(Millis now) {
    while (!steps_.empty() && now >= nextStepAt_) {
        output_ += steps_.front().bytes;
        steps_.pop_front();
        if (!steps_.empty()) {
            nextStepAt_ += steps_.front().afterMs;
            continue;
        }
        if (end_ == ReplyEnd::Flood)
            flooding_ = true;
        else if (end_ == ReplyEnd::Vanish)
            vanished_ = true;
    }
}

bool Card::Idle() const {
    return steps_.empty() && !flooding_ && output_.empty();
}

// A notice that falls due while the card is busy waits until it is idle again, so it never
// lands inside a reply.
void Card::SendUnsolicited(Millis now) {
    for (std::size_t i = 0; i < unsolicited_.size(); ++i) {
        if (now >= unsolicitedDue_[i] && Idle()) {
            output_ += "\r\n" + unsolicited_[i].text + "\r\n";
            unsolicitedDue_[i] = now + unsolicited_[i].everyMs;
        }
    }
}

Millis Card::NextWake() const {
    Millis wake = -1;
    auto consider = [&wake](Millis at) { wake = wake < 0 ? at : std::min(wake, at); };
    if (!steps_.empty()) consider(nextStepAt_);
    if (flooding_ && output_.empty()) consider(0);
    // Notices wait for an idle card; busy ones are woken by the step or write that ends it.
    if (Idle()) {
        for (Millis due : unsolicitedDue_)
            consider(due);
    }
    return wake;
}

}  // namespace quorvel::cardsim
