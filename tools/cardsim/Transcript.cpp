#include "Transcript.h"

#include <cerrno>
#include <cstring>

#include "Escapes.h"

namespace quorvel::cardsim {

Transcript::~Transcript() {
    Close();
}

bool Transcript::Open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        error = "transcript " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void Transcript::WriteLine(const std::string& bytes) {
    if (file_ == nullptr) return;
    std::string line = EscapeBytes(bytes) + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

void Transcript::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace quorvel::cardsim
