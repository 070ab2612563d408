#include "ui/WizardPages.h"

#include <gtest/gtest.h>

#include <functional>

#include "CardRig.h"
#include "RecordingView.h"
#include "ui/resources/ResourceIds.h"

namespace quorvel::test {
namespace {

constexpr char kK3000Config[] = "[K3000]\nCDROM_COMMAND=1\nDIAG_COMMAND=0\n";

struct WizardRig : CardRig {
    WizardRig() {
        AnswerAsCard();
        InstallModem(7);
        WriteConfig(kK3000Config);
    }
    std::vector<std::string> LogFrom(std::size_t first) const {
        return {view.log.begin() + static_cast<std::ptrdiff_t>(first), view.log.end()};
    }
    RecordingView view;
    WizardPages pages{view, operations, state};
};

struct WelcomeCase {
    const char* name;
    std::function<void(WizardRig&)> arrange;
    std::string title;
    std::string body;
    std::string nextCaption;
    std::string firstRadio;
    std::string secondRadio;
};

const WelcomeCase kWelcomeCases[] = {
    {"card and configuration in order", [](WizardRig&) {}, "[104]\r\nThe Card type is K3000",
     "[105]", "&Next", "CD-ROM To Diag", "Diag To CD-ROM"},
    {"custom labels",
     [](WizardRig& rig) {
         rig.WriteConfig(std::string(kK3000Config) +
                         "CDROM_DISPLAY=Install to modem\nDIAG_DISPLAY=Modem to install\n");
     },
     "[104]\r\nThe Card type is K3000", "[105]", "&Next", "Install to modem", "Modem to install"},
    {"no card", [](WizardRig& rig) { rig.devices = FakeDeviceInventory(); }, "[104]", "[109]",
     "&Finish", "CD-ROM To Diag", "Diag To CD-ROM"},
    {"port gone before the type query", [](WizardRig& rig) { rig.card.UnplugAfter("ATE0\r"); },
     "[104]", "[110]", "&Finish", "CD-ROM To Diag", "Diag To CD-ROM"},
    {"no handshake", [](WizardRig& rig) { rig.card.OnCommand("ATE0\r", kSilence); }, "[104]",
     "[111]", "&Finish", "CD-ROM To Diag", "Diag To CD-ROM"},
    {"no answer to the type query",
     [](WizardRig& rig) { rig.card.OnCommand("AT+CGMM\r", kSilence); }, "[104]", "[114]", "&Finish",
     "CD-ROM To Diag", "Diag To CD-ROM"},
    {"type query not written", [](WizardRig& rig) { rig.card.FailWriteOf("AT+CGMM\r"); }, "[104]",
     "[114]", "&Finish", "CD-ROM To Diag", "Diag To CD-ROM"},
    {"configuration missing", [](WizardRig& rig) { rig.files = InMemoryFiles(); }, "[104]", "[116]",
     "&Finish", "CD-ROM To Diag", "Diag To CD-ROM"},
    {"card type not configured", [](WizardRig& rig) { rig.WriteConfig("[OTHER]\n"); }, "[104]",
     "[117]", "&Finish", "CD-ROM To Diag", "Diag To CD-ROM"},
    {"configuration without sections", [](WizardRig& rig) { rig.WriteConfig("; empty\n"); },
     "[104]", "[118]", "&Finish", "CD-ROM To Diag", "Diag To CD-ROM"},
    {"switch number missing", [](WizardRig& rig) { rig.WriteConfig("[K3000]\nDIAG_COMMAND=0\n"); },
     "[104]", "[119]", "&Finish", "CD-ROM To Diag", "Diag To CD-ROM"},
};

TEST(WelcomePage, ShowsTheCardTypeOrWhyItCannotBeSwitched) {
    for (const WelcomeCase& c : kWelcomeCases) {
        SCOPED_TRACE(c.name);
        WizardRig rig;
        c.arrange(rig);

        rig.pages.ShowWelcomePage();

        EXPECT_EQ(rig.view.log.front(), "title font 1004");
        EXPECT_EQ(rig.view.texts[IDC_TITLE_TEXT], c.title);
        EXPECT_EQ(rig.view.texts[IDC_BODY_TEXT], c.body);
        EXPECT_EQ(rig.view.texts[IDC_NEXT_BUTTON], c.nextCaption);
        EXPECT_EQ(rig.view.texts[IDC_FIRST_CHOICE], c.firstRadio);
        EXPECT_EQ(rig.view.texts[IDC_SECOND_CHOICE], c.secondRadio);
        for (int radio : {IDC_FIRST_CHOICE, IDC_SECOND_CHOICE}) {
            EXPECT_TRUE(rig.view.visible[radio] && rig.view.enabled[radio]);
        }
        EXPECT_FALSE(rig.card.IsOpen());
    }
}

const std::vector<std::string> kProgressPage = {
    "text 1000=\r\n\r\n[106]",
    "disable 1006",
    "hide 1006",
    "disable 1007",
    "hide 1007",
    "disable 1001",
    "disable 1002",
    "paint",
};

struct ResultCase {
    const char* name;
    int checkedRadio;
    std::function<void(WizardRig&)> arrange;
    std::vector<std::string> sent;
    std::string title;
    std::string body;
};

const ResultCase kResultCases[] = {
    {"first choice answered OK",
     IDC_FIRST_CHOICE,
     [](WizardRig&) {},
     {"at^u2diag=0\r"},
     "[107]",
     "[113]"},
    {"second choice answered OK",
     IDC_SECOND_CHOICE,
     [](WizardRig&) {},
     {"at^u2diag=1\r"},
     "[107]",
     "[113]"},
    {"switch not answered",
     IDC_FIRST_CHOICE,
     [](WizardRig& rig) { rig.card.OnCommand("at^u2diag=0\r", kSilence); },
     {"at^u2diag=0\r"},
     "[115]",
     "[114]"},
    {"card gone since the welcome page",
     IDC_FIRST_CHOICE,
     [](WizardRig& rig) { rig.card.Unplug(); },
     {},
     "[115]",
     "[110]"},
    {"neither radio checked: nothing sent, the welcome status shown",
     0,
     [](WizardRig&) {},
     {},
     "[107]",
     "[113]"},
};

TEST(NextOnWelcomePage, ShowsProgressThenSwitchesThenShowsTheResult) {
    for (const ResultCase& c : kResultCases) {
        SCOPED_TRACE(c.name);
        WizardRig rig;
        rig.pages.ShowWelcomePage();
        rig.view.checkedRadio = c.checkedRadio;
        c.arrange(rig);
        const std::size_t welcomeSends = rig.card.Received().size();
        const std::size_t logStart = rig.view.log.size();

        rig.pages.OnNext();

        const std::vector<std::string> sent(
            rig.card.Received().begin() + static_cast<std::ptrdiff_t>(welcomeSends),
            rig.card.Received().end());
        EXPECT_EQ(sent, c.sent);
        std::vector<std::string> expected = kProgressPage;
        for (const std::string& step :
             {std::string("disable 1002"), std::string("text 1001=&Finish"),
              std::string("enable 1001"), "text 1000=" + c.body, std::string("text 1005=[108]"),
              "text 1004=" + c.title}) {
            expected.push_back(step);
        }
        EXPECT_EQ(rig.LogFrom(logStart), expected);
        EXPECT_FALSE(rig.view.closed);
        EXPECT_FALSE(rig.card.IsOpen());
    }
}

TEST(FinishButton, ShowsProgressThenCloses) {
    WizardRig rig;
    rig.devices = FakeDeviceInventory();
    rig.pages.ShowWelcomePage();
    ASSERT_EQ(rig.view.texts[IDC_NEXT_BUTTON], "&Finish");
    const std::size_t logStart = rig.view.log.size();

    rig.pages.OnNext();

    std::vector<std::string> expected = kProgressPage;
    expected.push_back("close");
    EXPECT_EQ(rig.LogFrom(logStart), expected);
    EXPECT_TRUE(rig.card.Received().empty());
}

TEST(FinishButton, OnTheResultPageClosesWithoutSwitchingAgain) {
    WizardRig rig;
    rig.pages.ShowWelcomePage();
    rig.pages.OnNext();
    const std::size_t sends = rig.card.Received().size();

    rig.pages.OnNext();

    EXPECT_TRUE(rig.view.closed);
    EXPECT_EQ(rig.card.Received().size(), sends);
    EXPECT_EQ(rig.view.texts[IDC_BODY_TEXT], "\r\n\r\n[106]");
}

TEST(ConfirmExit, AsksAndClosesOnlyOnYes) {
    for (bool yes : {false, true}) {
        WizardRig rig;
        rig.view.answerYes = yes;
        rig.pages.ConfirmExit();
        EXPECT_EQ(rig.view.questions, std::vector<std::string>{"Quorvel: Are you sure exit!"});
        EXPECT_EQ(rig.view.closed, yes);
        EXPECT_TRUE(rig.card.Received().empty());
    }
}

TEST(SilentRun, SwitchesAndClosesWithoutShowingAnything) {
    WizardRig rig;
    rig.state.silentFlag = 1;
    rig.state.silentValue = 2;

    EXPECT_TRUE(rig.pages.RunSilentSwitchIfAsked());

    EXPECT_EQ(rig.view.log, std::vector<std::string>{"close"});
    EXPECT_EQ(rig.pages.SilentOutcome(), kStatusSuccess);
    EXPECT_EQ(rig.card.Received(),
              (std::vector<std::string>{"ATE0\r", "at^u2diag=2\r", "at+cfun=4\r", "at+cfun=6\r"}));
}

TEST(SilentRun, ReportsTheFailingStep) {
    WizardRig rig;
    rig.state.silentFlag = 1;
    rig.card.OnCommand("at^u2diag=-1\r", kErrorReply);
    EXPECT_TRUE(rig.pages.RunSilentSwitchIfAsked());
    EXPECT_EQ(rig.pages.SilentOutcome(), kStatusNoAnswer);
}

TEST(SilentRun, OnlyWhenTheFlagIsOne) {
    for (int flag : {0, 2, -1}) {
        WizardRig rig;
        rig.state.silentFlag = flag;
        EXPECT_FALSE(rig.pages.RunSilentSwitchIfAsked());
        EXPECT_TRUE(rig.view.log.empty());
        EXPECT_TRUE(rig.card.Received().empty());
    }
}

}  // namespace
}  // namespace quorvel::test
