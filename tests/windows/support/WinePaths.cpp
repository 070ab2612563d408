#include "WinePaths.h"

#include <cstdlib>

namespace quorvel::test {

std::string UnixToWindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string WinePrefix() {
    return Environment("WINEPREFIX");
}

}  // namespace quorvel::test
