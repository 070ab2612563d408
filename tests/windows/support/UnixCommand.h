#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace quorvel::test {

// Runs Linux programs from inside a Windows test. Wine starts a Unix program named by its path
// from CreateProcessA, but gives no process handle for it: whoever needs to know when it is
// done watches a file it leaves.

// Quotes one word for /bin/sh.
std::string ShellQuote(const std::string& word);

// Quotes one argument so that Wine, splitting the command line by the Windows rules to build
// the Unix program's argv, hands it over unchanged.
std::string WindowsQuote(const std::string& argument);

// Starts the command line's Unix program and returns at once.
bool StartUnixCommand(const std::string& commandLine);

bool UnixFileExists(const std::string& unixPath);

// The whole file, empty when it cannot be read.
std::string ReadUnixFile(const std::string& unixPath);

// Polls `condition` until it holds or `timeoutMs` has passed; returns its last answer.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);

// Runs `script` with /bin/sh and waits (bounded) for it to end. True when it ended in time
// with status 0.
bool RunShellScript(const std::string& script, DWORD timeoutMs = 5000);

}  // namespace quorvel::test
