#pragma once

#include <string>
#include <vector>

namespace quorvel {

// Splits an 8-bit command line the way the platform does: converted with the ANSI code page,
// then cut by CommandLineToArgvW, piece 0 being the program path. A split that fails gives
// no pieces at all.
std::vector<std::wstring> SplitCommandLine(const char* commandLine);

}  // namespace quorvel
