#include "ui/Win32WizardDialog.h"

#include "base/Win32MessageQueue.h"
#include "ui/resources/ResourceIds.h"

namespace quorvel {

namespace {

// Marks the dialog busy while page work talks to the card. When it ends, what the user pressed
// and the commands posted meanwhile are dropped, and what was sent is answered while the dialog
// still ignores it: nothing done during the card's wait is acted on afterwards. Anything else
// queued stays for the dialog, which then takes input again: the keyboard at Next (or Finish),
// since disabling the button that had the focus left it nowhere. A quit kept meanwhile is
// posted again last, and ends the run.
class CardWork {
  public:
    CardWork(HWND dialog, Win32MessageQueue& queue, bool& busy)
        : dialog_(dialog), queue_(queue), busy_(busy) {
        busy_ = true;
        // Only for Windows to show at log-off; Wine 8 lacks it, and the work goes on regardless.
        ShutdownBlockReasonCreate(dialog_, kCardWorkShutdownReason);
    }
    ~CardWork() {
        queue_.DropQueuedInput();
        queue_.DropQueuedMessages(WM_COMMAND);
        queue_.DropQueuedMessages(WM_SYSCOMMAND);
        busy_ = false;
        ShutdownBlockReasonDestroy(dialog_);
        // Not while the dialog is set up or closing: it is hidden then.
        HWND next = GetDlgItem(dialog_, IDC_NEXT_BUTTON);
        if (IsWindowVisible(dialog_) && IsWindowEnabled(next))
            SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        queue_.PostKeptQuit();
    }
    CardWork(const CardWork&) = delete;
    CardWork& operator=(const CardWork&) = delete;

  private:
    HWND dialog_;
    Win32MessageQueue& queue_;
    bool& busy_;
};

// What is drawn in pixels was drawn for the template's font at 96 DPI, where the dialog's base
// units are 6 x 12. Everywhere else the dialog grows with its font, and these grow with it.
constexpr int kDrawnBaseUnitX = 6;
constexpr int kDrawnBaseUnitY = 12;

// The panel right of the picture, in pixels.
constexpr int kPanelWidth = 345;
// How much taller the title's font is than the template's, in pixels.
constexpr int kTitleFontExtraHeight = 5;

// The modal run's result when the set-up failed; IDOK is 1.
constexpr INT_PTR kSetUpFailed = 0;

INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

Win32WizardDialog::Win32WizardDialog(HINSTANCE instance, const CardPlatform& platform,
                                     Win32MessageQueue& queue)
    : icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON))),
      instance_(instance),
      queue_(queue),
      card_(state_, platform),
      pages_(*this, card_, state_, platform.trace),
      trace_(platform.trace) {}

Win32WizardDialog::~Win32WizardDialog() {
    if (titleFont_ != nullptr) DeleteObject(titleFont_);
    if (scaledPicture_ != nullptr) DeleteObject(scaledPicture_);
}

// The dialog ends with -1 when it could not be made. Otherwise it ran, unless its set-up failed:
// what DialogBoxParam hands back after a quit ended it is the platform's choice, not a failure.
bool Win32WizardDialog::DoModal() {
    return DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_SWITCH_WIZARD), nullptr, DialogProc,
                           reinterpret_cast<LPARAM>(this)) != -1 &&
           !setUpFailed_;
}

// Nothing may unwind through the window system: a failure in a handler (an allocation, most
// likely) leaves the message unhandled instead. A failure during set-up ends the run, as the
// wizard would otherwise go on half built.
INT_PTR CALLBACK Win32WizardDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<Win32WizardDialog*>(lParam)->window_ = window;
    }
    auto* dialog = reinterpret_cast<Win32WizardDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    try {
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        if (message == WM_INITDIALOG) dialog->AbandonSetUp();
        return FALSE;
    }
}

// The pages were never filled, so Next would switch with numbers never read. The wizard goes
// before the box, which has no owner: the wizard never came to be.
void Win32WizardDialog::AbandonSetUp() {
    setUpFailed_ = true;
    ShowWindow(window_, SW_HIDE);
    TraceLine(trace_) << "the wizard's set-up failed";
    MessageBoxA(nullptr, kSetUpFailedText, kSetUpFailedCaption, MB_OK | MB_ICONERROR);
    EndDialog(window_, kSetUpFailed);
}

