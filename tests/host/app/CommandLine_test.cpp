#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <climits>

namespace quorvel::test {
namespace {

struct CommandLineCase {
    std::vector<std::wstring> arguments;
    int silent;
    int value;
    bool handToWizard;
    StartupMessage message;
};

constexpr StartupMessage kNone = StartupMessage::kNone;
constexpr StartupMessage kCount = StartupMessage::kWrongArgumentCount;
constexpr StartupMessage kRejected = StartupMessage::kRejectedArguments;

const CommandLineCase kCommandLineCases[] = {
    {{L"QuorvelTool.exe"}, 0, -1, true, kNone},
    {{}, 0, -1, true, kCount},  // the splitter failed
    {{L"QuorvelTool.exe", L"-s", L"2"}, 1, 2, true, kNone},
    {{L"QuorvelTool.exe", L"-S", L"0"}, 1, 0, true, kNone},
    {{L"QuorvelTool.exe", L"-s", L"abc"}, 1, 0, true, kNone},
    {{L"QuorvelTool.exe", L"-s", L"5x"}, 1, 5, true, kNone},
    {{L"QuorvelTool.exe", L"-s", L"-1"}, 1, -1, true, kNone},
    {{L"QuorvelTool.exe", L"/s", L"3"}, 0, 3, true, kNone},
    {{L"QuorvelTool.exe", L"-silent", L"3"}, 0, 3, true, kNone},
    {{L"QuorvelTool.exe", L"-x", L""}, 0, 0, true, kNone},
    {{L"QuorvelTool.exe", L" -s", L"4"}, 0, 4, true, kNone},
    {{L"QuorvelTool.exe", L"/s", L"-3"}, 0, -3, false, kRejected},
    {{L"QuorvelTool.exe", L"-s"}, 0, -1, true, kCount},
    {{L"QuorvelTool.exe", L"-s", L"1", L"x"}, 0, -1, true, kCount},
    {{L"QuorvelTool.exe", L"-s", L"1", L"x", L"y"}, 0, -1, true, kCount},
};

TEST(ParseCommandLine, DecidesRunModeAndMessage) {
    for (const CommandLineCase& c : kCommandLineCases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments.size()) + " pieces");
        const CommandLineDecision decision = ParseCommandLine(c.arguments);
        EXPECT_EQ(decision.message, c.message);
        EXPECT_EQ(decision.handToWizard, c.handToWizard);
        if (decision.handToWizard) {
            EXPECT_EQ(decision.runMode.silent, c.silent);
            EXPECT_EQ(decision.runMode.value, c.value);
        }
    }
}

TEST(StartupMessageText, IsExact) {
    EXPECT_STREQ(StartupMessageText(StartupMessage::kWrongArgumentCount),
                 "The number of parameter is wrong, please input again!");
    EXPECT_STREQ(StartupMessageText(StartupMessage::kRejectedArguments),
                 "The  parameter is wrong, please input again!");
    EXPECT_STREQ(StartupMessageText(StartupMessage::kNone), "");
    EXPECT_STREQ(kStartupMessageCaption, "Quorvel Tool");
}

struct NumberCase {
    std::wstring text;
    int value;
};

const NumberCase kNumberCases[] = {
    {L"", 0},
    {L"abc", 0},
    {L"7", 7},
    {L"+7", 7},
    {L"-7", -7},
    {L"  \t12", 12},
    {L"\n\v\f\r9", 9},
    {L"12abc", 12},
    {L"1 2", 1},
    {L"- 5", 0},
    {L"+-5", 0},
    {L"0x10", 0},
    {L"007", 7},
    {L"2147483647", INT_MAX},
    {L"2147483648", INT_MAX},
    {L"-2147483648", INT_MIN},
    {L"-2147483649", INT_MIN},
    {L"99999999999999999999999999", INT_MAX},
    {L"-99999999999999999999999999", INT_MIN},
};

TEST(WideTextToInt, FollowsTheCLibraryRuleAndClamps) {
    for (const NumberCase& c : kNumberCases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(WideTextToInt(c.text), c.value);
    }
}

}  // namespace
}  // namespace quorvel::test
