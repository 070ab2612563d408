#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CardSimProcess.h"
#include "RegistrySeed.h"
#include "ScratchDirectory.h"
#include "card/CardOperations.h"
#include "card/CardState.h"
#include "config/Win32Profile.h"
#include "discovery/Win32DeviceInventory.h"
#include "discovery/Win32Registry.h"
#include "serial/Win32Clock.h"
#include "serial/Win32ComPort.h"

namespace quorvel::test {

// The port the simulated card is plugged in as, and one where nothing is. Neither is COM1,
// which Wine links to the machine's own first serial port in every prefix.
inline constexpr int kCardCom = 7;
inline constexpr int kEmptyCom = 5;

inline constexpr char kModemName[] = "KELTRO Datalink - 3G Modem";

// The UI interface as the device-installation service names it, with its port.
inline std::string UiPortName(int com) {
    return "KELTRO Datalink - 3G PC UI Interface (COM" + std::to_string(com) + ")";
}

// Lines of a configuration file as the file's text, with Windows line ends.
inline std::string IniText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// A configuration file for two card types, the second with labels of its own.
inline std::vector<std::string> TwoCardTypesConfig() {
    return {"; switch numbers per card type",
            "[K3500]",
            "CDROM_COMMAND=1",
            "DIAG_COMMAND=0",
            "",
            "[K3765]",
            "CDROM_COMMAND = 3",
            "DIAG_COMMAND=5",
            "CDROM_DISPLAY=Storage to Modem",
            "DIAG_DISPLAY=Modem to Storage",
            "",
            "[OTHER]",
            "FRIENDLY_NAME=ERROR"};
}

// The card operations on the real adapters: the card on a real COM port, devices and driver
// keys in the prefix's registry, and the configuration file in a current directory of the
// test's own. Each test seeds what it needs; all of it goes when the test ends.
class CardOperationsUnderWine : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(directory.Entered()); }

    void TearDown() override {
        port.Close();
        EXPECT_TRUE(card.Stop());
        EXPECT_TRUE(seed.RemoveAll());
    }

    void WriteConfig(const std::vector<std::string>& lines) {
        ASSERT_TRUE(directory.WriteFile("Quorvel.ini", IniText(lines)));
    }

    ScratchDirectory directory;
    RegistrySeed seed;
    CardSimProcess card;

    Win32ComPort port;
    Win32Clock clock;
    Win32DeviceInventory devices;
    Win32Registry registry;
    Win32Profile profile;
    CardState state;
    CardOperations operations{state, CardPlatform{port, clock, devices, registry, profile}};
};

}  // namespace quorvel::test
