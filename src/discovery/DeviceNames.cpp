#include "discovery/DeviceNames.h"

#include <cstring>

namespace quorvel {

bool Contains(const char* name, const char* fragment) {
    return std::strstr(name, fragment) != nullptr;
}

bool ContainsAny(const char* name, const std::array<const char*, 3>& table) {
    for (const char* row : table) {
        if (Contains(name, row)) return true;
    }
    return false;
}

}  // namespace quorvel
