// Times QuorvelTool.exe under Wine against the simulated card and prints each figure beside
// the floor the program's design allows, measured in the same run: a plain dialog program's
// start-up, the card exchange done with no sleeps, and the one sleep the reply polling takes per
// command. Run it in a Wine prefix of its own with a display (scripts/bench does both).
//
//   quorvelbench [--rounds N] [--cpu-rounds N] [--delay MS] [--emulated]
//
// --emulated says that the program runs under an emulator (Wine's 32-bit half under qemu): its
// figures and floors are shown, but no target is held against them.
//
// QuorvelTool.exe and cardsim are $QUORVEL_EXE and $QUORVEL_CARDSIM, as for the tests; unset,
// they default to the build this was built with. Exit status 1 when a measurement could not be
// made (a program failed, or the card was not sent what it should have been); a missed target
// is only reported. The bench also plays the plain programs of the floors (--baseline, a dialog;
// --exit, no window at all) and a busy loop (--spin MS) that shows the CPU reading is not blind.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "serial/SerialPort.h"
#include "ui/resources/ResourceIds.h"
#include "winedrive/CardSimProcess.h"
#include "winedrive/ProgramRun.h"
#include "winedrive/RegistrySeed.h"
#include "winedrive/Wine.h"
#include "winedrive/WizardDriver.h"

namespace {

using namespace quorvel::winedrive;

constexpr int kCom = 7;
constexpr char kConfig[] = "[K3000]\r\nCDROM_COMMAND=1\r\nDIAG_COMMAND=0\r\n";
constexpr char kBaselineCaption[] = "QuorvelBench baseline";
constexpr int kFilledText = 1004;  // the wizard's title, and the baseline's one text
constexpr DWORD kRunTimeoutMs = 20000;
constexpr DWORD kNoAnswerRunTimeoutMs = 45000;
// Read inside the no-answer window, which starts when the card has the command and may end as
// soon as 30 s after, depending on where in its second the command went out.
constexpr DWORD kCpuWindowMs = 29000;
constexpr double kWelcomeRatioTarget = 1.05;
constexpr double kWindowRatioTarget = 1.2;
constexpr double kCpuPercentTarget = 1.0;
// A reading that shows a busy loop below this is blind.
constexpr double kSpinSeenPercent = 90;

const std::vector<std::string> kWelcomeCommands = {"ATE0", "AT+CGMM"};
const std::vector<std::string> kSilentCommands = {"ATE0", "at^u2diag=1", "at+cfun=4", "at+cfun=6"};

// Milliseconds on the performance counter, fractions kept: the floors differ from the figures
// by less than GetTickCount's steps.
double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Repeated figures: the median for what a run typically costs, the minimum for what it costs
// when nothing else on a shared machine gets in the way.
struct Samples {
    std::vector<double> values;
    void Add(double value) {
        if (value >= 0) values.push_back(value);
    }
    double Median() const {
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : (v[(v.size() - 1) / 2] + v[v.size() / 2]) / 2;
    }
    double Min() const {
        return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
    }
};

struct Results {
    Samples baselineShown, baselineExit, bareWelcome, bareSilent, windowShown, welcomeShown;
    Samples silentExit;
    Samples cpu, wizardCpu, spin;
    std::vector<std::string> failures;
};

// --- the parts the bench plays itself

// The dialog goes by itself, so that nobody has to clean up after a bench that died.
INT_PTR CALLBACK BaselineProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextA(window, kFilledText, "Start-up baseline");
        SetTimer(window, 1, 30000, nullptr);
        return TRUE;
    }
    if (message == WM_TIMER || message == WM_CLOSE) EndDialog(window, 0);
    return message == WM_TIMER || message == WM_CLOSE;
}

int Spin(double ms) {
    const double start = NowMs();
    while (NowMs() - start < ms) {
    }
    return 0;
}

// The exe as Unix path: Wine runs a Unix path from drive Z:.
std::string SelfUnixPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string unix = path + 2;  // past "Z:"
    std::replace(unix.begin(), unix.end(), '\\', '/');
    return unix;
}

