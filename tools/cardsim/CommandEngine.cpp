#include "CommandEngine.h"

#include <cctype>

namespace quorvel::cardsim {

namespace {

const char kOk[] = "\r\nOK\r\n";
const char kError[] = "\r\nERROR\r\n";
const char kNotSupported[] = "\r\nCOMMAND NOT SUPPORTED\r\n";

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

bool IsSwitchCommand(const std::string& command) {
    const std::string name = "at^u2diag";
    return MatchRank(name, command) == 2 && IsNumber(command.substr(name.size() + 1));
}

// The reply cut in two: at `split`'s byte count, or not at all.
ReplyPlan PlainPlan(const std::string& text, int delayMs, const Split* split) {
    if (split == nullptr || split->bytes >= text.size()) return {{{delayMs, text}}, ReplyEnd::Done};
    return {{{delayMs, text.substr(0, split->bytes)}, {split->pauseMs, text.substr(split->bytes)}},
            ReplyEnd::Done};
}

ReplyPlan VanishPlan(const std::string& text, int delayMs, const Split* split) {
    std::size_t sent = split ? split->bytes : text.size() / 2;
    int pauseMs = split ? split->pauseMs : kVanishPauseMs;
    return {{{delayMs, text.substr(0, sent)}, {pauseMs, ""}}, ReplyEnd::Vanish};
}

}  // namespace

bool IsKnownCommand(const std::string& command) {
    return Is(command, "ATE0") || Is(command, "ATE1") || Is(command, "AT+CGMM") ||
           Is(command, "at+cfun=4") || Is(command, "at+cfun=6") || IsSwitchCommand(command);
}

CommandEngine::CommandEngine(const Options& options) : options_(options), echo_(options.echo) {}

ReplyPlan CommandEngine::Answer(const std::string& command) {
    const Reply* scripted = FindScripted(options_.replies, command);
    Reply reply = scripted ? *scripted
                           : Reply{IsKnownCommand(command) ? ReplyKind::Ok : ReplyKind::Error, ""};
    if (reply.kind == ReplyKind::Ok) ApplyEchoCommand(command);

    const int* delay = FindScripted(options_.delays, command);
    int delayMs = delay ? *delay : 0;
    const Split* split = FindScripted(options_.splits, command);
    switch (reply.kind) {
        case ReplyKind::None:
            return {};
        case ReplyKind::Flood:
            return {{{delayMs, ""}}, ReplyEnd::Flood};
        case ReplyKind::Vanish:
            return VanishPlan(NormalReply(command), delayMs, split);
        default:
            return PlainPlan(ReplyText(reply, command), delayMs, split);
    }
}

std::string CommandEngine::NormalReply(const std::string& command) const {
    if (Is(command, "AT+CGMM")) return "\r\n" + options_.model + "\r\n" + kOk;
    return kOk;
}

std::string CommandEngine::ReplyText(const Reply& reply, const std::string& command) const {
    switch (reply.kind) {
        case ReplyKind::Error:
            return kError;
        case ReplyKind::Cns:
            return kNotSupported;
        case ReplyKind::Raw:
            return reply.raw;
        default:
            return NormalReply(command);
    }
}

void CommandEngine::ApplyEchoCommand(const std::string& command) {
    if (Is(command, "ATE0"))
        echo_ = false;
    else if (Is(command, "ATE1"))
        echo_ = true;
}

}  // namespace quorvel::cardsim
