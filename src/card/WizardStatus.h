#pragma once

namespace quorvel {

// The outcome of the last card operation. It is held as a plain int in CardState::status and
// is what the wizard turns into its texts. SendAtCommand's results 0, 1 and 5 are values of it.
enum WizardStatus : int {
    kStatusNoAnswer = 0,  // "ERROR", "COMMAND NOT SUPPORTED", or no "OK" in time
    kStatusSuccess = 1,
    kStatusCardNotFound = 2,
    kStatusOpenFailed = 3,
    kStatusNoHandshake = 4,
    kStatusWriteFailed = 5,
    kStatusConfigMissing = 6,
    kStatusCardTypeNotConfigured = 7,
    kStatusConfigWithoutSections = 8,
    kStatusSwitchNumberMissing = 9,
};

inline bool IsWizardStatus(int status) {
    return status >= kStatusNoAnswer && status <= kStatusSwitchNumberMissing;
}

}  // namespace quorvel