// The card exchange with nothing around it: each command written, then the port looked at every
// millisecond for "OK". From before the port is opened to the last "OK"; negative when a command
// went unanswered.
double TimeBareExchange(const std::vector<std::string>& commands) {
    const double start = NowMs();
    HANDLE port = CreateFileA(("\\\\.\\COM" + std::to_string(kCom)).c_str(),
                              GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    COMMTIMEOUTS immediate = {MAXDWORD, 0, 0, 0, 0};  // a read takes what has come, never waits
    bool answered = port != INVALID_HANDLE_VALUE && SetCommTimeouts(port, &immediate);
    for (std::size_t i = 0; answered && i < commands.size(); ++i) {
        const std::string line = commands[i] + "\r";
        DWORD count = 0;
        answered = WriteFile(port, line.data(), static_cast<DWORD>(line.size()), &count, nullptr);
        std::string reply;
        for (const DWORD sent = GetTickCount(); answered && GetTickCount() - sent < 5000;
             Sleep(1)) {
            char bytes[256];
            answered = ReadFile(port, bytes, sizeof bytes, &count, nullptr);
            reply.append(bytes, count);
            if (reply.find("OK") != std::string::npos) break;
        }
        answered = answered && reply.find("OK") != std::string::npos;
    }
    const double took = NowMs() - start;
    if (port != INVALID_HANDLE_VALUE) CloseHandle(port);
    return answered ? took : -1;
}

// Share of one core `run` uses over the next `windowMs`, in percent; negative when unreadable.
double CpuPercentOver(const ProgramRun& run, DWORD windowMs) {
    const double before = run.CpuMs(), from = NowMs();
    Sleep(windowMs);
    const double after = run.CpuMs(), wall = NowMs() - from;
    return before < 0 || after < 0 ? -1 : (after - before) * 100 / wall;
}

// --- the runs

// A dialog on the screen with its text `kFilledText` set: the baseline's whole page, and the
// wizard's first, which it shows while it asks the card. The text is read without a message, so
// a busy wizard cannot hold the look up.
bool ShownWithText(HWND window) {
    return IsWindowVisible(window) &&
           !WizardDriver::TextOf(GetDlgItem(window, kFilledText)).empty();
}

// Time from `start` until `run` shows a dialog with this caption that is `ready`, looked for
// every millisecond; negative when it ends or the time runs out first.
double TimeUntilShown(const ProgramRun& run, const char* caption, double start,
                      bool (*ready)(HWND) = ShownWithText) {
    while (run.Running() && NowMs() - start < kRunTimeoutMs) {
        for (HWND window : WizardDriver::TopLevelWindowsOf(run.ProcessId(), kDialogClass)) {
            if (WizardDriver::TextOf(window) == caption && ready(window)) return NowMs() - start;
        }
        Sleep(1);
    }
    return -1;
}

class Bench {
  public:
    Bench(int delayMs, Results& results) : delayMs_(delayMs), results_(results) {}

    bool Prepare() {
        return Check(!seed_.SeedModem("KELTRO Datalink - 3G Modem", kCom).empty() &&
                         work_.WriteFile("Quorvel.ini", kConfig),
                     "cannot register the card or write Quorvel.ini");
    }

    // One round untimed, so that no figure pays for cold caches.
    void WarmUp() {
        Round();
        std::vector<std::string> failures = std::move(results_.failures);
        results_ = Results();
        results_.failures = std::move(failures);
    }

    // One of each, one after another, so that load from elsewhere on the machine falls on floor
    // and program alike.
    void Round() {
        results_.baselineShown.Add(Baseline(false));
        results_.baselineExit.Add(Baseline(true));
        results_.bareWelcome.Add(Bare(kWelcomeCommands));
        results_.bareSilent.Add(Bare(kSilentCommands));
        WelcomePage();
        results_.silentExit.Add(SilentRun());
    }

    // A silent run whose switch the card never answers, read from when the card has it.
    void NoAnswerWindow() {
        if (!StartCard({"--reply", "at^u2diag=NONE"})) return;
        ProgramRun run;
        if (!Check(run.Start(Environment("QUORVEL_EXE"), {"-s", "1"}, work_.UnixPath()),
                   "cannot start QuorvelTool.exe"))
            return;
        WaitFor([&] { return card_.Transcript().size() >= 2 || !run.Running(); }, kRunTimeoutMs);
        const double percent = CpuPercentOver(run, kCpuWindowMs);
        if (!Check(run.Running(), "the no-answer run ended before its CPU window closed") ||
            !Check(run.WaitForExit(kNoAnswerRunTimeoutMs) && run.ExitCode() == 1,
                   "the no-answer run did not end with 1 in time"))
            return;
        ExpectSent("no-answer run", {"ATE0", "at^u2diag=1"});
        results_.cpu.Add(percent);
    }

    // The wizard waiting out a switch the card never answers, read from when the card has it:
    // its pauses paint and answer, which must cost no more than a silent run's sleeps.
    void WizardNoAnswerWindow() {
        if (!StartCard({"--reply", "at^u2diag=NONE"})) return;
        WizardDriver driver;
        if (!Check(driver.Start({}, work_.UnixPath()) && driver.WaitForWizard() != nullptr &&
                       driver.Click(IDC_NEXT_BUTTON),
                   "the wizard did not show"))
            return;
        ProgramRun& run = driver.Program();
        WaitFor([&] { return card_.Transcript().size() >= 3 || !run.Running(); }, kRunTimeoutMs);
        const double percent = CpuPercentOver(run, kCpuWindowMs);
        if (!Check(run.Running(), "the wizard ended before its CPU window closed") ||
            !Check(driver.WaitUntil([&] { return !driver.Text(IDC_FOOTER_TEXT).empty(); },
                                    kNoAnswerRunTimeoutMs) &&
                       driver.Click(IDC_NEXT_BUTTON) && run.WaitForExit(kRunTimeoutMs) &&
                       run.ExitCode() == 0,
                   "the waiting wizard did not show its result and close"))
            return;
        ExpectSent("waiting wizard", {"ATE0", "AT+CGMM", "at^u2diag=0"});
        results_.wizardCpu.Add(percent);
    }

    void SpinCheck() {
        ProgramRun run;
        if (!Check(run.Start(SelfUnixPath(), {"--spin", "2000"}, ""), "cannot start the busy loop"))
            return;
        Sleep(500);
        results_.spin.Add(CpuPercentOver(run, 1000));
        run.WaitForExit(kRunTimeoutMs);
    }

  private:
    bool Check(bool holds, const std::string& failure) {
        if (!holds) results_.failures.push_back(failure);
        return holds;
    }

    // Afresh for every run that talks to it (echo on, nothing pending), so every run sees the
    // same card.
    bool StartCard(std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"--delay", "*=" + std::to_string(delayMs_)});
        const bool started = card_.Start(kCom, extra);
        return Check(started, card_.Error());
    }

    // What the card got and when, for a failure; its files are kept.
    std::string CardEvidence() {
        card_.Keep();
        return "\n" + card_.Evidence();
    }

    // The card's transcript writes each command with its CR escaped.
    void ExpectSent(const char* what, const std::vector<std::string>& commands) {
        std::string expected, seen;
        for (const std::string& command : commands)
            expected += " " + command + "\\r";
        for (const std::string& line : card_.WaitForTranscript(commands.size()))
            seen += " " + line;
        Check(seen == expected, std::string(what) + ": the card received" + seen);
    }

    double Baseline(bool exitAtOnce) {
        ProgramRun run;
        const double start = NowMs();
        if (!Check(run.Start(SelfUnixPath(), {exitAtOnce ? "--exit" : "--baseline"}, ""),
                   "cannot start the baseline"))
            return -1;
        if (exitAtOnce)
            return Check(run.WaitForExit(kRunTimeoutMs), "the baseline did not end")
                       ? NowMs() - start
                       : -1;
        const double shown = TimeUntilShown(run, kBaselineCaption, start);
        Check(shown >= 0, "the baseline's dialog did not show");
        return shown;
    }

    double Bare(const std::vector<std::string>& commands) {
        if (!StartCard()) return -1;
        const double took = TimeBareExchange(commands);
        Check(took >= 0, "the bare exchange was not answered");
        ExpectSent("bare exchange", commands);
        return took;
    }

    // The wizard's window as it first shows, and its welcome page filled with the card.
    void WelcomePage() {
        if (!StartCard()) return;
        WizardDriver driver;
        const double start = NowMs();
        if (!Check(driver.Start({}, work_.UnixPath()), "cannot start QuorvelTool.exe")) return;
        const double window = TimeUntilShown(driver.Program(), kWizardCaption, start);
        const double filled =
            TimeUntilShown(driver.Program(), kWizardCaption, start, WizardDriver::Filled);
        const bool running = driver.Program().Running();
        const std::string title = driver.WaitForWizard() ? driver.Text(kFilledText) : "";
        const std::string after = " after " + std::to_string(static_cast<long>(NowMs() - start)) +
                                  " ms";
        if (Check(window >= 0 && filled >= 0,
                  running ? "the welcome page did not show" + after + CardEvidence()
                          : "QuorvelTool.exe ended with " +
                                std::to_string(driver.Program().ExitCode()) + after +
                                " before its welcome page showed" + CardEvidence()))
            Check(title.find("K3000") != std::string::npos,
                  "the welcome page did not name the card: " + title + CardEvidence());
        ExpectSent("welcome page", kWelcomeCommands);
        results_.windowShown.Add(window);
        results_.welcomeShown.Add(filled);
    }

    double SilentRun() {
        if (!StartCard()) return -1;
        ProgramRun run;
        const double start = NowMs();
        if (!Check(run.Start(Environment("QUORVEL_EXE"), {"-s", "1"}, work_.UnixPath()),
                   "the silent run did not start: " + run.CommandLine()))
            return -1;
        const bool ended = run.WaitForExit(kRunTimeoutMs);
        const double took = NowMs() - start;
        const std::string after = " after " + std::to_string(static_cast<long>(took)) + " ms";
        if (!Check(ended, "the silent run was still going" + after + CardEvidence()) ||
            !Check(run.ExitCode() == 0, "the silent run exited with " +
                                            std::to_string(run.ExitCode()) + after +
                                            CardEvidence()))
            return -1;
        ExpectSent("silent run", kSilentCommands);
        return took;
    }

    int delayMs_;
    Results& results_;
    RegistrySeed seed_;
    TempDirectory work_;
    CardSimProcess card_;
};

