#include "app/ExitStatus.h"

#include "card/WizardStatus.h"

namespace quorvel {

int SilentRunExitStatus(int outcomeStatus) {
    switch (outcomeStatus) {
        case kStatusSuccess:
            return 0;
        case kStatusNoAnswer:
            return 1;
        default:
            return outcomeStatus;
    }
}

}  // namespace quorvel
