#pragma once

#include <string>
#include <vector>

#include "base/Trace.h"

namespace quorvel::test {

// Keeps every line the program traced, whole, in order.
class RecordingTrace : public Trace {
  public:
    void Write(const std::string& line) override { lines.push_back(line); }

    std::vector<std::string> lines;
};

}  // namespace quorvel::test
