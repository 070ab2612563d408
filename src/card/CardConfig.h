#pragma once

#include "base/Trace.h"
#include "card/CardState.h"
#include "config/ProfileFile.h"

namespace quorvel {

// What the configuration file gives a run: the switch numbers and labels for the card type,
// and the extra device name. The file is read afresh by every call.
class CardConfig {
  public:
    CardConfig(CardState& state, ProfileFile& profile, Trace& trace)
        : state_(state), profile_(profile), trace_(trace) {}

    // Reads the switch numbers and labels of the card type held in the state. On failure sets
    // the status: 6 file missing, 8 no sections, 7 card type not among them (an empty type
    // never is), 9 a number missing (the first that applies). Success leaves the status alone.
    bool LoadSwitchConfig();

    // Reads the extra device name from section "OTHER". False, with the state unchanged, for a
    // missing file, a missing or empty name, and the placeholder "ERROR". Never sets the status.
    bool ReadConfiguredFriendlyName();

  private:
    bool ReadSwitchNumbers(SwitchConfig& config);
    void ReadCustomLabels(SwitchConfig& config);
    bool Fail(Status status);

    CardState& state_;
    ProfileFile& profile_;
    Trace& trace_;
};

}  // namespace quorvel
