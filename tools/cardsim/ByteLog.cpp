#include "cardsim/ByteLog.h"

#include <cerrno>
#include <cstring>

#include "cardsim/Transcript.h"

namespace quorvel::cardsim {

ByteLog::~ByteLog() {
    if (file_ != nullptr) std::fclose(file_);
}

bool ByteLog::Open(const std::string& path, Millis start, std::string* error) {
    start_ = start;
    file_ = std::fopen(path.c_str(), "w");
    if (file_ != nullptr) return true;
    *error = "byte log " + path + ": " + std::strerror(errno);
    return false;
}

// Flushed line by line: the log is read while the card runs, or after it was killed.
void ByteLog::Write(const char* what, const std::string& bytes, Millis now) {
    if (file_ == nullptr || bytes.empty()) return;
    std::fprintf(file_, "%8lld ms %s %s\n", static_cast<long long>(now - start_), what,
                 EscapedBytes(bytes).c_str());
    std::fflush(file_);
}

}  // namespace quorvel::cardsim
