#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorvel::cardsim {

// What the card says to a command.
enum class ReplyKind {
    kOk,      // the command's normal answer
    kError,   // "\r\nERROR\r\n"
    kCns,     // "\r\nCOMMAND NOT SUPPORTED\r\n"
    kNone,    // nothing at all
    kFlood,   // endless lines without a result code, until the next command
    kVanish,  // part of the normal answer, then the card is unplugged
    kRaw,     // exactly the given bytes
};

struct Reply {
    ReplyKind kind = ReplyKind::kOk;
    std::string raw;  // the bytes of a kRaw reply
};

// Send the first `bytes` of a reply, wait `pauseMs`, then the rest.
struct Split {
    std::size_t bytes = 0;
    int pauseMs = 0;
};

struct Unsolicited {
    std::string text;
    int everyMs = 0;
};

// One scripted behaviour for the commands that `command` names.
template <typename T>
struct Scripted {
    std::string command;
    T value;
};

struct Options {
    std::string link;
    std::string model = "K3000";
    std::string transcript;
    std::string byteLog;
    std::string pidFile;
    bool echo = true;  // modems start with echo on
    std::vector<Scripted<Reply>> replies;
    std::vector<Scripted<int>> delays;
    std::vector<Scripted<Split>> splits;
    std::vector<Unsolicited> unsolicited;
};

enum class ParseResult { kRun, kHelp, kBad };

// On kBad, `error` says what was wrong.
ParseResult ParseOptions(int argc, const char* const argv[], Options* options, std::string* error);

const char* UsageText();

// How closely a script key names a received command: 0 not at all, 1 the wildcard "*",
// 2 the command's name without its argument ("at^u2diag" for "at^u2diag=2"), 3 exactly.
// Letter case is ignored, as a modem ignores it.
int MatchRank(const std::string& key, const std::string& command);

// The entry that names the command most closely; of equals, the one given last, so a later
// option overrides an earlier one.
template <typename T>
const T* FindScripted(const std::vector<Scripted<T>>& entries, const std::string& command) {
    const T* best = nullptr;
    int bestRank = 0;
    for (const auto& entry : entries) {
        int rank = MatchRank(entry.command, command);
        if (rank > 0 && rank >= bestRank) {
            best = &entry.value;
            bestRank = rank;
        }
    }
    return best;
}

}  // namespace quorvel::cardsim
