#pragma once

#include "base/Trace.h"

namespace quorvel {

// The trace as Windows' debug output: free when nobody listens, shown by any debug-output
// viewer, and printed on standard error by Wine with WINEDEBUG=warn+debugstr.
class Win32Trace : public Trace {
  public:
    void Write(const std::string& line) override;
};

}  // namespace quorvel
