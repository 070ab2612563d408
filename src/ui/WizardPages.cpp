#include "ui/WizardPages.h"

#include "ui/WizardTexts.h"
#include "ui/resources/ResourceIds.h"

namespace quorvel {

WizardPages::WizardPages(WizardView& view, CardOperations& card, CardState& state)
    : view_(view), card_(card), state_(state) {}

bool WizardPages::RunSilentSwitchIfAsked() {
    if (state_.silentFlag != 1) return false;
    card_.SilentSwitch(&silentOutcome_);
    view_.CloseWithOk();
    return true;
}

void WizardPages::ShowWelcomePage() {
    view_.UseTitleFont(IDC_TITLE_TEXT);
    std::string title = view_.LoadText(IDS_WELCOME_TITLE);
    std::string body;
    // The configuration is read only for a card that told its type.
    if (card_.QueryCardType() && card_.LoadSwitchConfig()) {
        title += kCardTypeLead + state_.cardType;
        body = view_.LoadText(IDS_WELCOME_BODY);
        if (state_.customLabelFlag == 1) {
            view_.SetText(IDC_FIRST_CHOICE, state_.firstChoiceLabel);
            view_.SetText(IDC_SECOND_CHOICE, state_.secondChoiceLabel);
        }
    } else {
        body = view_.LoadText(WelcomeBodyTextId(state_.status));
    }
    if (state_.status != kStatusSuccess) view_.SetText(IDC_NEXT_BUTTON, kFinishCaption);
    view_.SetText(IDC_TITLE_TEXT, title);
    view_.SetText(IDC_BODY_TEXT, body);
}

void WizardPages::OnNext() {
    ShowProgressPage();
    const std::string caption = view_.GetText(IDC_NEXT_BUTTON);
    if (caption == kNextCaption) {
        card_.SwitchBySelection(CheckedChoice());
        ShowResultPage();
    } else if (caption == kFinishCaption) {
        view_.CloseWithOk();
    }
}

WizardChoice WizardPages::CheckedChoice() {
    const int checked = view_.CheckedRadio(IDC_FIRST_CHOICE, IDC_SECOND_CHOICE);
    if (checked == IDC_FIRST_CHOICE) return WizardChoice::kFirst;
    if (checked == IDC_FIRST_CHOICE + 1) return WizardChoice::kSecond;
    return WizardChoice::kNeither;
}

void WizardPages::ShowProgressPage() {
    view_.SetText(IDC_BODY_TEXT, kProgressLead + view_.LoadText(IDS_UPDATING));
    for (int radio : {IDC_FIRST_CHOICE, IDC_SECOND_CHOICE}) {
        view_.EnableControl(radio, false);
        view_.ShowControl(radio, false);
    }
    view_.EnableControl(IDC_NEXT_BUTTON, false);
    view_.EnableControl(IDC_CANCEL_BUTTON, false);
    // The switch that follows blocks the thread for up to half a minute; without this the
    // page would not be painted until it is over.
    view_.PaintNow();
}

void WizardPages::ShowResultPage() {
    view_.EnableControl(IDC_CANCEL_BUTTON, false);
    view_.SetText(IDC_NEXT_BUTTON, kFinishCaption);
    view_.EnableControl(IDC_NEXT_BUTTON, true);
    const ResultTextIds texts = ResultTextIdsFor(state_.status);
    view_.SetText(IDC_BODY_TEXT, view_.LoadText(texts.body));
    view_.SetText(IDC_FOOTER_TEXT, view_.LoadText(IDS_CLICK_FINISH));
    view_.SetText(IDC_TITLE_TEXT, view_.LoadText(texts.title));
}

void WizardPages::ConfirmExit() {
    if (view_.AskYesNo(kConfirmExitText, kConfirmExitCaption)) view_.CloseWithOk();
}

}  // namespace quorvel
