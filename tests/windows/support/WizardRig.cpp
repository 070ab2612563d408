#include "WizardRig.h"

#include <fstream>

#include "WinePaths.h"

namespace quorvel::test {

WizardRig::WizardRig() = default;

WizardRig::~WizardRig() {
    driver.Program().End();
    card.Stop();
    seed.RemoveAll();
}

::testing::AssertionResult WizardRig::PlugInCard(const std::vector<std::string>& cardArgs,
                                                 int com) {
    ::testing::AssertionResult started = card.Start(com, cardArgs);
    if (!started) return started;
    return RegisterCard(com);
}

::testing::AssertionResult WizardRig::RegisterCard(int com) {
    const std::string uiPort =
        "KELTRO Datalink - 3G PC UI Interface (COM" + std::to_string(com) + ")";
    if (seed.SeedModem(kRigModemName, com).empty() || seed.SeedPortsDevice(uiPort).empty())
        return ::testing::AssertionFailure() << "could not seed the card's devices";
    return ::testing::AssertionSuccess();
}

const std::string& WizardRig::WorkDirectory() {
    static int made = 0;
    while (workDirectory_.empty() && made < 1000) {
        const std::string path = WinePrefix() + "/wizard-run-" +
                                 std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(++made);
        if (CreateDirectoryA(UnixToWindowsPath(path).c_str(), nullptr)) workDirectory_ = path;
    }
    return workDirectory_;
}

::testing::AssertionResult WizardRig::WriteConfig(const std::string& text) {
    const std::string path = UnixToWindowsPath(WorkDirectory() + "/Quorvel.ini");
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file) return ::testing::AssertionFailure() << "cannot write " << path;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WizardRig::StartProgram(const std::vector<std::string>& args) {
    if (WorkDirectory().empty())
        return ::testing::AssertionFailure() << "no working directory in " << WinePrefix();
    if (!driver.Start(args, WorkDirectory()))
        return ::testing::AssertionFailure() << "cannot start " << driver.Program().CommandLine()
                                             << " (" << GetLastError() << ")";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WizardRig::StartWizard(const std::vector<std::string>& args) {
    ::testing::AssertionResult started = StartProgram(args);
    if (!started) return started;
    if (driver.WaitForWizard() == nullptr)
        return ::testing::AssertionFailure()
               << "no wizard shown by " << driver.Program().CommandLine()
               << (driver.Program().Running() ? "" : " (it ended)");
    return ::testing::AssertionSuccess();
}

}  // namespace quorvel::test
