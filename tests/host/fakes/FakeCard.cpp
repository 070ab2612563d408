#include "FakeCard.h"

#include <algorithm>
#include <cstring>

namespace quorvel::test {

bool FakeCard::Open(const std::string& devicePath) {
    openAttempts_.push_back(devicePath);
    if (unplugged_ || refused_.count(devicePath) != 0) return false;
    open_ = true;
    openDevice_ = devicePath;
    return true;
}

void FakeCard::Close() {
    open_ = false;
    arrivals_.clear();  // a reopened port starts with nothing queued
}

bool FakeCard::Write(const char* bytes, std::size_t length) {
    std::string command(bytes, length);
    if (failWrites_ || command == failingCommand_) return false;
    if (command == unplugAfter_) unplugged_ = true;
    received_.push_back(command);
    auto scripted = replies_.find(command);
    const Reply& reply = scripted != replies_.end() ? scripted->second : defaultReply_;
    for (const ReplyPiece& piece : reply) {
        arrivals_.push_back({clock_.NowMilliseconds() + piece.afterMilliseconds, piece.bytes});
    }
    std::stable_sort(arrivals_.begin(), arrivals_.end(), [](const Arrival& a, const Arrival& b) {
        return a.atMilliseconds < b.atMilliseconds;
    });
    return true;
}

std::size_t FakeCard::ReadArrived(char* buffer, std::size_t most) {
    ++readCalls_;
    std::size_t taken = 0;
    while (taken < most && !arrivals_.empty() &&
           arrivals_.front().atMilliseconds <= clock_.NowMilliseconds()) {
        std::string& bytes = arrivals_.front().bytes;
        const std::size_t n = std::min(most - taken, bytes.size());
        std::memcpy(buffer + taken, bytes.data(), n);
        taken += n;
        bytes.erase(0, n);
        if (bytes.empty()) arrivals_.pop_front();
    }
    return taken;
}

}  // namespace quorvel::test
