#include "PidFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quorvel::cardsim {

bool WritePidFile(const std::string& path, std::string& error) {
    std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    bool written = file != nullptr && std::fprintf(file, "%ld\n", static_cast<long>(getpid())) > 0;
    if (file != nullptr && std::fclose(file) != 0) written = false;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "pid file " + path + ": " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace quorvel::cardsim
