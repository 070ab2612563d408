#pragma once

namespace quorvel {

// The process's exit status after a silent run, for the scripts and installers that run it:
// 0 when the switch and the first reset command went through, otherwise the failing step's
// status (2 not found, 3 open failed, 4 no handshake, 5 write failed), and 1 where the card
// refused or did not answer (status 0, which as an exit status would read as success).
int SilentRunExitStatus(int outcomeStatus);

// An interactive run always exits 0.
inline constexpr int kInteractiveRunExitStatus = 0;

}  // namespace quorvel
