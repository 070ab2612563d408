#include "ui/Win32SwitchWizardDlg.h"

#include "ui/resources/ResourceIds.h"

namespace quorvel {

namespace {

// The white panel right of the picture, in pixels.
constexpr int kWhitePanelWidth = 345;

INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

const SwitchWizardDlg::MessageMapEntry SwitchWizardDlg::kMessageMap[] = {
    {WM_SYSCOMMAND, WM_SYSCOMMAND, 0, &SwitchWizardDlg::OnSysCommand},
    {WM_PAINT, WM_PAINT, 0, &SwitchWizardDlg::OnPaint},
    {WM_QUERYDRAGICON, WM_QUERYDRAGICON, 0, &SwitchWizardDlg::OnQueryDragIcon},
    {WM_ERASEBKGND, WM_ERASEBKGND, 0, &SwitchWizardDlg::OnEraseBackground},
    {WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, 0, &SwitchWizardDlg::OnControlColour},
    {WM_COMMAND, WM_COMMAND, IDC_CANCEL_BUTTON, &SwitchWizardDlg::OnCancelButton},
    {WM_COMMAND, WM_COMMAND, IDC_NEXT_BUTTON, &SwitchWizardDlg::OnNextButton},
};

SwitchWizardDlg::SwitchWizardDlg(HINSTANCE instance, const CardPlatform& platform)
    : icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON))),
      instance_(instance),
      card_(state_, platform),
      pages_(*this, card_, state_) {}

SwitchWizardDlg::~SwitchWizardDlg() {
    if (titleFont_ != nullptr) DeleteObject(titleFont_);
}

void SwitchWizardDlg::SetRunMode(int silent, int value) {
    state_.silentFlag = silent;
    state_.silentValue = value;
}

INT_PTR SwitchWizardDlg::DoModal() {
    return DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_SWITCH_WIZARD), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK SwitchWizardDlg::DialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        auto* dialog = reinterpret_cast<SwitchWizardDlg*>(lParam);
        dialog->window_ = window;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<SwitchWizardDlg*>(GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    if (message == WM_WINDOWPOSCHANGING && dialog->ranSilently_) {
        KeepHidden(reinterpret_cast<WINDOWPOS*>(lParam));
        return TRUE;
    }
    return dialog->Dispatch(message, wParam, lParam);
}

// A template marked visible is shown once initialisation returns, even when the dialog has
// already been ended there; a silent run must never show a window, not even for a moment.
void SwitchWizardDlg::KeepHidden(WINDOWPOS* position) {
    position->flags &= ~SWP_SHOWWINDOW;
}

// With no owner the dialog stands in the middle of the screen's work area.
void SwitchWizardDlg::CentreOnScreen() {
    RECT area;
    RECT window;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) || !GetWindowRect(window_, &window))
        return;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The message table first, then the dialog's own OK and cancel actions; anything else takes
// the default path.
INT_PTR SwitchWizardDlg::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const MessageMapEntry* entry = FindHandler(message, wParam)) {
        return (this->*entry->handler)(wParam, lParam);
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        OnOK();
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

const SwitchWizardDlg::MessageMapEntry* SwitchWizardDlg::FindHandler(UINT message,
                                                                     WPARAM wParam) const {
    for (const MessageMapEntry& entry : kMessageMap) {
        if (message < entry.firstMessage || message > entry.lastMessage) continue;
        if (message == WM_COMMAND &&
            (HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) != entry.controlId)) {
            continue;
        }
        return &entry;
    }
    return nullptr;
}

INT_PTR SwitchWizardDlg::OnSysCommand(WPARAM wParam, LPARAM) {
    if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return FALSE;
    // The wide call keeps the box's Chinese caption and button text whatever the ANSI code
    // page; the narrow one passes them through it.
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUTBOX), window_, AboutProc, 0);
    return TRUE;
}

INT_PTR SwitchWizardDlg::OnPaint(WPARAM, LPARAM) {
    if (!IsIconic(window_)) return FALSE;
    PaintMinimisedIcon();
    return TRUE;
}

void SwitchWizardDlg::PaintMinimisedIcon() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    SendMessageA(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(window_, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(window_, &paint);
}

INT_PTR SwitchWizardDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<INT_PTR>(icon_);
}

