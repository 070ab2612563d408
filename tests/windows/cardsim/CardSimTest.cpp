#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "CardSimProcess.h"
#include "RawComPort.h"

namespace quorvel::test {
namespace {

constexpr int kCom = 7;

struct ExchangeCase {
    const char* name;
    std::vector<std::string> cardArgs;
    std::string sent;
    std::string expectedReply;
    std::vector<std::string> expectedTranscript;
};

void PrintTo(const ExchangeCase& c, std::ostream* os) {
    *os << c.name;
}

class CardSimExchange : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(CardSimExchange, CardAnswersAsScriptedAndRecordsTheCommand) {
    const ExchangeCase& c = GetParam();
    CardSimProcess card;
    ASSERT_TRUE(card.Start(kCom, c.cardArgs));
    {
        RawComPort port(card.DevicePath());
        ASSERT_TRUE(port.IsOpen()) << "CreateFileA error " << port.OpenError();
        ASSERT_TRUE(port.Write(c.sent));
        std::string reply = port.ReadUntil(c.expectedReply, 3000);
        EXPECT_EQ(reply, c.expectedReply);
    }
    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), c.expectedTranscript);
}

const ExchangeCase kExchanges[] = {
    {"EchoOffCommandIsAnsweredOkAfterItsEcho", {}, "ATE0\r", "ATE0\r\r\nOK\r\n", {"ATE0\\r"}},
    {"ModelIsTheAnswerToCgmm",
     {"--echo", "off", "--model", "K3765"},
     "AT+CGMM\r",
     "\r\nK3765\r\n\r\nOK\r\n",
     {"AT+CGMM\\r"}},
    {"ScriptedErrorReplacesOk",
     {"--echo", "off", "--reply", "at^u2diag=ERROR"},
     "at^u2diag=2\r",
     "\r\nERROR\r\n",
     {"at^u2diag=2\\r"}},
    {"EchoOnEchoesTheCommand",
     {"--echo", "on"},
     "at+cfun=4\r",
     "at+cfun=4\r\r\nOK\r\n",
     {"at+cfun=4\\r"}},
    {"RawReplyDeliversNulByte",
     {"--echo", "off", "--reply", "at+cfun=6=RAW:\\r\\nO\\x00K\\r\\n"},
     "at+cfun=6\r",
     std::string("\r\nO\0K\r\n", 7),
     {"at+cfun=6\\r"}},
    {"CommandNotSupportedText",
     {"--echo", "off", "--reply", "*=CNS"},
     "AT+CGMM\r\n",
     "\r\nCOMMAND NOT SUPPORTED\r\n",
     {"AT+CGMM\\r", "\\n"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CardSimExchange, ::testing::ValuesIn(kExchanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CardSim, SplitReplyArrivesInTwoParts) {
    CardSimProcess card;
    ASSERT_TRUE(card.Start(kCom, {"--echo", "off", "--split", "ATE0=4:1500"}));
    RawComPort port(card.DevicePath());
    ASSERT_TRUE(port.IsOpen());
    ASSERT_TRUE(port.Write("ATE0\r"));
    DWORD start = GetTickCount();
    EXPECT_EQ(port.ReadUntil("\r\nOK", 1000), "\r\nOK");
    Sleep(500);
    EXPECT_EQ(port.Queued(), 0u) << "the rest came before the pause was over";
    EXPECT_EQ(port.ReadUntil("\r\n", 3000), "\r\n");
    EXPECT_GE(GetTickCount() - start, 1400u);
}

TEST(CardSim, PortOpensAgainAfterTheProgramClosedIt) {
    CardSimProcess card;
    ASSERT_TRUE(card.Start(kCom, {"--echo", "off"}));
    for (int round = 0; round < 3; ++round) {
        RawComPort port(card.DevicePath());
        ASSERT_TRUE(port.IsOpen()) << "round " << round;
        ASSERT_TRUE(port.Write("ATE0\r"));
        EXPECT_EQ(port.ReadUntil("OK\r\n", 3000), "\r\nOK\r\n") << "round " << round;
    }
    EXPECT_EQ(card.WaitForTranscript(3).size(), 3u);
}

TEST(CardSim, RemovedLinkMakesTheNextOpenFail) {
    CardSimProcess card;
    ASSERT_TRUE(card.Start(kCom));
    EXPECT_TRUE(RawComPort(card.DevicePath()).IsOpen());
    ASSERT_TRUE(card.RemoveLink());
    RawComPort port(card.DevicePath());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(card.Running());
}

TEST(CardSim, StopWritesTheUnfinishedCommandAndRemovesTheLink) {
    CardSimProcess card;
    ASSERT_TRUE(card.Start(kCom));
    {
        RawComPort port(card.DevicePath());
        ASSERT_TRUE(port.IsOpen());
        ASSERT_TRUE(port.Write("ATE0\rAT+CG"));
        port.ReadUntil("OK\r\n", 3000);
    }
    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), (std::vector<std::string>{"ATE0\\r", "AT+CG"}));
    EXPECT_FALSE(RawComPort(card.DevicePath()).IsOpen());
}

TEST(CardSim, VanishingCardEndsByItselfAndLeavesNoPort) {
    CardSimProcess card;
    ASSERT_TRUE(card.Start(
        kCom, {"--echo", "off", "--reply", "at+cfun=6=VANISH", "--split", "at+cfun=6=3:200"}));
    RawComPort port(card.DevicePath());
    ASSERT_TRUE(port.IsOpen());
    ASSERT_TRUE(port.Write("at+cfun=6\r"));
    EXPECT_EQ(port.ReadUntil("\r\nO", 2000), "\r\nO");
    EXPECT_EQ(card.WaitForExit(), 0);
    EXPECT_FALSE(port.Write("ATE0\r"));
    EXPECT_FALSE(RawComPort(card.DevicePath()).IsOpen());
    EXPECT_EQ(card.Transcript(), std::vector<std::string>{"at+cfun=6\\r"});
}

}  // namespace
}  // namespace quorvel::test
