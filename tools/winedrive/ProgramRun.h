#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel::test {

// One run of a Windows program started by a test: its process handle, its end and its exit
// code. A run still going when the object goes is ended, so no test leaves a program behind
// (under Wine it would hold the test's standard output open, and ctest would wait for it).
class ProgramRun {
  public:
    ProgramRun() = default;
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Starts `exeUnixPath` (reached through drive Z:) with `args` in `workDirUnix` (the program's
    // current directory; empty keeps the test's own). False when CreateProcessA fails; a run
    // this object still holds is ended first.
    bool Start(const std::string& exeUnixPath, const std::vector<std::string>& args,
               const std::string& workDirUnix);

    bool Started() const { return process_ != nullptr; }
    bool Running() const;

    // Waits up to `timeoutMs` for the program to end; true when it has.
    bool WaitForExit(DWORD timeoutMs);

    // The exit code once the program has ended; STILL_ACTIVE while it runs.
    DWORD ExitCode() const;

    // Ends the program at once if it still runs, and waits (bounded) until it has gone.
    void End();

    DWORD ProcessId() const { return processId_; }
    DWORD ThreadId() const { return threadId_; }
    HANDLE Process() const { return process_; }
    // The command line it was started with, for failure messages.
    const std::string& CommandLine() const { return commandLine_; }

  private:
    void Release();

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    std::string commandLine_;
};

// Quotes one argument for a Windows command line so that the standard splitter gives it back
// unchanged.
std::string QuoteArgument(const std::string& argument);

}  // namespace quorvel::test
