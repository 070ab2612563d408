#include "winedrive/CardSimProcess.h"

#include <cstdlib>
#include <memory>
#include <sstream>

#include "winedrive/Wine.h"

namespace quorvel::winedrive {

namespace {

std::string FirstLine(std::string text) {
    std::size_t end = text.find_first_of("\r\n");
    return end == std::string::npos ? text : text.substr(0, end);
}

}  // namespace

CardSimProcess::CardSimProcess() = default;

CardSimProcess::~CardSimProcess() {
    Stop();
}

bool CardSimProcess::Start(int comNumber, const std::vector<std::string>& extraArgs) {
    Stop();
    comNumber_ = comNumber;
    if (Environment("QUORVEL_CARDSIM").empty() || WinePrefix().empty())
        return Failure("QUORVEL_CARDSIM and WINEPREFIX must be set");
    if (!MakeWorkDirectory()) return Failure("cannot make a work directory in " + WinePrefix());
    if (!StartUnixCommand(CommandLine(extraArgs)))
        return Failure("CreateProcessA failed (" + std::to_string(GetLastError()) + ")");
    started_ = true;
    return WaitUntilAnswering();
}

// A directory per card, so cards started one after another never read each other's files.
bool CardSimProcess::MakeWorkDirectory() {
    work_ = std::make_unique<TempDirectory>();
    workDirectory_ = work_->UnixPath();
    return work_->Made();
}

// The shell's output, and so the card's, goes to a file: a Unix program started from Wine
// inherits the test's standard output, and whoever reads that through a pipe would wait for
// the card to end. The shell stays to record the exit status, which is how the end is seen.
std::string CardSimProcess::CommandLine(const std::vector<std::string>& extraArgs) const {
    std::string script = "exec </dev/null >" + ShellQuote(WorkFile("cardsim.log")) + " 2>&1; " +
                         ShellQuote(Environment("QUORVEL_CARDSIM")) + " --link " +
                         ShellQuote(LinkPath()) + " --transcript " +
                         ShellQuote(WorkFile("transcript.txt")) + " --byte-log " +
                         ShellQuote(WorkFile("bytes.log")) + " --pid-file " +
                         ShellQuote(WorkFile("cardsim.pid"));
    for (const auto& argument : extraArgs)
        script += " " + ShellQuote(argument);
    script += "; echo $? >" + ShellQuote(WorkFile("exit.tmp")) + "; mv " +
              ShellQuote(WorkFile("exit.tmp")) + " " + ShellQuote(WorkFile("exit-status"));
    return "/bin/sh -c " + WindowsQuote(script);
}

bool CardSimProcess::WaitUntilAnswering() {
    WaitFor([&] { return !Running() || UnixFileExists(WorkFile("cardsim.pid")); },
            kConditionTimeoutMs);
    if (!Running())
        return Failure("cardsim exited at start with status " + std::to_string(ExitStatus()));
    if (!UnixFileExists(WorkFile("cardsim.pid"))) return Failure("cardsim did not come up in time");
    pid_ = FirstLine(ReadUnixFile(WorkFile("cardsim.pid")));
    return true;
}

bool CardSimProcess::Stop() {
    if (!started_) return true;
    started_ = false;
    // A card that came up too late for Start has written its pid file since.
    if (pid_.empty()) pid_ = FirstLine(ReadUnixFile(WorkFile("cardsim.pid")));
    if (ExitStatus() < 0 && !StartUnixCommand("/bin/kill -TERM " + pid_))
        return Failure("could not run /bin/kill");
    if (!WaitFor([&] { return ExitStatus() >= 0; }, kConditionTimeoutMs))
        return Failure("cardsim did not stop in time");
    if (UnixFileExists(WorkFile("cardsim.pid"))) return Failure("cardsim left its pid file behind");
    return true;
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
    return UnlinkComPort(comNumber_);
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

std::string CardSimProcess::ByteLog() const {
    return ReadUnixFile(WorkFile("bytes.log"));
}

std::string CardSimProcess::Evidence() const {
    return "the card on COM" + std::to_string(comNumber_) + ", its files in " + workDirectory_ +
           "\nits bytes (ms since it started):\n" + ByteLog() + "cardsim's log:\n" + Log();
}

void CardSimProcess::Keep() {
    if (work_ != nullptr) work_->Keep();
}

bool CardSimProcess::Failure(const std::string& what) {
    error_ = what + " (COM" + std::to_string(comNumber_) + ", work directory " + workDirectory_ +
             ")\ncardsim log:\n" + Log();
    Keep();
    return false;
}

std::string CardSimProcess::WorkFile(const char* name) const {
    return workDirectory_ + "/" + name;
}

}  // namespace quorvel::winedrive
