#include "config/Win32Profile.h"

#include <shlwapi.h>
#include <windows.h>

#include <algorithm>
#include <vector>

namespace quorvel {

namespace {

DWORD BufferSize(std::size_t size) {
    return static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
}

}  // namespace

std::size_t Win32Profile::ReadSectionNames(char* buffer, std::size_t size,
                                           const std::string& file) {
    const DWORD bufferSize = BufferSize(size);
    if (bufferSize == 0) return 0;
    const DWORD count = GetPrivateProfileSectionNamesA(buffer, bufferSize, file.c_str());
    // When the list is cut, Wine leaves the buffer's last byte as it was; the list must end
    // in two zeros all the same.
    buffer[bufferSize - 1] = '\0';
    return count;
}

std::size_t Win32Profile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, char* buffer,
                                     std::size_t size, const std::string& file) {
    const DWORD bufferSize = BufferSize(size);
    if (bufferSize == 0) return 0;
    const DWORD count = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                 buffer, bufferSize, file.c_str());
    buffer[std::min<DWORD>(count, bufferSize - 1)] = '\0';
    return count;
}

// Asks for the length first, so a directory longer than MAX_PATH comes back whole.
bool Win32Profile::CurrentDirectory(std::string* directory) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD needed = GetCurrentDirectoryA(0, nullptr);
        if (needed == 0) return false;
        std::vector<char> text(needed + 1, '\0');
        const DWORD length = GetCurrentDirectoryA(needed, text.data());
        if (length == 0) return false;
        if (length < needed) {
            directory->assign(text.data(), length);
            return true;
        }
        // The directory changed between the two requests into a longer one; ask again.
    }
    return false;
}

bool Win32Profile::FileExists(const std::string& path) {
    return PathFileExistsA(path.c_str()) != FALSE;
}

}  // namespace quorvel
