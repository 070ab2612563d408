#include "winedrive/ProgramRun.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <set>

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

// The processes running `exeUnixPath`, by the full path of their image.
std::set<DWORD> ProcessesOf(const std::string& exeUnixPath) {
    const std::string wanted = UnixToWindowsPath(exeUnixPath);
    std::set<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        char image[MAX_PATH] = {};
        DWORD size = sizeof image;
        if (process != nullptr && QueryFullProcessImageNameA(process, 0, image, &size) &&
            lstrcmpiA(image, wanted.c_str()) == 0)
            found.insert(entry.th32ProcessID);
        if (process != nullptr) CloseHandle(process);
    }
    CloseHandle(snapshot);
    return found;
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

bool ProgramRun::StartWithWineDebug(const std::string& exeUnixPath,
                                    const std::vector<std::string>& args,
                                    const std::string& workDirUnix, const std::string& channels,
                                    const std::string& stderrUnixPath) {
    End();
    const std::set<DWORD> before = ProcessesOf(exeUnixPath);
    std::string script = "cd " + ShellQuote(workDirUnix) + " && WINEDEBUG=" + ShellQuote(channels) +
                         " exec wine " + ShellQuote(exeUnixPath);
    for (const std::string& argument : args)
        script += " " + ShellQuote(argument);
    script += " </dev/null >/dev/null 2>" + ShellQuote(stderrUnixPath);
    commandLine_ = script;
    if (!StartUnixCommand("/bin/sh -c " + WindowsQuote(script))) return false;
    WaitFor(
        [&] {
            for (DWORD id : ProcessesOf(exeUnixPath)) {
                if (before.count(id) == 0) processId_ = id;
            }
            return processId_ != 0;
        },
        kConditionTimeoutMs);
    process_ = processId_ == 0
                   ? nullptr
                   : OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE,
                                 processId_);
    if (process_ == nullptr) processId_ = 0;
    return process_ != nullptr;
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
