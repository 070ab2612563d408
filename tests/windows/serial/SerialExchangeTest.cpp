#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CardSimProcess.h"
#include "serial/EchoOffHandshake.h"
#include "serial/SerialPort.h"
#include "serial/Win32Clock.h"
#include "serial/Win32ComPort.h"

namespace quorvel::test {
namespace {

constexpr int kCardCom = 7;
constexpr char kUntouched = 'X';

// Real waits, measured by the tick counter rather than the clock under test.
class Stopwatch {
  public:
    DWORD ElapsedMs() const { return GetTickCount() - start_; }

  private:
    DWORD start_ = GetTickCount();
};

class SerialExchangeUnderWine : public ::testing::Test {
  protected:
    void TearDown() override { device.Close(); }

    Win32ComPort device;
    Win32Clock clock;
    SerialPort port{device, clock};
    CardSimProcess card;
};

TEST_F(SerialExchangeUnderWine, HandshakeTurnsEchoOffAndTheModelComesBack) {
    // A card fresh from power-up echoes what it is sent.
    ASSERT_TRUE(card.Start(kCardCom, {"--echo", "on", "--model", "K3765"}));
    ASSERT_TRUE(port.Open(kCardCom));
    EXPECT_TRUE(EchoOffHandshake(device, clock));
    EXPECT_FALSE(device.IsOpen());

    ASSERT_TRUE(port.Open(kCardCom));
    char reply[kReplyBufferSize] = {};
    EXPECT_EQ(port.SendAtCommand("AT+CGMM\r", reply), 1);
    EXPECT_STREQ(reply, "\r\nK3765\r\n\r\nOK\r\n");
    EXPECT_TRUE(device.IsOpen()) << "the exchange itself must not close the port";
    EXPECT_TRUE(port.Close());
    EXPECT_FALSE(device.IsOpen());

    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), (std::vector<std::string>{"ATE0\\r", "AT+CGMM\\r"}));
}

TEST_F(SerialExchangeUnderWine, HandshakeFailsAtOnceOnErrorAndClosesThePort) {
    ASSERT_TRUE(card.Start(kCardCom, {"--reply", "ATE0=ERROR"}));
    ASSERT_TRUE(port.Open(kCardCom));
    Stopwatch watch;
    EXPECT_FALSE(EchoOffHandshake(device, clock));
    EXPECT_LT(watch.ElapsedMs(), 3000u);
    EXPECT_FALSE(device.IsOpen());
}

// The one test that waits out a whole window: it shows the window is measured in real
// seconds, and that the handshake does not take "COMMAND NOT SUPPORTED" for an answer.
TEST_F(SerialExchangeUnderWine, HandshakeWaitsOutCommandNotSupported) {
    ASSERT_TRUE(card.Start(kCardCom, {"--reply", "ATE0=CNS"}));
    ASSERT_TRUE(port.Open(kCardCom));
    Stopwatch watch;
    EXPECT_FALSE(EchoOffHandshake(device, clock));
    EXPECT_GE(watch.ElapsedMs(), 29000u);
    EXPECT_LE(watch.ElapsedMs(), 32000u);
    EXPECT_FALSE(device.IsOpen());
    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), std::vector<std::string>{"ATE0\\r"});
}

// Numbered lines of unsolicited output, more than the 127 bytes a reply keeps, then OK.
std::string LongOutputThenOk() {
    std::string text;
    for (int line = 1; line <= 12; ++line) {
        char noise[32];
        std::snprintf(noise, sizeof noise, "\r\n+NOISE: %02d\r\n", line);
        text += noise;
    }
    return text + "\r\nOK\r\n";
}

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (char c : text)
        escaped += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    return escaped;
}

struct ReplyCase {
    const char* behaviour;
    std::vector<std::string> cardArgs;
    int result;
    std::string reply;  // on failure the reply buffer must stay untouched
    DWORD mostMs;       // far inside the 30-second window
};

void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << c.behaviour;
}

class CommandReply : public SerialExchangeUnderWine,
                     public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(CommandReply, ComesBackWholeWithItsResult) {
    const ReplyCase& c = GetParam();
    std::vector<std::string> args = {"--echo", "off"};
    args.insert(args.end(), c.cardArgs.begin(), c.cardArgs.end());
    ASSERT_TRUE(card.Start(kCardCom, args));
    ASSERT_TRUE(port.Open(kCardCom));

    char reply[kReplyBufferSize];
    std::memset(reply, kUntouched, sizeof reply);
    Stopwatch watch;
    EXPECT_EQ(port.SendAtCommand("AT+CGMM\r", reply), c.result);
    EXPECT_LE(watch.ElapsedMs(), c.mostMs);
    if (c.result == 1) {
        EXPECT_EQ(Escaped(reply), Escaped(c.reply));
    } else {
        EXPECT_EQ(std::string(reply, sizeof reply), std::string(sizeof reply, kUntouched));
    }
    EXPECT_TRUE(port.Close());

    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), std::vector<std::string>{"AT+CGMM\\r"});
}

const ReplyCase kReplyCases[] = {
    {"Model", {"--model", "K3000"}, 1, "\r\nK3000\r\n\r\nOK\r\n", 3000},
    // Nine bytes of the reply, then the rest after one and a half seconds.
    {"SplitReply",
     {"--model", "K3000", "--split", "AT+CGMM=9:1500"},
     1,
     "\r\nK3000\r\n\r\nOK\r\n",
     4500},
    {"LateReply", {"--delay", "AT+CGMM=2500"}, 1, "\r\nK3000\r\n\r\nOK\r\n", 5000},
    {"Error", {"--reply", "AT+CGMM=ERROR"}, 0, "", 3000},
    {"CommandNotSupported", {"--reply", "AT+CGMM=CNS"}, 0, "", 3000},
    {"OkBesideError",
     {"--reply", "AT+CGMM=RAW:\\r\\nERROR\\r\\nOK\\r\\n"},
     1,
     "\r\nERROR\r\nOK\r\n",
     3000},
    {"LongOutputKeepsTheNewestBytes",
     {"--reply", "AT+CGMM=RAW:" + Escaped(LongOutputThenOk())},
     1,
     LongOutputThenOk().substr(LongOutputThenOk().size() - (kReplyBufferSize - 1)),
     3000},
};

INSTANTIATE_TEST_SUITE_P(Cases, CommandReply, ::testing::ValuesIn(kReplyCases),
                         [](const auto& info) { return std::string(info.param.behaviour); });

}  // namespace
}  // namespace quorvel::test
