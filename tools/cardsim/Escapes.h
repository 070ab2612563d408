#pragma once

#include <string>

namespace quorvel::cardsim {

// Turns option text with \r \n \t \\ and \xHH into the bytes it stands for, so a scripted
// reply can carry NUL and 8-bit bytes. False on an unknown or unfinished escape.
bool DecodeEscapes(const std::string& text, std::string& bytes);

// Writes bytes as one printable line: CR, LF and backslash as \r \n \\, every other byte
// outside printable ASCII as \xHH. Tests compare transcripts as text, so nothing may be lost.
std::string EscapeBytes(const std::string& bytes);

}  // namespace quorvel::cardsim
