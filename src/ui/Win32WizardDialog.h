#pragma once

#include <windows.h>

#include "base/Win32MessageQueue.h"
#include "card/CardOperations.h"
#include "card/CardState.h"
#include "ui/WizardPages.h"
#include "ui/WizardView.h"

namespace quorvel {

// The wizard's window: a modal dialog on template 102, for an interactive run. It is thin on
// purpose: painting, resources and message dispatch live here, the pages and their texts in
// WizardPages.
class Win32WizardDialog : private WizardView {
  public:
    // `queue` is the thread's, shared with the clock the card's pauses take: a quit that a
    // pause kept is posted again once the card's work is over.
    Win32WizardDialog(HINSTANCE instance, const CardPlatform& platform, Win32MessageQueue& queue);
    ~Win32WizardDialog() override;
    Win32WizardDialog(const Win32WizardDialog&) = delete;
    Win32WizardDialog& operator=(const Win32WizardDialog&) = delete;

    // Runs the dialog modally, with no parent window. False when it could not be created, or
    // when its set-up failed: the user was then told so in a box, and the card got no switch.
    bool DoModal();

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void AbandonSetUp();

    // Handlers, each called for its window message.
    INT_PTR OnInitDialog();
    INT_PTR OnSysCommand(WPARAM command);
    INT_PTR OnPaint();
    INT_PTR OnControlColour(HDC dc, HWND control);
    INT_PTR OnEraseBackground(HDC dc);
    INT_PTR OnCommand(WORD controlId, WORD notification);
    INT_PTR OnQueryEndSession();

    void CentreOnScreen();
    void MeasureBaseUnits();
    int ScaledX(int pixels) const;
    int ScaledY(int pixels) const;
    void CreateTitleFont();
    void ScalePicture();
    void PaintMinimisedIcon();
    void PaintBackground(HDC dc);

    // WizardView
    std::string LoadText(int stringId) override;
    void SetText(int controlId, const std::string& text) override;
    void EnableControl(int controlId, bool enable) override;
    void ShowControl(int controlId, bool show) override;
    void UseTitleFont(int controlId) override;
    int CheckedRadio(int firstId, int lastId) override;
    void PaintNow() override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void CloseWithOk() override;
    bool QuitRequested() override;

    HICON icon_;
    CardState state_;
    HFONT titleFont_ = nullptr;
    // The picture at the dialog's scale, where that is not the one it was drawn for.
    HBITMAP scaledPicture_ = nullptr;
    // The dialog's base units, in pixels.
    int baseUnitX_ = 0, baseUnitY_ = 0;
    bool busy_ = false;         // page work is talking to the card
    bool setUpFailed_ = false;  // the run was ended with a box instead of the wizard

    HINSTANCE instance_;
    Win32MessageQueue& queue_;
    HWND window_ = nullptr;
    CardOperations card_;
    WizardPages pages_;
    Trace& trace_;
};

}  // namespace quorvel
