#pragma once

#include <cstddef>

namespace quorvel {

// What a card has said in reply to one command, built up over the polls: at most 127 bytes,
// always terminated. A reply that arrives in pieces is kept whole. When more has arrived
// than fits, the oldest bytes go, so a final "OK" after long or unsolicited output is still
// seen. NUL bytes are dropped: they would end the text early and hide what follows them.
class ResponseBuffer {
  public:
    static constexpr std::size_t kSize = 128;
    static constexpr std::size_t kMaxLength = kSize - 1;

    void Append(const char* bytes, std::size_t count);

    // Plain, case-sensitive substring test on the text so far.
    bool Contains(const char* text) const;

    const char* Text() const { return text_; }
    std::size_t Length() const { return length_; }

  private:
    char text_[kSize] = {};
    std::size_t length_ = 0;
};

}  // namespace quorvel
