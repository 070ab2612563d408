#pragma once

#include <string>

#include "base/Status.h"
#include "config/SwitchConfig.h"

namespace quorvel {

// Everything a run's card operations share, owned by the run for its whole life.
struct CardState {
    Status status = Status::kSuccess;
    int cdromValue = -1;  // written by LoadSwitchConfig before anything reads it
    int diagValue = -1;
    std::string cardType;
    int portNumber = 0;    // meaningful only after a successful locate
    int silentValue = -1;  // the number a silent run switches with
    bool customLabels = false;
    std::string firstChoiceLabel = kDefaultFirstChoiceLabel;
    std::string secondChoiceLabel = kDefaultSecondChoiceLabel;
    std::string configuredFriendlyName;
};

}  // namespace quorvel