INT_PTR Win32WizardDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // While the card works the buttons, keys, close box and system menu do nothing: a command
    // sent meanwhile (Enter's OK, a close, the About box) is taken and left undone.
    if (busy_ && (message == WM_COMMAND || message == WM_SYSCOMMAND)) return TRUE;
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_SYSCOMMAND:
            return OnSysCommand(wParam);
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(icon_);
        case WM_ERASEBKGND:
            return OnEraseBackground(reinterpret_cast<HDC>(wParam));
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_QUERYENDSESSION:
            return OnQueryEndSession();
        default:
            return FALSE;
    }
}

INT_PTR Win32WizardDialog::OnInitDialog() {
    CheckDlgButton(window_, IDC_FIRST_CHOICE, BST_CHECKED);
    CentreOnScreen();
    MeasureBaseUnits();
    CreateTitleFont();
    ScalePicture();
    // The card may take half a minute to answer, or not answer at all: the wizard shows and
    // says what it is doing first, then waits on the card as it does during a switch. Its
    // buttons come back once that is over, and what was pressed meanwhile has been dropped.
    pages_.ShowSearchingPage();
    ShowWindow(window_, SW_SHOW);
    PaintNow();
    {
        CardWork work(window_, queue_, busy_);
        pages_.QueryCard();
    }
    pages_.ShowWelcomePage();
    return TRUE;
}

// The buttons' clicks, then the OK and cancel actions (Enter, Escape and the close box).
INT_PTR Win32WizardDialog::OnCommand(WORD controlId, WORD notification) {
    switch (controlId) {
        case IDC_CANCEL_BUTTON:
            if (notification != BN_CLICKED) return FALSE;
            pages_.ConfirmExit();
            return TRUE;
        case IDC_NEXT_BUTTON: {
            if (notification != BN_CLICKED) return FALSE;
            CardWork work(window_, queue_, busy_);
            pages_.OnNext();
            return TRUE;
        }
        case IDOK:
            CloseWithOk();
            return TRUE;
        case IDCANCEL:
            pages_.ConfirmExit();
            return TRUE;
        default:
            return FALSE;
    }
}

// A log-off or shut-down waits while the card works: ended then, the program would leave a
// command half done and the card perhaps between its modes. At any other time: the default yes.
INT_PTR Win32WizardDialog::OnQueryEndSession() {
    if (!busy_) return FALSE;
    SetWindowLongPtrA(window_, DWLP_MSGRESULT, FALSE);
    return TRUE;
}

INT_PTR Win32WizardDialog::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return FALSE;
    // The wide call keeps the box's Chinese caption and button text whatever the ANSI code
    // page; the narrow one passes them through it.
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ABOUTBOX), window_, AboutProc, 0);
    return TRUE;
}

INT_PTR Win32WizardDialog::OnPaint() {
    if (!IsIconic(window_)) return FALSE;
    PaintMinimisedIcon();
    return TRUE;
}

