#include "BenchReport.h"

#include <string>

namespace quorvel::bench {

namespace {

// A reading that shows a busy loop below this is blind, not merely rough.
constexpr double kSpinSeenPercent = 90;
// Wine reads a thread's times from /proc, in clock ticks.
constexpr double kCpuTickMs = 10;

// A floor built from a start-up baseline, the sleeps the reply polling must take, and the
// bare exchange; worked out at the median and at the minimum alike.
struct Floor {
    double median;
    double min;
};

Floor FloorOf(const Samples& baseline, std::size_t commands, unsigned sleepMs,
              const ExchangeSamples& bare) {
    const double sleeps = static_cast<double>(commands) * sleepMs;
    return {baseline.Median() + sleeps + bare.total.Median(),
            baseline.Min() + sleeps + bare.total.Min()};
}

Floor WelcomeFloor(const BenchResults& results) {
    return FloorOf(results.baselineShown, results.bareWelcome.commands.size(),
                   results.pollIntervalMs, results.bareWelcome);
}

Floor SilentFloor(const BenchResults& results) {
    return FloorOf(results.baselineExit, results.bareSilent.commands.size(), results.pollIntervalMs,
                   results.bareSilent);
}

// The CPU figure to hold against the target: the first reading that saw the busy loop.
const Samples* TrustedCpu(const BenchResults& results) {
    if (results.spinProcessPercent.Median() >= kSpinSeenPercent) return &results.cpuProcessPercent;
    if (results.spinThreadsPercent.Median() >= kSpinSeenPercent) return &results.cpuThreadsPercent;
    return nullptr;
}

std::string JoinedCommands(const ExchangeSamples& bare) {
    std::string text;
    for (const std::string& command : bare.commands)
        text += (text.empty() ? "" : ", ") + command;
    return text;
}

void PrintRow(std::FILE* out, const char* what, const Samples& samples) {
    std::fprintf(out, "  %-62s %9.1f %9.1f\n", what, samples.Median(), samples.Min());
}

void PrintExchangeRow(std::FILE* out, const ExchangeSamples& bare) {
    PrintRow(out, ("bare exchange: " + JoinedCommands(bare)).c_str(), bare.total);
    if (bare.parts.empty()) return;
    std::fprintf(out, "      parts (median): open %.1f", bare.parts[0].Median());
    for (std::size_t part = 1; part < bare.parts.size(); ++part)
        std::fprintf(out, ", %s %.1f", bare.commands[part - 1].c_str(), bare.parts[part].Median());
    std::fprintf(out, "\n");
}

void PrintFloors(const BenchResults& results, std::FILE* out) {
    std::fprintf(out, "\nFloors, measured in this run %47s %9s\n", "median", "min");
    PrintRow(out, "start-up baseline: start to dialog visible and filled", results.baselineShown);
    PrintRow(out, "start-up baseline: start to exit (ends in WM_INITDIALOG)", results.baselineExit);
    std::fprintf(out,
                 "      to exit costs %.0f ms more than to visible: Wine shows a dialog ended in "
                 "WM_INITDIALOG\n      and then tears it down; a silent run keeps its dialog "
                 "hidden, so this floor is generous to it\n",
                 results.baselineExit.Median() - results.baselineShown.Median());
    PrintExchangeRow(out, results.bareWelcome);
    PrintExchangeRow(out, results.bareSilent);
    std::fprintf(out,
                 "  reply polling: looks at once, then sleeps %u ms between looks, so a %d ms "
                 "answer costs one sleep a command\n",
                 results.pollIntervalMs, results.replyDelayMs);
}

void PrintTimedRow(std::FILE* out, const char* what, const Samples& samples, const Floor& floor) {
    std::fprintf(out, "  %-42s %9.1f %9.1f %10.1f %10.1f %9.3f %9.3f\n", what, samples.Median(),
                 samples.Min(), floor.median, floor.min, samples.Median() / floor.median,
                 samples.Min() / floor.min);
}

void PrintTimings(const BenchResults& results, std::FILE* out) {
    std::fprintf(out, "\nQuorvelTool %42s %9s %10s %10s %9s %9s\n", "median", "min", "floor med",
                 "floor min", "ratio med", "ratio min");
    PrintTimedRow(out, "welcome page visible and filled", results.welcomeShown,
                  WelcomeFloor(results));
    std::fprintf(out, "      floor = baseline to visible + %zu x %u ms + bare %s\n",
                 results.bareWelcome.commands.size(), results.pollIntervalMs,
                 JoinedCommands(results.bareWelcome).c_str());
    PrintTimedRow(out, "silent run (-s 1), start to exit", results.silentExit,
                  SilentFloor(results));
    std::fprintf(out, "      floor = baseline to exit + %zu x %u ms + bare exchange of those\n",
                 results.bareSilent.commands.size(), results.pollIntervalMs);
}

void PrintCpuRow(std::FILE* out, const char* what, const Samples& window, const Samples& spin) {
    std::fprintf(out, "  %-42s %8.3f%% %8.3f%%   (a busy loop: %.1f%%)\n", what, window.Median(),
                 window.Min(), spin.Median());
}

void PrintCpu(const BenchResults& results, std::FILE* out) {
    std::fprintf(out,
                 "\nCPU of QuorvelTool while it waits %.1f s for an answer that never comes "
                 "(%% of one core)\n",
                 results.cpuWindowMs / 1000);
    PrintCpuRow(out, "GetProcessTimes on the process handle", results.cpuProcessPercent,
                results.spinProcessPercent);
    PrintCpuRow(out, "GetThreadTimes summed over its threads", results.cpuThreadsPercent,
                results.spinThreadsPercent);
    if (TrustedCpu(results) != &results.cpuProcessPercent)
        std::fprintf(out,
                     "      the process handle does not see a running busy loop's CPU; "
                     "the thread sum is the figure\n");
    if (results.cpuWindowMs > 0)
        std::fprintf(out, "      one %.0f ms tick of CPU time is %.3f%% of this window\n",
                     kCpuTickMs, kCpuTickMs * 100 / results.cpuWindowMs);
    PrintRow(out, "CPU ms before the window (thread sum)", results.cpuBeforeWindowMs);
}

const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

void PrintTargets(const BenchResults& results, std::FILE* out) {
    const double welcomeRatio = results.welcomeShown.Median() / WelcomeFloor(results).median;
    std::fprintf(out, "\nTargets\n");
    std::fprintf(out, "  welcome page within %.0f%% of its floor (median ratio %.3f): %s\n",
                 (kWelcomeRatioTarget - 1) * 100, welcomeRatio,
                 Verdict(!results.welcomeShown.Empty() && welcomeRatio <= kWelcomeRatioTarget));
    const Samples* cpu = TrustedCpu(results);
    if (cpu == nullptr || cpu->Empty()) {
        std::fprintf(out, "  CPU during the wait: not measured (no reading saw the busy loop)\n");
        return;
    }
    std::fprintf(out, "  CPU during the wait under %.0f%% of one core (median %.3f%%, %s): %s\n",
                 kCpuPercentTarget, cpu->Median(),
                 cpu == &results.cpuProcessPercent ? "process handle" : "thread sum",
                 Verdict(cpu->Median() < kCpuPercentTarget));
}

}  // namespace

void PrintReport(const BenchResults& results, int rounds, int cpuRounds, std::FILE* out) {
    std::fprintf(out,
                 "\nQuorvelTool bench under Wine: the simulated card answers every command after "
                 "%d ms.\n%d rounds (the no-answer window: %d); figures are the median and the "
                 "minimum over the rounds, in ms.\n",
                 results.replyDelayMs, rounds, cpuRounds);
    PrintFloors(results, out);
    PrintTimings(results, out);
    PrintCpu(results, out);
    PrintTargets(results, out);
    if (results.failures.empty()) return;
    std::fprintf(out, "\nFailures\n");
    for (const std::string& failure : results.failures)
        std::fprintf(out, "  %s\n", failure.c_str());
}

}  // namespace quorvel::bench
