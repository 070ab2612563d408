#include "CpuTime.h"

#include <tlhelp32.h>

namespace quorvel::bench {

namespace {

// FILETIME counts 100-nanosecond steps.
double Milliseconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

double ProcessCpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    return Milliseconds(kernel) + Milliseconds(user);
}

double ThreadsCpuMs(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    double total = 0;
    bool any = false;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (thread == nullptr) continue;
        FILETIME created, exited, kernel, user;
        if (GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
            total += Milliseconds(kernel) + Milliseconds(user);
            any = true;
        }
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return any ? total : -1;
}

double Percent(double fromMs, double toMs, double wallMs) {
    if (fromMs < 0 || toMs < 0 || wallMs <= 0) return -1;
    return (toMs - fromMs) * 100.0 / wallMs;
}

}  // namespace

CpuReading ReadCpu(HANDLE process, DWORD processId) {
    return {ProcessCpuMs(process), ThreadsCpuMs(processId)};
}

double ProcessCpuPercent(const CpuReading& from, const CpuReading& to, double wallMs) {
    return Percent(from.processMs, to.processMs, wallMs);
}

double ThreadsCpuPercent(const CpuReading& from, const CpuReading& to, double wallMs) {
    return Percent(from.threadsMs, to.threadsMs, wallMs);
}

}  // namespace quorvel::bench
