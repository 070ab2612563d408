#pragma once

#include <cstddef>
#include <string>

#include "config/ProfileFile.h"

namespace quorvel {

// Text read from the configuration file goes into buffers of this size, so at most 1023
// characters of a value, and of the list of section names, are used.
inline constexpr std::size_t kConfigTextSize = 1024;

// Reads one card type's section of the configuration file. Every read is a request of its
// own to the profile functions, with the file and section last given to Set.
class SwitchConfig {
  public:
    explicit SwitchConfig(ProfileFile& profile) : profile_(profile) {}
    virtual ~SwitchConfig();

    void Set(const std::string& filePath, const std::string& section);

    // The value, -1 included, goes out; the result says whether it differs from -1, the
    // value a missing key reads as.
    bool ReadCdromCommand(int* value);
    bool ReadDiagCommand(int* value);

    // Every section name in file order, joined with no separator. False when there are none
    // (or no file to read them from).
    bool ReadSectionNames(std::string* names);

    // True only when both labels are present, non-empty and differ from their defaults.
    bool ReadDisplayLabels(std::string* first, std::string* second);

  private:
    bool ReadCommand(const char* key, int* value);
    bool ReadLabel(const char* key, const char* defaultLabel, std::string* label);

    std::string filePath_;
    std::string section_;
    ProfileFile& profile_;
};

}  // namespace quorvel
