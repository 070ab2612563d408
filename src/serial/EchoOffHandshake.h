#pragma once

#include "serial/Clock.h"
#include "serial/ComDevice.h"

namespace quorvel {

inline constexpr char kEchoOffCommand[] = "ATE0\r";

// Checks that the card on the open port answers, and turns its command echo off. The card has
// strictly less than kReplyWindowSeconds to say "OK"; "ERROR" fails at once, and anything else
// (even "COMMAND NOT SUPPORTED") is waited out. The port is closed in every case.
bool EchoOffHandshake(ComDevice& device, Clock& clock);

}  // namespace quorvel
