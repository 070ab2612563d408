#include "cardsim/Transcript.h"

#include <cerrno>
#include <cstring>

namespace quorvel::cardsim {

std::string EscapedBytes(const std::string& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        std::size_t named = std::string("\r\n\\").find(c);
        if (named != std::string::npos) {
            text += '\\';
            text += "rn\\"[named];
        } else if (byte < 0x20 || byte > 0x7E) {
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0x0F];
        } else {
            text += c;
        }
    }
    return text;
}

Transcript::~Transcript() {
    Close();
}

bool Transcript::Open(const std::string& path, std::string* error) {
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        *error = "transcript " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void Transcript::WriteLine(const std::string& bytes) {
    if (file_ == nullptr) return;
    std::string line = EscapedBytes(bytes) + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

void Transcript::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace quorvel::cardsim
