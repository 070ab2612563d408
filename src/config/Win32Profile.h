#pragma once

#include "config/ProfileFile.h"

namespace quorvel {

// The configuration file through the system's own profile functions, on UTF-16 paths. Names
// and values cross into UTF-16 and back with the ANSI code page, which gives the file's bytes
// as the 8-bit functions would.
class Win32Profile : public ProfileFile {
  public:
    std::size_t ReadSectionNames(char* buffer, std::size_t size, const std::wstring& file) override;
    std::size_t ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, char* buffer, std::size_t size,
                           const std::wstring& file) override;
    bool CurrentDirectory(std::wstring* directory) override;
    bool ProgramDirectory(std::wstring* directory) override;
    bool FileExists(const std::wstring& path) override;
};

}  // namespace quorvel
