// Times QuorvelTool.exe under Wine against the simulated card and prints each figure beside
// the floor the program's design allows, measured in the same run. Run it in a Wine prefix of
// its own with a display (scripts/bench does both).
//
//   quorvelbench [--rounds N] [--cpu-rounds N] [--delay MS]
//
// QuorvelTool.exe and cardsim are $QUORVEL_EXE and $QUORVEL_CARDSIM, as for the Windows tests;
// unset, they default to the build they were built with. Exit status 1 when a measurement
// could not be made (a program failed or the card was not sent what it should have been);
// a missed target is only reported.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchReport.h"
#include "BenchRunner.h"
#include "WinePaths.h"

namespace {

using quorvel::bench::BenchPrograms;
using quorvel::bench::BenchResults;
using quorvel::bench::BenchRunner;
using quorvel::bench::BenchSettings;

void DefaultEnvironment(const char* name, const char* value) {
    if (quorvel::test::Environment(name).empty())
        _putenv((std::string(name) + "=" + value).c_str());
}

bool ParseSettings(int argc, char** argv, BenchSettings& settings) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (value < 1) return false;
        if (name == "--rounds") {
            settings.repeats = value;
        } else if (name == "--cpu-rounds") {
            settings.cpuRepeats = value;
        } else if (name == "--delay") {
            settings.replyDelayMs = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

void Progress(const char* what) {
    std::printf("bench: %s\n", what);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    BenchSettings settings;
    if (!ParseSettings(argc, argv, settings)) {
        std::fprintf(stderr, "usage: quorvelbench [--rounds N] [--cpu-rounds N] [--delay MS]\n");
        return 2;
    }
    DefaultEnvironment("QUORVEL_EXE", QUORVEL_BENCH_EXE);
    DefaultEnvironment("QUORVEL_CARDSIM", QUORVEL_BENCH_CARDSIM);
    if (quorvel::test::WinePrefix().empty()) {
        std::fprintf(stderr, "quorvelbench: WINEPREFIX must be set\n");
        return 2;
    }

    BenchResults results;
    BenchRunner runner(BenchPrograms{QUORVEL_BENCH_BASELINE, QUORVEL_BENCH_BARE}, settings);
    if (runner.Prepare(results)) {
        Progress("warming up");
        runner.WarmUp(results);
        for (int round = 1; round <= settings.repeats; ++round) {
            Progress(("round " + std::to_string(round) + " of " + std::to_string(settings.repeats))
                         .c_str());
            runner.RunRound(results);
        }
        for (int round = 1; round <= settings.cpuRepeats; ++round) {
            Progress(("no-answer window " + std::to_string(round) + " of " +
                      std::to_string(settings.cpuRepeats) + " (about 32 s)")
                         .c_str());
            runner.RunCpuWindow(results);
        }
        runner.RunSpinCheck(results);
    }
    quorvel::bench::PrintReport(results, settings.repeats, settings.cpuRepeats, stdout);
    return results.failures.empty() ? 0 : 1;
}
