#pragma once

#include <string>

#include "card/CardState.h"
#include "config/ProfileFile.h"

namespace quorvel {

inline constexpr char kConfigFileName[] = "Quorvel.ini";

// "<current directory>\Quorvel.ini", the directory taken whole and as it comes: at a drive's
// root it already ends in a backslash, giving two in a row. False when the directory cannot
// be had.
bool BuildConfigFilePath(ProfileFile& profile, std::string* path);

// Reads the switch numbers and labels of the card type held in the state. On failure sets the
// status: 6 file missing, 8 no sections, 7 card type not among them, 9 a number missing (the
// first that applies). Success leaves the status alone.
bool LoadSwitchConfig(CardState& state, ProfileFile& profile);

// Reads the extra device name from section "OTHER". False, with the state unchanged, for a
// missing file, a missing or empty name, and the placeholder "ERROR". Never sets the status.
bool ReadConfiguredFriendlyName(CardState& state, ProfileFile& profile);

}  // namespace quorvel
