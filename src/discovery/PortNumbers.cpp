#include "discovery/PortNumbers.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include "discovery/DeviceNames.h"

namespace quorvel {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int ReadDecimal(const char* text) {
    while (IsSpace(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    // Stop growing one past INT_MAX: that is enough to know the number is out of range either
    // way, and it keeps the arithmetic far from overflow.
    const std::int64_t ceiling = std::int64_t{INT_MAX} + 1;
    std::int64_t magnitude = 0;
    for (; IsDigit(*text); ++text) {
        if (magnitude < ceiling) magnitude = magnitude * 10 + (*text - '0');
    }
    if (negative) return magnitude >= ceiling ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude >= ceiling ? INT_MAX : static_cast<int>(magnitude);
}

int PortNumberFromFriendlyName(const char* friendlyName) {
    const char* com = std::strstr(friendlyName, kComMarker);
    if (com == nullptr) return 0;
    return ReadDecimal(com + std::strlen(kComMarker));
}

int PortNumberFromAttachedTo(const std::string& attachedTo) {
    if (attachedTo.size() <= 3) return 0;
    return ReadDecimal(attachedTo.c_str() + 3);
}

}  // namespace quorvel
