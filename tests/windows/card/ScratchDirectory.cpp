#include "ScratchDirectory.h"

#include <windows.h>

#include <fstream>

#include "WinePaths.h"

namespace quorvel::test {

namespace {

std::string CurrentDirectory() {
    char directory[MAX_PATH * 4] = {};
    DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
    return length > 0 && length < sizeof directory ? directory : "";
}

}  // namespace

// Inside the prefix, not on drive C: the throwaway prefixes share their template's drive_c.
ScratchDirectory::ScratchDirectory() : previous_(CurrentDirectory()) {
    static int made = 0;
    path_ = UnixToWindowsPath(WinePrefix() + "/cwd-" + std::to_string(GetCurrentProcessId()) + "-" +
                              std::to_string(++made));
    entered_ = !WinePrefix().empty() && !previous_.empty() &&
               CreateDirectoryA(path_.c_str(), nullptr) && SetCurrentDirectoryA(path_.c_str()) &&
               CurrentDirectory() == path_;
}

ScratchDirectory::~ScratchDirectory() {
    SetCurrentDirectoryA(previous_.c_str());
    for (const std::string& file : written_)
        DeleteFileA(file.c_str());
    RemoveDirectoryA(path_.c_str());
}

bool ScratchDirectory::WriteFile(const std::string& name, const std::string& text) {
    const std::string file = path_ + "\\" + name;
    written_.push_back(file);
    std::ofstream out(file, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

}  // namespace quorvel::test
