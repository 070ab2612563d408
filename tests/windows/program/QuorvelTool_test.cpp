// QuorvelTool.exe from outside, as a user or an installer script meets it: the exit status,
// what the card is sent, the boxes before the wizard, and that a run leaves the registry and
// Quorvel.ini as they were. Every row runs at the same time on a card of its own, so the three
// rows that wait out a 30-second answer window overlap with each other and with the rest.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/Trace.h"
#include "ui/resources/ResourceIds.h"
#include "winedrive/CardSimProcess.h"
#include "winedrive/RegistrySeed.h"
#include "winedrive/RegistrySnapshot.h"
#include "winedrive/Screenshot.h"
#include "winedrive/Wine.h"
#include "winedrive/WizardDriver.h"

namespace quorvel::winedrive {
namespace {

constexpr char kConfig[] = "[K3000]\r\nCDROM_COMMAND=1\r\nDIAG_COMMAND=0\r\n";
// Another file beside the program, whose numbers the card must not get when the current
// folder has its own, and one without the Diag number.
constexpr char kBesideConfig[] = "[K3000]\r\nCDROM_COMMAND=4\r\nDIAG_COMMAND=5\r\n";
constexpr char kWithoutDiag[] = "[K3000]\r\nCDROM_COMMAND=1\r\n";
constexpr char kCjk[] = "\xE6\x95\xB0\xE6\x8D\xAE\xE5\x8D\xA1";           // 数据卡
constexpr char kWrongCount[] = "The number of parameter is wrong, please input again!";
constexpr char kRejected[] = "The  parameter is wrong, please input again!";
constexpr int kFirstCom = 11;
constexpr char kTraceFile[] = "/wine-debug-output";  // in the row's temporary directory
// Long enough for a 30-second answer window and Wine's start-up around it.
constexpr DWORD kLongestRunMs = 45000;
// A row that waits out an answer window takes at least 28.5 s, any other some seconds: the
// line between them lies well clear of both.
constexpr double kWaitedOutSeconds = 20;
// The type query answered at once, and a second "OK" (from byte 15) a second later: the late
// part of a reply that a slow card sends after the program has already taken the answer.
constexpr char kTypeThenStrayOk[] = "AT+CGMM=RAW:\\r\\nK3000\\r\\n\\r\\nOK\\r\\n\\r\\nOK\\r\\n";
constexpr char kTypedTitle[] = "\r\nWelcome to KELTRO Quorvel Wizard\r\nThe Card type is K3000";

enum class Walk {
    kSilent,         // watched until it ends: no window may show
    kHeadless,       // run with no display at all, as on a machine without a desktop
    kWizard,         // the start-up box if any, the wizard, Cancel, Yes
    kStrayThenNext,  // the wizard, the stray OK, Next, the result page, Finish
    kSwitch,         // the wizard, Next, the result page, Finish
    kPressInWait,    // the wizard, Next, presses during the switch's wait, the result page, Finish
    kQuitInWait,     // the wizard, Next, a WM_QUIT during the switch's wait: the run ends itself
    kUnseen,         // on a desktop nobody can see: no box, no wizard, just the exit status
    kSearchInVain,   // the wizard while the card is asked in vain, then its page, Finish
};

struct Row {
    const char* name;
    std::vector<std::string> args;
    Walk walk;
    bool card;
    std::vector<std::string> cardArgs;
    const char* box;  // the start-up box's text; nullptr when none may show
    DWORD exitCode;
    std::vector<std::string> sent;  // the card's transcript
    bool waitsOutWindow;
    const char* title = nullptr;  // the welcome page's title, which then offers the switch
    // Lines of the run's trace, in order, each found as part of a line ("COM#" is the row's
    // port, "INI#" the quoted path of its Quorvel.ini); the exit line must come last. A row
    // that names some runs with Wine's debug output on, read from a file of its own.
    std::vector<std::string> trace = {};
    const char* workFolder = nullptr;     // a folder (UTF-8) of the working directory to start in
    const char* ini = kConfig;            // the Quorvel.ini there; nullptr for none
    const char* programFolder = nullptr;  // a folder of it the program is copied into
    const char* besideIni = nullptr;      // the Quorvel.ini beside that copy
};

// A silent run's commands with `number` in the switch, the first `count` of them.
std::vector<std::string> Silent(const std::string& number, std::size_t count) {
    std::vector<std::string> all = {"ATE0\\r", "at^u2diag=" + number + "\\r", "at+cfun=4\\r",
                                    "at+cfun=6\\r"};
    all.resize(count);
    return all;
}
const std::vector<std::string> kWelcome = {"ATE0\\r", "AT+CGMM\\r"};
// A silent run by mode name that switched with `number`: the type query before the switch.
std::vector<std::string> ByName(const std::string& number) {
    std::vector<std::string> all = Silent(number, 4);
    all.insert(all.begin() + 1, "AT+CGMM\\r");
    return all;
}
const std::vector<std::string> kSilentTrace = {
    "run mode: silent, number 2", R"(opened \\.\COM#)",     R"(send "ATE0\r")",
    R"(send "at^u2diag=2\r")",    R"("at^u2diag=2\r": OK)", R"(send "at+cfun=4\r")",
    R"(send "at+cfun=6\r")",      R"("at+cfun=6\r": OK)"};
const std::vector<std::string> kNoCardTrace = {
    R"(Modem device 0: "KELTRO Datalink - 3G Modem" matches)", R"(open \\.\COM# failed: error )",
    "search the Ports class for the card's UI interface names",
    "Ports class: ", "locate and verify: status 2"};
const std::vector<std::string> kWizardTrace = {R"(card type "K3000")",
                                               "configuration INI#: found",
                                               "page welcome, status 1",
                                               R"(Next: "CD-ROM To Diag")",
                                               R"("at^u2diag=0\r": OK)",
                                               "page result, status 1",
                                               "Finish"};

// The type query answered behind twelve signal notices: more than the reply's 127 bytes.
std::string TypeBehindTwelveNotices() {
    std::string reply = "AT+CGMM=RAW:";
    for (int i = 0; i < 12; ++i)
        reply += "\\r\\n^RSSI:17\\r\\n";
    return reply + "\\r\\nK3000\\r\\n\\r\\nOK\\r\\n";
}

// clang-format off
const Row kRows[] = {
    // The five that wait out a window go first, so that the rest run while they wait.
    {"CardSilentToTheCheck",
     {}, Walk::kSearchInVain, true, {"--reply", "ATE0=NONE"}, nullptr, 0, {"ATE0\\r"}, true},
    {"PressesDuringTheSwitchsWait",
     {}, Walk::kPressInWait, true, {"--reply", "at^u2diag=NONE"}, nullptr, 0,
     {"ATE0\\r", "AT+CGMM\\r", "at^u2diag=0\\r"}, true},
    {"CardVanishesMidReply",
     {"-s", "2"}, Walk::kSilent, true, {"--reply", "at^u2diag=VANISH"}, nullptr, 1, Silent("2", 2),
     true},
    {"CardFloodsWithoutResult",
     {"-s", "2"}, Walk::kSilent, true, {"--reply", "at^u2diag=FLOOD"}, nullptr, 1, Silent("2", 2),
     true},
    {"SwitchAnsweredIn29thSecond",
     {"-s", "2"}, Walk::kSilent, true, {"--delay", "at^u2diag=28500"}, nullptr, 0, Silent("2", 4),
     true},
    // The card answers the switch after six and a half seconds; the quit comes after two.
    {"QuitDuringTheSwitchsWait",
     {}, Walk::kQuitInWait, true, {"--delay", "at^u2diag=6500"}, nullptr, 0,
     {"ATE0\\r", "AT+CGMM\\r", "at^u2diag=0\\r"}, false},
    {"SilentSwitch",
     {"-s", "2"}, Walk::kSilent, true, {}, nullptr, 0, Silent("2", 4), false,
     nullptr, kSilentTrace},
    {"WizardSwitch",
     {}, Walk::kSwitch, true, {}, nullptr, 0, {"ATE0\\r", "AT+CGMM\\r", "at^u2diag=0\\r"}, false,
     nullptr, kWizardTrace},
    {"SwitchRefused",
     {"-s", "2"}, Walk::kSilent, true, {"--reply", "at^u2diag=ERROR"}, nullptr, 1, Silent("2", 2),
     false},
    // The modem's port has nothing behind it, and no other port names the card.
    {"NoCard",
     {"-s", "2"}, Walk::kSilent, false, {}, nullptr, 2, {}, false, nullptr, kNoCardTrace},
    // A silent run makes no window, so it works where none could be made.
    {"NoDisplay", {"-s", "2"}, Walk::kHeadless, true, {}, nullptr, 0, Silent("2", 4), false},
    // A wizard that cannot be shown is no success.
    {"WizardWithoutDisplay", {}, Walk::kHeadless, false, {}, nullptr, 7, {}, false},
    // Where nobody can see the desktop, neither a box nor the wizard waits for a click.
    {"UnseenWrongNumber", {"-s", "5x"}, Walk::kUnseen, true, {}, nullptr, 6, {}, false},
    {"UnseenFlagAlone", {"-s"}, Walk::kUnseen, true, {}, nullptr, 6, {}, false},
    {"UnseenWizard", {}, Walk::kUnseen, true, {}, nullptr, 7, {}, false},
    {"UnseenSilentSwitch",
     {"-s", "1"}, Walk::kUnseen, true, {}, nullptr, 0, Silent("1", 4), false},
    // By mode name: the card type's number from Quorvel.ini, or nothing but the type query.
    {"SilentDiagByName", {"-s", "diag"}, Walk::kSilent, true, {}, nullptr, 0, ByName("0"), false},
    {"ByNameWithoutIni",
     {"-s", "diag"}, Walk::kSilent, true, {}, nullptr, 8, kWelcome, false,
     nullptr, {}, nullptr, nullptr},
    {"ByNameSectionWithoutKey",
     {"-s", "diag"}, Walk::kSilent, true, {}, nullptr, 8, kWelcome, false,
     nullptr, {}, nullptr, kWithoutDiag},
    // Quorvel.ini in folders named outside the ANSI code page, and beside the program.
    {"CjkFolder",
     {}, Walk::kWizard, true, {}, nullptr, 0, kWelcome, false, kTypedTitle, {}, kCjk},
    {"IniBesideProgramInCjkFolder",
     {"-s", "diag"}, Walk::kSilent, true, {}, nullptr, 0, ByName("0"), false,
     nullptr, {}, nullptr, nullptr, kCjk, kConfig},
    {"CurrentFoldersIniFirst",
     {"-S", "CDROM"}, Walk::kSilent, true, {}, nullptr, 0, ByName("1"), false,
     nullptr, {}, nullptr, kConfig, "bin", kBesideConfig},
    // Refused arguments: the card is not touched before the wizard's own queries, and the run
    // exits 6 whatever the wizard did, so that a script can tell its silent run never ran.
    {"FlagWithoutNumber", {"-s"}, Walk::kWizard, true, {}, kWrongCount, 6, kWelcome, false},
    {"SilentWord", {"-s", "abc"}, Walk::kWizard, true, {}, kRejected, 6, kWelcome, false},
    {"SilentWordWithoutDisplay", {"-s", "abc"}, Walk::kHeadless, true, {}, nullptr, 6, {}, false},
    {"TypeBehindTwelveNotices",
     {}, Walk::kWizard, true, {"--reply", TypeBehindTwelveNotices()}, nullptr, 0, kWelcome, false,
     kTypedTitle},
    {"StrayOkThenRefusedSwitch",
     {}, Walk::kStrayThenNext, true,
     {"--reply", kTypeThenStrayOk, "--split", "AT+CGMM=15:1000", "--reply", "at^u2diag=ERROR"},
     nullptr, 0, {"ATE0\\r", "AT+CGMM\\r", "at^u2diag=0\\r"}, false},
};
// clang-format on

// Share of clearly red pixels in a box's icon as the screen shows it: of the four icons a box
// can show, only the error icon is red.
double RedShareOfIcon(HWND box) {
    for (HWND child : WizardDriver::Children(box)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        const Screenshot shot = Screenshot::OfWindow(child);
        int red = 0;
        for (int y = 0; y < shot.Height(); ++y) {
            for (int x = 0; x < shot.Width(); ++x) {
                const COLORREF c = shot.At(x, y);
                red += GetRValue(c) > 160 && GetGValue(c) < 96 && GetBValue(c) < 96;
            }
        }
        return shot.Empty() ? 0 : static_cast<double>(red) / (shot.Width() * shot.Height());
    }
    return 0;
}

// The box shows before the wizard exists and before the card is touched, owned by no window.
void AnswerStartupBox(WizardDriver& driver, const char* text, const CardSimProcess& card) {
    HWND box = driver.WaitForDialog(kStartupBoxCaption);
    ASSERT_NE(box, nullptr) << "no start-up box";
    const MessageBoxView view = WizardDriver::ReadMessageBox(box);
    EXPECT_EQ(view.text, text);
    EXPECT_EQ(view.owner, nullptr);
    EXPECT_EQ(view.buttons, std::vector<int>{IDOK});
    // Another row's box may be on top of it for a moment.
    EXPECT_TRUE(WaitFor([&] { return RedShareOfIcon(box) > 0.2; }, kConditionTimeoutMs))
        << "no error icon";
    EXPECT_EQ(driver.FindWindowOfProgram(kWizardCaption, kDialogClass), nullptr);
    EXPECT_TRUE(card.Transcript().empty());
    ASSERT_TRUE(driver.Answer(box, IDOK));
}

// The wizard's answer to whether the session may end: 1 yes, 0 no, -1 none within 2 s.
LONG_PTR QueryEndSession(HWND wizard) {
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(wizard, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 2000, &answer) == 0)
        return -1;
    return static_cast<LONG_PTR>(answer);
}

// Some six seconds into the switch's unanswered wait the wizard is not marked Not Responding,
// answers at once, and holds a log-off back; a click on Next and an Enter made then do nothing
// when the result page comes up, where Next has become Finish and Enter would close it.
void PressDuringTheWait(WizardDriver& driver, HWND wizard) {
    Sleep(6000);
    EXPECT_FALSE(IsHungAppWindow(wizard)) << "the wizard is marked Not Responding";
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(wizard, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer), 0)
        << "the wizard did not answer within 2 s";
    EXPECT_EQ(QueryEndSession(wizard), 0) << "the session may end in the middle of the switch";
    ASSERT_TRUE(WizardDriver::PressWithMouse(GetDlgItem(wizard, IDC_NEXT_BUTTON)) &&
                WizardDriver::PostKey(wizard, VK_RETURN));
    ASSERT_TRUE(driver.WaitUntil([&] { return !driver.Text(IDC_FOOTER_TEXT).empty(); }, 40000));
    Sleep(1000);  // time for a press to be taken as Finish
    EXPECT_TRUE(driver.Program().Running() && IsWindowVisible(wizard)) << "the result page went";
    EXPECT_EQ(driver.Text(IDC_TITLE_TEXT) + "|" + driver.Text(IDC_BODY_TEXT),
              "\r\n\r\nUpdate Failed!|Unknown error!");
    EXPECT_EQ(QueryEndSession(wizard), 1) << "the session may not end after the switch";
    ASSERT_TRUE(driver.Click(IDC_NEXT_BUTTON));
}

