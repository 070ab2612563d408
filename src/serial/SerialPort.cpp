#include "serial/SerialPort.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "serial/ResponseBuffer.h"

namespace quorvel {

// A successful reply's answer is copied whole, terminator included, into the caller's buffer.
static_assert(kReplyBufferSize > ResponseBuffer::kMaxLength, "an answer must fit the buffer");
static_assert(ResponseBuffer::kMaxLength - kReadChunkSize >= sizeof "COMMAND NOT SUPPORTED" - 2,
              "a result text cut by a read must still be seen whole");

namespace {

enum class Verdict { kPending, kOk, kError, kUnsupported };

// The two exchanges differ in what settles them and in how long they wait: a command's window
// includes its last second (about 31 looks at the port), the handshake's ends just before it
// (about 30), and the handshake knows only "OK" and "ERROR".
struct ReplyRules {
    bool knowsUnsupported;
    bool windowIncludesLastSecond;
};

constexpr ReplyRules kCommandRules{true, true};
constexpr ReplyRules kHandshakeRules{false, false};

// "OK" anywhere wins, even beside "ERROR": plain, case-sensitive substring tests in order.
Verdict Judge(const ResponseBuffer& response, const ReplyRules& rules) {
    if (response.Contains("OK")) return Verdict::kOk;
    if (response.Contains("ERROR")) return Verdict::kError;
    if (rules.knowsUnsupported && response.Contains("COMMAND NOT SUPPORTED"))
        return Verdict::kUnsupported;
    return Verdict::kPending;
}

const char* VerdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::kOk:
            return "OK";
        case Verdict::kError:
            return "ERROR";
        case Verdict::kUnsupported:
            return "COMMAND NOT SUPPORTED";
        case Verdict::kPending:
            break;
    }
    return "no final result in time";
}

// When a command went out, for the times of the reads that follow it in the trace.
struct Sent {
    Clock& clock;
    Trace& trace;
    std::int64_t atMilliseconds;
};

// One look at the port: adds what has arrived to `response`, a chunk at a time, until the port
// has nothing more or the reply settles the exchange.
Verdict PollReply(SerialPort& port, ResponseBuffer& response, const ReplyRules& rules,
                  const Sent& sent) {
    Verdict verdict = Verdict::kPending;
    for (int chunk = 0; chunk < kMaxChunksPerPoll; ++chunk) {
        char arrived[kReadChunkSize];
        std::size_t taken = 0;
        port.Read(arrived, sizeof arrived, &taken);
        if (taken > 0) {
            TraceLine(sent.trace) << "read " << unsigned(taken) << " bytes after "
                                  << sent.clock.NowMilliseconds() - sent.atMilliseconds
                                  << " ms: " << Quoted(arrived, taken);
        }
        response.Append(arrived, taken);
        verdict = Judge(response, rules);
        if (verdict != Verdict::kPending || taken < sizeof arrived) break;
    }
    return verdict;
}

bool WithinWindow(std::int64_t elapsedSeconds, const ReplyRules& rules) {
    return rules.windowIncludesLastSecond ? elapsedSeconds <= kReplyWindowSeconds
                                          : elapsedSeconds < kReplyWindowSeconds;
}

// Looks at the port at once and then after every pause until the reply settles the exchange
// or the window has passed; kPending when it has.
Verdict AwaitVerdict(SerialPort& port, ResponseBuffer& response, const ReplyRules& rules,
                     const Sent& sent) {
    Clock& clock = sent.clock;
    const std::int64_t start = clock.NowSeconds();
    for (std::int64_t now = start; WithinWindow(now - start, rules); now = clock.NowSeconds()) {
        const Verdict verdict = PollReply(port, response, rules, sent);
        if (verdict != Verdict::kPending) return verdict;
        clock.SleepMilliseconds(kPollIntervalMilliseconds);
    }
    return Verdict::kPending;
}

// Sends `command` and waits for the card's verdict on it; the trace gets both.
Verdict Exchange(SerialPort& port, const char* command, const ReplyRules& rules, Clock& clock,
                 Trace& trace, ResponseBuffer& response) {
    const Sent sent{clock, trace, clock.NowMilliseconds()};
    const Verdict verdict = AwaitVerdict(port, response, rules, sent);
    TraceLine(trace) << Quoted(command) << ": " << VerdictText(verdict) << " after "
                     << clock.NowMilliseconds() - sent.atMilliseconds << " ms";
    return verdict;
}

}  // namespace

SerialPort::SerialPort(ComDevice& device, Clock& clock, Trace& trace)
    : device_(device), clock_(clock), trace_(trace) {}

bool SerialPort::Open(int portNumber) {
    char path[32];
    std::snprintf(path, sizeof path, "\\\\.\\COM%d", portNumber);
    if (device_.Open(path)) {
        TraceLine(trace_) << "opened " << path;
        return true;
    }
    TraceLine(trace_) << "open " << path << " failed: error " << std::int64_t{device_.OpenError()};
    return false;
}

void SerialPort::Close() {
    device_.Close();
}

// Part of a command is no command: a write the driver completed short has failed. One still in
// progress counts as sent.
bool SerialPort::Write(const char* bytes, std::size_t length) {
    TraceLine(trace_) << "send " << Quoted(bytes, length);
    if (!device_.IsOpen()) {
        TraceLine(trace_) << "write failed: no port is open";
        return false;
    }
    const std::size_t sent = device_.Write(bytes, length);
    if (sent == length || sent == kWriteInProgress) return true;
    TraceLine(trace_) << "write failed: " << std::int64_t(sent) << " of " << std::int64_t(length)
                      << " bytes went out";
    return false;
}

bool SerialPort::Read(char* buffer, std::size_t most, std::size_t* taken) {
    if (!device_.IsOpen()) return false;
    *taken = device_.ReadArrived(buffer, most);
    return true;
}

// The driver's queue goes first, however much it holds; the drain then takes what arrived
// meanwhile, bounded like a look at the port so that a card that floods cannot hold the thread.
void SerialPort::DiscardArrived() {
    if (!device_.IsOpen()) return;
    device_.ClearReceived();
    char stale[kReadChunkSize];
    std::size_t taken = sizeof stale;
    std::int64_t dropped = 0;
    for (int chunk = 0; chunk < kMaxChunksPerPoll && taken == sizeof stale; ++chunk) {
        if (!Read(stale, sizeof stale, &taken)) return;
        dropped += static_cast<std::int64_t>(taken);
    }
    if (dropped > 0) TraceLine(trace_) << "dropped " << dropped << " bytes left from before";
}

Status SerialPort::SendAtCommand(const char* command, char* reply) {
    if (reply == nullptr) return Status::kRefusedOrUnanswered;
    DiscardArrived();
    if (!Write(command, std::strlen(command))) return Status::kWriteFailed;
    ResponseBuffer response(command);
    if (Exchange(*this, command, kCommandRules, clock_, trace_, response) != Verdict::kOk)
        return Status::kRefusedOrUnanswered;
    const std::string answer = response.Answer();
    std::memcpy(reply, answer.c_str(), answer.size() + 1);
    return Status::kSuccess;
}

bool SerialPort::EchoOffHandshake() {
    DiscardArrived();
    // A failed write is not looked at: the card then stays silent and the window runs out.
    Write(kEchoOffCommand, sizeof kEchoOffCommand - 1);
    ResponseBuffer response(kEchoOffCommand);
    const bool answered =
        Exchange(*this, kEchoOffCommand, kHandshakeRules, clock_, trace_, response) == Verdict::kOk;
    Close();
    return answered;
}

}  // namespace quorvel
