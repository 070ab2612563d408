#include "config/Win32Profile.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace quorvel {

namespace {

// The longest path the wide functions take, "\\?\" paths included.
constexpr DWORD kLongestPath = 32768;

DWORD BufferSize(std::size_t size) {
    return static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(needed, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    return wide;
}

std::string Narrow(const wchar_t* text, std::size_t length) {
    if (length == 0) return {};
    const int count = static_cast<int>(length);
    const int needed = WideCharToMultiByte(CP_ACP, 0, text, count, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(std::max(needed, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, count, narrow.data(), needed, nullptr, nullptr);
    return narrow;
}

}  // namespace

// Asked for in UTF-16 into as many characters as the caller has bytes: in the ANSI code page a
// character takes at least one byte, so the list is cut where the 8-bit function cuts it, or
// later and then cut again here.
std::size_t Win32Profile::ReadSectionNames(char* buffer, std::size_t size,
                                           const std::wstring& file) {
    const DWORD bufferSize = BufferSize(size);
    if (bufferSize < 2) return 0;
    std::vector<wchar_t> wide(bufferSize, L'\0');
    const DWORD count = GetPrivateProfileSectionNamesW(wide.data(), bufferSize, file.c_str());
    // When the list is cut, Wine leaves the buffer's last character as it was.
    wide[bufferSize - 1] = L'\0';
    const std::string names = Narrow(wide.data(), std::min<DWORD>(count, bufferSize - 2));
    const std::size_t placed = std::min<std::size_t>(names.size(), bufferSize - 2);
    std::copy_n(names.data(), placed, buffer);
    buffer[placed] = buffer[placed + 1] = '\0';
    return placed;
}

std::size_t Win32Profile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, char* buffer,
                                     std::size_t size, const std::wstring& file) {
    const DWORD bufferSize = BufferSize(size);
    if (bufferSize == 0) return 0;
    std::vector<wchar_t> wide(bufferSize, L'\0');
    const DWORD count =
        GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                 Wide(defaultValue).c_str(), wide.data(), bufferSize, file.c_str());
    const std::string value = Narrow(wide.data(), std::min<DWORD>(count, bufferSize - 1));
    const std::size_t placed = std::min<std::size_t>(value.size(), bufferSize - 1);
    std::copy_n(value.data(), placed, buffer);
    buffer[placed] = '\0';
    return placed;
}

// Asks for the length first, so a directory longer than MAX_PATH comes back whole.
bool Win32Profile::CurrentDirectory(std::wstring* directory) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD needed = GetCurrentDirectoryW(0, nullptr);
        if (needed == 0) return false;
        std::vector<wchar_t> text(needed + 1, L'\0');
        const DWORD length = GetCurrentDirectoryW(needed, text.data());
        if (length == 0) return false;
        if (length < needed) {
            directory->assign(text.data(), length);
            return true;
        }
        // The directory changed between the two requests into a longer one; ask again.
    }
    return false;
}

// The module-name call tells no length: it fills the buffer and cuts what does not fit, so a
// path that fills it may have been cut and is asked for again with more room.
bool Win32Profile::ProgramDirectory(std::wstring* directory) {
    for (DWORD size = MAX_PATH;; size = std::min(size * 2, kLongestPath)) {
        std::vector<wchar_t> text(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, text.data(), size);
        if (length == 0) return false;
        if (length < size - 1) {
            const std::wstring path(text.data(), length);
            const std::size_t slash = path.find_last_of(L'\\');
            if (slash == std::wstring::npos) return false;
            directory->assign(path, 0, slash);
            return true;
        }
        if (size == kLongestPath) return false;
    }
}

bool Win32Profile::FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace quorvel
