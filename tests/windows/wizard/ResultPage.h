#pragma once

#include <gtest/gtest.h>

#include "WizardDriver.h"
#include "WizardExpectations.h"

namespace quorvel::test {

inline const std::string kProgressBody = "\r\n\r\n" + StringText(106);

// The result page with the texts `titleId` and `bodyId`: only Finish is left to press.
inline void ExpectResultPage(const WizardDriver& wizard, int titleId, int bodyId) {
    EXPECT_EQ(wizard.Text(kTitle), StringText(titleId));
    EXPECT_EQ(wizard.Text(kBody), StringText(bodyId));
    EXPECT_EQ(wizard.Text(kFooter), StringText(108));
    EXPECT_EQ(wizard.Text(kNext), kFinishCaption);
    EXPECT_TRUE(wizard.Enabled(kNext));
    EXPECT_FALSE(wizard.Enabled(kCancel));
    for (int radio : {kFirstRadio, kSecondRadio}) {
        EXPECT_FALSE(wizard.Visible(radio)) << radio;
        EXPECT_FALSE(wizard.Enabled(radio)) << radio;
    }
}

// Presses Next and waits for the result page: its button reads Finish again and, as the
// page's last step, the title has changed.
inline ::testing::AssertionResult SwitchAndWaitForResult(
    WizardDriver& wizard, DWORD timeoutMs = WizardDriver::kTimeoutMs) {
    const std::string welcomeTitle = wizard.Text(kTitle);
    if (!wizard.Click(kNext)) return ::testing::AssertionFailure() << "Next cannot be pressed";
    if (!wizard.WaitUntil(
            [&] {
                return wizard.Text(kNext) == kFinishCaption && wizard.Enabled(kNext) &&
                       wizard.Text(kTitle) != welcomeTitle;
            },
            timeoutMs))
        return ::testing::AssertionFailure()
               << "no result page; body reads \"" << wizard.Text(kBody) << "\"";
    return ::testing::AssertionSuccess();
}

}  // namespace quorvel::test
