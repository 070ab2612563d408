#pragma once

#include <new>
#include <string>
#include <vector>

#include "base/Trace.h"

namespace quorvel::test {

// Keeps every line the program traced, whole, in order.
class RecordingTrace : public Trace {
  public:
    void Write(const std::string& line) override {
        if (failing) throw std::bad_alloc();
        lines.push_back(line);
    }

    std::vector<std::string> lines;
    bool failing = false;  // every write fails, as one would with the memory gone
};

}  // namespace quorvel::test
