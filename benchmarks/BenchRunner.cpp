#include "BenchRunner.h"

#include <cstdio>
#include <sstream>
#include <utility>

#include "CpuTime.h"
#include "StartupBaselineIds.h"
#include "Stopwatch.h"
#include "UnixCommand.h"
#include "WinePaths.h"
#include "card/CardCommands.h"
#include "serial/EchoOffHandshake.h"
#include "serial/SerialPort.h"
#include "ui/resources/ResourceIds.h"

namespace quorvel::bench {

namespace {

using quorvel::test::ProgramRun;
using quorvel::test::UnixToWindowsPath;

constexpr int kSwitchValue = 1;
constexpr char kConfig[] = "[K3000]\r\nCDROM_COMMAND=1\r\nDIAG_COMMAND=0\r\n";
constexpr DWORD kRunTimeoutMs = 20000;
// Long enough for a window of 30 calendar seconds that includes its last second.
constexpr DWORD kNoAnswerRunTimeoutMs = 45000;
// The CPU window is read inside the 30-second wait: it starts when the card has the command,
// and the wait can end as soon as 30 s after that, depending on where in its calendar second
// the command went out.
constexpr double kCpuWindowMs = 29000;
constexpr double kSpinMs = 2000;
constexpr double kSpinWindowMs = 1000;

// A command as the card receives it, without its carriage return.
std::string Bare(const char* command) {
    std::string text = command;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

// ... and as the card's transcript writes it.
std::string Escaped(const char* command) {
    return Bare(command) + "\\r";
}

std::string SwitchCommand() {
    char command[kReplyBufferSize];
    std::snprintf(command, sizeof command, kSwitchCommandFormat, kSwitchValue);
    return command;
}

std::vector<std::string> WelcomeCommands() {
    return {Bare(kEchoOffCommand), Bare(kCardTypeQuery)};
}

std::vector<std::string> SilentCommands() {
    return {Bare(kEchoOffCommand), Bare(SwitchCommand().c_str()), Bare(kGoOfflineCommand),
            Bare(kRestartCommand)};
}

std::vector<std::string> Escaped(const std::vector<std::string>& commands) {
    std::vector<std::string> escaped;
    for (const std::string& command : commands)
        escaped.push_back(command + "\\r");
    return escaped;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : ", ") + line;
    return text;
}

// Looks every millisecond for a shown dialog of `run` with `caption` whose control `filledId`
// has text, and returns the time from `startMs` to then; negative when the program ends or
// the time runs out first. GetWindowTextW reads another process's window without a message,
// so a busy wizard cannot hold the look up.
double WaitUntilShown(const ProgramRun& run, const char* caption, int filledId, double startMs) {
    for (;;) {
        for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", caption); window != nullptr;
             window = FindWindowExA(nullptr, window, "#32770", caption)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t text[8] = {};
            if (owner == run.ProcessId() && IsWindowVisible(window) &&
                GetWindowTextW(GetDlgItem(window, filledId), text, 8) > 0)
                return NowMs() - startMs;
        }
        if (!run.Running() || NowMs() - startMs > kRunTimeoutMs) return -1;
        Sleep(1);
    }
}

std::vector<double> ReadFigures(const std::string& unixPath) {
    std::istringstream text(quorvel::test::ReadUnixFile(unixPath));
    std::vector<double> figures;
    for (double figure; text >> figure;)
        figures.push_back(figure);
    return figures;
}

}  // namespace

BenchRunner::BenchRunner(BenchPrograms programs, BenchSettings settings)
    : programs_(std::move(programs)), settings_(settings) {}

bool BenchRunner::Prepare(BenchResults& results) {
    results.replyDelayMs = settings_.replyDelayMs;
    results.pollIntervalMs = kPollIntervalMilliseconds;
    results.bareWelcome.commands = WelcomeCommands();
    results.bareSilent.commands = SilentCommands();
    ::testing::AssertionResult registered = rig_.RegisterCard();
    if (registered) registered = rig_.WriteConfig(kConfig);
    if (!registered) results.failures.push_back(registered.message());
    return static_cast<bool>(registered);
}

bool BenchRunner::StartCard(BenchResults& results, const std::vector<std::string>& extraArgs) {
    std::vector<std::string> args = {"--delay", "*=" + std::to_string(settings_.replyDelayMs)};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    ::testing::AssertionResult started = rig_.card.Start(quorvel::test::kRigCom, args);
    if (!started) results.failures.push_back(started.message());
    return static_cast<bool>(started);
}

