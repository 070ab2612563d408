#include "config/ConfigOperations.h"

#include "card/WizardStatus.h"
#include "config/SwitchConfig.h"

namespace quorvel {

namespace {

constexpr char kOtherSection[] = "OTHER";
constexpr char kFriendlyNameKey[] = "FRIENDLY_NAME";
constexpr char kFriendlyNameUnset[] = "ERROR";

bool FindConfigFile(ProfileFile& profile, std::string* path) {
    return BuildConfigFilePath(profile, path) && profile.FileExists(*path);
}

// Both numbers are read and stored whatever the first one gave.
bool ReadSwitchNumbers(SwitchConfig& config, CardState& state) {
    const bool cdromFound = config.ReadCdromCommand(&state.cdromValue);
    const bool diagFound = config.ReadDiagCommand(&state.diagValue);
    return cdromFound && diagFound;
}

// Partial or unchanged labels keep the built-in ones; they never fail the load.
void ReadCustomLabels(SwitchConfig& config, CardState& state) {
    std::string first;
    std::string second;
    if (!config.ReadDisplayLabels(&first, &second) || first.empty() || second.empty()) return;
    state.firstChoiceLabel = first;
    state.secondChoiceLabel = second;
    state.customLabelFlag = 1;
}

}  // namespace

bool BuildConfigFilePath(ProfileFile& profile, std::string* path) {
    // Without the whole directory the path would not name the file in it: an empty one gives
    // "\Quorvel.ini", the root of the current drive.
    std::string directory;
    if (!profile.CurrentDirectory(&directory) || directory.empty()) return false;
    *path = directory + "\\" + kConfigFileName;
    return true;
}

bool LoadSwitchConfig(CardState& state, ProfileFile& profile) {
    std::string path;
    if (!FindConfigFile(profile, &path)) {
        state.status = kStatusConfigMissing;
        return false;
    }
    SwitchConfig config(profile);
    config.Set(path, state.cardType);
    std::string sectionNames;
    if (!config.ReadSectionNames(&sectionNames)) {
        state.status = kStatusConfigWithoutSections;
        return false;
    }
    // A substring test on the joined names, letter case counting, on purpose: existing files
    // rely on a card type matching part of a longer section name.
    if (sectionNames.find(state.cardType) == std::string::npos) {
        state.status = kStatusCardTypeNotConfigured;
        return false;
    }
    if (!ReadSwitchNumbers(config, state)) {
        state.status = kStatusSwitchNumberMissing;
        return false;
    }
    ReadCustomLabels(config, state);
    return true;
}

bool ReadConfiguredFriendlyName(CardState& state, ProfileFile& profile) {
    std::string path;
    if (!FindConfigFile(profile, &path)) return false;
    char buffer[kConfigTextSize] = {};
    const std::size_t count = profile.ReadString(kOtherSection, kFriendlyNameKey,
                                                 kFriendlyNameUnset, buffer, sizeof buffer, path);
    buffer[sizeof buffer - 1] = '\0';
    const std::string name(buffer);
    if (count == 0 || name.empty() || name == kFriendlyNameUnset) return false;
    state.configuredFriendlyName = name;
    return true;
}

}  // namespace quorvel
