#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The text in a buffer the platform filled: up to its first NUL, or all `size` bytes when the
// platform left it unterminated.
std::string TextUpToNul(const char* buffer, std::size_t size);

// The C library's decimal rule, as strtol (base 10) and _wtoi read ASCII: leading white space
// (space, \t to \r), an optional sign, then digits up to the first non-digit; 0 when there are
// none. A number beyond int is held at INT_MAX or INT_MIN, as both libraries do where long has
// 32 bits, so the result is the same whatever the width of long.
int ReadDecimal(const char* text);

// A number written out in full: one or more ASCII digits and nothing else, within int. Where a
// typo must not pass for another number (a switch number sent to the card), this is the only
// reading: "1O", "-2", " 3", "+4" and a word are no numbers at all.
std::optional<int> ReadPlainNumber(std::string_view text);

}  // namespace quorvel