bool BenchRunner::ExpectTranscript(BenchResults& results, const char* what,
                                   const std::vector<std::string>& expected) {
    const std::vector<std::string> seen = rig_.card.WaitForTranscript(expected.size());
    if (seen == expected) return true;
    results.failures.push_back(std::string(what) + ": the card received " + Joined(seen) +
                               ", not " + Joined(expected));
    return false;
}

std::string BenchRunner::ResultFile() {
    return rig_.WorkDirectory() + "/bare-exchange.txt";
}

double BenchRunner::TimeBaselineShown(BenchResults& results) {
    ProgramRun run;
    const double start = NowMs();
    if (!run.Start(programs_.startupBaseline, {}, "")) {
        results.failures.push_back("cannot start " + programs_.startupBaseline);
        return -1;
    }
    const double shown = WaitUntilShown(run, BASELINE_CAPTION, IDC_BASELINE_TEXT, start);
    if (shown < 0) results.failures.push_back("the start-up baseline's dialog did not show");
    return shown;
}

double BenchRunner::TimeBaselineExit(BenchResults& results) {
    ProgramRun run;
    const double start = NowMs();
    if (!run.Start(programs_.startupBaseline, {"--exit"}, "") || !run.WaitForExit(kRunTimeoutMs)) {
        results.failures.push_back("the start-up baseline did not run to its end");
        return -1;
    }
    return NowMs() - start;
}

void BenchRunner::TimeBareExchange(BenchResults& results, ExchangeSamples& samples) {
    if (!StartCard(results)) return;
    const std::string resultFile = ResultFile();
    DeleteFileA(UnixToWindowsPath(resultFile).c_str());
    std::vector<std::string> args = {std::to_string(quorvel::test::kRigCom),
                                     UnixToWindowsPath(resultFile)};
    args.insert(args.end(), samples.commands.begin(), samples.commands.end());
    ProgramRun run;
    if (!run.Start(programs_.bareExchange, args, "") || !run.WaitForExit(kRunTimeoutMs) ||
        run.ExitCode() != 0) {
        results.failures.push_back("the bare exchange failed: " + run.CommandLine());
        return;
    }
    // Open, each command, then the whole, in microseconds.
    const std::vector<double> figures = ReadFigures(resultFile);
    if (figures.size() != samples.commands.size() + 2) {
        results.failures.push_back("the bare exchange left no figures in " + resultFile);
        return;
    }
    samples.parts.resize(figures.size() - 1);
    for (std::size_t part = 0; part + 1 < figures.size(); ++part)
        samples.parts[part].Add(figures[part] / 1000);
    samples.total.Add(figures.back() / 1000);
    ExpectTranscript(results, "bare exchange", Escaped(samples.commands));
}

double BenchRunner::TimeWelcomePage(BenchResults& results) {
    if (!StartCard(results)) return -1;
    const double start = NowMs();
    if (!rig_.StartProgram()) {
        results.failures.push_back("cannot start QuorvelTool.exe");
        return -1;
    }
    const double shown =
        WaitUntilShown(rig_.driver.Program(), quorvel::test::kWizardCaption, IDC_TITLE_TEXT, start);
    if (shown < 0) results.failures.push_back("the welcome page did not show");
    const std::string title = rig_.driver.WaitForWizard() ? rig_.driver.Text(IDC_TITLE_TEXT) : "";
    if (title.find("K3000") == std::string::npos)
        results.failures.push_back("the welcome page does not name the card: " + title);
    ExpectTranscript(results, "welcome page", Escaped(WelcomeCommands()));
    rig_.driver.Program().End();
    return shown;
}

double BenchRunner::TimeSilentRun(BenchResults& results) {
    if (!StartCard(results)) return -1;
    const double start = NowMs();
    if (!rig_.StartProgram({"-s", std::to_string(kSwitchValue)}) ||
        !rig_.driver.WaitForExit(kRunTimeoutMs)) {
        results.failures.push_back("the silent run did not end in time");
        rig_.driver.Program().End();
        return -1;
    }
    const double elapsed = NowMs() - start;
    if (rig_.driver.ExitCode() != 0)
        results.failures.push_back("the silent run exited with " +
                                   std::to_string(rig_.driver.ExitCode()));
    ExpectTranscript(results, "silent run", Escaped(SilentCommands()));
    return elapsed;
}

