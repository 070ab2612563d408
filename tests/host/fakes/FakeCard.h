#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/VirtualClock.h"
#include "serial/ComDevice.h"

namespace quorvel::test {

// Bytes of a reply that arrive `after` milliseconds after the command was written, or with
// kOnNextOpen once the port has been opened again, before anything is written: a late copy of
// an answer that the next command's port finds waiting.
struct Piece {
    std::int64_t after;
    std::string bytes;
};
using Reply = std::vector<Piece>;
inline Reply Now(const std::string& bytes) {
    return {{0, bytes}};
}

inline constexpr std::int64_t kOnNextOpen = -1;

// The card on the other end of the process's one COM port, played from a script on the virtual
// clock. Closing the port drops whatever is queued, so a reopened port starts empty; clearing
// it drops what has arrived.
class FakeCard : public ComDevice {
  public:
    explicit FakeCard(VirtualClock& clock) : clock_(clock) {}

    bool Open(const std::string& devicePath) override {
        opens.push_back(devicePath);
        if (gone_ || refused.count(devicePath) != 0) return false;
        open_ = true;
        if (!late_.empty()) queued_.insert({clock_.milliseconds, late_});
        late_.clear();
        return true;
    }
    std::uint32_t OpenError() const override { return openError; }
    bool IsOpen() const override { return open_; }
    void Close() override {
        open_ = false;
        queued_.clear();
    }
    std::size_t Write(const char* bytes, std::size_t length) override {
        if (!open_ || gone_) return 0;
        const auto cut = cutShort.find(std::string(bytes, length));
        const std::string command(bytes,
                                  cut != cutShort.end() ? std::min(cut->second, length) : length);
        sent.push_back(command);
        gone_ = command == unplugAfter;
        if (command.size() < length) return command.size();  // no whole line, so no answer
        const auto scripted = replies.find(command);
        for (const Piece& piece : scripted != replies.end() ? scripted->second : otherwise)
            if (piece.after == kOnNextOpen) late_ += piece.bytes;
            else queued_.insert({clock_.milliseconds + piece.after, piece.bytes});
        return length;
    }
    void ClearReceived() override {
        queued_.erase(queued_.begin(), queued_.upper_bound(clock_.milliseconds));
    }
    std::size_t ReadArrived(char* buffer, std::size_t most) override {
        std::size_t taken = 0;
        while (taken < most && !queued_.empty() && queued_.begin()->first <= clock_.milliseconds) {
            std::string& bytes = queued_.begin()->second;
            const std::size_t n = std::min(most - taken, bytes.size());
            std::memcpy(buffer + taken, bytes.data(), n);
            taken += n;
            bytes.erase(0, n);
            if (bytes.empty()) queued_.erase(queued_.begin());
        }
        return taken;
    }

    std::map<std::string, Reply> replies;         // by the exact command text
    Reply otherwise;                              // to every other command; silence until set
    std::set<std::string> refused;                // device paths whose open fails
    std::uint32_t openError = 5;                  // what a failed open reports
    std::map<std::string, std::size_t> cutShort;  // of these commands only so many bytes go out
    std::string unplugAfter;  // once this is written the card is gone: no more opens or writes
    std::vector<std::string> sent;            // every command written, in order
    std::vector<std::string> opens;           // every device path an open was tried on

  private:
    VirtualClock& clock_;
    bool open_ = false;
    bool gone_ = false;
    std::multimap<std::int64_t, std::string> queued_;  // by arrival, in order of writing
    std::string late_;
};

}  // namespace quorvel::test
