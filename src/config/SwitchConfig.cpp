#include "config/SwitchConfig.h"

#include <cstring>

#include "card/CardState.h"

namespace quorvel {

namespace {

constexpr char kCdromCommandKey[] = "CDROM_COMMAND";
constexpr char kDiagCommandKey[] = "DIAG_COMMAND";
constexpr char kCdromDisplayKey[] = "CDROM_DISPLAY";
constexpr char kDiagDisplayKey[] = "DIAG_DISPLAY";
constexpr int kCommandMissing = -1;

// The text in a buffer the profile functions filled, up to its terminator or the buffer's end.
std::string BufferText(const char* buffer, std::size_t size) {
    const void* end = std::memchr(buffer, '\0', size);
    return std::string(buffer, end ? static_cast<const char*>(end) - buffer : size);
}

}  // namespace

SwitchConfig::~SwitchConfig() = default;

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

bool SwitchConfig::ReadCommand(const char* key, int* value) {
    *value = profile_.ReadInt(section_, key, kCommandMissing, filePath_);
    return *value != kCommandMissing;
}

bool SwitchConfig::ReadSectionNames(std::string* names) {
    names->clear();
    char buffer[kConfigTextSize] = {};
    if (profile_.ReadSectionNames(buffer, sizeof buffer, filePath_) == 0) return false;
    std::size_t position = 0;
    while (position < sizeof buffer && buffer[position] != '\0') {
        const std::string name = BufferText(buffer + position, sizeof buffer - position);
        names->append(name);
        position += name.size() + 1;
    }
    return true;
}

bool SwitchConfig::ReadDisplayLabels(std::string* first, std::string* second) {
    if (!ReadLabel(kCdromDisplayKey, kDefaultFirstChoiceLabel, first)) return false;
    if (!ReadLabel(kDiagDisplayKey, kDefaultSecondChoiceLabel, second)) return false;
    return *first != kDefaultFirstChoiceLabel && *second != kDefaultSecondChoiceLabel;
}

// False for a key that is present with an empty value; the label is then left as it was.
bool SwitchConfig::ReadLabel(const char* key, const char* defaultLabel, std::string* label) {
    char buffer[kConfigTextSize] = {};
    if (profile_.ReadString(section_, key, defaultLabel, buffer, sizeof buffer, filePath_) == 0)
        return false;
    *label = BufferText(buffer, sizeof buffer);
    return true;
}

}  // namespace quorvel
