#pragma once

#include <cstdio>
#include <string>

#include "cardsim/Card.h"

namespace quorvel::cardsim {

// A log of every byte the card takes and sends, stamped with the ms since the card started,
// so that a failed run shows what the program sent and when, and what the card answered and
// when. Apart from the transcript, which tests compare exactly.
class ByteLog {
  public:
    ByteLog() = default;
    ~ByteLog();
    ByteLog(const ByteLog&) = delete;
    ByteLog& operator=(const ByteLog&) = delete;

    // Starts an empty log at `path`, its times counted from `start`; without one, nothing is
    // logged.
    bool Open(const std::string& path, Millis start, std::string* error);

    void Took(const std::string& bytes, Millis now) { Write("took", bytes, now); }
    void Sent(const std::string& bytes, Millis now) { Write("sent", bytes, now); }

  private:
    void Write(const char* what, const std::string& bytes, Millis now);

    std::FILE* file_ = nullptr;
    Millis start_ = 0;
};

}  // namespace quorvel::cardsim
