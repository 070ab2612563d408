#pragma once

#include <string>

namespace quorvel::cardsim {

// Writes this process's id to `path` in one step (written aside, then renamed), so whoever
// waits for the file never reads half of it.
bool WritePidFile(const std::string& path, std::string& error);

}  // namespace quorvel::cardsim
