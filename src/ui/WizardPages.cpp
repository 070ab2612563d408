#include "ui/WizardPages.h"

#include "ui/resources/ResourceIds.h"

namespace quorvel {

namespace {

// The string-table texts that tell a status on the welcome page, as its body.
int WelcomeBodyTextId(Status status) {
    switch (status) {
        case Status::kCardNotFound:
            return IDS_CARD_NOT_FOUND;
        case Status::kOpenFailed:
            return IDS_OPEN_PORT_FAILED;
        case Status::kNoHandshake:
            return IDS_CARD_NOT_RESPONDING;
        case Status::kConfigMissing:
            return IDS_CONFIG_MISSING;
        case Status::kCardTypeNotConfigured:
            return IDS_CARD_TYPE_NOT_CONFIGURED;
        case Status::kConfigWithoutSections:
            return IDS_CONFIG_MISTAKE;
        case Status::kSwitchNumberMissing:
            return IDS_CONFIG_WITHOUT_AT_COMMAND;
        default:
            return IDS_UNKNOWN_ERROR;
    }
}

struct ResultTextIds {
    int title;
    int body;
};

// The result page names the locate failures; every other failure is "Unknown error!".
ResultTextIds ResultTextIdsFor(Status status) {
    switch (status) {
        case Status::kSuccess:
            return {IDS_UPDATE_SUCCESSFUL, IDS_WIZARD_PURPOSE};
        case Status::kCardNotFound:
        case Status::kOpenFailed:
        case Status::kNoHandshake:
            return {IDS_UPDATE_FAILED, WelcomeBodyTextId(status)};
        default:
            return {IDS_UPDATE_FAILED, IDS_UNKNOWN_ERROR};
    }
}

// A button takes "&" as the mark of its mnemonic; a label from Quorvel.ini shows as written.
std::string AsWrittenOnAButton(const std::string& label) {
    std::string escaped;
    for (char c : label) {
        if (c == '&') escaped += '&';
        escaped += c;
    }
    return escaped;
}

// The controls the searching page greys and the welcome page gives back, Next last: whoever
// waits for Next to come on (a reader of the screen, an automated check) sees the whole page.
constexpr int kGreyedWhileSearching[] = {IDC_FIRST_CHOICE, IDC_SECOND_CHOICE, IDC_CANCEL_BUTTON,
                                         IDC_NEXT_BUTTON};

// The chosen direction as the page labelled it.
std::string DirectionText(SwitchDirection direction, const CardState& state) {
    switch (direction) {
        case SwitchDirection::kCdromToDiag:
            return Quoted(state.firstChoiceLabel);
        case SwitchDirection::kDiagToCdrom:
            return Quoted(state.secondChoiceLabel);
        case SwitchDirection::kNone:
            break;
    }
    return "no choice checked";
}

}  // namespace

WizardPages::WizardPages(WizardView& view, CardOperations& card, CardState& state, Trace& trace)
    : view_(view), card_(card), state_(state), trace_(trace) {}

void WizardPages::ShowSearchingPage() {
    view_.UseTitleFont(IDC_TITLE_TEXT);
    view_.SetText(IDC_TITLE_TEXT, view_.LoadText(IDS_WELCOME_TITLE));
    view_.SetText(IDC_BODY_TEXT, kSearchingText);
    for (int id : kGreyedWhileSearching)
        view_.EnableControl(id, false);
    page_ = Page::kSearching;
}

// The configuration is read only for a card that told its type.
void WizardPages::QueryCard() {
    typeRead_ = card_.QueryCardType();
    configured_ = typeRead_ && card_.LoadSwitchConfig();
}

// A type the configuration fails for is named all the same: its section must be called exactly
// that.
void WizardPages::ShowWelcomePage() {
    std::string title = view_.LoadText(IDS_WELCOME_TITLE);
    std::string body;
    if (configured_ || (typeRead_ && !state_.cardType.empty()))
        title += kCardTypeLead + state_.cardType;
    if (configured_) {
        body = view_.LoadText(IDS_WELCOME_BODY);
        if (state_.customLabels) {
            view_.SetText(IDC_FIRST_CHOICE, AsWrittenOnAButton(state_.firstChoiceLabel));
            view_.SetText(IDC_SECOND_CHOICE, AsWrittenOnAButton(state_.secondChoiceLabel));
        }
    } else {
        body = view_.LoadText(WelcomeBodyTextId(state_.status));
    }
    page_ = state_.status == Status::kSuccess ? Page::kWelcome : Page::kCannotSwitch;
    if (page_ == Page::kCannotSwitch) view_.SetText(IDC_NEXT_BUTTON, kFinishCaption);
    view_.SetText(IDC_TITLE_TEXT, title);
    view_.SetText(IDC_BODY_TEXT, body);
    for (int id : kGreyedWhileSearching)
        view_.EnableControl(id, true);
    TraceLine(trace_) << "page welcome, status " << StatusCode(state_.status) << ": "
                      << Quoted(title);
}

// Next (Finish on the last pages) shows the progress page first in every case.
void WizardPages::OnNext() {
    const Page from = page_;
    ShowProgressPage();
    switch (from) {
        case Page::kWelcome: {
            const SwitchDirection direction = CheckedDirection();
            TraceLine(trace_) << "Next: " << DirectionText(direction, state_);
            card_.SwitchBySelection(direction);
            if (!view_.QuitRequested()) ShowResultPage();
            break;
        }
        case Page::kCannotSwitch:
        case Page::kResult:
            TraceLine(trace_) << "Finish";
            view_.CloseWithOk();
            break;
        case Page::kNone:
        case Page::kSearching:
        case Page::kProgress:
            break;
    }
}

SwitchDirection WizardPages::CheckedDirection() {
    const int checked = view_.CheckedRadio(IDC_FIRST_CHOICE, IDC_SECOND_CHOICE);
    if (checked == IDC_FIRST_CHOICE) return SwitchDirection::kCdromToDiag;
    if (checked == IDC_FIRST_CHOICE + 1) return SwitchDirection::kDiagToCdrom;
    return SwitchDirection::kNone;
}

void WizardPages::ShowProgressPage() {
    view_.SetText(IDC_BODY_TEXT, kProgressLead + view_.LoadText(IDS_UPDATING));
    for (int radio : {IDC_FIRST_CHOICE, IDC_SECOND_CHOICE}) {
        view_.EnableControl(radio, false);
        view_.ShowControl(radio, false);
    }
    view_.EnableControl(IDC_NEXT_BUTTON, false);
    view_.EnableControl(IDC_CANCEL_BUTTON, false);
    page_ = Page::kProgress;
    TraceLine(trace_) << "page progress";
    // The card's pauses keep the window painted, but the port's open and the first look for
    // the card's answer come before any pause: the page is put on the screen first.
    view_.PaintNow();
}

void WizardPages::ShowResultPage() {
    page_ = Page::kResult;
    view_.EnableControl(IDC_CANCEL_BUTTON, false);
    view_.SetText(IDC_NEXT_BUTTON, kFinishCaption);
    view_.EnableControl(IDC_NEXT_BUTTON, true);
    const ResultTextIds texts = ResultTextIdsFor(state_.status);
    view_.SetText(IDC_BODY_TEXT, view_.LoadText(texts.body));
    view_.SetText(IDC_FOOTER_TEXT, view_.LoadText(IDS_CLICK_FINISH));
    view_.SetText(IDC_TITLE_TEXT, view_.LoadText(texts.title));
    TraceLine(trace_) << "page result, status " << StatusCode(state_.status) << ": "
                      << Quoted(view_.LoadText(texts.title));
}

void WizardPages::ConfirmExit() {
    const bool yes = view_.AskYesNo(kConfirmExitText, kConfirmExitCaption);
    TraceLine(trace_) << "asked whether to quit: " << (yes ? "yes" : "no");
    if (yes) view_.CloseWithOk();
}

}  // namespace quorvel
