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

}  // namespace

bool DiskFileAccess::ReadWholeFile(const std::string& path, std::string* content) {
    const fs::path native = NativePath(path);
    std::error_code error;
    if (!fs::is_regular_file(native, error))
        return false;
    std::ifstream file(native, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    *content = bytes.str();
    return !file.bad();
}

bool DiskFileAccess::Exists(const std::string& path) {
    std::error_code error;
    return fs::exists(NativePath(path), error);
}

bool DiskFileAccess::CurrentDirectory(std::string* directory) {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    if (error)
        return false;
    *directory = current.string();
    return true;
}

}  // namespace quorvel
