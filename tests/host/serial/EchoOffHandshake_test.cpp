#include "serial/EchoOffHandshake.h"

#include <gtest/gtest.h>

#include "FakeCard.h"
#include "VirtualClock.h"
#include "serial/SerialPort.h"

namespace quorvel::test {
namespace {

struct HandshakeCase {
    const char* name;
    Reply reply;
    bool answered;
    std::size_t pauses;
};

const HandshakeCase kHandshakeCases[] = {
    {"OK", kOkReply, true, 0},
    {"OK after the echo", Immediately("ATE0\r\r\nOK\r\n"), true, 0},
    {"ERROR fails at once", kErrorReply, false, 0},
    {"COMMAND NOT SUPPORTED is waited out", Immediately("\r\nCOMMAND NOT SUPPORTED\r\n"), false,
     30},
    {"silence", kSilence, false, 30},
    {"OK in the last second before the window closes", {{29000, "\r\nOK\r\n"}}, true, 29},
    {"OK when the window has closed", {{30000, "\r\nOK\r\n"}}, false, 30},
};

TEST(EchoOffHandshake, AnswersWithinStrictlyThirtySecondsAndClosesThePort) {
    for (const HandshakeCase& c : kHandshakeCases) {
        SCOPED_TRACE(c.name);
        VirtualClock clock;
        FakeCard card(clock);
        card.OnCommand("ATE0\r", c.reply);
        ASSERT_TRUE(SerialPort(card, clock).Open(4));

        EXPECT_EQ(EchoOffHandshake(card, clock), c.answered);

        EXPECT_EQ(card.Received(), std::vector<std::string>{"ATE0\r"});
        EXPECT_EQ(clock.Sleeps(), std::vector<unsigned>(c.pauses, 1000u));
        EXPECT_FALSE(card.IsOpen());
    }
}

TEST(EchoOffHandshake, UnwrittenCommandRunsOutTheWindow) {
    VirtualClock clock;
    FakeCard card(clock);
    card.FailWrites();
    ASSERT_TRUE(SerialPort(card, clock).Open(4));

    EXPECT_FALSE(EchoOffHandshake(card, clock));
    EXPECT_EQ(clock.Sleeps().size(), 30u);
    EXPECT_FALSE(card.IsOpen());
}

}  // namespace
}  // namespace quorvel::test
