#include "winedrive/ProgramRun.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>

#include "winedrive/Wine.h"

namespace quorvel::winedrive {

namespace {

// The exit code of a program that had to be ended.
constexpr UINT kEndedFromOutside = 0xEDED;

// A plain word goes as it is, so the command line reads as a user would type it.
std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    return WindowsQuote(argument);
}

}  // namespace

ProgramRun::~ProgramRun() {
    End();
}

bool ProgramRun::Start(const std::string& exeUnixPath, const std::vector<std::string>& args,
                       const std::string& workDirUnix) {
    End();
    const std::string exe = UnixToWindowsPath(exeUnixPath);
    commandLine_ = "\"" + exe + "\"";
    for (const std::string& argument : args)
        commandLine_ += " " + QuoteArgument(argument);
    const std::string directory = workDirUnix.empty() ? "" : UnixToWindowsPath(workDirUnix);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine_;
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    return true;
}

bool ProgramRun::Running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ProgramRun::WaitForExit(DWORD timeoutMs) {
    return process_ != nullptr && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ProgramRun::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_ != nullptr) GetExitCodeProcess(process_, &code);
    return code;
}

void ProgramRun::End() {
    if (process_ == nullptr) return;
    if (Running()) {
        TerminateProcess(process_, kEndedFromOutside);
        WaitForSingleObject(process_, kConditionTimeoutMs);
    }
    CloseHandle(process_);
    process_ = nullptr;
    processId_ = 0;
}

double ProgramRun::CpuMs() const {
    return ProcessCpuMs(processId_);
}

// Summed over the threads: under Wine the process handle's figure stays at zero even for a busy
// loop.
double ProcessCpuMs(DWORD processId) {
    double cpu = -1;
    const auto ms = [](const FILETIME& t) {
        return static_cast<double>((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e4;
    };
    FILETIME created, exited, kernel, user;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (thread != nullptr && GetThreadTimes(thread, &created, &exited, &kernel, &user))
            cpu = std::max(cpu, 0.0) + ms(kernel) + ms(user);
        if (thread != nullptr) CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return cpu;
}

int RunWithoutDisplay(const std::string& exeUnixPath, const std::vector<std::string>& args,
                      const std::string& workDirUnix, DWORD timeoutMs) {
    TempDirectory scratch;
    const std::string status = scratch.UnixPath() + "/status";
    std::string script =
        "cd " + ShellQuote(workDirUnix) + " && env -u DISPLAY wine " + ShellQuote(exeUnixPath);
    for (const std::string& argument : args)
        script += " " + ShellQuote(argument);
    if (!scratch.Made() || !RunShellScript(script + "; echo $? >" + ShellQuote(status), timeoutMs))
        return -1;
    return std::atoi(ReadUnixFile(status).c_str());
}

}  // namespace quorvel::winedrive
