// The program's entry point and composition root: the application object, the command-line
// split and the Win32 adapters the card operations run on.
#include <windows.h>

#include <shellapi.h>  // needs <windows.h> first

#include <cstring>
#include <string>
#include <vector>

#include "Version.h"
#include "app/RunMode.h"
#include "base/Win32Clock.h"
#include "base/Win32MessageQueue.h"
#include "base/Win32Trace.h"
#include "card/CardOperations.h"
#include "config/Win32Profile.h"
#include "discovery/Win32DeviceInventory.h"
#include "discovery/Win32Registry.h"
#include "serial/Win32ComPort.h"
#include "ui/Win32WizardDialog.h"

namespace quorvel {

namespace {

// DLLs are loaded from the system folder only, never from the program's own folder, where a
// downloaded program may find planted ones. Looked up by name: Windows 7 without its update
// lacks the call, and the program must still start there.
void LoadLibrariesFromSystemOnly() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (found == nullptr) return;
    reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(found))(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Splits the 8-bit command line the way the platform does: converted with the ANSI code page,
// then cut by CommandLineToArgvW, piece 0 being the program path. A split that fails gives no
// pieces at all.
std::vector<std::wstring> SplitCommandLine(const char* commandLine) {
    const int length = static_cast<int>(std::strlen(commandLine));
    std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, commandLine, length, wide.data(), length + 1);

    int count = 0;
    LPWSTR* pieces = CommandLineToArgvW(wide.data(), &count);
    if (pieces == nullptr) return {};
    std::vector<std::wstring> arguments(pieces, pieces + count);
    LocalFree(pieces);
    return arguments;
}

// The platform services of the process, owned by the application object. The COM port stands
// for the process's one port handle, so it lives as long as the run: a silent run's reset leaves
// it open until the program ends.
// The clock's pauses and the dialog share the thread's message queue.
struct ProcessPlatform {
    explicit ProcessPlatform(Trace& trace) : card{port, clock, devices, registry, profile, trace} {}

    Win32MessageQueue queue;
    Win32ComPort port;
    Win32Clock clock{queue};
    Win32DeviceInventory devices;
    Win32Registry registry;
    Win32Profile profile;
    CardPlatform card;
};

// Shown before the wizard exists, so it has no owner.
void ShowStartupMessage(StartupMessage message) {
    MessageBoxA(nullptr, StartupMessageText(message), kStartupMessageCaption, MB_OK | MB_ICONERROR);
}

// Switches the card with the number from the command line, with no window at all: a silent
// run must work, and tell how it went, on a machine without a desktop too.
int RunSilently(const CardPlatform& platform, int value) {
    CardState state;
    state.silentValue = value;
    CardOperations card(state, platform);
    return SilentRunExitStatus(card.SilentSwitch());
}

// The application object: where the program's own logic begins once the process runs.
class CardSwitchApp {
  public:
    explicit CardSwitchApp(Trace& trace) : trace_(trace), platform_(trace) {}

    // Decides the run mode from the command line and runs it; returns the process's exit
    // status.
    int Start() {
        LoadLibrariesFromSystemOnly();
        const std::vector<std::wstring> arguments = SplitCommandLine(GetCommandLineA());
        const CommandLineDecision decision = ParseCommandLine(arguments);
        TraceStart(trace_, QUORVEL_VERSION, arguments, decision);
        if (decision.runMode.silent) return RunSilently(platform_.card, decision.runMode.value);

        if (decision.message != StartupMessage::kNone) ShowStartupMessage(decision.message);
        Win32WizardDialog dialog(GetModuleHandleA(nullptr), platform_.card, platform_.queue);
        return WizardRunExitStatus(decision.message, dialog.DoModal());
    }

  private:
    Trace& trace_;
    ProcessPlatform platform_;
};

}  // namespace

}  // namespace quorvel

// Every run ends its trace with its exit status, the last-resort one included.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    quorvel::Win32Trace trace;
    int status = quorvel::kFailedRunExitStatus;
    try {
        status = quorvel::CardSwitchApp(trace).Start();
    } catch (...) {
        status = quorvel::kFailedRunExitStatus;
    }
    return quorvel::TraceExit(trace, status);
}
