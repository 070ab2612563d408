#pragma once

namespace quorvel {

// The outcome of a card operation, held as a plain int in CardState::status; the wizard turns
// it into its texts. SendAtCommand's results 0, 1 and 5 are values of it.
enum Status : int {
    kStatusRefusedOrUnanswered = 0,  // "ERROR", "COMMAND NOT SUPPORTED", or no "OK" in time
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

}  // namespace quorvel
