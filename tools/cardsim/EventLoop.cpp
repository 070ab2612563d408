#include "cardsim/EventLoop.h"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace quorvel::cardsim {

namespace {

constexpr Millis kWatchEveryMs = 1000;

volatile sig_atomic_t g_stopRequested = 0;

void OnStopSignal(int) {
    g_stopRequested = 1;
}

// Writes as much output as the terminal takes now; the rest waits for room.
void WriteOutput(int master, std::string* output, ByteLog* log) {
    while (!output->empty()) {
        ssize_t written = write(master, output->data(), output->size());
        if (written > 0) {
            log->Sent(output->substr(0, static_cast<std::size_t>(written)), Now());
            output->erase(0, static_cast<std::size_t>(written));
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

// The ppoll timeout until `wake`, or until the next watch if that comes first.
timespec TimeoutUntil(Millis wake, Millis nextWatch) {
    if (wake < 0 || wake > nextWatch) wake = nextWatch;
    Millis wait = std::max<Millis>(wake - Now(), 0);
    return {static_cast<time_t>(wait / 1000), static_cast<long>(wait % 1000) * 1'000'000L};
}

// A read error other than "nothing there" should not happen while the slave is held open;
// if it does, pause rather than spin on a terminal that keeps reporting it.
void PauseAfterReadError() {
    timespec pause{0, 50'000'000L};
    nanosleep(&pause, nullptr);
}

}  // namespace

void CatchStopSignals(sigset_t* waitMask) {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&stopSignals, signalNumber);
        sigaction(signalNumber, &action, nullptr);
    }
    signal(SIGPIPE, SIG_IGN);
    sigprocmask(SIG_BLOCK, &stopSignals, waitMask);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        sigdelset(waitMask, signalNumber);
}

Millis Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<Millis>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

void TakeInput(Card* card, int master, Transcript* transcript, ByteLog* log) {
    char buffer[4096];
    for (;;) {
        ssize_t got = read(master, buffer, sizeof buffer);
        if (got > 0) {
            log->Took(std::string(buffer, got), Now());
            for (const auto& line : card->Receive(std::string(buffer, got), Now()))
                transcript->WriteLine(line);
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            if (got < 0 && errno != EAGAIN) PauseAfterReadError();
            return;
        }
    }
}

Ending RunCard(Card* card, int master, Transcript* transcript, ByteLog* log,
               const sigset_t& waitMask, const std::function<bool()>& stillWanted) {
    Millis nextWatch = Now() + kWatchEveryMs;
    for (;;) {
        card->Advance(Now());
        WriteOutput(master, &card->Output(), log);
        if (card->Vanished()) return Ending::kVanished;
        if (g_stopRequested) return Ending::kStopped;
        if (Now() >= nextWatch) {
            if (!stillWanted()) return Ending::kAbandoned;
            nextWatch = Now() + kWatchEveryMs;
        }
        pollfd port{master, static_cast<short>(POLLIN | (card->Output().empty() ? 0 : POLLOUT)), 0};
        timespec timeout = TimeoutUntil(card->NextWake(), nextWatch);
        int ready = ppoll(&port, 1, &timeout, &waitMask);
        if (ready > 0 && (port.revents & (POLLIN | POLLHUP | POLLERR)))
            TakeInput(card, master, transcript, log);
    }
}

}  // namespace quorvel::cardsim
