// A card answers a command with the fuzz input: the exchange must stay inside its buffers and
// its window, and stop reading once a result has come, whatever arrives in whatever pieces.
// Input: a flags byte (bit 0: the card takes half a command, bit 1: its bytes repeat for ever),
// four read sizes used in turn (0: nothing has arrived at that read), then the bytes.

#undef NDEBUG  // the checks are what the target is for
#include <algorithm>
#include <cassert>
#include <cstring>
#include <string_view>

#include "CheckedTrace.h"
#include "base/Status.h"
#include "serial/SerialPort.h"

namespace {

using namespace quorvel;

struct Card : ComDevice, Clock {
    Card(const std::uint8_t* data, std::size_t size) : input(data), length(size - 5) {}
    bool Open(const std::string&) override { return true; }
    std::uint32_t OpenError() const override { return 0; }
    bool IsOpen() const override { return true; }
    void Close() override {}
    std::size_t Write(const char*, std::size_t length) override {
        settled = input[0] & 1;  // a command written short has its answer
        written = true;
        readsThisLook = 0;
        return settled ? length / 2 : length;
    }
    void ClearReceived() override {
        assert(!written && "the queue is cleared before the command, never after it");
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
                  chunk.find("COMMAND NOT SUPPORTED") != chunk.npos;
        return taken;
    }
    std::int64_t NowSeconds() override { return milliseconds / 1000; }
    std::int64_t NowMilliseconds() override { return milliseconds; }
    void SleepMilliseconds(unsigned pause) override {
        milliseconds += pause;
        assert(milliseconds <= 31'000 && "the wait ends with its window");
        readsThisLook = 0;
    }

    const std::uint8_t* input;
    std::size_t length, sent = 0, reads = 0;
    bool written = false, settled = false, sawOk = false;
    std::int64_t milliseconds = 0, readsThisLook = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    Card card(data, size);
    CheckedTrace trace;
    char reply[kReplyBufferSize + 16];
    std::memset(reply, '\xA5', sizeof reply);
    const Status result = SerialPort(card, card, trace).SendAtCommand("AT+CGMM\r", reply);
    assert((data[0] & 1 ? result == Status::kWriteFailed
                        : result == Status::kRefusedOrUnanswered || result == Status::kSuccess) &&
           "a command gives 0 or 1, and 5 exactly when it cannot be written");
    assert((!card.sawOk || result == Status::kSuccess) && "an OK that was read succeeds");
    char* end = static_cast<char*>(std::memchr(reply, '\0', kReplyBufferSize));
    assert((result != Status::kSuccess || end) && "a reply is terminated within 128 bytes");
    for (const char* c = result == Status::kSuccess ? end + 1 : reply; c < std::end(reply); ++c)
        assert(*c == '\xA5' && "nothing is written but a successful reply and its terminator");
    return 0;
}
