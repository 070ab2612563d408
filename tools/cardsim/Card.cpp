#include "cardsim/Card.h"

#include <algorithm>
#include <cctype>

namespace quorvel::cardsim {

namespace {

const char kOk[] = "\r\nOK\r\n";

// A VANISH without a --split stops halfway through its reply and is unplugged after a pause
// long enough for a program polling once a second to have seen the fragment.
constexpr int kVanishPauseMs = 1500;

bool Is(const std::string& command, const char* name) {
    return MatchRank(name, command) == 3;
}

bool IsNumber(const std::string& text) {
    std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == start) return false;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

// All other commands are answered ERROR.
bool IsKnownCommand(const std::string& command) {
    const std::string name = "at^u2diag";
    return Is(command, "ATE0") || Is(command, "ATE1") || Is(command, "AT+CGMM") ||
           Is(command, "at+cfun=4") || Is(command, "at+cfun=6") ||
           (MatchRank(name, command) == 2 && IsNumber(command.substr(name.size() + 1)));
}

// The reply cut in two: at `split`'s byte count, or not at all.
ReplyPlan PlainPlan(const std::string& text, int delayMs, const Split* split) {
    if (split == nullptr || split->bytes >= text.size())
        return {{{delayMs, text}}, ReplyEnd::kDone};
    return {{{delayMs, text.substr(0, split->bytes)}, {split->pauseMs, text.substr(split->bytes)}},
            ReplyEnd::kDone};
}

ReplyPlan VanishPlan(const std::string& text, int delayMs, const Split* split) {
    std::size_t sent = split ? split->bytes : text.size() / 2;
    int pauseMs = split ? split->pauseMs : kVanishPauseMs;
    return {{{delayMs, text.substr(0, sent)}, {pauseMs, ""}}, ReplyEnd::kVanish};
}

// Noise for FLOOD: numbered so a reader can tell lines apart, and free of any result code
// even where a reader's window cuts two lines together.
std::string FloodLine(unsigned number) {
    return "\r\n+NOISE: " + std::to_string(number) + "\r\n";
}

// A line feed after the previous CR is not part of the command.
std::string CommandOf(const std::string& line) {
    std::size_t start = line.find_first_not_of('\n');
    if (start == std::string::npos) return "";
    return line.substr(start, line.size() - 1 - start);
}

}  // namespace

Card::Card(const Options& options, Millis now) : options_(options), echo_(options.echo) {
    for (const auto& entry : options_.unsolicited)
        unsolicitedDue_.push_back(now + entry.everyMs);
}

std::vector<std::string> Card::Receive(const std::string& bytes, Millis now) {
    std::vector<std::string> lines;
    for (char c : bytes) {
        line_ += c;
        if (echo_) output_ += c;
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
    reply_ = Plan(command);
    nextStepAt_ = reply_.steps.empty() ? now : now + reply_.steps.front().afterMs;
    RunDueSteps(now);
}

ReplyPlan Card::Plan(const std::string& command) {
    const Reply* scripted = FindScripted(options_.replies, command);
    Reply reply = scripted
                      ? *scripted
                      : Reply{IsKnownCommand(command) ? ReplyKind::kOk : ReplyKind::kError, ""};
    // Echo changes as the command is answered, not when its (maybe delayed) reply is sent.
    if (reply.kind == ReplyKind::kOk && Is(command, "ATE0")) echo_ = false;
    if (reply.kind == ReplyKind::kOk && Is(command, "ATE1")) echo_ = true;

    const int* delay = FindScripted(options_.delays, command);
    int delayMs = delay ? *delay : 0;
    const Split* split = FindScripted(options_.splits, command);
    std::string normal = Is(command, "AT+CGMM") ? "\r\n" + options_.model + "\r\n" + kOk : kOk;
    switch (reply.kind) {
        case ReplyKind::kNone:
            return {};
        case ReplyKind::kFlood:
            return {{{delayMs, ""}}, ReplyEnd::kFlood};
        case ReplyKind::kVanish:
            return VanishPlan(normal, delayMs, split);
        case ReplyKind::kError:
            return PlainPlan("\r\nERROR\r\n", delayMs, split);
        case ReplyKind::kCns:
            return PlainPlan("\r\nCOMMAND NOT SUPPORTED\r\n", delayMs, split);
        case ReplyKind::kRaw:
            return PlainPlan(reply.raw, delayMs, split);
        case ReplyKind::kOk:
            break;
    }
    return PlainPlan(normal, delayMs, split);
}

void Card::Advance(Millis now) {
    RunDueSteps(now);
    if (flooding_ && output_.empty()) output_ += FloodLine(++floodLines_);
    SendUnsolicited(now);
}

void Card::RunDueSteps(Millis now) {
    auto& steps = reply_.steps;
    while (!steps.empty() && now >= nextStepAt_) {
        output_ += steps.front().bytes;
        steps.pop_front();
        if (!steps.empty()) {
            nextStepAt_ += steps.front().afterMs;
            continue;
        }
        if (reply_.end == ReplyEnd::kFlood)
            flooding_ = true;
        else if (reply_.end == ReplyEnd::kVanish)
            vanished_ = true;
    }
}

bool Card::Idle() const {
    return reply_.steps.empty() && !flooding_ && output_.empty();
}

// A notice that falls due while the card is busy waits until it is idle again, so it never
// lands inside a reply.
void Card::SendUnsolicited(Millis now) {
    for (std::size_t i = 0; i < options_.unsolicited.size(); ++i) {
        const Unsolicited& notice = options_.unsolicited[i];
        if (now >= unsolicitedDue_[i] && Idle()) {
            output_ += "\r\n" + notice.text + "\r\n";
            unsolicitedDue_[i] = now + notice.everyMs;
        }
    }
}

Millis Card::NextWake() const {
    Millis wake = -1;
    auto consider = [&wake](Millis at) { wake = wake < 0 ? at : std::min(wake, at); };
    if (!reply_.steps.empty()) consider(nextStepAt_);
    if (flooding_ && output_.empty()) consider(0);
    // Notices wait for an idle card; busy ones are woken by the step or write that ends it.
    if (Idle()) {
        for (Millis due : unsolicitedDue_)
            consider(due);
    }
    return wake;
}

}  // namespace quorvel::cardsim
