#include "Options.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "Escapes.h"

namespace quorvel::cardsim {

namespace {

// A day is far beyond any wait a test could want, and keeps sums of waits within int.
constexpr long kMostMilliseconds = 86'400'000;

bool ParseCount(const std::string& text, long most, long& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    value = std::strtol(text.c_str(), nullptr, 10);
    return value <= most;
}

bool EqualsIgnoringCase(const std::string& text, const char* word) {
    if (text.size() != std::strlen(word)) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != word[i]) return false;
    }
    return true;
}

bool ParseReply(const std::string& text, Reply& reply) {
    static const struct {
        const char* word;
        ReplyKind kind;
    } kKinds[] = {{"OK", ReplyKind::Ok},       {"ERROR", ReplyKind::Error},
                  {"CNS", ReplyKind::Cns},     {"NONE", ReplyKind::None},
                  {"FLOOD", ReplyKind::Flood}, {"VANISH", ReplyKind::Vanish}};
    for (const auto& entry : kKinds) {
        if (EqualsIgnoringCase(text, entry.word)) {
            reply = {entry.kind, ""};
            return true;
        }
    }
    if (text.size() >= 4 && EqualsIgnoringCase(text.substr(0, 4), "RAW:")) {
        reply.kind = ReplyKind::Raw;
        return DecodeEscapes(text.substr(4), reply.raw);
    }
    return false;
}

// CMD=KIND where the command itself may hold '=' (at+cfun=4=ERROR) and so may raw bytes
// (at+cfun=4=RAW:a=b): the first '=' after which a valid kind follows ends the command.
bool ParseReplyEntry(const std::string& text, Scripted<Reply>& entry) {
    for (std::size_t eq = text.find('='); eq != std::string::npos; eq = text.find('=', eq + 1)) {
        if (eq > 0 && ParseReply(text.substr(eq + 1), entry.value)) {
            entry.command = text.substr(0, eq);
            return true;
        }
    }
    return false;
}

// Splits "CMD<sep>VALUE" at the last separator, so the command may hold '='.
bool SplitAtLast(const std::string& text, char separator, std::string& head, std::string& tail) {
    std::size_t at = text.rfind(separator);
    if (at == std::string::npos || at == 0) return false;
    head = text.substr(0, at);
    tail = text.substr(at + 1);
    return true;
}

bool ParseDelayEntry(const std::string& text, Scripted<int>& entry) {
    std::string ms;
    long value = 0;
    if (!SplitAtLast(text, '=', entry.command, ms) || !ParseCount(ms, kMostMilliseconds, value))
        return false;
    entry.value = static_cast<int>(value);
    return true;
}

bool ParseSplitEntry(const std::string& text, Scripted<Split>& entry) {
    std::string plan, count, ms;
    long bytes = 0, pause = 0;
    if (!SplitAtLast(text, '=', entry.command, plan) || !SplitAtLast(plan, ':', count, ms) ||
        !ParseCount(count, 1'000'000, bytes) || !ParseCount(ms, kMostMilliseconds, pause))
        return false;
    entry.value = {static_cast<std::size_t>(bytes), static_cast<int>(pause)};
    return true;
}

bool ParseUnsolicited(const std::string& text, Unsolicited& entry) {
    std::string ms;
    long every = 0;
    // A period of 0 would send without pause and never let the card idle.
    if (!SplitAtLast(text, '@', entry.text, ms) || !ParseCount(ms, kMostMilliseconds, every) ||
        every == 0)
        return false;
    entry.everyMs = static_cast<int>(every);
    return true;
}

bool ParseEcho(const std::string& text, bool& echo) {
    if (text != "on" && text != "off") return false;
    echo = text == "on";
    return true;
}

// Applies one option with its value; false when the value is not understood.
bool ApplyOption(const std::string& name, const std::string& value, Options& options) {
    if (name == "--link") {
        options.link = value;
        return !value.empty();
    }
    if (name == "--model") {
        options.model = value;
        return true;
    }
    if (name == "--transcript") {
        options.transcript = value;
        return !value.empty();
    }
    if (name == "--pid-file") {
        options.pidFile = value;
        return !value.empty();
    }
    if (name == "--echo") return ParseEcho(value, options.echo);
    if (name == "--reply") return ParseReplyEntry(value, options.replies.emplace_back());
    if (name == "--delay") return ParseDelayEntry(value, options.delays.emplace_back());
    if (name == "--split") return ParseSplitEntry(value, options.splits.emplace_back());
    return ParseUnsolicited(value, options.unsolicited.emplace_back());
}

bool IsValueOption(const std::string& name) {
    static const char* const kNames[] = {"--link",     "--model", "--transcript",
                                         "--pid-file", "--echo",  "--reply",
                                         "--delay",    "--split", "--unsolicited"};
    for (const char* known : kNames) {
        if (name == known) return true;
    }
    return false;
}

}  // namespace

ParseResult ParseOptions(int argc, const char* const argv[], Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--help") return ParseResult::Help;
        if (!IsValueOption(name)) {
            error = "unknown option: " + name;
            return ParseResult::Bad;
        }
        if (i + 1 == argc) {
            error = name + " needs a value";
            return ParseResult::Bad;
        }
        std::string value = argv[++i];
        if (!ApplyOption(name, value, options)) {
            error = "bad value for " + name + ": " + value;
            return ParseResult::Bad;
        }
    }
    if (options.link.empty()) {
        error = "--link PATH is required";
        return ParseResult::Bad;
    }
    return ParseResult::Run;
}

const char* UsageText() {
    return "usage: cardsim --link PATH [options]\n"
           "A simulated data card on a pseudo-terminal.\n"
           "  --link PATH           symlink to make to the terminal (replaced; removed at exit)\n"
           "  --model TEXT          the answer to AT+CGMM (default K3000)\n"
           "  --transcript FILE     every byte received, one command a line, escaped\n"
           "  --pid-file FILE       written once the card answers; removed at exit\n"
           "  --echo on|off         initial command echo (default on); ATE0/ATE1 answered OK\n"
           "                        change it\n"
           "  --reply CMD=KIND      OK | ERROR | CNS | NONE | FLOOD | VANISH | RAW:<bytes>\n"
           "                        (RAW escapes: \\r \\n \\t \\\\ \\xHH)\n"
           "  --delay CMD=MS        wait MS milliseconds before replying\n"
           "  --split CMD=N:MS      send N bytes of the reply, pause MS, then the rest\n"
           "                        (VANISH: N bytes, unplug after MS; default half, 1500 ms)\n"
           "  --unsolicited TEXT@MS while idle, send \\r\\nTEXT\\r\\n every MS milliseconds\n"
           "  --help                this text\n"
           "CMD: ATE0, ATE1, AT+CGMM, at^u2diag (any number), at^u2diag=N, at+cfun=4,\n"
           "at+cfun=6 or * for all; letter case is ignored; the closest match wins.\n"
           "Unknown commands get ERROR. A new command cancels a reply still pending.\n"
           "SIGTERM or SIGINT stops the card cleanly; so does the link's directory vanishing.\n";
}

}  // namespace quorvel::cardsim
