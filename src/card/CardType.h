#pragma once

#include <string>

namespace quorvel {

// The card type from the reply to the type query: every "\r", then every "\n", then every "OK"
// removed, in that order. Configuration files name their sections after exactly this text, so
// a type that itself holds the letters OK loses them too.
std::string CleanCardType(const std::string& reply);

// Removes every occurrence of `what`, scanning once from the left.
std::string RemoveAll(const std::string& text, const std::string& what);

}  // namespace quorvel
