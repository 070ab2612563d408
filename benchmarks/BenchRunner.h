#pragma once

#include <string>
#include <vector>

#include "BenchResults.h"
#include "ProgramRun.h"
#include "WizardRig.h"

namespace quorvel::bench {

// Unix paths of the programs timed; QuorvelTool.exe itself is $QUORVEL_EXE, as for the tests.
struct BenchPrograms {
    std::string startupBaseline;
    std::string bareExchange;
};

struct BenchSettings {
    int repeats = 5;
    int cpuRepeats = 3;
    int replyDelayMs = 20;
};

// Runs every measurement against one simulated card, registered once as the card's modem on
// COM7 with a Quorvel.ini that knows its model. The card is started afresh (echo on, nothing
// pending) before each run that talks to it, so every run sees the same card.
class BenchRunner {
  public:
    BenchRunner(BenchPrograms programs, BenchSettings settings);

    // Registers the card and writes Quorvel.ini; false (with a failure noted) when it cannot.
    bool Prepare(BenchResults& results);

    // One of each floor and QuorvelTool timing, one after another, so that load from
    // elsewhere on the machine falls on floor and program alike.
    void RunRound(BenchResults& results);
    void RunCpuWindow(BenchResults& results);
    void RunSpinCheck(BenchResults& results);

    // Runs each program once untimed, so that no figure pays for cold caches.
    void WarmUp(BenchResults& results);

  private:
    bool StartCard(BenchResults& results, const std::vector<std::string>& extraArgs = {});
    double TimeBaselineShown(BenchResults& results);
    double TimeBaselineExit(BenchResults& results);
    void TimeBareExchange(BenchResults& results, ExchangeSamples& samples);
    double TimeWelcomePage(BenchResults& results);
    double TimeSilentRun(BenchResults& results);
    bool ExpectTranscript(BenchResults& results, const char* what,
                          const std::vector<std::string>& expected);
    std::string ResultFile();

    BenchPrograms programs_;
    BenchSettings settings_;
    quorvel::test::WizardRig rig_;
};

}  // namespace quorvel::bench