// --- the report

struct Floor {
    double median, min;
};

Floor FloorOf(const Samples& baseline, std::size_t commands, const Samples& bare) {
    const double sleeps = static_cast<double>(commands * quorvel::kPollIntervalMilliseconds);
    return {baseline.Median() + sleeps + bare.Median(), baseline.Min() + sleeps + bare.Min()};
}

void Row(const char* what, const Samples& samples) {
    std::printf("  %-66s %9.1f %9.1f\n", what, samples.Median(), samples.Min());
}

void TimedRow(const char* what, const Samples& samples, const Floor& floor,
              const std::string& how) {
    std::printf("  %-34s %9.1f %9.1f %9.1f %9.1f %9.3f %9.3f\n      floor = %s\n", what,
                samples.Median(), samples.Min(), floor.median, floor.min,
                samples.Median() / floor.median, samples.Min() / floor.min, how.c_str());
}

// The wait's CPU against its target, for the silent run and for the wizard.
void ReportCpuTargets(const Results& r, int cpuRounds) {
    if (cpuRounds == 0) {
        std::printf("  CPU during the wait: not measured (--cpu-rounds 0)\n");
        return;
    }
    if (r.spin.Median() < kSpinSeenPercent) {
        std::printf("  CPU during the wait: not measured (the reading did not see a busy loop)\n");
        return;
    }
    for (const auto& [what, samples] :
         {std::pair{"silent run", &r.cpu}, {"wizard", &r.wizardCpu}}) {
        if (samples->values.empty())
            std::printf("  CPU during the %s's wait: not measured\n", what);
        else
            std::printf("  CPU during the %s's wait under %.0f%% of one core (median %.3f%%): %s\n",
                        what, kCpuPercentTarget, samples->Median(),
                        samples->Median() < kCpuPercentTarget ? "met" : "MISSED");
    }
}

