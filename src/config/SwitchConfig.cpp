#include "config/SwitchConfig.h"

#include <optional>

#include "base/Text.h"

namespace quorvel {

namespace {

constexpr char kCdromCommandKey[] = "CDROM_COMMAND";
constexpr char kDiagCommandKey[] = "DIAG_COMMAND";
constexpr char kCdromDisplayKey[] = "CDROM_DISPLAY";
constexpr char kDiagDisplayKey[] = "DIAG_DISPLAY";
constexpr char kOtherSection[] = "OTHER";
constexpr char kFriendlyNameKey[] = "FRIENDLY_NAME";
constexpr char kFriendlyNameUnset[] = "ERROR";
constexpr int kCommandMissing = -1;

}  // namespace

bool FindConfigFile(ProfileFile& profile, Trace& trace, std::string* path) {
    // Without the whole directory the path would not name the file in it: an empty one gives
    // "\Quorvel.ini", the root of the current drive.
    std::string directory;
    if (!profile.CurrentDirectory(&directory) || directory.empty()) {
        TraceLine(trace) << "configuration: no current directory";
        return false;
    }
    *path = directory + "\\" + kConfigFileName;
    const bool exists = profile.FileExists(*path);
    TraceLine(trace) << "configuration " << Quoted(*path) << (exists ? ": found" : ": missing");
    return exists;
}

void SwitchConfig::Set(const std::string& filePath, const std::string& section) {
    filePath_ = filePath;
    section_ = section;
}

bool SwitchConfig::ReadCdromCommand(int* value) {
    return ReadCommand(kCdromCommandKey, value);
}

bool SwitchConfig::ReadDiagCommand(int* value) {
    return ReadCommand(kDiagCommandKey, value);
}

// Read as text and taken only when it is a plain number: the profile functions' own integer
// read takes "1O" for 1 and "two" for 0, and the card would be sent the other mode's number.
bool SwitchConfig::ReadCommand(const char* key, int* value) {
    std::string text;
    const std::optional<int> number =
        ReadText(section_, key, "", &text) ? ReadPlainNumber(text) : std::nullopt;
    *value = number.value_or(kCommandMissing);
    return *value != kCommandMissing;
}

bool SwitchConfig::ReadSectionNames(std::string* names) {
    names->clear();
    char buffer[kConfigTextSize] = {};
    if (profile_.ReadSectionNames(buffer, sizeof buffer, filePath_) == 0) return false;
    std::size_t position = 0;
    while (position < sizeof buffer && buffer[position] != '\0') {
        const std::string name = TextUpToNul(buffer + position, sizeof buffer - position);
        names->append(name);
        position += name.size() + 1;
    }
    return true;
}

bool SwitchConfig::ReadDisplayLabels(std::string* first, std::string* second) {
    if (!ReadText(section_, kCdromDisplayKey, kDefaultFirstChoiceLabel, first)) return false;
    if (!ReadText(section_, kDiagDisplayKey, kDefaultSecondChoiceLabel, second)) return false;
    return *first != kDefaultFirstChoiceLabel && *second != kDefaultSecondChoiceLabel;
}

bool SwitchConfig::ReadFriendlyName(std::string* name) {
    std::string text;
    if (!ReadText(kOtherSection, kFriendlyNameKey, kFriendlyNameUnset, &text)) return false;
    if (text.empty() || text == kFriendlyNameUnset) return false;
    *name = text;
    return true;
}

// False for a key that is present with an empty value; `text` is then left as it was.
bool SwitchConfig::ReadText(const std::string& section, const char* key, const char* defaultText,
                            std::string* text) {
    char buffer[kConfigTextSize] = {};
    if (profile_.ReadString(section, key, defaultText, buffer, sizeof buffer, filePath_) == 0)
        return false;
    *text = TextUpToNul(buffer, sizeof buffer);
    return true;
}

}  // namespace quorvel
