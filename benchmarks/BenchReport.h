#pragma once

#include <cstdio>

#include "BenchResults.h"

namespace quorvel::bench {

// The targets the figures are held against.
inline constexpr double kWelcomeRatioTarget = 1.05;
inline constexpr double kCpuPercentTarget = 1.0;

// Prints the table: the floors, then QuorvelTool's figures beside their floors and targets,
// then anything that went wrong. A missed target is reported, not treated as a failure.
void PrintReport(const BenchResults& results, int rounds, int cpuRounds, std::FILE* out);

}  // namespace quorvel::bench
