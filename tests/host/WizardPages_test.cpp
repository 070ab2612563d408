#include "ui/WizardPages.h"

#include <gtest/gtest.h>

#include "RecordingView.h"
#include "Rig.h"

namespace quorvel::test {
namespace {

// The wizard over the installed card. The card's sends go into the view's log, so a test sees
// them in order with what the pages did.
struct Wizard : Rig {
    Wizard() { CardInstalled().card.log = &view.log; }

    RecordingView view;
    WizardPages pages{view, operations, state};
};

using Arrange = std::function<void(Wizard&)>;

// What the progress page does, ending with the paint that must come before the thread blocks.
// clang-format off
const std::vector<std::string> kProgressPage = {"text 1000=\r\n\r\n[106]", "disable 1006", "hide 1006", "disable 1007", "hide 1007", "disable 1001", "disable 1002", "paint"};
// clang-format on

// The welcome page tells the card type, and why it cannot be switched. Its Next paints the
// progress page, switches and shows the result page (none when the run was told to end
// meanwhile), whose Finish (like the welcome page's after a failure) paints the progress page
// again and closes without sending anything.
TEST(WizardPages, WelcomeThenNextThenFinish) {
    const std::string sw0 = "at^u2diag=0\r", typed = "[104]\r\nThe Card type is K3000|";
    const int first = IDC_FIRST_CHOICE;
    const Arrange none = [](Wizard&) {};
    // clang-format off
    const struct { const char* name; Arrange arrange; std::string welcome; int checked = 0; std::string sent = {}; std::string title = {}; std::string body = {}; std::size_t pauses = 0; std::string radios = "CD-ROM To Diag|Diag To CD-ROM"; } cases[] = {
        {"first radio sends the Diag number", none, typed + "[105]", first, sw0, "[107]", "[113]"},
        {"second radio sends the CD-ROM number, custom labels as written", [](Wizard& w) { w.profile.values["K3000"]["CDROM_DISPLAY"] = "Modem & Diag"; w.profile.values["K3000"]["DIAG_DISPLAY"] = "Back"; }, typed + "[105]", IDC_SECOND_CHOICE, "at^u2diag=1\r", "[107]", "[113]", 0, "Modem && Diag|Back"},
        {"neither radio: nothing sent", none, typed + "[105]", 0, "", "[107]", "[113]"},
        {"switch refused", [&](Wizard& w) { w.card.replies[sw0] = Now("\r\nERROR\r\n"); }, typed + "[105]", first, sw0, "[115]", "[114]"},
        {"a late OK to the type query does not answer the switch", [&](Wizard& w) { w.card.replies["AT+CGMM\r"].push_back({kOnNextOpen, "\r\nOK\r\n"}); w.card.replies[sw0] = Now("\r\nERROR\r\n"); }, typed + "[105]", first, sw0, "[115]", "[114]"},
        {"a quit during the switch: no result page", [](Wizard& w) { w.view.quitRequested = true; }, typed + "[105]", first, sw0},
        {"card vanishes during the switch", [&](Wizard& w) { w.card.replies[sw0] = {}; w.card.unplugAfter = sw0; }, typed + "[105]", first, sw0, "[115]", "[114]", 31},
        {"card gone since the welcome page", [](Wizard& w) { w.card.unplugAfter = "AT+CGMM\r"; }, typed + "[105]", first, "", "[115]", "[110]"},
        {"no card", [](Wizard& w) { w.devices.present.clear(); }, "[104]|[109]"},
        {"card gone after the handshake", [](Wizard& w) { w.card.unplugAfter = "ATE0\r"; }, "[104]|[110]"},
        {"no handshake", [](Wizard& w) { w.card.replies["ATE0\r"] = {}; }, "[104]|[111]"},
        {"type query unanswered", [](Wizard& w) { w.card.replies["AT+CGMM\r"] = {}; }, "[104]|[114]"},
        {"an empty type is not configured", [](Wizard& w) { w.card.replies["AT+CGMM\r"] = Now("\r\n\r\nOK\r\n"); }, "[104]|[117]"},
        {"configuration missing", [](Wizard& w) { w.profile.files.clear(); }, typed + "[116]"},
        {"configuration without sections", [](Wizard& w) { w.profile.sectionList.clear(); }, typed + "[118]"},
        {"card type not configured", [](Wizard& w) { w.profile.sectionList = std::string("OTHER\0", 6); }, typed + "[117]"},
        {"switch number missing", [](Wizard& w) { w.profile.values["K3000"].erase("DIAG_COMMAND"); }, typed + "[119]"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Wizard wizard;
        c.arrange(wizard);
        wizard.view.checked = c.checked;

        wizard.pages.ShowSearchingPage();
        EXPECT_EQ(wizard.view.texts[IDC_BODY_TEXT], kSearchingText);
        wizard.pages.QueryCard();
        wizard.pages.ShowWelcomePage();

        const bool ready = c.welcome == typed + "[105]";
        auto& texts = wizard.view.texts;
        EXPECT_EQ(texts[IDC_TITLE_TEXT] + "|" + texts[IDC_BODY_TEXT], c.welcome);
        EXPECT_EQ(texts[IDC_NEXT_BUTTON], ready ? "&Next" : "&Finish");
        EXPECT_EQ(texts[IDC_FIRST_CHOICE] + "|" + texts[IDC_SECOND_CHOICE], c.radios);
        EXPECT_FALSE(wizard.card.IsOpen());
        EXPECT_LE(wizard.card.sent.size(), 2u) << "the switch waits for Next";
        wizard.clock.sleeps.clear();
        wizard.view.log.clear();

        wizard.pages.OnNext();

        std::vector<std::string> expected = kProgressPage;
        if (!c.sent.empty()) expected.push_back("send " + c.sent);
        if (!ready) expected.push_back("close");
        const bool resultPage = ready && !c.title.empty();
        if (resultPage)
            expected.insert(expected.end(),
                            {"disable 1002", "text 1001=&Finish", "enable 1001",
                             "text 1000=" + c.body, "text 1005=[108]", "text 1004=" + c.title});
        EXPECT_EQ(wizard.view.log, expected);
        EXPECT_EQ(wizard.clock.sleeps.size(), c.pauses);
        EXPECT_FALSE(wizard.card.IsOpen());
        if (!resultPage) continue;

        wizard.view.log.clear();
        wizard.pages.OnNext();  // Finish: sends nothing, as the log shows
        expected = kProgressPage;
        expected.push_back("close");
        EXPECT_EQ(wizard.view.log, expected);
    }
}

// No leaves the page as it was: the view logs every change. Yes closes.
TEST(ConfirmExit, AsksAndClosesOnlyOnYes) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        Wizard wizard;
        wizard.view.answerYes = yes;
        wizard.pages.ConfirmExit();
        std::vector<std::string> expected = {"ask Quorvel: Are you sure exit!"};
        if (yes) expected.push_back("close");
        EXPECT_EQ(wizard.view.log, expected);
    }
}

}  // namespace
}  // namespace quorvel::test
