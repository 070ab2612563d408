#include "cardsim/Options.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>

namespace quorvel::cardsim {

namespace {

// A day is far beyond any wait a test could want, and keeps sums of waits within int.
constexpr long kMostMilliseconds = 86'400'000;

bool SameLetters(const std::string& a, const std::string& b, std::size_t length) {
    if (a.size() < length || b.size() < length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool SameWord(const std::string& a, const std::string& b) {
    return a.size() == b.size() && SameLetters(a, b, a.size());
}

bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// \r \n \t \\ and \xHH let a scripted reply carry NUL and 8-bit bytes.
bool DecodeEscapes(const std::string& text, std::string* bytes) {
    bytes->clear();
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\') {
            *bytes += text[at];
            continue;
        }
        if (++at == text.size()) return false;
        std::size_t letter = std::string("rnt\\").find(text[at]);
        if (letter != std::string::npos) {
            *bytes += "\r\n\t\\"[letter];
        } else if (text[at] == 'x' && at + 2 < text.size() && IsHexDigit(text[at + 1]) &&
                   IsHexDigit(text[at + 2])) {
            *bytes += static_cast<char>(std::stoi(text.substr(at + 1, 2), nullptr, 16));
            at += 2;
        } else {
            return false;
        }
    }
    return true;
}

bool ParseCount(const std::string& text, long most, long* value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    *value = std::strtol(text.c_str(), nullptr, 10);
    return *value <= most;
}

bool ParseReply(const std::string& text, Reply* reply) {
    static const struct {
        const char* word;
        ReplyKind kind;
    } kKinds[] = {{"OK", ReplyKind::kOk},       {"ERROR", ReplyKind::kError},
                  {"CNS", ReplyKind::kCns},     {"NONE", ReplyKind::kNone},
                  {"FLOOD", ReplyKind::kFlood}, {"VANISH", ReplyKind::kVanish}};
    for (const auto& entry : kKinds) {
        if (SameWord(text, entry.word)) {
            *reply = {entry.kind, ""};
            return true;
        }
    }
    if (!SameLetters(text, "RAW:", 4)) return false;
    reply->kind = ReplyKind::kRaw;
    return DecodeEscapes(text.substr(4), &reply->raw);
}

// CMD=KIND where the command itself may hold '=' (at+cfun=4=ERROR) and so may raw bytes
// (at+cfun=4=RAW:a=b): the first '=' after which a valid kind follows ends the command.
bool ParseReplyEntry(const std::string& text, Scripted<Reply>* entry) {
    for (std::size_t eq = text.find('='); eq != std::string::npos; eq = text.find('=', eq + 1)) {
        if (eq > 0 && ParseReply(text.substr(eq + 1), &entry->value)) {
            entry->command = text.substr(0, eq);
            return true;
        }
    }
    return false;
}

// Splits "CMD<sep>VALUE" at the last separator, so the command may hold '='.
bool SplitAtLast(const std::string& text, char separator, std::string* head, std::string* tail) {
    std::size_t at = text.rfind(separator);
    if (at == std::string::npos || at == 0) return false;
    *head = text.substr(0, at);
    *tail = text.substr(at + 1);
    return true;
}

bool ParseDelayEntry(const std::string& text, Scripted<int>* entry) {
    std::string ms;
    long value = 0;
    if (!SplitAtLast(text, '=', &entry->command, &ms) || !ParseCount(ms, kMostMilliseconds, &value))
        return false;
    entry->value = static_cast<int>(value);
    return true;
}

bool ParseSplitEntry(const std::string& text, Scripted<Split>* entry) {
    std::string plan, count, ms;
    long bytes = 0, pause = 0;
    if (!SplitAtLast(text, '=', &entry->command, &plan) || !SplitAtLast(plan, ':', &count, &ms) ||
        !ParseCount(count, 1'000'000, &bytes) || !ParseCount(ms, kMostMilliseconds, &pause))
        return false;
    entry->value = {static_cast<std::size_t>(bytes), static_cast<int>(pause)};
    return true;
}

bool ParseUnsolicited(const std::string& text, Unsolicited* entry) {
    std::string ms;
    long every = 0;
    // A period of 0 would send without pause and never let the card idle.
    if (!SplitAtLast(text, '@', &entry->text, &ms) || !ParseCount(ms, kMostMilliseconds, &every) ||
        every == 0)
        return false;
    entry->everyMs = static_cast<int>(every);
    return true;
}

bool ParseEcho(const std::string& text, bool* echo) {
    if (text != "on" && text != "off") return false;
    *echo = text == "on";
    return true;
}

// A file or link without a name is a mistake on the command line, not a wish for none.
bool SetName(const std::string& value, std::string* name) {
    *name = value;
    return !value.empty();
}

const char* const kValueOptions[] = {"--link",  "--model", "--transcript", "--byte-log",
                                     "--pid-file", "--echo", "--reply", "--delay",
                                     "--split", "--unsolicited"};

// Stores the value of one of kValueOptions; false when the value is not understood.
bool ApplyOption(const std::string& name, const std::string& value, Options* options) {
    if (name == "--model") {
        options->model = value;
        return true;
    }
    if (name == "--link") return SetName(value, &options->link);
    if (name == "--transcript") return SetName(value, &options->transcript);
    if (name == "--byte-log") return SetName(value, &options->byteLog);
    if (name == "--pid-file") return SetName(value, &options->pidFile);
    if (name == "--echo") return ParseEcho(value, &options->echo);
    if (name == "--reply") return ParseReplyEntry(value, &options->replies.emplace_back());
    if (name == "--delay") return ParseDelayEntry(value, &options->delays.emplace_back());
    if (name == "--split") return ParseSplitEntry(value, &options->splits.emplace_back());
    return ParseUnsolicited(value, &options->unsolicited.emplace_back());
}

}  // namespace

ParseResult ParseOptions(int argc, const char* const argv[], Options* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--help") return ParseResult::kHelp;
        if (std::find(std::begin(kValueOptions), std::end(kValueOptions), name) ==
            std::end(kValueOptions)) {
            *error = "unknown option: " + name;
            return ParseResult::kBad;
        }
        if (i + 1 == argc) {
            *error = name + " needs a value";
            return ParseResult::kBad;
        }
        std::string value = argv[++i];
        if (!ApplyOption(name, value, options)) {
            *error = "bad value for " + name + ": " + value;
            return ParseResult::kBad;
        }
    }
    if (options->link.empty()) {
        *error = "--link PATH is required";
        return ParseResult::kBad;
    }
    return ParseResult::kRun;
}

const char* UsageText() {
    return "usage: cardsim --link PATH [options]\n"
           "A simulated data card on a pseudo-terminal.\n"
           "  --link PATH           symlink to make to the terminal (replaced; removed at exit)\n"
           "  --model TEXT          the answer to AT+CGMM (default K3000)\n"
           "  --transcript FILE     every byte received, one command a line, escaped\n"
           "  --byte-log FILE       every byte taken and sent, escaped, with its time in ms\n"
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

int MatchRank(const std::string& key, const std::string& command) {
    if (key == "*") return 1;
    if (SameWord(key, command)) return 3;
    bool keyHasArgument = key.find('=') != std::string::npos;
    if (!keyHasArgument && command.size() > key.size() && command[key.size()] == '=' &&
        SameLetters(key, command, key.size()))
        return 2;
    return 0;
}

}  // namespace quorvel::cardsim
