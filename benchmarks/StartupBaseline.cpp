// The least a Windows program with a dialog can do: start, build a dialog from its resources,
// fill one text in WM_INITDIALOG and show it. Timed by the bench from start to visible, it is
// what Wine's start-up costs before QuorvelTool does anything of its own.
//
//   startupbaseline          shows the dialog until it is closed (or 30 s have passed)
//   startupbaseline --exit   ends the dialog during its initialisation and exits, as a
//                            silent run does, for a start-to-exit baseline

#include <windows.h>

#include <cstring>

#include "StartupBaselineIds.h"

namespace {

// Nobody should have to clean up after a bench that died: the dialog goes by itself.
constexpr UINT kGiveUpMs = 30000;
constexpr UINT_PTR kGiveUpTimer = 1;

INT_PTR CALLBACK BaselineProc(HWND window, UINT message, WPARAM, LPARAM exitAtOnce) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextA(window, IDC_BASELINE_TEXT, "Start-up baseline");
            if (exitAtOnce != 0) {
                EndDialog(window, 0);
            } else {
                SetTimer(window, kGiveUpTimer, kGiveUpMs, nullptr);
            }
            return TRUE;
        case WM_TIMER:
        case WM_CLOSE:
            EndDialog(window, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const bool exitAtOnce = std::strstr(commandLine, "--exit") != nullptr;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_BASELINE), nullptr, BaselineProc,
                    exitAtOnce ? 1 : 0);
    return 0;
}
