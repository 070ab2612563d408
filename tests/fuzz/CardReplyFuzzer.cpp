// Reply handling: SendAtCommand and the echo-off handshake over a card that answers with
// fuzzed bytes, in fuzzed pieces, at fuzzed times of the virtual clock; and the cleaning of the
// card type. The input is a script, one instruction a line (bytes written as FuzzText.h says):
//   at <ms> <bytes>   a piece of the reply arriving <ms> after the command was written
//   flood <ms> <n> <bytes>  the same, the bytes <n> times over
// The reply as a whole is cut to kMostScriptBytes.
//   command <n>       which of the program's commands is sent (default: the type query)
//   closed            no port is open when the exchange starts
//   write-fails       the card takes no writes
//   no-reply-buffer   SendAtCommand is handed no reply buffer
// Other lines are ignored.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FakeCard.h"
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "VirtualClock.h"
#include "card/CardType.h"
#include "card/WizardStatus.h"
#include "serial/EchoOffHandshake.h"
#include "serial/ReplyPolling.h"
#include "serial/SerialPort.h"

namespace {

using quorvel::ComDevice;
using quorvel::fuzz::ReadCount;
using quorvel::fuzz::SplitLines;
using quorvel::fuzz::SplitWord;
using quorvel::fuzz::Unescape;
using quorvel::test::FakeCard;
using quorvel::test::Reply;
using quorvel::test::VirtualClock;

constexpr const char* kCommands[] = {"AT+CGMM\r", "ATE0\r", "at^u2diag=1\r", "at+cfun=4\r",
                                     "at+cfun=6\r"};
constexpr std::size_t kMostReplyBytes = 127;
constexpr int kCommandPolls = 31;    // at 0 to 30 seconds elapsed
constexpr int kHandshakePolls = 30;  // at 0 to 29 seconds elapsed
constexpr char kGuard = '\xA5';
// Enough for a flood that outlasts one look at the port (64 reads of 127 bytes), small enough
// to keep the runs quick.
constexpr std::size_t kMostScriptBytes = 12'000;

struct Script {
    Reply reply;
    std::size_t command = 0;
    bool closed = false;
    bool writeFails = false;
    bool noReplyBuffer = false;
};

std::string Repeated(const std::string& bytes, std::size_t times) {
    std::string piece;
    for (std::size_t i = 0; i < times && piece.size() < kMostScriptBytes; ++i)
        piece += bytes;
    return piece;
}

Script ReadScript(std::string_view input) {
    Script script;
    std::size_t scriptBytes = 0;
    for (std::string_view line : SplitLines(input)) {
        std::string_view word;
        std::string_view rest;
        SplitWord(line, &word, &rest);
        if (word == "at" || word == "flood") {
            const std::size_t after = ReadCount(rest, 40'000, &rest);
            const std::size_t times = word == "at" ? 1 : ReadCount(rest, kMostScriptBytes, &rest);
            std::string piece = Repeated(Unescape(rest), times);
            piece.resize(std::min(piece.size(), kMostScriptBytes - scriptBytes));
            scriptBytes += piece.size();
            script.reply.push_back({static_cast<std::int64_t>(after), piece});
        } else if (word == "command") {
            script.command = ReadCount(rest, 1000, &rest) % std::size(kCommands);
        } else if (word == "closed") {
            script.closed = true;
        } else if (word == "write-fails") {
            script.writeFails = true;
        } else if (word == "no-reply-buffer") {
            script.noReplyBuffer = true;
        }
    }
    return script;
}

// The card, with every read the program makes of it written down.
class WatchedPort : public ComDevice {
  public:
    explicit WatchedPort(FakeCard& card) : card_(card) {}

    bool Open(const std::string& devicePath) override { return card_.Open(devicePath); }
    bool IsOpen() const override { return card_.IsOpen(); }
    void Close() override { card_.Close(); }
    bool Write(const char* bytes, std::size_t length) override {
        return card_.Write(bytes, length);
    }
    std::size_t ReadArrived(char* buffer, std::size_t most) override {
        FUZZ_CHECK(most > 0 && most <= kMostReplyBytes, "a read asks for at most 127 bytes");
        const std::size_t taken = card_.ReadArrived(buffer, most);
        FUZZ_CHECK(taken <= most, "a read takes no more than it asked for");
        reads.emplace_back(buffer, taken);
        return taken;
    }

    std::vector<std::string> reads;

  private:
    FakeCard& card_;
};

enum class Verdict { kPending, kOk, kFailed };

// The reply as the card has told it so far: the newest 127 bytes, NULs left out.
void AddToTail(std::string* tail, const std::string& read) {
    for (char c : read)
        if (c != '\0') *tail += c;
    if (tail->size() > kMostReplyBytes) tail->erase(0, tail->size() - kMostReplyBytes);
}

Verdict Judge(const std::string& text, bool handshake) {
    if (text.find("OK") != std::string::npos) return Verdict::kOk;
    if (text.find("ERROR") != std::string::npos) return Verdict::kFailed;
    if (!handshake && text.find("COMMAND NOT SUPPORTED") != std::string::npos)
        return Verdict::kFailed;
    return Verdict::kPending;
}

// The exchange must end at the first read that settles it, and only there or when the
// window has run out. Gives the verdict on the reply as last read, and that reply.
Verdict CheckPolling(const WatchedPort& port, const VirtualClock& clock, bool handshake,
                     std::string* tail) {
    const int window = handshake ? kHandshakePolls : kCommandPolls;
    Verdict verdict = Verdict::kPending;
    for (std::size_t i = 0; i < port.reads.size(); ++i) {
        AddToTail(tail, port.reads[i]);
        verdict = Judge(*tail, handshake);
        FUZZ_CHECK(verdict == Verdict::kPending || i + 1 == port.reads.size(),
                   "nothing is read once the reply has settled the exchange");
    }
    const auto& sleeps = clock.Sleeps();
    for (unsigned sleep : sleeps)
        FUZZ_CHECK(sleep == quorvel::kPollIntervalMilliseconds, "the pauses are one second");
    const int pauses = static_cast<int>(sleeps.size());
    if (verdict == Verdict::kPending) {
        FUZZ_CHECK(pauses == window, "an unsettled exchange waits out exactly its window");
    } else {
        FUZZ_CHECK(pauses < window, "a settled exchange ends inside its window");
    }
    FUZZ_CHECK(
        port.reads.size() <= static_cast<std::size_t>(pauses + 1) * quorvel::kMaxChunksPerPoll,
        "each look at the port takes a bounded number of reads");
    return verdict;
}

std::string ReferenceCleanCardType(const std::string& reply) {
    std::string withoutLineEnds;
    for (char c : reply)
        if (c != '\r' && c != '\n') withoutLineEnds += c;
    std::string cleaned;
    for (std::size_t i = 0; i < withoutLineEnds.size();) {
        if (withoutLineEnds.compare(i, 2, "OK") == 0) {
            i += 2;
        } else {
            cleaned += withoutLineEnds[i++];
        }
    }
    return cleaned;
}

void CheckCardType(const std::string& reply) {
    const std::string cardType = quorvel::CleanCardType(reply);
    FUZZ_CHECK(cardType.find_first_of("\r\n") == std::string::npos,
               "a card type holds no line ends");
    FUZZ_CHECK(cardType == ReferenceCleanCardType(reply),
               "line ends, then every OK, are removed from left to right");
}

void CheckSendAtCommand(const Script& script) {
    VirtualClock clock;
    FakeCard card(clock);
    card.OnAnyOtherCommand(script.reply);
    if (script.writeFails) card.FailWrites();
    WatchedPort port(card);
    quorvel::SerialPort serial(port, clock);
    if (!script.closed) FUZZ_CHECK(serial.Open(3), "the card's port opens");
    const bool openBefore = port.IsOpen();

    char reply[quorvel::kReplyBufferSize];
    std::memset(reply, kGuard, sizeof reply);
    const char* command = kCommands[script.command];
    const int result = serial.SendAtCommand(command, script.noReplyBuffer ? nullptr : reply);
    std::string tail;
    Verdict verdict = Verdict::kPending;

    FUZZ_CHECK(result == quorvel::kStatusNoAnswer || result == quorvel::kStatusSuccess ||
                   result == quorvel::kStatusWriteFailed,
               "SendAtCommand gives 0, 1 or 5");
    FUZZ_CHECK(port.IsOpen() == openBefore, "SendAtCommand neither opens nor closes the port");

    if (script.noReplyBuffer || !openBefore || script.writeFails) {
        const int expected =
            script.noReplyBuffer ? quorvel::kStatusNoAnswer : quorvel::kStatusWriteFailed;
        FUZZ_CHECK(result == expected, "no reply buffer gives 0, an unwritable command 5");
        FUZZ_CHECK(port.reads.empty() && clock.Sleeps().empty(), "and nothing is waited for");
        FUZZ_CHECK(script.noReplyBuffer ? card.Received().empty() : true,
                   "no reply buffer, nothing sent");
    } else {
        FUZZ_CHECK(card.Received() == std::vector<std::string>{command},
                   "the command is sent once, as it is");
        verdict = CheckPolling(port, clock, false, &tail);
        FUZZ_CHECK(result == (verdict == Verdict::kOk ? quorvel::kStatusSuccess
                                                      : quorvel::kStatusNoAnswer),
                   "OK anywhere succeeds; ERROR, COMMAND NOT SUPPORTED or silence give 0");
    }

    if (script.noReplyBuffer) return;
    if (result != quorvel::kStatusSuccess) {
        for (char c : reply)
            FUZZ_CHECK(c == kGuard, "the reply buffer is written only on success");
        return;
    }
    const std::size_t length = std::strlen(reply);
    FUZZ_CHECK(length <= kMostReplyBytes, "a reply is at most 127 bytes, terminated");
    FUZZ_CHECK(std::string(reply, length) == tail,
               "the reply is the newest 127 bytes the card sent, NULs left out");
    FUZZ_CHECK(tail.find("OK") != std::string::npos, "a successful reply holds OK");
    for (std::size_t i = length + 1; i < sizeof reply; ++i)
        FUZZ_CHECK(reply[i] == kGuard, "nothing is written past the reply's terminator");
    CheckCardType(std::string(reply, length));
}

void CheckHandshake(const Script& script) {
    VirtualClock clock;
    FakeCard card(clock);
    card.OnAnyOtherCommand(script.reply);
    if (script.writeFails) card.FailWrites();
    WatchedPort port(card);
    if (!script.closed) FUZZ_CHECK(port.Open("\\\\.\\COM3"), "the card's port opens");

    const bool answered = quorvel::EchoOffHandshake(port, clock);

    FUZZ_CHECK(!port.IsOpen(), "the handshake closes the port whatever the outcome");
    const bool sent = !script.closed && !script.writeFails;
    FUZZ_CHECK(
        card.Received() == (sent ? std::vector<std::string>{"ATE0\r"} : std::vector<std::string>{}),
        "the handshake sends ATE0 once");
    FUZZ_CHECK(script.closed ? port.reads.empty() : true, "no port, nothing read");
    std::string tail;
    const Verdict verdict = CheckPolling(port, clock, true, &tail);
    FUZZ_CHECK(answered == (verdict == Verdict::kOk),
               "the handshake passes on OK only; COMMAND NOT SUPPORTED is waited out");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Script script = ReadScript(input);
    CheckSendAtCommand(script);
    CheckHandshake(script);
    CheckCardType(std::string(input));
    return 0;
}
