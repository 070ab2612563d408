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

TEST(WelcomePage, ShowsTheCardTypeOrWhyItCannotBeSwitched) {
    const std::string typed = "[104]\r\nThe Card type is K3000",
                      builtIn = "CD-ROM To Diag|Diag To CD-ROM";
    // clang-format off
    const struct { const char* name; Arrange arrange; std::string title; std::string body; std::string next; std::string radios; } cases[] = {
        {"card and configuration in order", [](Wizard&) {}, typed, "[105]", "&Next", builtIn},
        {"custom labels", [](Wizard& w) { w.profile.values["K3000"]["CDROM_DISPLAY"] = "To Diag"; w.profile.values["K3000"]["DIAG_DISPLAY"] = "Back"; }, typed, "[105]", "&Next", "To Diag|Back"},
        {"no card", [](Wizard& w) { w.devices.present.clear(); }, "[104]", "[109]", "&Finish", builtIn},
        {"card gone after the handshake", [](Wizard& w) { w.card.unplugAfter = "ATE0\r"; }, "[104]", "[110]", "&Finish", builtIn},
        {"no handshake", [](Wizard& w) { w.card.replies["ATE0\r"] = {}; }, "[104]", "[111]", "&Finish", builtIn},
        {"type query unanswered", [](Wizard& w) { w.card.replies["AT+CGMM\r"] = {}; }, "[104]", "[114]", "&Finish", builtIn},
        {"an empty type is not configured", [](Wizard& w) { w.card.replies["AT+CGMM\r"] = Now("\r\n\r\nOK\r\n"); }, "[104]", "[117]", "&Finish", builtIn},
        {"configuration missing", [](Wizard& w) { w.profile.files.clear(); }, "[104]", "[116]", "&Finish", builtIn},
        {"configuration without sections", [](Wizard& w) { w.profile.sectionList.clear(); }, "[104]", "[118]", "&Finish", builtIn},
        {"card type not configured", [](Wizard& w) { w.profile.sectionList = std::string("OTHER\0", 6); }, "[104]", "[117]", "&Finish", builtIn},
        {"switch number missing", [](Wizard& w) { w.profile.values["K3000"].erase("DIAG_COMMAND"); }, "[104]", "[119]", "&Finish", builtIn},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Wizard wizard;
        c.arrange(wizard);

        wizard.pages.ShowWelcomePage();

        auto& texts = wizard.view.texts;
        EXPECT_EQ(texts[IDC_TITLE_TEXT], c.title);
        EXPECT_EQ(texts[IDC_BODY_TEXT], c.body);
        EXPECT_EQ(texts[IDC_NEXT_BUTTON], c.next);
        EXPECT_EQ(texts[IDC_FIRST_CHOICE] + "|" + texts[IDC_SECOND_CHOICE], c.radios);
        EXPECT_FALSE(wizard.card.IsOpen());
    }
}

// What the progress page does, ending with the paint that must come before the thread blocks.
// clang-format off
const std::vector<std::string> kProgressPage = {"text 1000=\r\n\r\n[106]", "disable 1006", "hide 1006", "disable 1007", "hide 1007", "disable 1001", "disable 1002", "paint"};
// clang-format on

TEST(NextAndFinish, PaintProgressThenSwitchShowTheResultAndClose) {
    const std::string sw0 = "at^u2diag=0\r";
    const int first = IDC_FIRST_CHOICE;
    // clang-format off
    const struct { const char* name; int checked; Arrange arrange; std::string sent; std::string title; std::string body; std::size_t pauses; } cases[] = {
        {"first radio sends the Diag number", first, [](Wizard&) {}, sw0, "[107]", "[113]", 0},
        {"second radio sends the CD-ROM number", IDC_SECOND_CHOICE, [](Wizard&) {}, "at^u2diag=1\r", "[107]", "[113]", 0},
        {"neither radio: nothing sent", 0, [](Wizard&) {}, "", "[107]", "[113]", 0},
        {"switch refused", first, [&](Wizard& w) { w.card.replies[sw0] = Now("\r\nERROR\r\n"); }, sw0, "[115]", "[114]", 0},
        {"a late OK to the type query does not answer the switch", first, [&](Wizard& w) { w.card.replies["AT+CGMM\r"].push_back({kOnNextOpen, "\r\nOK\r\n"}); w.card.replies[sw0] = Now("\r\nERROR\r\n"); }, sw0, "[115]", "[114]", 0},
        {"card vanishes during the switch", first, [&](Wizard& w) { w.card.replies[sw0] = {}; w.card.unplugAfter = sw0; }, sw0, "[115]", "[114]", 31},
        {"card gone since the welcome page", first, [](Wizard& w) { w.card.unplugAfter = "AT+CGMM\r"; }, "", "[115]", "[110]", 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Wizard wizard;
        c.arrange(wizard);
        wizard.pages.ShowWelcomePage();
        EXPECT_EQ(wizard.card.sent, (std::vector<std::string>{"ATE0\r", "AT+CGMM\r"}));
        wizard.view.checked = c.checked;
        wizard.clock.sleeps.clear();
        wizard.view.log.clear();

        wizard.pages.OnNext();

        std::vector<std::string> expected = kProgressPage;
        if (!c.sent.empty()) expected.push_back("send " + c.sent);
        expected.insert(expected.end(),
                        {"disable 1002", "text 1001=&Finish", "enable 1001", "text 1000=" + c.body,
                         "text 1005=[108]", "text 1004=" + c.title});
        EXPECT_EQ(wizard.view.log, expected);
        EXPECT_EQ(wizard.clock.sleeps.size(), c.pauses);
        EXPECT_FALSE(wizard.card.IsOpen());

        // Finish: the progress page again, then the dialog closes; nothing more is sent.
        const std::vector<std::string> sent = wizard.card.sent;
        wizard.view.log.clear();
        wizard.pages.OnNext();
        expected = kProgressPage;
        expected.push_back("close");
        EXPECT_EQ(wizard.view.log, expected);
        EXPECT_EQ(wizard.card.sent, sent);
    }
}

// No keeps the page as it was (here the welcome page); Yes closes (here the result page).
TEST(ConfirmExit, AsksAndClosesOnlyOnYes) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        Wizard wizard;
        wizard.pages.ShowWelcomePage();
        if (yes) wizard.pages.OnNext();
        wizard.view.answerYes = yes;
        const auto page = wizard.view.texts;
        wizard.view.log.clear();

        wizard.pages.ConfirmExit();

        std::vector<std::string> expected = {"ask Quorvel: Are you sure exit!"};
        if (yes) expected.push_back("close");
        EXPECT_EQ(wizard.view.log, expected);
        EXPECT_EQ(wizard.view.texts, page);
    }
}

}  // namespace
}  // namespace quorvel::test
