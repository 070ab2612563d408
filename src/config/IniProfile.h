#pragma once

#include "config/FileAccess.h"
#include "config/ProfileFile.h"

namespace quorvel {

// The profile functions' rules in portable C++, over files reached through FileAccess. It
// reads 8-bit files byte for byte: a UTF-8 byte-order mark is not skipped (the platform reads
// it as the start of the first line), and non-ASCII letters in names compare exactly.
class IniProfile : public ProfileFile {
  public:
    explicit IniProfile(FileAccess& files) : files_(files) {}

    std::size_t ReadSectionNames(char* buffer, std::size_t size, const std::string& file) override;
    int ReadInt(const std::string& section, const std::string& key, int defaultValue,
                const std::string& file) override;
    std::size_t ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, char* buffer, std::size_t size,
                           const std::string& file) override;
    bool CurrentDirectory(std::string* directory) override;
    bool FileExists(const std::string& path) override;

  private:
    FileAccess& files_;
};

}  // namespace quorvel