void BenchRunner::WarmUp(BenchResults& results) {
    BenchResults discarded;
    discarded.bareWelcome.commands = results.bareWelcome.commands;
    TimeBaselineShown(discarded);
    TimeBareExchange(discarded, discarded.bareWelcome);
    TimeWelcomePage(discarded);
    results.failures.insert(results.failures.end(), discarded.failures.begin(),
                            discarded.failures.end());
}

namespace {

void AddIfMeasured(Samples& samples, double value) {
    if (value >= 0) samples.Add(value);
}

}  // namespace

void BenchRunner::RunRound(BenchResults& results) {
    AddIfMeasured(results.baselineShown, TimeBaselineShown(results));
    AddIfMeasured(results.baselineExit, TimeBaselineExit(results));
    TimeBareExchange(results, results.bareWelcome);
    TimeBareExchange(results, results.bareSilent);
    AddIfMeasured(results.welcomeShown, TimeWelcomePage(results));
    AddIfMeasured(results.silentExit, TimeSilentRun(results));
}

// A silent run whose switch command the card never answers: the program waits out the whole
// reply window. The window is taken from the moment the card has the command.
void BenchRunner::RunCpuWindow(BenchResults& results) {
    if (!StartCard(results, {"--reply", Bare(SwitchCommand().c_str()) + "=NONE"})) return;
    const std::vector<std::string> expected = {Escaped(kEchoOffCommand),
                                               Escaped(SwitchCommand().c_str())};
    const double start = NowMs();
    if (!rig_.StartProgram({"-s", std::to_string(kSwitchValue)})) {
        results.failures.push_back("cannot start QuorvelTool.exe");
        return;
    }
    ProgramRun& run = rig_.driver.Program();
    while (rig_.card.Transcript().size() < expected.size() && run.Running() &&
           NowMs() - start < kRunTimeoutMs)
        Sleep(2);
    const double from = NowMs();
    const CpuReading before = ReadCpu(run.Process(), run.ProcessId());
    Sleep(static_cast<DWORD>(kCpuWindowMs));
    const double to = NowMs();
    const CpuReading after = ReadCpu(run.Process(), run.ProcessId());
    const bool stillWaiting = run.Running();

    if (!rig_.driver.WaitForExit(kNoAnswerRunTimeoutMs)) {
        results.failures.push_back("the no-answer run did not end in time");
        run.End();
        return;
    }
    if (!stillWaiting) {
        results.failures.push_back("the no-answer run ended before its CPU window closed");
        return;
    }
    if (run.ExitCode() != 1)
        results.failures.push_back("the no-answer run exited with " +
                                   std::to_string(run.ExitCode()));
    ExpectTranscript(results, "no-answer run", expected);
    results.cpuWindowMs = to - from;
    AddIfMeasured(results.cpuProcessPercent, ProcessCpuPercent(before, after, to - from));
    AddIfMeasured(results.cpuThreadsPercent, ThreadsCpuPercent(before, after, to - from));
    AddIfMeasured(results.cpuBeforeWindowMs, before.threadsMs);
}

void BenchRunner::RunSpinCheck(BenchResults& results) {
    ProgramRun run;
    const std::string resultFile = ResultFile();
    if (!run.Start(
            programs_.bareExchange,
            {"--spin", std::to_string(static_cast<int>(kSpinMs)), UnixToWindowsPath(resultFile)},
            "")) {
        results.failures.push_back("cannot start the busy loop");
        return;
    }
    Sleep(static_cast<DWORD>((kSpinMs - kSpinWindowMs) / 2));
    const double from = NowMs();
    const CpuReading before = ReadCpu(run.Process(), run.ProcessId());
    Sleep(static_cast<DWORD>(kSpinWindowMs));
    const double to = NowMs();
    const CpuReading after = ReadCpu(run.Process(), run.ProcessId());
    run.WaitForExit(kRunTimeoutMs);
    AddIfMeasured(results.spinProcessPercent, ProcessCpuPercent(before, after, to - from));
    AddIfMeasured(results.spinThreadsPercent, ThreadsCpuPercent(before, after, to - from));
}

}  // namespace quorvel::bench
