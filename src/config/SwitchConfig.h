#pragma once

#include <cstddef>
#include <string>

#include "base/Trace.h"
#include "config/ProfileFile.h"

namespace quorvel {

inline constexpr char kConfigFileName[] = "Quorvel.ini";

// Text read from the configuration file goes into buffers of this size, so at most 1023
// characters of a value, and of the list of section names, are used.
inline constexpr std::size_t kConfigTextSize = 1024;

// The labels the label keys default to. Note the lower-case "to" in the second one: it differs
// from the dialog's own radio text "Diag To CD-ROM".
inline constexpr char kDefaultFirstChoiceLabel[] = "CD-ROM To Diag";
inline constexpr char kDefaultSecondChoiceLabel[] = "Diag to CD-ROM";

// "<current directory>\Quorvel.ini", the directory taken whole and as it comes: at a drive's
// root it already ends in a backslash, giving two in a row. True when that file exists.
bool FindConfigFile(ProfileFile& profile, Trace& trace, std::string* path);

// Reads the configuration file. Every read is a request of its own to the profile functions,
// with the file and section last given to Set.
class SwitchConfig {
  public:
    explicit SwitchConfig(ProfileFile& profile) : profile_(profile) {}

    void Set(const std::string& filePath, const std::string& section);

    // The value goes out, -1 for a key that is missing or holds no plain number (ASCII
    // digits within int, once the profile functions have stripped the blanks around it); the
    // result says whether it differs from -1.
    bool ReadCdromCommand(int* value);
    bool ReadDiagCommand(int* value);

    // Every section name in file order, joined with no separator. False when there are none
    // (or no file to read them from).
    bool ReadSectionNames(std::string* names);

    // True only when both labels are present, non-empty and differ from their defaults.
    bool ReadDisplayLabels(std::string* first, std::string* second);

    // The extra device name from section "OTHER", whatever the section given to Set. False
    // for a missing or empty name and for the placeholder "ERROR".
    bool ReadFriendlyName(std::string* name);

  private:
    bool ReadCommand(const char* key, int* value);
    bool ReadText(const std::string& section, const char* key, const char* defaultText,
                  std::string* text);

    std::string filePath_;
    std::string section_;
    ProfileFile& profile_;
};

}  // namespace quorvel
