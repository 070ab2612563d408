#include "serial/SerialPort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "FakeCard.h"
#include "base/Status.h"

namespace quorvel::test {
namespace {

// COM3 opened, as a card operation leaves the port before an exchange.
struct OpenPort {
    OpenPort() { port.Open(3); }
    VirtualClock clock;
    FakeCard card{clock};
    SerialPort port{card, clock};
};

// The caller's buffer still holds its unterminated filling.
constexpr char kUntouched[] = "<untouched>";

// A command's window includes its 30th second; the handshake's ends before it, and the handshake
// knows no COMMAND NOT SUPPORTED. Both are judged on what arrives in pieces over the polls.
TEST(SendAtCommandAndEchoOffHandshake, JudgeWhatArrivesWithinTheirWindows) {
    const std::string csq = std::string(300, '+') + "\r\nOK\r\n";
    const std::string notices(150, '^');
    const std::string flood(3 * 64 * 101, '.');
    const char* const query = "AT+CGMM\r";
    const char* const ate0 = "ATE0\r";
    // clang-format off
    const struct { const char* name; const char* command; Reply reply; int result; std::string text; std::size_t pauses; } cases[] = {
        {"OK at the first look", query, Now("\r\nOK\r\n"), kStatusSuccess, "\r\nOK\r\n", 0},
        {"ERROR", query, Now("\r\nERROR\r\n"), kStatusNoAnswer, kUntouched, 0},
        {"COMMAND NOT SUPPORTED", query, Now("\r\nCOMMAND NOT SUPPORTED\r\n"), kStatusNoAnswer, kUntouched, 0},
        {"OK beside ERROR wins", query, Now("\r\nERROR\r\n\r\nOK\r\n"), kStatusSuccess, "\r\nERROR\r\n\r\nOK\r\n", 0},
        {"lower-case ok is no result", query, Now("\r\nok\r\n"), kStatusNoAnswer, kUntouched, 31},
        {"silence", query, {}, kStatusNoAnswer, kUntouched, 31},
        {"a reply in two pieces is joined", query, {{0, "\r\nK3000\r\n"}, {1000, "\r\nOK\r\n"}}, kStatusSuccess, "\r\nK3000\r\n\r\nOK\r\n", 1},
        {"OK in the window's 30th second", query, {{30000, "OK"}}, kStatusSuccess, "OK", 30},
        {"OK a second later", query, {{31000, "OK"}}, kStatusNoAnswer, kUntouched, 31},
        {"NULs are dropped", query, Now(std::string("\r\n\0K3000\r\nO\0K", 13)), kStatusSuccess, "\r\nK3000\r\nOK", 0},
        {"the newest 127 bytes are kept", query, Now(csq), kStatusSuccess, csq.substr(csq.size() - 127), 0},
        {"an OK cut by a read is still seen", query, Now(std::string(124, '-') + "\r\nOK\r\n" + notices), kStatusSuccess, std::string(49, '-') + "\r\nOK\r\n" + notices.substr(0, 72), 0},
        {"a flood is read 64 chunks a look", query, Now(flood + "\r\nOK\r\n"), kStatusSuccess, flood.substr(0, 121) + "\r\nOK\r\n", 3},
        {"handshake: OK", ate0, Now("\r\nOK\r\n"), kStatusSuccess, kUntouched, 0},
        {"handshake: ERROR fails at once", ate0, Now("\r\nERROR\r\n"), kStatusNoAnswer, kUntouched, 0},
        {"handshake: COMMAND NOT SUPPORTED is waited out", ate0, Now("\r\nCOMMAND NOT SUPPORTED\r\n"), kStatusNoAnswer, kUntouched, 30},
        {"handshake: OK in the 29th second", ate0, {{29000, "OK"}}, kStatusSuccess, kUntouched, 29},
        {"handshake: OK in the 30th second is too late", ate0, {{30000, "OK"}}, kStatusNoAnswer, kUntouched, 30},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPort open;
        open.card.replies[c.command] = c.reply;
        char reply[kReplyBufferSize];
        std::memset(reply, 'x', sizeof reply);
        const bool handshake = std::string(c.command) == ate0;

        const int result = handshake ? (open.port.EchoOffHandshake() ? 1 : 0)
                                     : open.port.SendAtCommand(c.command, reply);

        EXPECT_EQ(result, c.result);
        char* end = std::find(reply, reply + sizeof reply, '\0');
        EXPECT_EQ(end == reply + sizeof reply ? kUntouched : std::string(reply, end), c.text);
        EXPECT_EQ(open.clock.sleeps, std::vector<unsigned>(c.pauses, 1000));
        EXPECT_EQ(open.card.sent, std::vector<std::string>{c.command});
        EXPECT_EQ(open.card.IsOpen(), !handshake) << "only the handshake closes the port";
    }
}

TEST(SerialPort, EveryObjectWorksTheOneProcessPortAndOnlyCloseClosesIt) {
    VirtualClock clock;
    FakeCard card{clock};
    card.refused = {"\\\\.\\COM12"};
    {
        SerialPort opener(card, clock);
        EXPECT_FALSE(opener.Open(12));
        EXPECT_EQ(opener.DevicePath(), "\\\\.\\COM12");
        ASSERT_TRUE(opener.Open(5));
    }
    EXPECT_TRUE(card.IsOpen());
    EXPECT_TRUE(SerialPort(card, clock).Write("AT\r", 3));
    SerialPort(card, clock).Close();
    EXPECT_FALSE(card.IsOpen());
    EXPECT_EQ(card.opens, (std::vector<std::string>{"\\\\.\\COM12", "\\\\.\\COM5"}));
    EXPECT_EQ(card.sent, std::vector<std::string>{"AT\r"});
}

}  // namespace
}  // namespace quorvel::test
