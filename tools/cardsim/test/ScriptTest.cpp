#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandEngine.h"
#include "Escapes.h"
#include "Options.h"

namespace quorvel::cardsim {
namespace {

TEST(Escapes, RawBytesSurviveTheRoundTripThroughTheTranscriptForm) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    std::string decoded;
    ASSERT_TRUE(DecodeEscapes(EscapeBytes(all), decoded));
    EXPECT_EQ(decoded, all);
    EXPECT_EQ(EscapeBytes(std::string("at\\\r\n\t\0\xFF", 8)), "at\\\\\\r\\n\\x09\\x00\\xFF");
}

TEST(Escapes, UnknownOrUnfinishedEscapesAreRejected) {
    std::string bytes;
    for (const char* bad : {"\\", "\\q", "\\x4", "\\xG0", "ok\\"})
        EXPECT_FALSE(DecodeEscapes(bad, bytes)) << bad;
}

std::vector<const char*> Args(std::vector<const char*> options) {
    options.insert(options.begin(), {"cardsim", "--link", "/tmp/com3"});
    return options;
}

ParseResult Parse(std::vector<const char*> args, Options& options) {
    std::string error;
    return ParseOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(Options, CommandsThatHoldAnEqualsSignKeepIt) {
    Options options;
    ASSERT_EQ(
        Parse(Args({"--reply", "at+cfun=4=ERROR", "--reply", "at+cfun=6=RAW:a=b\\x00", "--delay",
                    "at+cfun=4=250", "--split", "AT+CGMM=4:500", "--unsolicited", "+X: a@b@1500"}),
              options),
        ParseResult::Run);
    EXPECT_EQ(options.replies[0].command, "at+cfun=4");
    EXPECT_EQ(options.replies[0].value.kind, ReplyKind::Error);
    EXPECT_EQ(options.replies[1].command, "at+cfun=6");
    EXPECT_EQ(options.replies[1].value.raw, std::string("a=b\0", 4));
    EXPECT_EQ(options.delays[0].command, "at+cfun=4");
    EXPECT_EQ(options.delays[0].value, 250);
    EXPECT_EQ(options.splits[0].value.bytes, 4u);
    EXPECT_EQ(options.splits[0].value.pauseMs, 500);
    EXPECT_EQ(options.unsolicited[0].text, "+X: a@b");
    EXPECT_EQ(options.unsolicited[0].everyMs, 1500);
}

TEST(Options, BadCommandLinesAreRefused) {
    const std::vector<std::vector<const char*>> bad = {
        {"cardsim"},  // no link
        Args({"--reply", "ATE0=MAYBE"}),
        Args({"--reply", "=OK"}),
        Args({"--reply", "ATE0=RAW:\\z"}),
        Args({"--delay", "ATE0=-5"}),
        Args({"--split", "ATE0=4"}),
        Args({"--unsolicited", "RING@0"}),
        Args({"--echo", "yes"}),
        Args({"--model"}),
        Args({"--verbose"}),
    };
    for (const auto& args : bad) {
        Options options;
        EXPECT_EQ(Parse(args, options), ParseResult::Bad) << args.back();
    }
}

struct AnswerCase {
    std::vector<const char*> options;
    std::string command;
    std::string reply;  // all steps' bytes together
};

class EngineAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(EngineAnswers, ClosestScriptEntryDecides) {
    Options options;
    ASSERT_EQ(Parse(Args(GetParam().options), options), ParseResult::Run);
    CommandEngine engine(options);
    std::string reply;
    for (const auto& step : engine.Answer(GetParam().command).steps)
        reply += step.bytes;
    EXPECT_EQ(reply, GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EngineAnswers,
    ::testing::Values(AnswerCase{{"--model", "K3765"}, "at+cgmm", "\r\nK3765\r\n\r\nOK\r\n"},
                      AnswerCase{{}, "at^u2diag=13", "\r\nOK\r\n"},
                      AnswerCase{{}, "at^u2diag=x", "\r\nERROR\r\n"},
                      AnswerCase{{}, "AT+CFUN=1", "\r\nERROR\r\n"},
                      AnswerCase{{"--reply", "*=CNS"}, "ATE0", "\r\nCOMMAND NOT SUPPORTED\r\n"},
                      AnswerCase{{"--reply", "*=CNS", "--reply", "AT^U2DIAG=ERROR"},
                                 "at^u2diag=2",
                                 "\r\nERROR\r\n"},
                      AnswerCase{{"--reply", "at^u2diag=2=OK", "--reply", "at^u2diag=NONE"},
                                 "at^u2diag=2",
                                 "\r\nOK\r\n"},
                      AnswerCase{{"--reply", "ATE0=ERROR", "--reply", "ATE0=RAW:x"}, "ATE0", "x"},
                      AnswerCase{{"--reply", "*=OK"}, "ATI", "\r\nOK\r\n"},
                      AnswerCase{{"--reply", "ATE0=VANISH"}, "ATE0", "\r\nO"}));

}  // namespace
}  // namespace quorvel::cardsim
