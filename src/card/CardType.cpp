#include "card/CardType.h"

namespace quorvel {

std::string RemoveAll(const std::string& text, const std::string& what) {
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, from)) {
        result.append(text, from, at - from);
        from = at + what.size();
    }
    result.append(text, from, std::string::npos);
    return result;
}

std::string CleanCardType(const std::string& reply) {
    return RemoveAll(RemoveAll(RemoveAll(reply, "\r"), "\n"), "OK");
}

}  // namespace quorvel
