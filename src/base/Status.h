#pragma once

namespace quorvel {

// The outcome of a card operation, held in CardState::status; the wizard turns it into its
// texts and a silent run into its exit status. SendAtCommand gives only kRefusedOrUnanswered,
// kSuccess and kWriteFailed. The numbers are fixed: scripts read them from the exit status.
enum class Status : int {
    kRefusedOrUnanswered = 0,  // "ERROR", "COMMAND NOT SUPPORTED", or no "OK" in time
    kSuccess = 1,
    kCardNotFound = 2,
    kOpenFailed = 3,
    kNoHandshake = 4,
    kWriteFailed = 5,
    kConfigMissing = 6,
    kCardTypeNotConfigured = 7,
    kConfigWithoutSections = 8,
    kSwitchNumberMissing = 9,
};

// The status's number, where a number is what is wanted.
constexpr int StatusCode(Status status) {
    return static_cast<int>(status);
}

}  // namespace quorvel
