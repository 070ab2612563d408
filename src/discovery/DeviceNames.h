#pragma once

#include <array>

namespace quorvel {

// The card's serial interfaces in the Ports class that answer AT commands, in the order tried.
inline constexpr std::array<const char*, 3> kUiInterfaceNames = {
    "KELTRO Datalink - 3G PC UI Interface",
    "KELTRO Datalink - PC UI Interface",
    "Marvessa Mobile Broadband Secondary Port Modem (Keltro)",
};

// The card's modem device in the Modem class, in the order tried.
inline constexpr std::array<const char*, 3> kModemNames = {
    "KELTRO Datalink - 3G Modem",
    "KELTRO Datalink - Modem",
    "Marvessa Mobile Broadband Modem (Keltro)",
};

// A Ports device only gives a port when its name carries this, upper case only.
inline constexpr char kComMarker[] = "COM";

// True when `name` holds `fragment` anywhere, case-sensitively.
bool Contains(const char* name, const char* fragment);

// True when `name` holds any of the rows of `table`.
bool ContainsAny(const char* name, const std::array<const char*, 3>& table);

}  // namespace quorvel
