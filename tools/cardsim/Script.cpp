#include "Script.h"

#include <cctype>

namespace quorvel::cardsim {

namespace {

bool SameLetters(const std::string& a, const std::string& b, std::size_t length) {
    if (a.size() < length || b.size() < length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

int MatchRank(const std::string& key, const std::string& command) {
    if (key == "*") return 1;
    if (key.size() == command.size() && SameLetters(key, command, key.size())) return 3;
    bool keyHasArgument = key.find('=') != std::string::npos;
    if (!keyHasArgument && command.size() > key.size() && command[key.size()] == '=' &&
        SameLetters(key, command, key.size()))
        return 2;
    return 0;
}

}  // namespace quorvel::cardsim
