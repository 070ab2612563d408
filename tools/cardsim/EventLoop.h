#pragma once

#include <signal.h>

#include <functional>

#include "cardsim/ByteLog.h"
#include "cardsim/Card.h"
#include "cardsim/Transcript.h"

namespace quorvel::cardsim {

enum class Ending { kStopped, kVanished, kAbandoned };

// Blocks SIGTERM, SIGINT and SIGHUP except while the loop waits, so a stop request is seen
// between two steps and never in the middle of one. `waitMask` is the mask to wait with.
void CatchStopSignals(sigset_t* waitMask);

// The monotonic time in milliseconds.
Millis Now();

// Runs the card on the pty's master until a stop signal, a VANISH, or `stillWanted` (asked
// about once a second) says no. Waits block in ppoll: the loop wakes only for input, for room
// to write, when the card has something due, and for that once-a-second question.
Ending RunCard(Card* card, int master, Transcript* transcript, ByteLog* log,
               const sigset_t& waitMask, const std::function<bool()>& stillWanted);

// Reads whatever is waiting on the master into the card; used once more before exiting so
// the transcript holds everything the program sent.
void TakeInput(Card* card, int master, Transcript* transcript, ByteLog* log);

}  // namespace quorvel::cardsim