// Two seconds of the switch's wait, then a WM_QUIT to the wizard's thread and two more: the
// wait with the quit must cost no more processor time than without it. Once the card has
// answered the run ends by itself, without showing the result page.
void QuitDuringTheWait(WizardDriver& driver, HWND wizard) {
    constexpr DWORD kWindowMs = 2000;
    constexpr double kSlackMs = 200;  // a busy loop uses some 1000 ms of a 2000 ms window
    const ProgramRun& run = driver.Program();
    const double start = run.CpuMs();
    Sleep(kWindowMs);
    const double quit = run.CpuMs();
    ASSERT_TRUE(PostThreadMessageW(GetWindowThreadProcessId(wizard, nullptr), WM_QUIT, 0, 0));
    Sleep(kWindowMs);
    const double end = run.CpuMs();
    std::printf("CPU in %lu ms of the switch's wait: %.0f ms without a quit, %.0f ms with one\n",
                kWindowMs, quit - start, end - quit);
    EXPECT_TRUE(start >= 0 && end - quit < quit - start + kSlackMs)
        << "the wait with a quit used " << end - quit << " ms, without " << quit - start;
    bool resultShown = false;
    EXPECT_TRUE(WaitFor(
        [&] {
            resultShown = resultShown || !driver.Text(IDC_FOOTER_TEXT).empty();
            return !run.Running();
        },
        kConditionTimeoutMs))
        << "the quit did not end the run";
    EXPECT_FALSE(resultShown) << "the result page showed";
}

