#pragma once

#include <cstddef>
#include <string>

#include "serial/Clock.h"
#include "serial/ComDevice.h"

namespace quorvel {

inline constexpr std::size_t kReplyBufferSize = 128;

// How long a card has to answer a command, in whole calendar seconds, and the pause between
// two looks at the port.
inline constexpr int kReplyWindowSeconds = 30;
inline constexpr unsigned kPollIntervalMilliseconds = 1000;

// A short-lived handle on the process's one COM port: card operations make one per exchange.
// Destroying it never closes the port; only Close does.
class SerialPort {
  public:
    SerialPort(ComDevice& device, Clock& clock);
    virtual ~SerialPort();

    // Opens \\.\COM<portNumber>. The device path is recorded before the open is tried.
    bool Open(int portNumber);

    // Always true; afterwards no port is open.
    bool Close();

    bool Write(const char* bytes, std::size_t length);

    // Takes at most `most` bytes that have already arrived into `buffer` from its first byte;
    // the rest of the buffer is left as it was. False only when no port is open.
    bool Read(char* buffer, std::size_t most, std::size_t* taken);

    // Sends the command (which carries its own trailing carriage return) and waits up to
    // kReplyWindowSeconds for the card's final result. Returns kStatusSuccess with the reply
    // text in `reply` (kReplyBufferSize bytes), kStatusNoAnswer on "ERROR", "COMMAND NOT
    // SUPPORTED", silence or a null `reply`, and kStatusWriteFailed when the command could
    // not be written.
    int SendAtCommand(const char* command, char* reply);

    const std::string& DevicePath() const { return devicePath_; }

  private:
    ComDevice& device_;
    Clock& clock_;
    std::string devicePath_;
};

}  // namespace quorvel
