#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ComPortLink.h"
#include "RegistrySnapshot.h"
#include "UnixCommand.h"
#include "WinePaths.h"
#include "WizardRig.h"

// Cards that misbehave and ports that are no ports: the program must end inside its own time
// windows with the right outcome, hold no port it should have let go, and write nothing.

namespace quorvel::test {
namespace {

constexpr char kConfig[] = "[K3000]\r\nCDROM_COMMAND=1\r\nDIAG_COMMAND=0\r\n";
// Long enough for a 30-second answer window and Wine's start-up around it.
constexpr DWORD kLongestRunMs = 45000;

struct Seconds {
    double least;
    double most;
};

// What a run may change: nothing in the registry, nothing in the configuration file.
class NothingWritten {
  public:
    explicit NothingWritten(WizardRig& rig)
        : iniUnixPath_(rig.WorkDirectory() + "/Quorvel.ini"),
          iniPath_(UnixToWindowsPath(iniUnixPath_)),
          registry_(RegistrySnapshot::Take()),
          ini_(ReadUnixFile(iniUnixPath_)),
          iniWritten_(LastWrite()) {}

    void Check() const {
        EXPECT_EQ(RegistrySnapshot::Take().ChangesSince(registry_), std::vector<std::string>{});
        EXPECT_GT(registry_.Size(), 100u) << "the snapshot saw too little of the registry";
        EXPECT_EQ(ReadUnixFile(iniUnixPath_), ini_);
        EXPECT_EQ(LastWrite(), iniWritten_);
    }

  private:
    ULONGLONG LastWrite() const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(iniPath_.c_str(), GetFileExInfoStandard, &data)) return 0;
        return (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) |
               data.ftLastWriteTime.dwLowDateTime;
    }
    std::string iniUnixPath_;
    std::string iniPath_;
    RegistrySnapshot registry_;
    std::string ini_;
    ULONGLONG iniWritten_;
};

// The terminal behind the card's link, read while the card is still there.
std::string TerminalOf(const CardSimProcess& card) {
    const std::string out = card.WorkDirectory() + "/terminal";
    if (!RunShellScript("readlink " + ShellQuote(card.LinkPath()) + " >" + ShellQuote(out)))
        return "";
    std::string path = ReadUnixFile(out);
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r'))
        path.pop_back();
    return path;
}

// True when no process but the simulated card itself holds the terminal open.
bool OnlyTheCardHolds(const std::string& terminal) {
    return RunShellScript(
        "for l in $(find /proc/[0-9]*/fd -lname " + ShellQuote(terminal) +
        " 2>/dev/null); do p=${l#/proc/}; p=${p%%/*}; "
        "[ \"$(cat /proc/$p/comm 2>/dev/null)\" = cardsim ] || exit 1; done; exit 0");
}

double SecondsSince(DWORD start) {
    return (GetTickCount() - start) / 1000.0;
}

// --- silent runs

struct SilentCase {
    const char* name;
    std::vector<std::string> cardArgs;  // empty name: no card, COM7 linked to `linkTarget`
    const char* linkTarget;
    std::vector<std::string> transcript;
    DWORD exitCode;
    Seconds took;
};

void PrintTo(const SilentCase& c, std::ostream* os) {
    *os << c.name;
}

class HostileSilentRun : public ::testing::TestWithParam<SilentCase> {
  protected:
    WizardRig rig;
};

TEST_P(HostileSilentRun, EndsInItsWindowWithTheOutcomeAndWritesNothing) {
    const SilentCase& c = GetParam();
    std::unique_ptr<ComPortLink> link;
    if (c.linkTarget != nullptr) {
        ASSERT_TRUE(rig.RegisterCard());
        link = std::make_unique<ComPortLink>(kRigCom, c.linkTarget);
        ASSERT_TRUE(link->Made());
    } else {
        ASSERT_TRUE(rig.PlugInCard(c.cardArgs));
    }
    ASSERT_TRUE(rig.WriteConfig(kConfig));
    const NothingWritten nothingWritten(rig);

    const DWORD start = GetTickCount();
    ASSERT_TRUE(rig.StartProgram({"-s", "2"}));
    const UnseenRun run = rig.driver.WaitForExitUnseen(kLongestRunMs);
    const double took = SecondsSince(start);
    ASSERT_TRUE(run.exited) << "still running after " << took << " s";
    std::printf("  ended after %.1f s with exit status %lu\n", took, rig.driver.ExitCode());
    EXPECT_EQ(run.shownWindow, "");
    EXPECT_EQ(rig.driver.ExitCode(), c.exitCode);
    EXPECT_GE(took, c.took.least);
    EXPECT_LE(took, c.took.most);
    if (c.linkTarget == nullptr) {
        EXPECT_EQ(rig.card.Transcript(), c.transcript);
    }
    nothingWritten.Check();
}

