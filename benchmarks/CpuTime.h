#pragma once

#include <windows.h>

namespace quorvel::bench {

// CPU time (kernel and user) another process has used so far, in milliseconds, read two
// ways: from the process handle, and summed over the threads it has now. The second is a
// cross-check on the first; it misses threads that have already ended. Negative when the
// figure cannot be read.
struct CpuReading {
    double processMs = -1;
    double threadsMs = -1;
};

CpuReading ReadCpu(HANDLE process, DWORD processId);

// Share of one core used between two readings `wallMs` apart, in percent; negative when
// either reading lacks the figure.
double ProcessCpuPercent(const CpuReading& from, const CpuReading& to, double wallMs);
double ThreadsCpuPercent(const CpuReading& from, const CpuReading& to, double wallMs);

}  // namespace quorvel::bench
