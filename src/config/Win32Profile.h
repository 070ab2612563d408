#pragma once

#include "config/ProfileFile.h"

namespace quorvel {

// The configuration file through the system's own profile functions.
class Win32Profile : public ProfileFile {
  public:
    std::size_t ReadSectionNames(char* buffer, std::size_t size, const std::string& file) override;
    std::size_t ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, char* buffer, std::size_t size,
                           const std::string& file) override;
    bool CurrentDirectory(std::string* directory) override;
    bool FileExists(const std::string& path) override;
};

}  // namespace quorvel
