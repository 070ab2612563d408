#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FakeCard.h"
#include "VirtualClock.h"
#include "card/WizardStatus.h"
#include "serial/SerialPort.h"

namespace quorvel::test {
namespace {

constexpr char kCommand[] = "AT+CGMM\r";

class SendAtCommandTest : public testing::Test {
  protected:
    SendAtCommandTest() : card(clock), port(card, clock) { port.Open(7); }

    VirtualClock clock;
    FakeCard card;
    SerialPort port;
    char reply[kReplyBufferSize];
};

std::string Lines(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += line;
    return text;
}

struct ReplyCase {
    const char* name;
    Reply reply;
    int result;
    std::string replyText;  // what the reply buffer holds on success
    std::size_t pauses;
};

const ReplyCase kReplyCases[] = {
    {"OK at the first look", Immediately("\r\nOK\r\n"), kStatusSuccess, "\r\nOK\r\n", 0},
    {"ERROR", kErrorReply, kStatusNoAnswer, "", 0},
    {"COMMAND NOT SUPPORTED", Immediately("\r\nCOMMAND NOT SUPPORTED\r\n"), kStatusNoAnswer, "", 0},
    {"OK beside ERROR counts as success", Immediately("\r\nERROR\r\n\r\nOK\r\n"), kStatusSuccess,
     "\r\nERROR\r\n\r\nOK\r\n", 0},
    {"a reply in two pieces is kept whole",
     {{0, "\r\nK3000\r\n"}, {1000, "\r\nOK\r\n"}},
     kStatusSuccess,
     "\r\nK3000\r\n\r\nOK\r\n",
     1},
    {"OK in the window's last second", {{30000, "\r\nOK\r\n"}}, kStatusSuccess, "\r\nOK\r\n", 30},
    {"OK just after the window", {{30001, "\r\nOK\r\n"}}, kStatusNoAnswer, "", 31},
    {"silence", kSilence, kStatusNoAnswer, "", 31},
    {"lower-case ok is no result", Immediately("\r\nok\r\n"), kStatusNoAnswer, "", 31},
    {"unsolicited lines before the result",
     {{0, "\r\n^RSSI:12\r\n"}, {2000, "\r\nOK\r\n"}},
     kStatusSuccess,
     "\r\n^RSSI:12\r\n\r\nOK\r\n",
     2},
    {"NUL bytes do not hide the result",
     {{0, std::string("\r\n\0K3000\0\r\n", 11)}, {1000, "\r\nOK\r\n"}},
     kStatusSuccess,
     "\r\nK3000\r\n\r\nOK\r\n",
     1},
    {"a final OK after more than 127 bytes",
     Immediately(Lines("\r\n+CSQ: 99,99\r\n", 20) + "\r\nOK\r\n"), kStatusSuccess,
     (Lines("\r\n+CSQ: 99,99\r\n", 20) + "\r\nOK\r\n").substr(20 * 15 + 6 - 127), 0},
};

TEST_F(SendAtCommandTest, RecognisesTheFinalResultWithinTheWindow) {
    for (const ReplyCase& c : kReplyCases) {
        SCOPED_TRACE(c.name);
        VirtualClock caseClock;
        FakeCard caseCard(caseClock);
        SerialPort casePort(caseCard, caseClock);
        ASSERT_TRUE(casePort.Open(3));
        caseCard.OnCommand(kCommand, c.reply);
        std::memset(reply, 'x', sizeof reply);

        EXPECT_EQ(casePort.SendAtCommand(kCommand, reply), c.result);

        EXPECT_EQ(caseCard.Received(), std::vector<std::string>{kCommand});
        EXPECT_EQ(caseClock.Sleeps(), std::vector<unsigned>(c.pauses, 1000u));
        if (c.result == kStatusSuccess) {
            EXPECT_EQ(std::string(reply), c.replyText);
        } else {
            EXPECT_EQ(reply[0], 'x') << "the reply buffer is written only on success";
        }
        EXPECT_TRUE(caseCard.IsOpen()) << "the exchange leaves the port to its caller";
    }
}

TEST_F(SendAtCommandTest, LooksAtTheSilentPortThirtyOneTimes) {
    card.OnCommand(kCommand, kSilence);
    EXPECT_EQ(port.SendAtCommand(kCommand, reply), kStatusNoAnswer);
    EXPECT_EQ(card.ReadCalls(), 31);
}

TEST_F(SendAtCommandTest, WriteFailureGivesFiveWithoutWaiting) {
    card.FailWrites();
    EXPECT_EQ(port.SendAtCommand(kCommand, reply), kStatusWriteFailed);
    EXPECT_EQ(card.ReadCalls(), 0);
    EXPECT_TRUE(clock.Sleeps().empty());
}

TEST_F(SendAtCommandTest, NoPortOpenGivesFive) {
    port.Close();
    EXPECT_EQ(port.SendAtCommand(kCommand, reply), kStatusWriteFailed);
    EXPECT_TRUE(card.Received().empty());
}

TEST_F(SendAtCommandTest, NullReplyBufferSendsNothing) {
    card.OnCommand(kCommand, kOkReply);
    EXPECT_EQ(port.SendAtCommand(kCommand, nullptr), kStatusNoAnswer);
    EXPECT_TRUE(card.Received().empty());
}

TEST_F(SendAtCommandTest, ReplyStaysTerminatedUnderAFlood) {
    card.OnCommand(kCommand, Immediately(Lines("+CSQ: 99,99\r\n", 2000) + "OK"));
    ASSERT_EQ(port.SendAtCommand(kCommand, reply), kStatusSuccess);
    EXPECT_EQ(std::strlen(reply), 127u);
    EXPECT_EQ(std::string(reply).substr(125), "OK");
}

}  // namespace
}  // namespace quorvel::test
