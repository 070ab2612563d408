// cardsim: a simulated data card on a Linux pseudo-terminal, for the tests that run the
// program under Wine. See UsageText() in Options.cpp for the command line.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cardsim/ByteLog.h"
#include "cardsim/Card.h"
#include "cardsim/EventLoop.h"
#include "cardsim/Options.h"
#include "cardsim/Pty.h"
#include "cardsim/Transcript.h"

using namespace quorvel::cardsim;

namespace {

int Fail(const std::string& error) {
    std::fprintf(stderr, "cardsim: %s\n", error.c_str());
    return 1;
}

// Written aside and renamed into place, so whoever waits for the file never reads half of it.
bool WritePidFile(const std::string& path, std::string* error) {
    std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    bool written = file != nullptr && std::fprintf(file, "%ld\n", static_cast<long>(getpid())) > 0;
    if (file != nullptr && std::fclose(file) != 0) written = false;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        *error = "pid file " + path + ": " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

// A test that dies without stopping its card leaves it running; the throwaway Wine prefix
// that held the link is removed all the same, and then the card is of no use to anyone.
bool LinkDirectoryExists(const std::string& link) {
    std::size_t slash = link.rfind('/');
    std::string directory = slash == std::string::npos ? "." : link.substr(0, slash + 1);
    return access(directory.c_str(), F_OK) == 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    Options options;
    std::string error;
    switch (ParseOptions(argc, argv, &options, &error)) {
        case ParseResult::kHelp:
            std::fputs(UsageText(), stdout);
            return 0;
        case ParseResult::kBad:
            std::fprintf(stderr, "cardsim: %s (see --help)\n", error.c_str());
            return 2;
        case ParseResult::kRun:
            break;
    }
    sigset_t waitMask;
    CatchStopSignals(&waitMask);

    Transcript transcript;
    Pty pty;
    if (!options.transcript.empty() && !transcript.Open(options.transcript, &error))
        return Fail(error);
    ByteLog byteLog;
    if (!options.byteLog.empty() && !byteLog.Open(options.byteLog, Now(), &error))
        return Fail(error);
    if (!pty.Open(&error) || !PlaceLink(options.link, pty.SlavePath(), &error)) return Fail(error);
    if (!options.pidFile.empty() && !WritePidFile(options.pidFile, &error)) {
        RemoveLinkTo(options.link, pty.SlavePath());
        return Fail(error);
    }
    Card card(options, Now());
    Ending ending = RunCard(&card, pty.Master(), &transcript, &byteLog, waitMask,
                            [&options] { return LinkDirectoryExists(options.link); });
    if (ending != Ending::kVanished) TakeInput(&card, pty.Master(), &transcript, &byteLog);

    // Everything the card leaves behind goes, and the pid file last: whoever waits for it to
    // vanish may then read a complete transcript and find no link.
    if (!card.PartialLine().empty()) transcript.WriteLine(card.PartialLine());
    transcript.Close();
    std::string slave = pty.SlavePath();
    pty.Close();
    RemoveLinkTo(options.link, slave);
    if (!options.pidFile.empty()) std::remove(options.pidFile.c_str());
    return 0;
}
