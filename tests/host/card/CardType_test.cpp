#include "card/CardType.h"

#include <gtest/gtest.h>

namespace quorvel::test {
namespace {

struct CleaningCase {
    const char* reply;
    const char* cardType;
};

const CleaningCase kCleaningCases[] = {
    {"\r\nK3000\r\n\r\nOK\r\n", "K3000"},
    {"K3OK5\r\nOK", "K35"},              // a type holding OK loses it
    {"\r\n\r\nOK\r\n", ""},              // nothing but line ends and OK
    {"\r\nK3000\r\nOK\r\nOK", "K3000"},  // every OK goes
    {"O\r\nK", ""},                      // line ends go first, so their OK goes too
    {"OOKK", "OK"},                      // one pass from the left, as written
    {"\n\rE-1750\n\r", "E-1750"},
    {"ok\r\n", "ok"},            // case-sensitive
    {"K 3000\tX", "K 3000\tX"},  // other white space stays
};

TEST(CleanCardType, RemovesCarriageReturnsThenLineFeedsThenOk) {
    for (const CleaningCase& c : kCleaningCases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.reply)));
        EXPECT_EQ(CleanCardType(c.reply), c.cardType);
    }
}

}  // namespace
}  // namespace quorvel::test
