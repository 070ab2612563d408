#pragma once

#include <cstdio>
#include <string>

namespace quorvel::cardsim {

// CR, LF and backslash as \r \n \\, every other byte outside printable ASCII as \xHH.
std::string EscapedBytes(const std::string& bytes);

// The record of what the card received: one line per command, escaped so that tests can
// compare it as text and lose no byte, and flushed as each is written so a test can read it
// while the card is still running.
class Transcript {
  public:
    Transcript() = default;
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    // Starts an empty transcript at `path`; without one, lines are dropped.
    bool Open(const std::string& path, std::string* error);

    void WriteLine(const std::string& bytes);

    void Close();

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace quorvel::cardsim
