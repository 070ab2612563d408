#include "app/Win32CardSwitchApp.h"

#include <windows.h>

#include <commctrl.h>  // needs <windows.h> first

#include "app/CommandLine.h"
#include "app/ExitStatus.h"
#include "app/Win32CommandLine.h"
#include "config/Win32Profile.h"
#include "discovery/Win32DeviceInventory.h"
#include "discovery/Win32Registry.h"
#include "serial/Win32Clock.h"
#include "serial/Win32ComPort.h"
#include "ui/Win32SwitchWizardDlg.h"

namespace quorvel {

namespace {

// The platform services of the process. The COM port stands for the process's one port
// handle, so it lives as long as the process: a silent run's reset leaves it open until exit.
CardPlatform& ProcessPlatform() {
    static Win32ComPort port;
    static Win32Clock clock;
    static Win32DeviceInventory devices;
    static Win32Registry registry;
    static Win32Profile profile;
    static CardPlatform platform{port, clock, devices, registry, profile};
    return platform;
}

// Shown before the wizard exists, so it has no owner.
void ShowStartupMessage(StartupMessage message) {
    MessageBoxA(nullptr, StartupMessageText(message), kStartupMessageCaption, MB_OK | MB_ICONERROR);
}

}  // namespace

bool CardSwitchApp::Start() {
    InitCommonControls();  // the system's 3-D look for the dialog's controls

    const CommandLineDecision decision = ParseCommandLine(SplitCommandLine(GetCommandLineA()));
    if (decision.message == StartupMessage::kWrongArgumentCount)
        ShowStartupMessage(decision.message);

    SwitchWizardDlg dialog(GetModuleHandleA(nullptr), ProcessPlatform());
    if (decision.handToWizard) {
        dialog.SetRunMode(decision.runMode.silent, decision.runMode.value);
    } else {
        ShowStartupMessage(decision.message);
    }
    dialog.DoModal();

    exitStatus_ = dialog.RanSilently() ? SilentRunExitStatus(dialog.SilentOutcome())
                                       : kInteractiveRunExitStatus;
    return false;
}

}  // namespace quorvel