// A card that does not answer the check: the wizard is up within seconds, not after the check's
// 30, saying it looks for the card with Next greyed, and holds a log-off back meanwhile; then
// it tells that the card does not respond.
void SearchInVain(WizardDriver& driver) {
    const HWND shown = driver.WaitForDialog(kWizardCaption, 5000);
    ASSERT_NE(shown, nullptr) << "the wizard did not show within 5 s of the check";
    EXPECT_EQ(WizardDriver::TextOf(GetDlgItem(shown, IDC_BODY_TEXT)),
              "Looking for the data card. Please wait.");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(shown, IDC_NEXT_BUTTON)));
    EXPECT_EQ(QueryEndSession(shown), 0) << "the session may end while the card is asked";
    ASSERT_EQ(driver.WaitForWizard(kLongestRunMs), shown) << "no welcome page";
    EXPECT_EQ(driver.Text(IDC_BODY_TEXT),
              "Data card not response, \r\nPlease restart your computer!");
    ASSERT_TRUE(driver.Click(IDC_NEXT_BUTTON));
}

void WalkWizard(const Row& row, WizardDriver& driver, const CardSimProcess& card) {
    if (row.walk == Walk::kSearchInVain) {
        SearchInVain(driver);
        ASSERT_TRUE(driver.WaitForExit()) << "Finish did not close the wizard";
        return;
    }
    const HWND wizard = driver.WaitForWizard();
    ASSERT_NE(wizard, nullptr) << "no wizard";
    EXPECT_EQ(driver.FindWindowOfProgram(kStartupBoxCaption, kDialogClass), nullptr);
    if (row.title != nullptr) {
        EXPECT_EQ(driver.Text(IDC_TITLE_TEXT), row.title);
        EXPECT_EQ(driver.Text(IDC_NEXT_BUTTON), "&Next") << "the welcome page is not configured";
    }
    if (row.walk == Walk::kPressInWait || row.walk == Walk::kQuitInWait) {
        ASSERT_TRUE(driver.Click(IDC_NEXT_BUTTON));
        ASSERT_TRUE(WaitFor([&] { return card.Transcript().size() == 3; }, kConditionTimeoutMs))
            << "no switch";
        if (row.walk == Walk::kPressInWait) PressDuringTheWait(driver, wizard);
        if (row.walk == Walk::kQuitInWait) QuitDuringTheWait(driver, wizard);
    } else if (row.walk == Walk::kStrayThenNext || row.walk == Walk::kSwitch) {
        const bool stray = row.walk == Walk::kStrayThenNext;
        if (stray) Sleep(2000);  // the stray OK is on its way for one second of these
        ASSERT_TRUE(driver.Click(IDC_NEXT_BUTTON));
        ASSERT_TRUE(driver.WaitUntil(
            [&] { return driver.Text(IDC_TITLE_TEXT).find("Update") != std::string::npos; }));
        EXPECT_EQ(driver.Text(IDC_TITLE_TEXT)
                      .rfind(stray ? "\r\n\r\nUpdate Failed!" : "\r\n\r\nUpdate successful!", 0),
                  0u);
        ASSERT_TRUE(driver.Click(IDC_NEXT_BUTTON));
    } else {
        ASSERT_TRUE(driver.Click(IDC_CANCEL_BUTTON));
        HWND confirm = driver.WaitForDialog(kConfirmBoxCaption);
        ASSERT_NE(confirm, nullptr) << "no confirmation box";
        ASSERT_TRUE(driver.Answer(confirm, IDYES));
    }
    ASSERT_TRUE(driver.WaitForExit()) << "the wizard did not close";
}