const std::vector<std::string> kSwitchOnly = {"ATE0\\r", "at^u2diag=2\\r"};
const std::vector<std::string> kSwitchAndReset = {"ATE0\\r", "at^u2diag=2\\r", "at+cfun=4\\r",
                                                  "at+cfun=6\\r"};

const SilentCase kSilentCases[] = {
    // Half of "\r\nOK\r\n" arrives, then the terminal goes: the switch runs out its window.
    {"CardVanishesInTheMiddleOfTheReply",
     {"--reply", "at^u2diag=VANISH", "--split", "at^u2diag=3:500"},
     nullptr,
     kSwitchOnly,
     1,
     {29, 40}},
    {"CardFloodsWithoutAFinalResult",
     {"--reply", "at^u2diag=FLOOD"},
     nullptr,
     kSwitchOnly,
     1,
     {29, 40}},
    {"NulAndEightBitBytesBeforeTheResult",
     {"--reply", "*=RAW:\\x00\\xff\\x80\\xe9\\x00\\r\\nOK\\r\\n"},
     nullptr,
     kSwitchAndReset,
     0,
     {0, 15}},
    // The switch's window takes in the poll at 30 seconds elapsed.
    {"CardAnswersAfter29Seconds",
     {"--delay", "at^u2diag=29000"},
     nullptr,
     kSwitchAndReset,
     0,
     {29, 40}},
    {"CardAnswersAfter31Seconds",
     {"--delay", "at^u2diag=31000"},
     nullptr,
     kSwitchOnly,
     1,
     {29, 40}},
    {"PortLinkedToANullDevice", {}, "/dev/null", {}, 3, {0, 15}},
    {"PortLinkedToADirectory", {}, "/tmp", {}, 3, {0, 15}},
};

INSTANTIATE_TEST_SUITE_P(Cases, HostileSilentRun, ::testing::ValuesIn(kSilentCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- the wizard

// The card vanishes while the wizard waits for the switch's answer: the result page tells of
// the failure once the window has run out, and the port is let go.
TEST(HostileWizard, CardVanishingDuringTheSwitchEndsOnTheFailurePage) {
    WizardRig rig;
    ASSERT_TRUE(rig.PlugInCard({"--reply", "at^u2diag=VANISH", "--split", "at^u2diag=3:500"}));
    ASSERT_TRUE(rig.WriteConfig(kConfig));
    const std::string terminal = TerminalOf(rig.card);
    ASSERT_FALSE(terminal.empty());
    const NothingWritten nothingWritten(rig);
    ASSERT_TRUE(rig.StartWizard());
    WizardDriver& wizard = rig.driver;

    const DWORD pressed = GetTickCount();
    ASSERT_TRUE(wizard.Click(1001));
    ASSERT_TRUE(wizard.WaitForText(1004, "\r\n\r\nUpdate Failed!", kLongestRunMs));
    const double took = SecondsSince(pressed);
    std::printf("  result page %.1f s after Next\n", took);
    EXPECT_GE(took, 29);
    EXPECT_LE(took, 40);
    EXPECT_EQ(wizard.Text(1000), "Unknown error!");
    EXPECT_TRUE(OnlyTheCardHolds(terminal)) << terminal << " is still held open";

    ASSERT_TRUE(wizard.Click(1001));
    ASSERT_TRUE(wizard.WaitForExit());
    EXPECT_EQ(wizard.ExitCode(), 0u);
    nothingWritten.Check();
}

// NUL and 8-bit bytes in the model's answer: the NULs are dropped, the 8-bit bytes kept as
// the card sent them, and the model is found in a file that names it byte for byte.
TEST(HostileWizard, EightBitModelNameIsShownAsSentAndFoundInTheFile) {
    WizardRig rig;
    ASSERT_TRUE(
        rig.PlugInCard({"--reply", "AT+CGMM=RAW:\\r\\nQ\\xc4\\x00\\xe9Z\\r\\n\\r\\nOK\\r\\n"}));
    ASSERT_TRUE(rig.WriteConfig("[Q\xc4\xe9Z]\r\nCDROM_COMMAND=1\r\nDIAG_COMMAND=0\r\n"));
    const NothingWritten nothingWritten(rig);
    ASSERT_TRUE(rig.StartWizard());
    WizardDriver& wizard = rig.driver;

    char title[256] = {};
    GetWindowTextA(wizard.Control(1004), title, sizeof title);
    EXPECT_EQ(std::string(title),
              "\r\nWelcome to KELTRO Quorvel Wizard\r\nThe Card type is Q\xc4\xe9Z");
    EXPECT_EQ(wizard.Text(1001), "&Next");

    ASSERT_TRUE(wizard.Click(1002));
    HWND box = wizard.WaitForDialog(kConfirmBoxCaption);
    ASSERT_TRUE(wizard.Answer(box, IDYES));
    ASSERT_TRUE(wizard.WaitForExit());
    EXPECT_EQ(rig.card.Transcript(), (std::vector<std::string>{"ATE0\\r", "AT+CGMM\\r"}));
    nothingWritten.Check();
}

}  // namespace
}  // namespace quorvel::test
