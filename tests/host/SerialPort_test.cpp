#include "serial/SerialPort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "base/Status.h"
#include "fakes/Rig.h"

namespace quorvel::test {
namespace {

// The caller's buffer still holds its unterminated filling.
constexpr char kUntouched[] = "<untouched>";

// A command's window includes its 30th second; the handshake's ends before it, and the handshake
// knows no COMMAND NOT SUPPORTED. Both are judged on the newest 127 bytes of what arrives in
// pieces over the polls; a command hands back the lines that answer it.
TEST(SendAtCommandAndEchoOffHandshake, JudgeWhatArrivesWithinTheirWindows) {
    const std::string csq = std::string(300, '+') + "\r\nOK\r\n", notices(150, '^');
    const std::string flood(3 * 64 * 101, '.'), query = "AT+CGMM\r", ate0 = "ATE0\r";
    const Status ok = Status::kSuccess, no = Status::kRefusedOrUnanswered;
    const std::string split = std::string("\r\n\0K3000\r\n", 10), cut(124, '-');
    // clang-format off
    const struct {
        const char* name;
        std::string command; Reply reply; Status result; std::string text; std::size_t pauses;
    } cases[] = {
        // command, what the card sends (ms: text), result, reply text, pauses
        {"COMMAND NOT SUPPORTED", query, Now("\r\nCOMMAND NOT SUPPORTED\r\n"), no, kUntouched, 0},
        {"OK beside ERROR wins", query, Now("\r\nERROR\r\n\r\nOK\r\n"), ok, "ERROR\r\nOK\r\n", 0},
        {"pieces are joined; a NUL parts O from K, and leaves the answer",
         query, {{0, split}, {1000, std::string("O\0K", 3)}, {2000, "\r\nOK\r\n"}},
         ok, "K3000\r\nOK\r\nOK\r\n", 2},
        {"OK in the window's 30th second", query, {{30000, "OK"}}, ok, "OK\r\n", 30},
        {"lower-case ok, then OK a second too late",
         query, {{0, "\r\nok\r\n"}, {31000, "OK"}}, no, kUntouched, 31},
        {"OK after 300 bytes of a notice", query, Now(csq), ok, "OK\r\n", 0},
        {"an OK cut by a read is still seen; lines that do not fit are left out",
         query, Now(cut + "\r\nOK\r\n" + notices), ok, cut + "\r\n", 0},
        {"a flood is read 64 chunks a look", query, Now(flood + "\r\nOK\r\n"), ok, "", 3},
        {"handshake: ERROR fails at once", ate0, Now("\r\nERROR\r\n"), no, kUntouched, 0},
        {"handshake: COMMAND NOT SUPPORTED is waited out",
         ate0, Now("\r\nCOMMAND NOT SUPPORTED\r\n"), no, kUntouched, 30},
        {"handshake: OK in the 29th second", ate0, {{29000, "OK"}}, ok, kUntouched, 29},
        {"handshake: OK in the 30th second is too late", ate0, {{30000, "OK"}}, no, kUntouched, 30},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        SerialPort port(rig.card, rig.clock, rig.trace);
        port.Open(3);
        rig.card.replies[c.command] = c.reply;
        char reply[kReplyBufferSize];
        std::memset(reply, 'x', sizeof reply);
        const bool handshake = c.command == ate0;

        const Status result = handshake ? (port.EchoOffHandshake() ? ok : no)
                                        : port.SendAtCommand(c.command.c_str(), reply);

        EXPECT_EQ(result, c.result);
        char* end = std::find(reply, reply + sizeof reply, '\0');
        EXPECT_EQ(end == reply + sizeof reply ? kUntouched : std::string(reply, end), c.text);
        EXPECT_EQ(rig.clock.sleeps, std::vector<unsigned>(c.pauses, 1000));
        EXPECT_EQ(rig.card.sent, std::vector<std::string>{c.command});
        EXPECT_EQ(rig.card.IsOpen(), !handshake) << "only the handshake closes the port";
    }
}

}  // namespace
}  // namespace quorvel::test
