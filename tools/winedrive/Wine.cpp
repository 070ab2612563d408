#include "winedrive/Wine.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quorvel::winedrive {

namespace {

constexpr DWORD kPollMs = 20;

// A name inside the prefix that no other object of this process has used.
std::string FreshPath(const char* stem) {
    static int made = 0;
    return WinePrefix() + "/" + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++made);
}

std::string ComLink(int comNumber) {
    return WinePrefix() + "/dosdevices/com" + std::to_string(comNumber);
}

}  // namespace

std::string UnixToWindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WinePrefix() {
    return Environment("WINEPREFIX");
}

// Inside single quotes nothing is special but the quote itself.
std::string ShellQuote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Backslashes are literal except before a quote, where they and the quote are escaped.
std::string WindowsQuote(const std::string& argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') backslashes = backslashes * 2 + 1;
        quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

bool StartUnixCommand(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    // Nothing in `info` is ours to close: for a Unix program Wine hands back no handles, and
    // leaves stale words there. Closing them once closed this process's registry root handle.
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info) != FALSE;
}

// The status is written under another name and moved into place, so a reader never sees it
// half written. The script's output goes nowhere: a Unix program inherits this program's
// standard output, and whoever reads that through a pipe would wait for it.
bool RunShellScript(const std::string& script, DWORD timeoutMs) {
    const std::string status = FreshPath("shell") + ".status";
    const std::string wrapped = "exec </dev/null >/dev/null 2>&1; (" + script + "); echo $? >" +
                                ShellQuote(status + ".tmp") + "; mv " +
                                ShellQuote(status + ".tmp") + " " + ShellQuote(status);
    if (!StartUnixCommand("/bin/sh -c " + WindowsQuote(wrapped))) return false;
    const bool ended = WaitFor([&] { return UnixFileExists(status); }, timeoutMs);
    const std::string exitStatus = ended ? ReadUnixFile(status) : "";
    DeleteFileA(UnixToWindowsPath(status).c_str());
    return !exitStatus.empty() && std::atoi(exitStatus.c_str()) == 0;
}

bool UnixFileExists(const std::string& unixPath) {
    return GetFileAttributesA(UnixToWindowsPath(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadUnixFile(const std::string& unixPath) {
    std::ifstream file(UnixToWindowsPath(unixPath), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    while (!condition()) {
        if (GetTickCount64() - start >= timeoutMs) return condition();
        Sleep(kPollMs);
    }
    return true;
}

bool LinkComPort(int comNumber, const std::string& unixTarget) {
    return RunShellScript("ln -sfn " + ShellQuote(unixTarget) + " " +
                          ShellQuote(ComLink(comNumber)));
}

bool UnlinkComPort(int comNumber) {
    return RunShellScript("rm -f " + ShellQuote(ComLink(comNumber)));
}

TempDirectory::TempDirectory() {
    const std::string path = FreshPath("temp");
    if (CreateDirectoryA(UnixToWindowsPath(path).c_str(), nullptr)) unixPath_ = path;
}

TempDirectory::~TempDirectory() {
    if (Made() && !keep_) RunShellScript("rm -rf " + ShellQuote(unixPath_));
}

bool TempDirectory::WriteFile(const std::string& name, const std::string& text) const {
    std::ofstream file(UnixToWindowsPath(unixPath_ + "/" + name), std::ios::binary);
    file << text;
    return static_cast<bool>(file.flush());
}

std::string TempDirectory::ReadFile(const std::string& name) const {
    return ReadUnixFile(unixPath_ + "/" + name);
}

}  // namespace quorvel::winedrive
