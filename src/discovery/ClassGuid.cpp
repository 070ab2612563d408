#include "discovery/ClassGuid.h"

#include <cstddef>
#include <cstring>

namespace quorvel {

namespace {

constexpr char kShape[] = "{########-####-####-####-############}";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool HasShape(const char* text) {
    if (std::strlen(text) != std::strlen(kShape)) return false;
    for (std::size_t i = 0; kShape[i] != '\0'; ++i) {
        bool fits = kShape[i] == '#' ? HexValue(text[i]) >= 0 : text[i] == kShape[i];
        if (!fits) return false;
    }
    return true;
}

// Reads `digits` hex digits; the shape has been checked already.
std::uint32_t Hex(const char* text, int digits) {
    std::uint32_t value = 0;
    for (int i = 0; i < digits; ++i)
        value = value * 16 + static_cast<std::uint32_t>(HexValue(text[i]));
    return value;
}

}  // namespace

bool ParseClassGuid(const char* text, ClassGuid* guid) {
    if (!HasShape(text)) return false;
    guid->data1 = Hex(text + 1, 8);
    guid->data2 = static_cast<std::uint16_t>(Hex(text + 10, 4));
    guid->data3 = static_cast<std::uint16_t>(Hex(text + 15, 4));
    // The last eight bytes are written as 2 and 6 bytes around a dash.
    const std::size_t byteOffsets[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i)
        guid->data4[i] = static_cast<std::uint8_t>(Hex(text + byteOffsets[i], 2));
    return true;
}

}  // namespace quorvel
