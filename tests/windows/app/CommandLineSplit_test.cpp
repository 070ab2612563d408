#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "app/CommandLine.h"
#include "app/Win32CommandLine.h"

namespace quorvel::test {
namespace {

struct SplitCase {
    const char* line;
    std::vector<std::wstring> pieces;
};

const SplitCase kSplitCases[] = {
    {"QuorvelTool.exe", {L"QuorvelTool.exe"}},
    {"QuorvelTool.exe -s 2", {L"QuorvelTool.exe", L"-s", L"2"}},
    {"\"C:\\Program Files\\Q\\QuorvelTool.exe\" -S   7",
     {L"C:\\Program Files\\Q\\QuorvelTool.exe", L"-S", L"7"}},
    {"QuorvelTool.exe \"-s\" \" 5\"", {L"QuorvelTool.exe", L"-s", L" 5"}},
    {"QuorvelTool.exe \"-s 5\"", {L"QuorvelTool.exe", L"-s 5"}},
    {"QuorvelTool.exe -s \"\"", {L"QuorvelTool.exe", L"-s", L""}},
    {"QuorvelTool.exe a\\\"b c", {L"QuorvelTool.exe", L"a\"b", L"c"}},
    {"QuorvelTool.exe\t-s\t1", {L"QuorvelTool.exe", L"-s", L"1"}},
};

TEST(SplitCommandLine, FollowsThePlatformsQuotingRules) {
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(SplitCommandLine(c.line), c.pieces);
    }
}

TEST(SplitCommandLine, QuotedArgumentsDecideTheRunMode) {
    const CommandLineDecision decision =
        ParseCommandLine(SplitCommandLine("QuorvelTool.exe \"-s\" \"  12\""));
    EXPECT_EQ(decision.runMode.silent, 1);
    EXPECT_EQ(decision.runMode.value, 12);
}

// The conversion must agree with the C library's own _wtoi wherever the number fits.
TEST(WideTextToInt, AgreesWithTheCLibrary) {
    const wchar_t* texts[] = {L"",      L"abc",        L"7",           L"+7",  L"-7",
                              L" \t12", L"12abc",      L"- 5",         L"+-5", L"0x10",
                              L"007",   L"2147483647", L"-2147483648", L"5x"};
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        EXPECT_EQ(WideTextToInt(text), _wtoi(text));
    }
}

}  // namespace
}  // namespace quorvel::test
