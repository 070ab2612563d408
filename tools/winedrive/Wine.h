#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace quorvel::winedrive {

// Wine maps the Unix root to drive Z:, so Windows code reaches the Linux side's files (the
// simulated card's transcript, the prefix's dosdevices) through Z: paths.
std::string UnixToWindowsPath(const std::string& unixPath);

// The value of an environment variable, empty when unset.
std::string Environment(const char* name);

// The Unix path of the Wine prefix this program runs in.
std::string WinePrefix();

// Quotes one word for /bin/sh.
std::string ShellQuote(const std::string& word);

// Quotes one argument so that the Windows command-line splitter gives it back unchanged.
std::string WindowsQuote(const std::string& argument);

// Starts a Unix program from its command line and returns at once. Wine gives no process
// handle for it: whoever needs to know when it is done watches a file it leaves.
bool StartUnixCommand(const std::string& commandLine);

// How long a wait for something that is bound to happen may take: long enough for Wine's 32-bit
// half under emulation on a loaded 2-core machine. A wait ends as soon as its condition holds.
inline constexpr DWORD kConditionTimeoutMs = 20000;

// Runs `script` with /bin/sh and waits (bounded) for it to end. True when it ended in time
// with status 0.
bool RunShellScript(const std::string& script, DWORD timeoutMs = kConditionTimeoutMs);

bool UnixFileExists(const std::string& unixPath);

// The whole file, empty when it cannot be read.
std::string ReadUnixFile(const std::string& unixPath);

// Polls `condition` every 20 ms until it holds or `timeoutMs` has passed; its last answer.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);

// Links COM<n> of the prefix to any Unix path, as a real port is linked to its device, so a
// program can be offered a "port" that is no terminal. Windows code cannot make such a link.
bool LinkComPort(int comNumber, const std::string& unixTarget);

// Removes COM<n>'s link. Wine's DeleteFileA would open what the link points at; rm does not.
bool UnlinkComPort(int comNumber);

// A directory of its own inside the prefix, removed with everything in it when this goes.
class TempDirectory {
  public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    bool Made() const { return !unixPath_.empty(); }
    const std::string& UnixPath() const { return unixPath_; }
    // Leaves the directory in place when the object goes, for whoever reads a failure.
    void Keep() { keep_ = true; }
    std::string WindowsPath() const { return UnixToWindowsPath(unixPath_); }

    // Writes `text` to the file `name` in the directory, byte for byte.
    bool WriteFile(const std::string& name, const std::string& text) const;
    std::string ReadFile(const std::string& name) const;

  private:
    std::string unixPath_;
    bool keep_ = false;
};

}  // namespace quorvel::winedrive