// The program's trace lines in Wine's debug output, each as the program wrote it. Wine prints
// a string as `...:warn:debugstr:OutputDebugStringA "text"`, escaping it once more (and cutting
// a long one short).
std::vector<std::string> TraceLines(const std::string& wineOutput) {
    constexpr char kMarker[] = ":warn:debugstr:OutputDebugStringA \"";
    std::vector<std::string> lines;
    std::istringstream in(wineOutput);
    for (std::string row; std::getline(in, row);) {
        const std::size_t at = row.find(kMarker);
        if (at == std::string::npos) continue;
        std::string line;
        for (std::size_t i = at + sizeof kMarker - 1; i < row.size() && row[i] != '"'; ++i) {
            if (row[i] != '\\' || i + 1 == row.size()) {
                line += row[i];
                continue;
            }
            const char c = row[++i];
            const std::string hex = c == 'x' ? row.substr(i + 1, 2) : "";
            line += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
            if (!hex.empty()) line.back() = static_cast<char>(std::stoi(hex, nullptr, 16));
            i += hex.size();
        }
        lines.push_back(line);
    }
    return lines;
}

// The row's events, each in a line after the one before, and the exit line last.
void CheckTrace(const Row& row, int com, const TempDirectory& work, DWORD exitCode) {
    const std::vector<std::string> lines = TraceLines(ReadUnixFile(work.UnixPath() + kTraceFile));
    ASSERT_FALSE(lines.empty()) << "no trace";
    auto at = lines.begin();
    for (std::string event : row.trace) {
        const std::size_t port = event.find("COM#"), ini = event.find("INI#");
        if (port != std::string::npos) event.replace(port + 3, 1, std::to_string(com));
        if (ini != std::string::npos)
            event.replace(ini, 4, Quoted(work.WindowsPath() + "\\Quorvel.ini"));
        at = std::find_if(at, lines.end(),
                          [&](const std::string& l) { return l.find(event) != std::string::npos; });
        ASSERT_NE(at, lines.end()) << "not traced, or out of order: " << event;
        ++at;
    }
    EXPECT_EQ(lines.back(), "QuorvelTool: exit " + std::to_string(exitCode) + "\n");
}

