#include "ui/WizardTexts.h"

#include <gtest/gtest.h>

#include "card/WizardStatus.h"
#include "ui/resources/ResourceIds.h"

namespace quorvel::test {
namespace {

struct StatusTextRow {
    int status;
    int welcomeBody;  // 0 where the welcome page proper is shown
    int resultTitle;
    int resultBody;
};

const StatusTextRow kStatusTextRows[] = {
    {1, 0, 107, 113},   {2, 109, 115, 109}, {3, 110, 115, 110}, {4, 111, 115, 111},
    {6, 116, 115, 114}, {7, 117, 115, 114}, {8, 118, 115, 114}, {9, 119, 115, 114},
    {0, 114, 115, 114}, {5, 114, 115, 114},
};

TEST(WizardTexts, EachStatusHasItsMessages) {
    for (const StatusTextRow& row : kStatusTextRows) {
        SCOPED_TRACE("status " + std::to_string(row.status));
        if (row.welcomeBody != 0) {
            EXPECT_EQ(WelcomeBodyTextId(row.status), row.welcomeBody);
        }
        EXPECT_EQ(ResultTextIdsFor(row.status).title, row.resultTitle);
        EXPECT_EQ(ResultTextIdsFor(row.status).body, row.resultBody);
    }
}

TEST(WizardTexts, FixedTextsAreExact) {
    EXPECT_STREQ(kNextCaption, "&Next");
    EXPECT_STREQ(kFinishCaption, "&Finish");
    EXPECT_STREQ(kCardTypeLead, "\r\nThe Card type is ");
    EXPECT_STREQ(kConfirmExitText, "Are you sure exit!");
    EXPECT_STREQ(kConfirmExitCaption, "Quorvel");
}

}  // namespace
}  // namespace quorvel::test
