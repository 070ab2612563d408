#pragma once

#include "card/CardOperations.h"
#include "card/CardState.h"
#include "ui/WizardView.h"

namespace quorvel {

// The wizard's pages (welcome, progress, result) and what its buttons do, over a view of the
// dialog. Page transitions and texts live here so they can be tested without a window.
class WizardPages {
  public:
    WizardPages(WizardView& view, CardOperations& card, CardState& state);

    // At dialog initialisation, before anything is shown: a silent run switches the card and
    // closes the dialog. Returns true when it did.
    bool RunSilentSwitchIfAsked();

    // The status that ends a silent run, kStatusSuccess when the switch and the first reset
    // command went through.
    int SilentOutcome() const { return silentOutcome_; }

    void ShowWelcomePage();
    void OnNext();
    void ShowProgressPage();
    void ShowResultPage();
    void ConfirmExit();

  private:
    WizardChoice CheckedChoice();

    WizardView& view_;
    CardOperations& card_;
    CardState& state_;
    int silentOutcome_ = kStatusSuccess;
};

}  // namespace quorvel
