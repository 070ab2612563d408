#pragma once

#include <cstdint>

namespace quorvel {

// A device class GUID in the platform's field layout, so the adapter can hand it over as is.
struct ClassGuid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};
};

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits in either case). Parsing by hand
// keeps the program free of the COM libraries just for two constants. False for any other
// shape; `guid` is then left as it was.
bool ParseClassGuid(const char* text, ClassGuid* guid);

}  // namespace quorvel
