#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel::winedrive {

// One run of a Windows program started from outside: its process handle, its end and its exit
// code. A run still going when the object goes is ended, so nothing is left behind (under Wine
// it would hold the caller's standard output open, and ctest would wait for it).
class ProgramRun {
  public:
    ProgramRun() = default;
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Starts `exeUnixPath` (reached through drive Z:) with `args` in `workDirUnix` (its current
    // directory; empty keeps the caller's). A run this object still holds is ended first.
    bool Start(const std::string& exeUnixPath, const std::vector<std::string>& args,
               const std::string& workDirUnix);

    // Starts it as Start does, but from the Unix side with Wine's debug output for `channels`
    // (a WINEDEBUG value) going to the file `stderrUnixPath`: a program started from here would
    // write it where this one does. Starts must not overlap, as the new process is told from
    // the program's others by being the one that was not there before.
    bool StartWithWineDebug(const std::string& exeUnixPath, const std::vector<std::string>& args,
                            const std::string& workDirUnix, const std::string& channels,
                            const std::string& stderrUnixPath);

    bool Started() const { return process_ != nullptr; }
    bool Running() const;
    // Waits up to `timeoutMs` for the program to end; true when it has.
    bool WaitForExit(DWORD timeoutMs);
    // The exit code once the program has ended; STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    // Ends the program at once if it still runs, and waits (bounded) until it has gone.
    void End();

    // Processor time the program has used so far, in ms; negative when it cannot be read.
    double CpuMs() const;

    DWORD ProcessId() const { return processId_; }
    // The command line it was started with, for failure messages.
    const std::string& CommandLine() const { return commandLine_; }

  private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    std::string commandLine_;
};

// Processor time the process has used so far, in ms; negative when it cannot be read.
double ProcessCpuMs(DWORD processId);

// Runs a Windows program as on a machine without a desktop: started from the Unix side with
// DISPLAY unset, so it can make no window. Leaving DISPLAY out of the environment CreateProcess
// hands over is not enough: Wine gives a program it starts the caller's Unix environment, and
// the display is opened from that. Returns the exit status, -1 when the program did not end
// within `timeoutMs` (it is then left to the end of the Wine session).
int RunWithoutDisplay(const std::string& exeUnixPath, const std::vector<std::string>& args,
                      const std::string& workDirUnix, DWORD timeoutMs);

}  // namespace quorvel::winedrive
