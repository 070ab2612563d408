#include "base/Win32Trace.h"

#include <windows.h>

namespace quorvel {

void Win32Trace::Write(const std::string& line) {
    OutputDebugStringA(line.c_str());
}

}  // namespace quorvel