// The window and the welcome page against their floors, and the wait's CPU against its target.
void ReportTargets(const Results& r, double windowRatio, double welcomeRatio, int cpuRounds) {
    std::printf("\nTargets\n  window shown within %.0f%% of its floor (median ratio %.3f): %s\n",
                (kWindowRatioTarget - 1) * 100, windowRatio,
                windowRatio <= kWindowRatioTarget ? "met" : "MISSED");
    std::printf("  welcome page within %.0f%% of its floor (median ratio %.3f): %s\n",
                (kWelcomeRatioTarget - 1) * 100, welcomeRatio,
                welcomeRatio <= kWelcomeRatioTarget ? "met" : "MISSED");
    ReportCpuTargets(r, cpuRounds);
}

void Report(const Results& r, int delayMs, int rounds, int cpuRounds, bool emulated) {
    std::printf(
        "\nQuorvelTool under Wine, the simulated card answering every command after %d ms:"
        "\n%d rounds (the no-answer window: %d); the median and the minimum, in ms.\n",
        delayMs, rounds, cpuRounds);
    std::printf("\nFloors, measured in this run %48s %9s\n", "median", "min");
    Row("plain dialog program: start to dialog shown and filled", r.baselineShown);
    Row("plain program that makes no window: start to exit", r.baselineExit);
    Row("bare exchange, no sleeps: ATE0, AT+CGMM", r.bareWelcome);
    Row("bare exchange, no sleeps: ATE0, at^u2diag=1, at+cfun=4, at+cfun=6", r.bareSilent);

    const Floor welcome = FloorOf(r.baselineShown, kWelcomeCommands.size(), r.bareWelcome);
    const Floor silent = FloorOf(r.baselineExit, kSilentCommands.size(), r.bareSilent);
    std::printf("\nQuorvelTool %32s %9s %9s %9s %9s %9s\n", "median", "min", "floor med",
                "floor min", "ratio med", "ratio min");
    TimedRow("window shown", r.windowShown, {r.baselineShown.Median(), r.baselineShown.Min()},
             "dialog shown");
    // The reply polling looks at once, then sleeps: an answer after a few ms costs one sleep.
    TimedRow("welcome page shown and filled", r.welcomeShown, welcome,
             "dialog shown + 2 x 1000 ms of polling + bare ATE0, AT+CGMM");
    TimedRow("silent run (-s 1), start to exit", r.silentExit, silent,
             "no-window start to exit + 4 x 1000 ms of polling + bare exchange of those");

    if (cpuRounds > 0) {
        std::printf(
            "\nCPU while waiting %.0f s for an answer that never comes, summed over the"
            " threads\n(%% of one core; a busy loop reads %.1f%%) %24s %9s\n",
            kCpuWindowMs / 1000.0, r.spin.Median(), "median", "min");
        std::printf("  %-58s %8.3f%% %8.3f%%\n", "silent run (-s 1), the switch unanswered",
                    r.cpu.Median(), r.cpu.Min());
        std::printf("  %-58s %8.3f%% %8.3f%%\n", "wizard, the switch unanswered",
                    r.wizardCpu.Median(), r.wizardCpu.Min());
    }
    if (emulated)
        std::printf("\nTargets\n  not judged: these figures were measured under emulation\n");
    else
        ReportTargets(r, r.windowShown.Median() / r.baselineShown.Median(),
                      r.welcomeShown.Median() / welcome.median, cpuRounds);
    if (!r.failures.empty()) std::printf("\nFailures\n");
    for (const std::string& failure : r.failures)
        std::printf("  %s\n", failure.c_str());
}

