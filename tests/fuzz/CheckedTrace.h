#pragma once

#undef NDEBUG  // the checks are what the targets are for
#include <cassert>
#include <cstring>
#include <string>

#include "base/Trace.h"

namespace quorvel {

// A trace that holds every line it gets to the rules a reader relies on: the lead, one line of
// printable ASCII ended by "\n", bounded, and every backslash the start of a whole escape
// (a cut line may end inside one).
struct CheckedTrace : Trace {
    void Write(const std::string& line) override {
        assert(line.compare(0, std::strlen(kTraceLead), kTraceLead) == 0 && "the lead first");
        assert(line.size() <= kTraceLineLimit + 4 && "a line is cut at its limit");
        assert(line.find('\n') == line.size() - 1 && "one line, ended by its line end");
        const bool cut = line.size() > kTraceLineLimit;
        const std::size_t whole = cut ? kTraceLineLimit - 4 : line.size() - 1;
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(line[i]);
            assert(c >= 0x20 && c < 0x7F && "nothing but printable ASCII");
            if (c != '\\' || i >= whole) continue;
            const char next = line[i + 1];
            if (std::strchr("rnt\"\\", next) != nullptr) {
                ++i;
                continue;
            }
            assert(next >= '0' && next <= '3' && line[i + 2] >= '0' && line[i + 2] <= '7' &&
                   line[i + 3] >= '0' && line[i + 3] <= '7' && "an escape is whole");
            i += 3;
        }
    }
};

}  // namespace quorvel