// Sets `located` once the program has touched its card or has ended.
void Located(const CardSimProcess& card, const ProgramRun& run, HANDLE located) {
    WaitFor([&] { return !card.Transcript().empty() || !run.Running(); }, kConditionTimeoutMs);
    SetEvent(located);
}

// Starts the program and walks it; `located` is set once it has found its card's port (or has
// ended), after which the modem's driver key may name the next row's port.
void Drive(const Row& row, WizardDriver& driver, const CardSimProcess& card,
           const TempDirectory& work, const std::string& workDir, HANDLE located) {
    const bool started = row.trace.empty()
                             ? driver.Start(row.args, workDir)
                             : driver.StartTraced(row.args, workDir, work.UnixPath() + kTraceFile);
    ASSERT_TRUE(started) << driver.Program().CommandLine();
    if (row.box != nullptr) AnswerStartupBox(driver, row.box, card);
    Located(card, driver.Program(), located);
    if (row.walk == Walk::kSilent) {
        const UnseenRun run = driver.WaitForExitUnseen(kLongestRunMs);
        EXPECT_EQ(run.shownWindow, "");
        ASSERT_TRUE(run.exited) << "still running";
    } else {
        WalkWizard(row, driver, card);
    }
}

// A copy of the program in `folder` of `work`, with `ini` as the Quorvel.ini beside it; the
// copy's Unix path, empty when it could not be made.
std::string CopyProgram(const TempDirectory& work, const std::string& folder, const char* ini) {
    const std::string copy = work.MakeFolder(folder) + "/QuorvelTool.exe";
    const std::wstring from = Wide(UnixToWindowsPath(Environment("QUORVEL_EXE")));
    if (!CopyFileW(from.c_str(), Wide(UnixToWindowsPath(copy)).c_str(), TRUE)) return "";
    return ini == nullptr || work.WriteFile(folder + "/Quorvel.ini", ini) ? copy : "";
}