void DefaultEnvironment(const char* name, const char* value) {
    if (Environment(name).empty()) _putenv((std::string(name) + "=" + value).c_str());
}

void Progress(const std::string& what) {
    std::printf("bench: %s\n", what.c_str());
    std::fflush(stdout);
}

// The machine's load, for reading the figures against: Linux's 1, 5 and 15 minute averages.
void ShowLoad(const char* when) {
    const std::string load = ReadUnixFile("/proc/loadavg");
    Progress(std::string("load average at the ") + when + ": " +
             load.substr(0, load.find_first_of("\n")));
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--exit") return 0;
    if (args.size() == 1 && args[0] == "--baseline")
        return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100),
                                                nullptr, BaselineProc, 0));
    if (args.size() == 2 && args[0] == "--spin") return Spin(std::atof(args[1].c_str()));

    int rounds = 5, cpuRounds = 3, delayMs = 20;
    const auto flag = std::find(args.begin(), args.end(), "--emulated");
    const bool emulated = flag != args.end();
    if (emulated) args.erase(flag);
    for (std::size_t i = 0; i < args.size(); i += 2) {
        int* setting = args[i] == "--rounds"       ? &rounds
                       : args[i] == "--cpu-rounds" ? &cpuRounds
                       : args[i] == "--delay"      ? &delayMs
                                                   : nullptr;
        // The no-answer window may be left out (0): the 32-bit program is timed without it.
        const int least = setting == &cpuRounds ? 0 : 1;
        if (setting == nullptr || i + 1 == args.size() ||
            (*setting = std::atoi(args[i + 1].c_str())) < least) {
            std::fprintf(stderr,
                         "usage: quorvelbench [--rounds N] [--cpu-rounds N] [--delay MS]"
                         " [--emulated]\n");
            return 2;
        }
    }
    DefaultEnvironment("QUORVEL_EXE", QUORVEL_BENCH_EXE);
    DefaultEnvironment("QUORVEL_CARDSIM", QUORVEL_BENCH_CARDSIM);
    if (WinePrefix().empty()) {
        std::fprintf(stderr, "quorvelbench: WINEPREFIX must be set\n");
        return 2;
    }

    ShowLoad("start");
    Results results;
    {
        Bench bench(delayMs, results);
        if (bench.Prepare()) {
            Progress("warming up");
            bench.WarmUp();
            for (int round = 1; round <= rounds; ++round) {
                Progress("round " + std::to_string(round) + " of " + std::to_string(rounds));
                bench.Round();
            }
            for (int round = 1; round <= cpuRounds; ++round) {
                Progress("no-answer windows " + std::to_string(round) + " of " +
                         std::to_string(cpuRounds) + " (about 70 s)");
                bench.NoAnswerWindow();
                bench.WizardNoAnswerWindow();
            }
            if (cpuRounds > 0) bench.SpinCheck();
        }
    }
    ShowLoad("end");
    Report(results, delayMs, rounds, cpuRounds, emulated);
    return results.failures.empty() ? 0 : 1;
}
