#include "UnixCommand.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "WinePaths.h"

namespace quorvel::test {

namespace {

constexpr DWORD kPollMs = 20;

// Each script leaves its exit status in a file of its own inside the prefix.
std::string NewStatusFile() {
    static int made = 0;
    return WinePrefix() + "/shell-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++made) + ".status";
}

}  // namespace

// Inside single quotes nothing is special but the quote itself.
std::string ShellQuote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
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
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return false;
    // Nothing in `info` is ours to close: for a Unix program Wine hands back no handles, and
    // leaves stale words there. Closing them once closed the test's own registry root handle.
    return true;
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
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(kPollMs);
    }
    return true;
}

// The status is written under another name and moved into place, so a reader never sees it
// half written.
bool RunShellScript(const std::string& script, DWORD timeoutMs) {
    const std::string status = NewStatusFile();
    const std::string written = status + ".tmp";
    const std::string wrapped = "exec </dev/null >/dev/null 2>&1; (" + script + "); echo $? >" +
                                ShellQuote(written) + "; mv " + ShellQuote(written) + " " +
                                ShellQuote(status);
    if (!StartUnixCommand("/bin/sh -c " + WindowsQuote(wrapped))) return false;
    const bool ended = WaitFor([&] { return UnixFileExists(status); }, timeoutMs);
    const std::string exitStatus = ended ? ReadUnixFile(status) : "";
    DeleteFileA(UnixToWindowsPath(status).c_str());
    return !exitStatus.empty() && std::atoi(exitStatus.c_str()) == 0;
}

}  // namespace quorvel::test
