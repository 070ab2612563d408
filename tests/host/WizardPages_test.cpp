#include "ui/WizardPages.h"

#include <gtest/gtest.h>

#include "fakes/RecordingView.h"
#include "fakes/Rig.h"

namespace quorvel::test {
namespace {

// The wizard over the installed card.
struct Wizard : Rig {
    Wizard() { CardInstalled(); }

    RecordingView view;
    WizardPages pages{view, operations, state, trace};
};

using Arrange = std::function<void(Wizard&)>;

// The welcome page tells the card type, and why it cannot be switched. Its Next switches and
// shows the result page, whose Finish (like the welcome page's after a failure) closes without
// sending anything.
TEST(WizardPages, WelcomeThenNextThenFinish) {
    const std::string sw0 = "at^u2diag=0\r", typed = "[104]\r\nThe Card type is K3000|";
    const std::string ready = typed + "[105]";
    const int first = IDC_FIRST_CHOICE, second = IDC_SECOND_CHOICE;
    const Arrange none = [](Wizard&) {};
    const Reply error = Now("\r\nERROR\r\n");
    // Each row: the name, how the machine differs from the installed card, the welcome page
    //   (title|body), radio checked, switch sent, result title and body, pauses of the switch,
    //   radio labels. No result title: the welcome page's Finish closes, sending nothing.
    // clang-format off
    const struct {
        const char* name; Arrange arrange; std::string welcome; int checked = 0;
        std::string sent = ""; std::string title = ""; std::string body = "";
        std::size_t pauses = 0; std::string radios = "CD-ROM To Diag|Diag To CD-ROM";
    } cases[] = {
        {"first radio sends the Diag number", none, ready, first, sw0, "[107]", "[113]"},
        {"second radio sends the CD-ROM number, custom labels as written",
         [](Wizard& w) { w.profile.values["K3000"]["CDROM_DISPLAY"] = "Modem & Diag";
                         w.profile.values["K3000"]["DIAG_DISPLAY"] = "Back"; },
         ready, second, "at^u2diag=1\r", "[107]", "[113]", 0, "Modem && Diag|Back"},
        {"neither radio: nothing sent", none, ready, 0, "", "[107]", "[113]"},
        {"switch refused", [&](Wizard& w) { w.card.replies[sw0] = error; },
         ready, first, sw0, "[115]", "[114]"},
        {"a late OK to the type query does not answer the switch",
         [&](Wizard& w) { w.card.replies["AT+CGMM\r"].push_back({kOnNextOpen, "\r\nOK\r\n"});
                          w.card.replies[sw0] = error; },
         ready, first, sw0, "[115]", "[114]"},
        {"card vanishes during the switch",
         [&](Wizard& w) { w.card.replies[sw0] = {}; w.card.unplugAfter = sw0; },
         ready, first, sw0, "[115]", "[114]", 31},
        {"card gone since the welcome page", [](Wizard& w) { w.card.unplugAfter = "AT+CGMM\r"; },
         ready, first, "", "[115]", "[110]"},
        {"no card", [](Wizard& w) { w.devices.present.clear(); }, "[104]|[109]"},
        {"card gone after the handshake", [](Wizard& w) { w.card.unplugAfter = "ATE0\r"; },
         "[104]|[110]"},
        {"no handshake", [](Wizard& w) { w.card.replies["ATE0\r"] = {}; }, "[104]|[111]"},
        {"type query unanswered", [](Wizard& w) { w.card.replies["AT+CGMM\r"] = {}; },
         "[104]|[114]"},
        {"an empty type is not configured",
         [](Wizard& w) { w.card.replies["AT+CGMM\r"] = Now("\r\n\r\nOK\r\n"); }, "[104]|[117]"},
        {"configuration missing", [](Wizard& w) { w.profile.files.clear(); }, typed + "[116]"},
        {"configuration without sections", [](Wizard& w) { w.profile.sectionList.clear(); },
         typed + "[118]"},
        {"card type not configured",
         [](Wizard& w) { w.profile.sectionList = std::string("OTHER\0", 6); }, typed + "[117]"},
        {"switch number missing",
         [](Wizard& w) { w.profile.values["K3000"].erase("DIAG_COMMAND"); }, typed + "[119]"},
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

        const bool switchable = c.welcome == ready;
        auto& texts = wizard.view.texts;
        EXPECT_EQ(texts[IDC_TITLE_TEXT] + "|" + texts[IDC_BODY_TEXT], c.welcome);
        EXPECT_EQ(texts[IDC_NEXT_BUTTON], switchable ? "&Next" : "&Finish");
        EXPECT_EQ(texts[IDC_FIRST_CHOICE] + "|" + texts[IDC_SECOND_CHOICE], c.radios);
        EXPECT_EQ(wizard.view.lastEnabled, IDC_NEXT_BUTTON) << "Next came on before the rest";
        EXPECT_FALSE(wizard.card.IsOpen());
        const std::size_t welcomeSent = wizard.card.sent.size();
        EXPECT_LE(welcomeSent, 2u) << "the switch waits for Next";
        wizard.clock.sleeps.clear();

        wizard.pages.OnNext();

        const std::vector<std::string> sent(wizard.card.sent.begin() + welcomeSent,
                                            wizard.card.sent.end());
        EXPECT_EQ(sent, c.sent.empty() ? std::vector<std::string>{} : std::vector{c.sent});
        EXPECT_EQ(wizard.clock.sleeps.size(), c.pauses);
        EXPECT_FALSE(wizard.card.IsOpen());
        EXPECT_EQ(wizard.view.closed, c.title.empty()) << "the welcome page's Finish closes";
        if (c.title.empty()) continue;
        EXPECT_EQ(texts[IDC_TITLE_TEXT] + "|" + texts[IDC_BODY_TEXT], c.title + "|" + c.body);
        EXPECT_EQ(texts[IDC_NEXT_BUTTON], "&Finish");

        wizard.pages.OnNext();

        EXPECT_TRUE(wizard.view.closed) << "the result page's Finish closes";
        EXPECT_EQ(wizard.card.sent.size(), welcomeSent + sent.size()) << "Finish sends nothing";
    }
}

}  // namespace
}  // namespace quorvel::test