// Started on a desktop nobody sees, where any box or wizard would wait forever.
DWORD RunUnseen(const Row& row, const std::string& exe, const std::string& workDir,
                const CardSimProcess& card, HANDLE located) {
    ProgramRun run;
    const std::string desktop = UnseenDesktop();
    EXPECT_FALSE(desktop.empty()) << "no window station of our own";
    if (desktop.empty() || !run.Start(exe, row.args, workDir, desktop)) return STILL_ACTIVE;
    Located(card, run, located);
    EXPECT_TRUE(run.WaitForExit(kLongestRunMs)) << "still running";
    return run.ExitCode();
}

void RunRow(const Row& row, int com, HANDLE located) {
    SCOPED_TRACE(row.name);
    CardSimProcess card;
    if (row.card) {
        ASSERT_TRUE(card.Start(com, row.cardArgs)) << card.Error();
    }
    TempDirectory work;
    const std::string inWork = row.workFolder ? std::string(row.workFolder) + "/" : "";
    const std::string workDir = row.workFolder ? work.MakeFolder(row.workFolder) : work.UnixPath();
    const std::string exe = row.programFolder ? CopyProgram(work, row.programFolder, row.besideIni)
                                              : Environment("QUORVEL_EXE");
    ASSERT_FALSE(workDir.empty() || exe.empty());
    if (row.ini != nullptr) {
        ASSERT_TRUE(work.WriteFile(inWork + "Quorvel.ini", row.ini));
    }
    const DWORD start = GetTickCount();
    DWORD exitCode = STILL_ACTIVE;
    if (row.walk == Walk::kHeadless) {
        exitCode = static_cast<DWORD>(RunWithoutDisplay(exe, row.args, workDir, kLongestRunMs));
    } else if (row.walk == Walk::kUnseen) {
        exitCode = RunUnseen(row, exe, workDir, card, located);
    } else {
        WizardDriver driver(exe);
        Drive(row, driver, card, work, workDir, located);
        exitCode = driver.ExitCode();
    }
    const double took = (GetTickCount() - start) / 1000.0;
    card.Stop();  // the transcript is complete once the card has gone
    const std::vector<std::string> sent = row.card ? card.Transcript() : std::vector<std::string>{};
    // A failed row says what the card got and when, and keeps the card's files.
    const std::string evidence = row.card ? "\n" + card.Evidence() : "";
    EXPECT_EQ(exitCode, row.exitCode) << "after " << took << " s" << evidence;
    EXPECT_EQ(took >= kWaitedOutSeconds, row.waitsOutWindow) << "took " << took << " s" << evidence;
    EXPECT_LT(took, kLongestRunMs / 1000.0) << "outlasted its windows";
    EXPECT_EQ(sent, row.sent) << evidence;
    if (::testing::Test::HasFailure()) card.Keep();
    const bool silent = row.walk == Walk::kSilent || row.walk == Walk::kHeadless;
    const bool switched = std::any_of(sent.begin(), sent.end(), [](const std::string& command) {
        return command.rfind("at^u2diag=", 0) == 0;
    });
    EXPECT_TRUE(exitCode != 0 || !silent || switched)
        << "a silent run ended with 0 without having switched the card";
    EXPECT_EQ(work.ReadFile(inWork + "Quorvel.ini"), row.ini ? row.ini : "");
    if (!row.trace.empty()) CheckTrace(row, com, work, exitCode);
}

