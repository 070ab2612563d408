#include "card/CardConfig.h"

#include "config/SwitchConfig.h"

namespace quorvel {

bool CardConfig::LoadSwitchConfig() {
    std::string path;
    if (!FindConfigFile(profile_, trace_, &path)) return Fail(Status::kConfigMissing);
    SwitchConfig config(profile_);
    config.Set(path, state_.cardType);
    std::string sectionNames;
    if (!config.ReadSectionNames(&sectionNames)) return Fail(Status::kConfigWithoutSections);
    TraceLine(trace_) << "configuration sections, joined: " << Quoted(sectionNames);
    // A substring test on the joined names, letter case counting, on purpose: existing files
    // rely on a card type matching part of a longer section name. An empty type would be found
    // in any file and read its numbers from a section without a name.
    TraceLine(trace_) << "configuration section looked for: " << Quoted(state_.cardType);
    if (state_.cardType.empty() || sectionNames.find(state_.cardType) == std::string::npos)
        return Fail(Status::kCardTypeNotConfigured);
    if (!ReadSwitchNumbers(config)) return Fail(Status::kSwitchNumberMissing);
    ReadCustomLabels(config);
    return true;
}

bool CardConfig::ReadConfiguredFriendlyName() {
    std::string path;
    if (!FindConfigFile(profile_, trace_, &path)) return false;
    SwitchConfig config(profile_);
    config.Set(path, "");
    const bool found = config.ReadFriendlyName(&state_.configuredFriendlyName);
    if (found) {
        TraceLine(trace_) << "configuration OTHER FRIENDLY_NAME="
                          << Quoted(state_.configuredFriendlyName);
    } else {
        TraceLine(trace_) << "configuration OTHER FRIENDLY_NAME: none";
    }
    return found;
}

// Both numbers are read and stored whatever the first one gave. -1 stands for a missing one.
bool CardConfig::ReadSwitchNumbers(SwitchConfig& config) {
    const bool cdromFound = config.ReadCdromCommand(&state_.cdromValue);
    const bool diagFound = config.ReadDiagCommand(&state_.diagValue);
    TraceLine(trace_) << "configuration CDROM_COMMAND=" << state_.cdromValue
                      << (cdromFound ? "" : " (missing)") << " DIAG_COMMAND=" << state_.diagValue
                      << (diagFound ? "" : " (missing)");
    return cdromFound && diagFound;
}

// Partial or unchanged labels keep the built-in ones; they never fail the load.
void CardConfig::ReadCustomLabels(SwitchConfig& config) {
    std::string first;
    std::string second;
    if (!config.ReadDisplayLabels(&first, &second) || first.empty() || second.empty()) {
        TraceLine(trace_) << "configuration labels: the built-in ones";
        return;
    }
    TraceLine(trace_) << "configuration labels: " << Quoted(first) << " " << Quoted(second);
    state_.firstChoiceLabel = first;
    state_.secondChoiceLabel = second;
    state_.customLabels = true;
}

bool CardConfig::Fail(Status status) {
    state_.status = status;
    TraceLine(trace_) << "configuration: status " << StatusCode(status);
    return false;
}

}  // namespace quorvel
