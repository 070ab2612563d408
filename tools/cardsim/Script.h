#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorvel::cardsim {

// What the card says to a command.
enum class ReplyKind {
    Ok,      // the command's normal answer
    Error,   // "\r\nERROR\r\n"
    Cns,     // "\r\nCOMMAND NOT SUPPORTED\r\n"
    None,    // nothing at all
    Flood,   // endless lines without a result code, until the next command
    Vanish,  // part of the normal answer, then the card is unplugged
    Raw,     // exactly the given bytes
};

struct Reply {
    ReplyKind kind = ReplyKind::Ok;
    std::string raw;  // the bytes of a Raw reply
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

// How closely a script key names a received command: 0 not at all, 1 the wildcard "*",
// 2 the command's name without its argument ("at^u2diag" for "at^u2diag=2"), 3 exactly.
// Letter case is ignored, as a modem ignores it.
int MatchRank(const std::string& key, const std::string& command);

// The entry that names the command most closely; of equals, the one given last.
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
