#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "winedrive/Wine.h"

namespace quorvel::winedrive {

// Runs tools/cardsim, the simulated data card, as COM<n> of the Wine prefix the test runs in.
// The card is a Linux program: it is started through Wine's support for running Unix programs
// from CreateProcess, and its files (transcript, pid file, log, exit status) live in a work
// directory of its own inside the prefix, which Windows code reaches through drive Z:.
// Wine gives no process handle for a Unix program, so every wait here watches those files.
class CardSimProcess {
  public:
    CardSimProcess();
    ~CardSimProcess();
    CardSimProcess(const CardSimProcess&) = delete;
    CardSimProcess& operator=(const CardSimProcess&) = delete;

    // Starts the card as COM<comNumber> with cardsim's options `extraArgs` added (--model,
    // --reply ATE0=ERROR, ...), and waits until it answers. Fails with cardsim's log when it
    // does not come up within a few seconds. A card this object already runs is stopped first.
    bool Start(int comNumber, const std::vector<std::string>& extraArgs = {});

    // Stops the card (SIGTERM) and waits until it has removed its pid file, by which time the
    // transcript is complete and the link is gone. Does nothing when the card is not running.
    bool Stop();

    // True while the card process runs (a VANISH reply ends it by itself).
    bool Running() const;

    // cardsim's exit status once it has ended, -1 while it runs or before it started.
    int ExitStatus() const;

    // What the card has received, one command a line, escaped as cardsim writes it
    // ("ATE0\\r" for ATE0 and its CR).
    std::vector<std::string> Transcript() const;

    // Waits (bounded) until the transcript has at least `lines` lines, and returns it.
    std::vector<std::string> WaitForTranscript(std::size_t lines,
                                               DWORD timeoutMs = kConditionTimeoutMs) const;

    // Unplugs the card: deletes the dosdevices link, so the port can no longer be opened, and
    // waits (bounded) until it is gone. The card itself keeps running.
    bool RemoveLink();

    // The Windows name of the port: \\.\COM<n>.
    std::string DevicePath() const;
    // The Unix path of the dosdevices link.
    std::string LinkPath() const;
    // cardsim's standard output and error.
    std::string Log() const;
    // Every byte the card took and sent, with the ms since it started.
    std::string ByteLog() const;

    // What a failure needs to be understood: the card's byte log and cardsim's log, and where
    // the card's files are. Keep leaves those files in place once the object goes.
    std::string Evidence() const;
    void Keep();

    // Why the last Start or Stop failed, with cardsim's log.
    const std::string& Error() const { return error_; }

  private:
    bool MakeWorkDirectory();
    std::string CommandLine(const std::vector<std::string>& extraArgs) const;
    bool WaitUntilAnswering();
    bool Failure(const std::string& what);
    std::string WorkFile(const char* name) const;

    int comNumber_ = 0;
    std::unique_ptr<TempDirectory> work_;
    std::string workDirectory_;
    std::string pid_;
    bool started_ = false;
    std::string error_;
};

}  // namespace quorvel::winedrive
