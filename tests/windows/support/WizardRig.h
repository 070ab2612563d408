#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CardSimProcess.h"
#include "RegistrySeed.h"
#include "WizardDriver.h"

namespace quorvel::test {

// The card's device names as a driver would register them.
inline constexpr char kRigModemName[] = "KELTRO Datalink - 3G Modem";
inline constexpr int kRigCom = 7;

// Everything a run of the whole program needs: a simulated card registered as the card's
// modem and PC UI port, a working directory for Quorvel.ini, and the driver. What it made is
// taken away when it goes: the program first, then the card, then the registry entries.
class WizardRig {
  public:
    WizardRig();
    ~WizardRig();
    WizardRig(const WizardRig&) = delete;
    WizardRig& operator=(const WizardRig&) = delete;

    // Starts the card with cardsim's `cardArgs` and registers it as COM<com>.
    ::testing::AssertionResult PlugInCard(const std::vector<std::string>& cardArgs = {},
                                          int com = kRigCom);
    // Registers the card's devices as COM<com> without a card behind them.
    ::testing::AssertionResult RegisterCard(int com = kRigCom);

    // Writes Quorvel.ini into the working directory.
    ::testing::AssertionResult WriteConfig(const std::string& text);

    // Starts QuorvelTool.exe with `args` in the working directory.
    ::testing::AssertionResult StartProgram(const std::vector<std::string>& args = {});

    // The wizard, shown with its welcome page.
    ::testing::AssertionResult StartWizard(const std::vector<std::string>& args = {});

    // The working directory (Unix path), made on first use.
    const std::string& WorkDirectory();

    RegistrySeed seed;
    CardSimProcess card;
    WizardDriver driver;

  private:
    std::string workDirectory_;
};

}  // namespace quorvel::test