// The card is the modem the program looks for first; its driver key names the port of the
// row being started, and each row gets its own port, card and working directory.
TEST(QuorvelTool, RunsFromOutside) {
    RegistrySeed seed;
    const std::string driverKey = seed.SeedModem("KELTRO Datalink - 3G Modem", kFirstCom);
    ASSERT_FALSE(driverKey.empty());
    const RegistrySnapshot before = RegistrySnapshot::Take();
    EXPECT_GT(before.Size(), 100u) << "the snapshot sees too little of the registry";

    std::vector<HANDLE> located;
    std::vector<std::thread> rows;
    for (const Row& row : kRows) {
        const int com = kFirstCom + static_cast<int>(rows.size());
        EXPECT_TRUE(seed.SetText(driverKey, "AttachedTo", "COM" + std::to_string(com)));
        located.push_back(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        HANDLE event = located.back();
        rows.emplace_back([&row, com, event] {
            RunRow(row, com, event);
            SetEvent(event);
        });
        WaitForSingleObject(event, 20000);
    }
    for (std::thread& row : rows)
        row.join();
    for (HANDLE event : located)
        CloseHandle(event);
    EXPECT_TRUE(seed.SetText(driverKey, "AttachedTo", "COM" + std::to_string(kFirstCom)));
    EXPECT_EQ(RegistrySnapshot::Take().ChangesSince(before), std::vector<std::string>{});
}

}  // namespace
}  // namespace quorvel::winedrive