INT_PTR SwitchWizardDlg::OnEraseBackground(WPARAM wParam, LPARAM) {
    PaintBackground(reinterpret_cast<HDC>(wParam));
    SetWindowLongPtrA(window_, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

// Button face everywhere, then a white panel from the picture's right edge, as tall as the
// picture; the separator and button strip below keep the button face.
void SwitchWizardDlg::PaintBackground(HDC dc) {
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

    RECT picture;
    GetWindowRect(GetDlgItem(window_, IDC_PICTURE), &picture);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&picture), 2);
    const RECT panel = {picture.right, picture.top, picture.right + kWhitePanelWidth,
                        picture.bottom};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &panel, white);
    DeleteObject(white);
}

INT_PTR SwitchWizardDlg::OnControlColour(WPARAM, LPARAM) {
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
}

INT_PTR SwitchWizardDlg::OnCancelButton(WPARAM, LPARAM) {
    pages_.ConfirmExit();
    return TRUE;
}

INT_PTR SwitchWizardDlg::OnNextButton(WPARAM, LPARAM) {
    pages_.OnNext();
    return TRUE;
}

INT_PTR SwitchWizardDlg::OnInitDialog() {
    ExchangeChoice(false);
    if (pages_.RunSilentSwitchIfAsked()) {
        ranSilently_ = true;
        return TRUE;
    }
    CentreOnScreen();
    CreateTitleFont();
    pages_.ShowWelcomePage();
    return TRUE;
}

// The template's font, bold and 5 units larger.
void SwitchWizardDlg::CreateTitleFont() {
    auto font = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    if (font == nullptr) return;
    LOGFONTA description;
    if (GetObjectA(font, sizeof description, &description) == 0) return;
    description.lfWeight = FW_BOLD;
    description.lfHeight += description.lfHeight <= 0 ? -5 : 5;
    titleFont_ = CreateFontIndirectA(&description);
}

void SwitchWizardDlg::OnOK() {
    ExchangeChoice(true);
    EndDialog(window_, IDOK);
}

void SwitchWizardDlg::OnCancel() {
    pages_.ConfirmExit();
}

// The selected choice is the index of the checked radio in the group; -1 when none is.
void SwitchWizardDlg::ExchangeChoice(bool fromControls) {
    const int radios[] = {IDC_FIRST_CHOICE, IDC_SECOND_CHOICE};
    if (fromControls) selectedChoice_ = -1;
    for (int index = 0; index < 2; ++index) {
        if (fromControls) {
            if (IsDlgButtonChecked(window_, radios[index]) == BST_CHECKED) selectedChoice_ = index;
        } else {
            CheckDlgButton(window_, radios[index],
                           index == selectedChoice_ ? BST_CHECKED : BST_UNCHECKED);
        }
    }
}

std::string SwitchWizardDlg::LoadText(int stringId) {
    char text[1024] = {};
    LoadStringA(instance_, static_cast<UINT>(stringId), text, sizeof text);
    return text;
}

void SwitchWizardDlg::SetText(int controlId, const std::string& text) {
    SetDlgItemTextA(window_, controlId, text.c_str());
}

std::string SwitchWizardDlg::GetText(int controlId) {
    char text[256] = {};
    GetDlgItemTextA(window_, controlId, text, sizeof text);
    return text;
}

void SwitchWizardDlg::EnableControl(int controlId, bool enable) {
    EnableWindow(GetDlgItem(window_, controlId), enable ? TRUE : FALSE);
}

void SwitchWizardDlg::ShowControl(int controlId, bool show) {
    ShowWindow(GetDlgItem(window_, controlId), show ? SW_SHOW : SW_HIDE);
}

void SwitchWizardDlg::UseTitleFont(int controlId) {
    SendDlgItemMessageA(window_, controlId, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), TRUE);
}

int SwitchWizardDlg::CheckedRadio(int firstId, int lastId) {
    for (int id = firstId; id <= lastId; ++id) {
        if (IsDlgButtonChecked(window_, id) == BST_CHECKED) return id;
    }
    return 0;
}

void SwitchWizardDlg::PaintNow() {
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool SwitchWizardDlg::AskYesNo(const std::string& text, const std::string& caption) {
    return MessageBoxA(window_, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONEXCLAMATION) ==
           IDYES;
}

void SwitchWizardDlg::CloseWithOk() {
    OnOK();
}

}  // namespace quorvel
