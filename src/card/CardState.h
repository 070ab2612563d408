#pragma once

#include <string>

#include "card/WizardStatus.h"

namespace quorvel {

// The labels a configuration file's label keys default to. Note the lower-case "to" in the
// second one: it differs from the dialog's own radio text "Diag To CD-ROM".
inline constexpr char kDefaultFirstChoiceLabel[] = "CD-ROM To Diag";
inline constexpr char kDefaultSecondChoiceLabel[] = "Diag to CD-ROM";

// Everything a run's card operations share, owned by the wizard dialog for its whole life.
struct CardState {
    int status = kStatusSuccess;
    int cdromValue = -1;  // written by LoadSwitchConfig before anything reads it
    int diagValue = -1;
    std::string cardType;
    int portNumber = 0;  // meaningful only after a successful locate
    int silentFlag = 0;
    int silentValue = -1;
    int customLabelFlag = 0;
    std::string firstChoiceLabel = kDefaultFirstChoiceLabel;
    std::string secondChoiceLabel = kDefaultSecondChoiceLabel;
    std::string configuredFriendlyName;
};

}  // namespace quorvel
