#pragma once

#include <string>
#include <vector>

#include "Samples.h"

namespace quorvel::bench {

// A bare exchange: the whole of it, and its parts (the open, then each command).
struct ExchangeSamples {
    std::vector<std::string> commands;
    Samples total;
    std::vector<Samples> parts;
};

// Everything one bench run measured, in milliseconds unless named a percentage.
struct BenchResults {
    int replyDelayMs = 0;
    unsigned pollIntervalMs = 0;

    // Floors
    Samples baselineShown;  // start-up baseline, start to dialog visible and filled
    Samples baselineExit;   // start-up baseline ending in its initialisation, start to exit
    ExchangeSamples bareWelcome;
    ExchangeSamples bareSilent;

    // QuorvelTool
    Samples welcomeShown;  // start to welcome page visible and filled
    Samples silentExit;    // "-s 1", start to exit
    double cpuWindowMs = 0;
    Samples cpuProcessPercent;  // during the no-answer window, from the process handle
    Samples cpuThreadsPercent;  // the same, summed over its threads
    Samples cpuBeforeWindowMs;  // CPU time the no-answer run used before its window (threads)

    // A busy loop measured the same way, to show the CPU figures are not blind.
    Samples spinProcessPercent;
    Samples spinThreadsPercent;

    std::vector<std::string> failures;
};

}  // namespace quorvel::bench