void Win32WizardDialog::PaintMinimisedIcon() {
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

// The texts and choices lie on the panel, so they take its colour, and the text colour that
// goes with it: a contrast theme's, too. A greyed control keeps the system's grey.
INT_PTR Win32WizardDialog::OnControlColour(HDC dc, HWND control) {
    SetTextColor(dc, GetSysColor(IsWindowEnabled(control) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
}

INT_PTR Win32WizardDialog::OnEraseBackground(HDC dc) {
    PaintBackground(dc);
    SetWindowLongPtrA(window_, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

// Button face everywhere, then the panel from the picture's right edge, as tall as the picture,
// in the theme's window colour (white in the default one); the separator and button strip below
// keep the button face.
void Win32WizardDialog::PaintBackground(HDC dc) {
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));

    RECT picture;
    GetWindowRect(GetDlgItem(window_, IDC_PICTURE), &picture);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&picture), 2);
    const RECT panel = {picture.right, picture.top, picture.right + ScaledX(kPanelWidth),
                        picture.bottom};
    FillRect(dc, &panel, GetSysColorBrush(COLOR_WINDOW));
}

// With no owner the dialog stands in the middle of the screen's work area.
void Win32WizardDialog::CentreOnScreen() {
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

// Where the dialog cannot tell its units, what is drawn in pixels stays as it was drawn.
void Win32WizardDialog::MeasureBaseUnits() {
    RECT units = {0, 0, 4, 8};
    const bool measured = MapDialogRect(window_, &units) != FALSE;
    baseUnitX_ = measured ? units.right : kDrawnBaseUnitX;
    baseUnitY_ = measured ? units.bottom : kDrawnBaseUnitY;
}

// Rounded the same way everywhere, and exact where the dialog has the units it was drawn for.
int Win32WizardDialog::ScaledX(int pixels) const {
    return MulDiv(pixels, baseUnitX_, kDrawnBaseUnitX);
}

int Win32WizardDialog::ScaledY(int pixels) const {
    return MulDiv(pixels, baseUnitY_, kDrawnBaseUnitY);
}

// The template's font, bold and larger.
void Win32WizardDialog::CreateTitleFont() {
    auto font = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    if (font == nullptr) return;
    LOGFONTA description;
    if (GetObjectA(font, sizeof description, &description) == 0) return;
    description.lfWeight = FW_BOLD;
    const int extra = ScaledY(kTitleFontExtraHeight);
    description.lfHeight += description.lfHeight <= 0 ? -extra : extra;
    titleFont_ = CreateFontIndirectA(&description);
}

// The picture control takes its bitmap's size from its top-left corner, so a copy at the
// dialog's scale keeps it as large as the dialog around it. At scale 1 the template's stays.
void Win32WizardDialog::ScalePicture() {
    HWND control = GetDlgItem(window_, IDC_PICTURE);
    auto drawn = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size;
    if (drawn == nullptr || GetObjectA(drawn, sizeof size, &size) == 0) return;
    const int width = ScaledX(size.bmWidth), height = ScaledY(size.bmHeight);
    if (width == size.bmWidth && height == size.bmHeight) return;
    scaledPicture_ = static_cast<HBITMAP>(CopyImage(drawn, IMAGE_BITMAP, width, height, 0));
    if (scaledPicture_ == nullptr) return;
    // The control hands back the bitmap it loaded, which is no longer shown.
    DeleteObject(reinterpret_cast<HGDIOBJ>(SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP,
                                                        reinterpret_cast<LPARAM>(scaledPicture_))));
}

std::string Win32WizardDialog::LoadText(int stringId) {
    char text[1024] = {};
    LoadStringA(instance_, static_cast<UINT>(stringId), text, sizeof text);
    return text;
}

void Win32WizardDialog::SetText(int controlId, const std::string& text) {
    SetDlgItemTextA(window_, controlId, text.c_str());
}

void Win32WizardDialog::EnableControl(int controlId, bool enable) {
    EnableWindow(GetDlgItem(window_, controlId), enable ? TRUE : FALSE);
}

void Win32WizardDialog::ShowControl(int controlId, bool show) {
    ShowWindow(GetDlgItem(window_, controlId), show ? SW_SHOW : SW_HIDE);
}

void Win32WizardDialog::UseTitleFont(int controlId) {
    SendDlgItemMessageA(window_, controlId, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), TRUE);
}

int Win32WizardDialog::CheckedRadio(int firstId, int lastId) {
    for (int id = firstId; id <= lastId; ++id) {
        if (IsDlgButtonChecked(window_, id) == BST_CHECKED) return id;
    }
    return 0;
}

void Win32WizardDialog::PaintNow() {
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool Win32WizardDialog::AskYesNo(const std::string& text, const std::string& caption) {
    return MessageBoxA(window_, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONEXCLAMATION) ==
           IDYES;
}

void Win32WizardDialog::CloseWithOk() {
    EndDialog(window_, IDOK);
}

bool Win32WizardDialog::QuitRequested() {
    return queue_.QuitKept();
}

}  // namespace quorvel
