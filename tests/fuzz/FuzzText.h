#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::fuzz {

// Structured inputs are lines of text, so that seeds stay readable and a mutated seed still
// means something.

// The lines of the input, split at line feeds; a last line without one counts too.
std::vector<std::string_view> SplitLines(std::string_view data);

// Bytes written in a line: \r \n \t \0 \\ and \xHH stand for the bytes they name; any other
// byte, a lone backslash included, stands for itself.
std::string Unescape(std::string_view text);

// Splits "word rest" at the first blank; `rest` is empty when there is none.
void SplitWord(std::string_view line, std::string_view* word, std::string_view* rest);

// A decimal count at the start of `text`, held within [0, most]; 0 when there are no digits.
// `rest` receives what follows the digits and one blank.
std::size_t ReadCount(std::string_view text, std::size_t most, std::string_view* rest);

}  // namespace quorvel::fuzz
