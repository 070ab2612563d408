#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "VirtualClock.h"
#include "serial/ComDevice.h"

namespace quorvel::test {

// Part of a reply: bytes that arrive `afterMilliseconds` after the command was written.
struct ReplyPiece {
    std::int64_t afterMilliseconds;
    std::string bytes;
};

using Reply = std::vector<ReplyPiece>;

inline Reply Immediately(const std::string& bytes) {
    return {{0, bytes}};
}
inline const Reply kOkReply = Immediately("\r\nOK\r\n");
inline const Reply kErrorReply = Immediately("\r\nERROR\r\n");
inline const Reply kSilence = {};

// A data card on the other end of the process's COM port, played from a script and timed by
// the virtual clock. It records every byte it is sent and every open, so tests can assert the
// exact exchange and the port's final state.
class FakeCard : public ComDevice {
  public:
    explicit FakeCard(VirtualClock& clock) : clock_(clock) {}

    // The reply to a command, matched on its exact text (trailing carriage return included).
    void OnCommand(const std::string& command, Reply reply) {
        replies_[command] = std::move(reply);
    }
    // The reply to any command without a script of its own; silence until set.
    void OnAnyOtherCommand(Reply reply) { defaultReply_ = std::move(reply); }
    // Opens of this device fail, as when another program holds the port.
    void RefuseOpen(const std::string& devicePath) { refused_.insert(devicePath); }
    void AllowOpen(const std::string& devicePath) { refused_.erase(devicePath); }
    void FailWrites() { failWrites_ = true; }
    // Only this command fails to be written.
    void FailWriteOf(const std::string& command) { failingCommand_ = command; }
    // Once this command has been answered the card is gone: every later open fails.
    void UnplugAfter(const std::string& command) { unplugAfter_ = command; }
    void Unplug() { unplugged_ = true; }

    bool Open(const std::string& devicePath) override;
    bool IsOpen() const override { return open_; }
    void Close() override;
    bool Write(const char* bytes, std::size_t length) override;
    std::size_t ReadArrived(char* buffer, std::size_t most) override;

    // Every write, in order, as sent.
    const std::vector<std::string>& Received() const { return received_; }
    const std::vector<std::string>& OpenAttempts() const { return openAttempts_; }
    // The device path of the port now open; empty when none is.
    std::string OpenDevice() const { return open_ ? openDevice_ : ""; }
    int ReadCalls() const { return readCalls_; }

  private:
    struct Arrival {
        std::int64_t atMilliseconds;
        std::string bytes;
    };

    VirtualClock& clock_;
    std::map<std::string, Reply> replies_;
    Reply defaultReply_;
    std::set<std::string> refused_;
    bool failWrites_ = false;
    std::string failingCommand_;
    std::string unplugAfter_;
    bool unplugged_ = false;

    bool open_ = false;
    std::string openDevice_;
    std::deque<Arrival> arrivals_;
    std::vector<std::string> received_;
    std::vector<std::string> openAttempts_;
    int readCalls_ = 0;
};

}  // namespace quorvel::test
