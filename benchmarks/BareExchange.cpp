// The card exchange with nothing around it: open the port, write each command, read until
// "OK", looking at the port every millisecond and never sleeping longer. What this takes is
// the least any program can spend talking to the card; the bench sets QuorvelTool's
// exchanges against it.
//
//   bareexchange <COM number> <result file> <command>...   (each command is sent with a CR)
//   bareexchange --spin <ms> <result file>                 a busy loop, to check that the
//                                                          bench sees CPU time at all
//
// The result file (a Windows path) gets one line of microseconds: the open, each command in
// turn, and the whole exchange from before the open to the last "OK". Exit status 0 when
// every command was answered OK, 1 when one was not within the time allowed, 2 on bad usage.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kAnswerTimeoutMs = 5000;
constexpr DWORD kLookIntervalMs = 1;

double NowMicroseconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// A read takes only what has already arrived and never waits.
HANDLE OpenPort(int comNumber) {
    const std::string path = "\\\\.\\COM" + std::to_string(comNumber);
    HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return port;
    COMMTIMEOUTS timeouts = {MAXDWORD, 0, 0, 0, 0};
    SetCommTimeouts(port, &timeouts);
    return port;
}

bool AwaitOk(HANDLE port) {
    std::string reply;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD errors = 0;
        COMSTAT status = {};
        if (!ClearCommError(port, &errors, &status)) return false;
        if (status.cbInQue > 0) {
            char bytes[256];
            DWORD taken = 0;
            const DWORD wanted = status.cbInQue < sizeof bytes ? status.cbInQue : sizeof bytes;
            if (!ReadFile(port, bytes, wanted, &taken, nullptr)) return false;
            reply.append(bytes, taken);
            if (reply.find("OK") != std::string::npos) return true;
            continue;
        }
        if (GetTickCount() - start >= kAnswerTimeoutMs) return false;
        Sleep(kLookIntervalMs);
    }
}

bool Send(HANDLE port, const std::string& command) {
    const std::string line = command + "\r";
    DWORD written = 0;
    return WriteFile(port, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
           written == line.size() && AwaitOk(port);
}

bool WriteResult(const char* path, const std::vector<double>& figures) {
    FILE* file = std::fopen(path, "w");
    if (file == nullptr) return false;
    for (double figure : figures)
        std::fprintf(file, "%.0f ", figure);
    std::fprintf(file, "\n");
    return std::fclose(file) == 0;
}

int Exchange(int comNumber, const char* resultPath, const std::vector<std::string>& commands) {
    std::vector<double> figures;
    const double start = NowMicroseconds();
    HANDLE port = OpenPort(comNumber);
    if (port == INVALID_HANDLE_VALUE) return 1;
    double last = NowMicroseconds();
    figures.push_back(last - start);
    bool answered = true;
    for (const std::string& command : commands) {
        answered = Send(port, command);
        if (!answered) break;
        const double now = NowMicroseconds();
        figures.push_back(now - last);
        last = now;
    }
    figures.push_back(last - start);
    CloseHandle(port);
    return answered && WriteResult(resultPath, figures) ? 0 : 1;
}

int Spin(double milliseconds, const char* resultPath) {
    const double start = NowMicroseconds();
    volatile unsigned long long turns = 0;
    while (NowMicroseconds() - start < milliseconds * 1000)
        ++turns;
    return WriteResult(resultPath, {NowMicroseconds() - start}) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--spin") return Spin(std::atof(argv[2]), argv[3]);
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: bareexchange <COM number> <result file> <command>...\n"
                     "       bareexchange --spin <ms> <result file>\n");
        return 2;
    }
    return Exchange(std::atoi(argv[1]), argv[2], std::vector<std::string>(argv + 3, argv + argc));
}
