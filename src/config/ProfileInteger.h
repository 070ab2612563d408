#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// Converts a profile value to a number the way the platform's integer read does: leading
// blanks and control characters skipped, then an optional sign, then a base prefix "0x",
// "0o" or "0b" (lower case only), then digits up to the first one that does not fit the base.
// No digits give 0; the arithmetic wraps at 32 bits, so "4294967297" gives 1 and "-1" gives
// 0xFFFFFFFF.
std::uint32_t ParseProfileInteger(const std::string& text);

}  // namespace quorvel
