#include "CardSimProcess.h"

#include <cstdlib>
#include <sstream>

#include "UnixCommand.h"
#include "WinePaths.h"

namespace quorvel::test {

namespace {

constexpr DWORD kStartTimeoutMs = 5000;
constexpr DWORD kStopTimeoutMs = 5000;

std::string FirstLine(std::string text) {
    std::size_t end = text.find_first_of("\r\n");
    return end == std::string::npos ? text : text.substr(0, end);
}

}  // namespace

CardSimProcess::CardSimProcess() = default;

CardSimProcess::~CardSimProcess() {
    Stop();
}

::testing::AssertionResult CardSimProcess::Start(int comNumber,
                                                 const std::vector<std::string>& extraArgs) {
    Stop();
    comNumber_ = comNumber;
    if (Environment("QUORVEL_CARDSIM").empty() || WinePrefix().empty())
        return ::testing::AssertionFailure() << "QUORVEL_CARDSIM and WINEPREFIX must be set";
    if (!MakeWorkDirectory())
        return ::testing::AssertionFailure() << "cannot make a work directory in " << WinePrefix();
    if (!StartUnixCommand(CommandLine(extraArgs)))
        return Failure("CreateProcessA failed (" + std::to_string(GetLastError()) + ")");
    started_ = true;
    return WaitUntilAnswering();
}

// A directory per card, so cards started one after another never read each other's files.
bool CardSimProcess::MakeWorkDirectory() {
    static int made = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = WinePrefix() + "/cardsim-" + std::to_string(GetCurrentProcessId()) +
                           "-" + std::to_string(++made);
        if (CreateDirectoryA(UnixToWindowsPath(path).c_str(), nullptr)) {
            workDirectory_ = path;
            return true;
        }
    }
    return false;
}

// The shell's output, and so the card's, goes to a file: a Unix program started from Wine
// inherits the test's standard output, and whoever reads that through a pipe would wait for
// the card to end. The shell stays to record the exit status, which is how the end is seen.
std::string CardSimProcess::CommandLine(const std::vector<std::string>& extraArgs) const {
    std::string script = "exec </dev/null >" + ShellQuote(WorkFile("cardsim.log")) + " 2>&1; " +
                         ShellQuote(Environment("QUORVEL_CARDSIM")) + " --link " +
                         ShellQuote(LinkPath()) + " --transcript " +
                         ShellQuote(WorkFile("transcript.txt")) + " --pid-file " +
                         ShellQuote(WorkFile("cardsim.pid"));
    for (const auto& argument : extraArgs)
        script += " " + ShellQuote(argument);
    script += "; echo $? >" + ShellQuote(WorkFile("exit.tmp")) + "; mv " +
              ShellQuote(WorkFile("exit.tmp")) + " " + ShellQuote(WorkFile("exit-status"));
    return "/bin/sh -c " + WindowsQuote(script);
}

::testing::AssertionResult CardSimProcess::WaitUntilAnswering() {
    WaitFor([&] { return !Running() || UnixFileExists(WorkFile("cardsim.pid")); }, kStartTimeoutMs);
    if (!Running())
        return Failure("cardsim exited at start with status " + std::to_string(ExitStatus()));
    if (!UnixFileExists(WorkFile("cardsim.pid"))) return Failure("cardsim did not come up in time");
    pid_ = FirstLine(ReadUnixFile(WorkFile("cardsim.pid")));
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CardSimProcess::Stop() {
    if (!started_) return ::testing::AssertionSuccess();
    started_ = false;
    // A card that came up too late for Start has written its pid file since.
    if (pid_.empty()) pid_ = FirstLine(ReadUnixFile(WorkFile("cardsim.pid")));
    if (ExitStatus() < 0 && !StartUnixCommand("/bin/kill -TERM " + pid_))
        return Failure("could not run /bin/kill");
    if (!WaitFor([&] { return ExitStatus() >= 0; }, kStopTimeoutMs))
        return Failure("cardsim did not stop in time");
    if (UnixFileExists(WorkFile("cardsim.pid"))) return Failure("cardsim left its pid file behind");
    return ::testing::AssertionSuccess();
}

bool CardSimProcess::Running() const {
    return started_ && ExitStatus() < 0;
}

int CardSimProcess::ExitStatus() const {
    if (workDirectory_.empty()) return -1;
    std::string status = FirstLine(ReadUnixFile(WorkFile("exit-status")));
    if (status.empty()) return -1;
    return std::atoi(status.c_str());
}

int CardSimProcess::WaitForExit(DWORD timeoutMs) const {
    WaitFor([&] { return ExitStatus() >= 0; }, timeoutMs);
    return ExitStatus();
}

std::vector<std::string> CardSimProcess::Transcript() const {
    std::vector<std::string> lines;
    std::istringstream text(ReadUnixFile(WorkFile("transcript.txt")));
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> CardSimProcess::WaitForTranscript(std::size_t lines,
                                                           DWORD timeoutMs) const {
    std::vector<std::string> transcript;
    WaitFor(
        [&] {
            transcript = Transcript();
            return transcript.size() >= lines;
        },
        timeoutMs);
    return transcript;
}

// Wine's DeleteFileA refuses a link to a terminal (ERROR_INVALID_PARAMETER): it opens what
// the link points at. rm removes the link itself.
bool CardSimProcess::RemoveLink() {
    return RunShellScript("rm -f " + ShellQuote(LinkPath()), kStopTimeoutMs);
}

std::string CardSimProcess::DevicePath() const {
    return "\\\\.\\COM" + std::to_string(comNumber_);
}

std::string CardSimProcess::LinkPath() const {
    return WinePrefix() + "/dosdevices/com" + std::to_string(comNumber_);
}

std::string CardSimProcess::Log() const {
    return ReadUnixFile(WorkFile("cardsim.log"));
}

::testing::AssertionResult CardSimProcess::Failure(const std::string& what) const {
    return ::testing::AssertionFailure() << what << " (COM" << comNumber_ << ", work directory "
                                         << workDirectory_ << ")\ncardsim log:\n"
                                         << Log();
}

std::string CardSimProcess::WorkFile(const char* name) const {
    return workDirectory_ + "/" + name;
}

}  // namespace quorvel::test
