#pragma once

#include "base/Trace.h"
#include "card/CardOperations.h"
#include "card/CardState.h"
#include "ui/WizardView.h"

namespace quorvel {

inline constexpr char kFinishCaption[] = "&Finish";
inline constexpr char kCardTypeLead[] = "\r\nThe Card type is ";
inline constexpr char kProgressLead[] = "\r\n\r\n";
inline constexpr char kSearchingText[] = "Looking for the data card. Please wait.";
inline constexpr char kConfirmExitText[] = "Are you sure exit!";
inline constexpr char kConfirmExitCaption[] = "Quorvel";
inline constexpr char kSetUpFailedCaption[] = "QuorvelTool";
inline constexpr char kSetUpFailedText[] =
    "QuorvelTool could not start the wizard. Nothing was changed on the card.";
// Why the session waits while the card works; Windows shows it to whoever is logging off.
inline constexpr wchar_t kCardWorkShutdownReason[] = L"Switching the data card. Please wait.";

// The wizard's pages (searching, welcome, progress, result) and what its buttons do, over a view
// of the dialog. Page transitions and texts live here so they can be tested without a window.
class WizardPages {
  public:
    WizardPages(WizardView& view, CardOperations& card, CardState& state, Trace& trace);

    // What the wizard shows while it first asks the card, which may take half a minute: the
    // welcome title alone, and every button and choice greyed.
    void ShowSearchingPage();
    // Asks the card for its type and reads its configuration, for the welcome page, which is
    // shown once the card's work is over.
    void QueryCard();
    // The card type and the two choices, or why the card cannot be switched.
    void ShowWelcomePage();
    void OnNext();
    void ShowProgressPage();
    void ShowResultPage();
    void ConfirmExit();

  private:
    // The page on show, which decides what Next does: the welcome page switches, a welcome
    // page that tells why the card cannot be switched and the result page close the wizard.
    enum class Page {
        kNone,
        kSearching,
        kWelcome,
        kCannotSwitch,
        kProgress,
        kResult,
    };

    SwitchDirection CheckedDirection();

    Page page_ = Page::kNone;
    WizardView& view_;
    CardOperations& card_;
    CardState& state_;
    Trace& trace_;
    bool typeRead_ = false;    // the card told its type
    bool configured_ = false;  // and Quorvel.ini has its numbers
};

}  // namespace quorvel
