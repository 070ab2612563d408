#pragma once

namespace quorvel {

// What the card is sent, byte for byte; each command carries its own carriage return.
inline constexpr char kCardTypeQuery[] = "AT+CGMM\r";
inline constexpr char kSwitchCommandFormat[] = "at^u2diag=%d\r";
inline constexpr char kGoOfflineCommand[] = "at+cfun=4\r";
inline constexpr char kRestartCommand[] = "at+cfun=6\r";

}  // namespace quorvel
