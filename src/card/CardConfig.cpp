#include "card/CardConfig.h"

#include "config/SwitchConfig.h"

namespace quorvel {

bool CardConfig::LoadSwitchConfig() {
    std::wstring path;
    if (!FindConfigFile(profile_, &path)) {
        state_.status = Status::kConfigMissing;
        return false;
    }
    SwitchConfig config(profile_);
    config.Set(path, state_.cardType);
    std::string sectionNames;
    if (!config.ReadSectionNames(&sectionNames)) {
        state_.status = Status::kConfigWithoutSections;
        return false;
    }
    // A substring test on the joined names, letter case counting, on purpose: existing files
    // rely on a card type matching part of a longer section name. An empty type would be found
    // in any file and read its numbers from a section without a name.
    if (state_.cardType.empty() || sectionNames.find(state_.cardType) == std::string::npos) {
        state_.status = Status::kCardTypeNotConfigured;
        return false;
    }
    if (!ReadSwitchNumbers(config)) {
        state_.status = Status::kSwitchNumberMissing;
        return false;
    }
    ReadCustomLabels(config);
    return true;
}

bool CardConfig::ReadConfiguredFriendlyName() {
    std::wstring path;
    if (!FindConfigFile(profile_, &path)) return false;
    SwitchConfig config(profile_);
    config.Set(path, "");
    return config.ReadFriendlyName(&state_.configuredFriendlyName);
}

// Both numbers are read and stored whatever the first one gave.
bool CardConfig::ReadSwitchNumbers(SwitchConfig& config) {
    const bool cdromFound = config.ReadCdromCommand(&state_.cdromValue);
    const bool diagFound = config.ReadDiagCommand(&state_.diagValue);
    return cdromFound && diagFound;
}

// Partial or unchanged labels keep the built-in ones; they never fail the load.
void CardConfig::ReadCustomLabels(SwitchConfig& config) {
    std::string first;
    std::string second;
    if (!config.ReadDisplayLabels(&first, &second) || first.empty() || second.empty()) return;
    state_.firstChoiceLabel = first;
    state_.secondChoiceLabel = second;
    state_.customLabels = true;
}

}  // namespace quorvel
