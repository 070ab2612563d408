#include "config/ProfileInteger.h"

#include <cstddef>

namespace quorvel {

namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return -1;
}

std::uint32_t BaseFromPrefix(const std::string& text, std::size_t* position) {
    if (text.size() - *position < 2 || text[*position] != '0') return 10;
    const char marker = text[*position + 1];
    const std::uint32_t base = marker == 'x' ? 16 : marker == 'o' ? 8 : marker == 'b' ? 2 : 10;
    if (base != 10) *position += 2;
    return base;
}

}  // namespace

std::uint32_t ParseProfileInteger(const std::string& text) {
    std::size_t position = 0;
    while (position < text.size() && static_cast<unsigned char>(text[position]) <= ' ')
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }
    const std::uint32_t base = BaseFromPrefix(text, &position);
    std::uint32_t total = 0;
    for (; position < text.size(); ++position) {
        const int digit = DigitValue(text[position]);
        if (digit < 0 || static_cast<std::uint32_t>(digit) >= base) break;
        total = total * base + static_cast<std::uint32_t>(digit);
    }
    return negative ? 0u - total : total;
}

}  // namespace quorvel
