#pragma once

#include <string>

namespace quorvel {

// What the wizard's pages need of the dialog window. The Win32 dialog implements it; tests
// record what was shown.
class WizardView {
  public:
    virtual ~WizardView() = default;

    // A text of the string table.
    virtual std::string LoadText(int stringId) = 0;

    virtual void SetText(int controlId, const std::string& text) = 0;
    virtual void EnableControl(int controlId, bool enable) = 0;
    virtual void ShowControl(int controlId, bool show) = 0;

    // Gives the control the bold title font and redraws it.
    virtual void UseTitleFont(int controlId) = 0;

    // The checked radio button of the group from `firstId` to `lastId`; 0 when none is.
    virtual int CheckedRadio(int firstId, int lastId) = 0;

    // Paints what has changed now, before the card work that follows.
    virtual void PaintNow() = 0;

    // A Yes/No question with the exclamation icon, owned by the dialog. True for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;

    // Ends the modal run with the OK result; nothing is read back from the controls.
    virtual void CloseWithOk() = 0;

    // True once the run has been told to end (a quit came while the card worked): it ends as
    // soon as the card's work is over, and no page is shown meanwhile.
    virtual bool QuitRequested() = 0;
};

}  // namespace quorvel
