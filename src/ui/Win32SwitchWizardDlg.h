#pragma once

#include <windows.h>

#include "card/CardOperations.h"
#include "card/CardState.h"
#include "ui/WizardPages.h"
#include "ui/WizardView.h"

namespace quorvel {

// The wizard's window: a modal dialog on template 102. It is thin on purpose: painting,
// resources and the message table live here, the pages and their texts in WizardPages.
class SwitchWizardDlg : private WizardView {
  public:
    SwitchWizardDlg(HINSTANCE instance, const CardPlatform& platform);
    ~SwitchWizardDlg() override;
    SwitchWizardDlg(const SwitchWizardDlg&) = delete;
    SwitchWizardDlg& operator=(const SwitchWizardDlg&) = delete;

    // Called between construction and the modal run.
    void SetRunMode(int silent, int value);

    // Runs the dialog modally, with no parent window; returns the modal run's result.
    INT_PTR DoModal();

    // Whether the run was silent, and how it ended (a WizardStatus).
    bool RanSilently() const { return ranSilently_; }
    int SilentOutcome() const { return pages_.SilentOutcome(); }

  private:
    using Handler = INT_PTR (SwitchWizardDlg::*)(WPARAM, LPARAM);
    struct MessageMapEntry {
        UINT firstMessage;
        UINT lastMessage;
        UINT controlId;  // for WM_COMMAND: the control whose click is handled
        Handler handler;
    };
    static const MessageMapEntry kMessageMap[];

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    const MessageMapEntry* FindHandler(UINT message, WPARAM wParam) const;

    // Message table handlers, in table order.
    INT_PTR OnSysCommand(WPARAM wParam, LPARAM lParam);
    INT_PTR OnPaint(WPARAM wParam, LPARAM lParam);
    INT_PTR OnQueryDragIcon(WPARAM wParam, LPARAM lParam);
    INT_PTR OnEraseBackground(WPARAM wParam, LPARAM lParam);
    INT_PTR OnControlColour(WPARAM wParam, LPARAM lParam);
    INT_PTR OnCancelButton(WPARAM wParam, LPARAM lParam);
    INT_PTR OnNextButton(WPARAM wParam, LPARAM lParam);

    // The dialog's own operations.
    static void KeepHidden(WINDOWPOS* position);
    void CentreOnScreen();
    INT_PTR OnInitDialog();
    void OnOK();
    void OnCancel();
    void ExchangeChoice(bool fromControls);
    void CreateTitleFont();
    void PaintMinimisedIcon();
    void PaintBackground(HDC dc);

    // WizardView
    std::string LoadText(int stringId) override;
    void SetText(int controlId, const std::string& text) override;
    std::string GetText(int controlId) override;
    void EnableControl(int controlId, bool enable) override;
    void ShowControl(int controlId, bool show) override;
    void UseTitleFont(int controlId) override;
    int CheckedRadio(int firstId, int lastId) override;
    void PaintNow() override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void CloseWithOk() override;

    int selectedChoice_ = 0;  // 0 = the first radio of the group at IDC_FIRST_CHOICE
    HICON icon_;
    CardState state_;
    HFONT titleFont_ = nullptr;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    CardOperations card_;
    WizardPages pages_;
    bool ranSilently_ = false;
};

}  // namespace quorvel
