#include "ui/WizardTexts.h"

#include "card/WizardStatus.h"
#include "ui/resources/ResourceIds.h"

namespace quorvel {

int WelcomeBodyTextId(int status) {
    switch (status) {
        case kStatusCardNotFound:
            return IDS_CARD_NOT_FOUND;
        case kStatusOpenFailed:
            return IDS_OPEN_PORT_FAILED;
        case kStatusNoHandshake:
            return IDS_CARD_NOT_RESPONDING;
        case kStatusConfigMissing:
            return IDS_CONFIG_MISSING;
        case kStatusCardTypeNotConfigured:
            return IDS_CARD_TYPE_NOT_CONFIGURED;
        case kStatusConfigWithoutSections:
            return IDS_CONFIG_MISTAKE;
        case kStatusSwitchNumberMissing:
            return IDS_CONFIG_WITHOUT_AT_COMMAND;
        default:
            return IDS_UNKNOWN_ERROR;
    }
}

ResultTextIds ResultTextIdsFor(int status) {
    switch (status) {
        case kStatusSuccess:
            return {IDS_UPDATE_SUCCESSFUL, IDS_WIZARD_PURPOSE};
        case kStatusCardNotFound:
        case kStatusOpenFailed:
        case kStatusNoHandshake:
            return {IDS_UPDATE_FAILED, WelcomeBodyTextId(status)};
        default:
            return {IDS_UPDATE_FAILED, IDS_UNKNOWN_ERROR};
    }
}

}  // namespace quorvel
