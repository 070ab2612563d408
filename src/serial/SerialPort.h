#pragma once

#include <cstddef>

#include "base/Clock.h"
#include "base/Status.h"
#include "base/Trace.h"
#include "serial/ComDevice.h"

namespace quorvel {

// Replies are handed to callers in buffers of this size.
inline constexpr std::size_t kReplyBufferSize = 128;

// How long a card has to answer a command, in whole seconds, and the pause between two looks
// at the port.
inline constexpr int kReplyWindowSeconds = 30;
inline constexpr unsigned kPollIntervalMilliseconds = 1000;

// A flood could keep one look at the port going for ever; one look takes no more than this
// many chunks before the next pause.
inline constexpr int kMaxChunksPerPoll = 64;

// One read takes at most this much, so that the reply kept from earlier reads still holds the
// start of any result text ("COMMAND NOT SUPPORTED" is the longest) that a read cuts in two.
inline constexpr std::size_t kReadChunkSize = 127 - 26;

inline constexpr char kEchoOffCommand[] = "ATE0\r";

// A short-lived handle on the process's one COM port: card operations make one per exchange.
// Destroying it never closes the port; only Close does.
class SerialPort {
  public:
    SerialPort(ComDevice& device, Clock& clock, Trace& trace);

    // Opens \\.\COM<portNumber>.
    bool Open(int portNumber);

    // Afterwards no port is open.
    void Close();

    // False unless every byte went out or the driver is still sending them.
    bool Write(const char* bytes, std::size_t length);

    // Takes at most `most` bytes that have already arrived into `buffer` from its first byte;
    // the rest of the buffer is left as it was. False only when no port is open.
    bool Read(char* buffer, std::size_t most, std::size_t* taken);

    // Sends the command (which carries its own trailing carriage return) and waits up to
    // kReplyWindowSeconds for the card's final result. Whatever the port held before the command
    // was written is discarded: a late reply to an earlier command is no answer. Returns
    // kSuccess with the answer's lines in `reply` (kReplyBufferSize bytes; what
    // ResponseBuffer::Answer gives), kRefusedOrUnanswered on "ERROR", "COMMAND NOT SUPPORTED",
    // silence or a null `reply`, and kWriteFailed when the command could not be written whole.
    Status SendAtCommand(const char* command, char* reply);

    // Checks that the card on the open port answers, and turns its command echo off. The card
    // has strictly less than kReplyWindowSeconds to say "OK"; "ERROR" fails at once, and
    // anything else (even "COMMAND NOT SUPPORTED") is waited out. Closes the port in every case.
    // Like a command, it is judged only on what arrives after it was written.
    bool EchoOffHandshake();

  private:
    void DiscardArrived();

    ComDevice& device_;
    Clock& clock_;
    Trace& trace_;
};

}  // namespace quorvel
