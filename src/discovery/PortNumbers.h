#pragma once

#include <string>

namespace quorvel {

// Reads a decimal number the way the C library's strtol does in base 10: leading white space,
// an optional sign, then digits up to the first non-digit; 0 when there are none. A number
// beyond int is held at INT_MAX or INT_MIN, which is what a 32-bit long gives, so the result
// is the same whatever the width of long.
int ReadDecimal(const char* text);

// The number after the first upper-case "COM" in a device's friendly name; 0 when no digit
// follows it or the name has no "COM" at all. "... (COM7)" gives 7.
int PortNumberFromFriendlyName(const char* friendlyName);

// The number in a modem driver key's "AttachedTo" text, read from its fourth character on
// (the first three, normally "COM", are not looked at); 0 for a text of three characters or
// fewer.
int PortNumberFromAttachedTo(const std::string& attachedTo);

}  // namespace quorvel
