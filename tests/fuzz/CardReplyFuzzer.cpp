// A card that sends the fuzz input: a command and the echo-off handshake must stay inside
// their buffers and their window, and stop reading once a result has come, whatever arrives
// and in whatever pieces. Input: a flags byte (bit 0: the card takes no writes, bit 1: its
// bytes repeat for ever), four read sizes used in turn (0: nothing has arrived at that
// read), then the bytes the card sends.

#undef NDEBUG  // the checks are what the target is for
#include <algorithm>
#include <cassert>
#include <cstring>
#include <string_view>

#include "base/Status.h"
#include "card/CardOperations.h"
#include "serial/SerialPort.h"

namespace {

using namespace quorvel;

struct Card : ComDevice, Clock {
    Card(const std::uint8_t* data, std::size_t size, bool command)
        : input(data), length(size - 5), command(command) {}
    bool Open(const std::string&) override { return open = true; }
    bool IsOpen() const override { return open; }
    void Close() override { open = false; }
    bool Write(const char*, std::size_t) override {
        // A command that cannot be written has its answer; the handshake waits on regardless.
        settled = command && (input[0] & 1);
        readsThisLook = 0;
        written = true;
        return !(input[0] & 1);
    }
    std::size_t ReadArrived(char* buffer, std::size_t most) override {
        assert(!settled && "nothing is read once the reply has settled the exchange");
        ++readsThisLook;
        assert(readsThisLook <= kMaxChunksPerPoll && "a look takes a bounded number of reads");
        std::size_t taken = std::min<std::size_t>(most, input[1 + reads++ % 4]);
        if (!(input[0] & 2) || length == 0) taken = std::min(taken, length - sent);
        for (std::size_t i = 0; i < taken; ++i, ++sent)
            buffer[i] = static_cast<char>(input[5 + sent % length]);
        const std::string_view chunk(buffer, written ? taken : 0);
        sawOk |= chunk.find("OK") != chunk.npos;
        settled = sawOk || chunk.find("ERROR") != chunk.npos ||
                  (command && chunk.find("COMMAND NOT SUPPORTED") != chunk.npos);
        return taken;
    }
    std::int64_t NowSeconds() override { return milliseconds / 1000; }
    void SleepMilliseconds(unsigned pause) override {
        milliseconds += pause;
        assert(milliseconds <= 32'000 && "the wait ends with its window");
        readsThisLook = 0;
    }

    const std::uint8_t* input;
    std::size_t length, sent = 0, reads = 0;
    bool command, open = true, written = false, settled = false, sawOk = false;
    std::int64_t milliseconds = 0, readsThisLook = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    Card card(data, size, true);
    char reply[kReplyBufferSize + 16];
    std::memset(reply, '\xA5', sizeof reply);
    const int result = SerialPort(card, card).SendAtCommand("AT+CGMM\r", reply);
    assert((data[0] & 1 ? result == kStatusWriteFailed
                        : result == kStatusNoAnswer || result == kStatusSuccess) &&
           "a command gives 0 or 1, and 5 exactly when it cannot be written");
    assert((!card.sawOk || result == kStatusSuccess) && "an OK that was read succeeds");
    char* end = static_cast<char*>(std::memchr(reply, '\0', kReplyBufferSize));
    assert((result != kStatusSuccess || end) && "a reply is terminated within 128 bytes");
    for (const char* c = result == kStatusSuccess ? end + 1 : reply; c < std::end(reply); ++c)
        assert(*c == '\xA5' && "nothing is written but a successful reply and its terminator");
    // Removing one "OK" can close up another ("OOKK"), which then stays.
    const std::string type = CleanCardType(result == kStatusSuccess ? reply : "");
    const auto count = [&](char c) { return std::count(reply, end ? end : reply, c); };
    assert(type.find_first_of("\r\n") == type.npos &&
           (type.find("OK") == type.npos || (count('O') > 1 && count('K') > 1)) &&
           "a card type holds no line ends and no OK of the reply's own");

    Card handshake(data, size, false);
    const bool answered = SerialPort(handshake, handshake).EchoOffHandshake();
    assert(!handshake.open && "the handshake closes the port");
    assert((!handshake.sawOk || answered) && "an OK that was read passes the handshake");
    return 0;
}
