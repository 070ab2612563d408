#include "serial/ResponseBuffer.h"

#include <cstring>

namespace quorvel {

void ResponseBuffer::Append(const char* bytes, std::size_t count) {
    // Only the newest kMaxLength non-NUL bytes of the new ones can survive; gather them from
    // the end so a long burst costs no more than one pass.
    char newest[kMaxLength];
    std::size_t kept = 0;
    for (std::size_t i = count; i > 0 && kept < kMaxLength; --i) {
        if (bytes[i - 1] != '\0') newest[kMaxLength - 1 - kept++] = bytes[i - 1];
    }
    const std::size_t overflow = length_ + kept > kMaxLength ? length_ + kept - kMaxLength : 0;
    std::memmove(text_, text_ + overflow, length_ - overflow);
    length_ -= overflow;
    std::memcpy(text_ + length_, newest + kMaxLength - kept, kept);
    length_ += kept;
    text_[length_] = '\0';
}

bool ResponseBuffer::Contains(const char* text) const {
    return std::strstr(text_, text) != nullptr;
}

}  // namespace quorvel
