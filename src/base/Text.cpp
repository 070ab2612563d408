#include "base/Text.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace quorvel {

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string TextUpToNul(const char* buffer, std::size_t size) {
    const void* end = std::memchr(buffer, '\0', size);
    return std::string(buffer, end ? static_cast<const char*>(end) - buffer : size);
}

int ReadDecimal(const char* text) {
    while (IsSpace(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    // Growth stops one past INT_MAX: enough to know the number is out of range either way.
    const std::int64_t ceiling = std::int64_t{INT_MAX} + 1;
    std::int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (magnitude < ceiling) magnitude = magnitude * 10 + (*text - '0');
    }
    if (negative) return magnitude >= ceiling ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude >= ceiling ? INT_MAX : static_cast<int>(magnitude);
}

std::optional<int> ReadPlainNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::int64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
        if (number > INT_MAX) return std::nullopt;
    }
    return static_cast<int>(number);
}

}  // namespace quorvel
