#include "config/DiskFileAccess.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace quorvel {

namespace {

namespace fs = std::filesystem;

fs::path NativePath(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\',
                 static_cast<char>(fs::path::preferred_separator));
    return fs::path(native);
}

// A path that does not convert to the system's encoding throws; to callers it is a file that
// cannot be had.
template <typename Operation>
bool FailingOnThrow(Operation operation) {
    try {
        return operation();
    } catch (...) {
        return false;
    }
}

bool ReadFileBytes(const std::string& path, std::string* content) {
    const fs::path native = NativePath(path);
    std::error_code error;
    if (!fs::is_regular_file(native, error)) return false;
    std::ifstream file(native, std::ios::binary);
    if (!file) return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    *content = bytes.str();
    return !file.bad();
}

bool ReadCurrentDirectory(std::string* directory) {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    if (error) return false;
    *directory = current.string();
    return true;
}

}  // namespace

bool DiskFileAccess::ReadWholeFile(const std::string& path, std::string* content) {
    return FailingOnThrow([&] { return ReadFileBytes(path, content); });
}

bool DiskFileAccess::Exists(const std::string& path) {
    return FailingOnThrow([&] {
        std::error_code error;
        return fs::exists(NativePath(path), error);
    });
}

bool DiskFileAccess::CurrentDirectory(std::string* directory) {
    return FailingOnThrow([&] { return ReadCurrentDirectory(directory); });
}

}  // namespace quorvel
