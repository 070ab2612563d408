#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "RegistrySeed.h"
#include "discovery/PortDiscovery.h"
#include "discovery/Win32DeviceInventory.h"
#include "discovery/Win32Registry.h"
#include "serial/Win32Clock.h"

namespace quorvel::test {
namespace {

constexpr char kModem[] = "KELTRO Datalink - 3G Modem";
constexpr char kOtherModem[] = "Standard 56000 bps Modem";
constexpr char kUiPort[] = "KELTRO Datalink - PC UI Interface (COM12)";

LONG OpenResult(const std::string& path, REGSAM access) {
    HKEY key;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key);
    if (result == ERROR_SUCCESS) RegCloseKey(key);
    return result;
}

// The keys a search could touch: the devices seeded and every class key.
std::string DumpSearchedKeys() {
    return RegistrySeed::DumpTree(RegistrySeed::kEnumUsbPath) +
           RegistrySeed::DumpTree(RegistrySeed::kClassPath);
}

class PortDiscoveryUnderWine : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_TRUE(seed.RemoveAll()); }

    // A driver key above the others that nobody may open, as a protected key would be.
    void SeedLockedDriverKey(const std::string& subkey) {
        std::string path = RegistrySeed::DriverKeyPath(subkey);
        ASSERT_FALSE(seed.SeedDriverKey(subkey, kModem, "COM2").empty());
        ASSERT_TRUE(seed.Lock(path));
        ASSERT_EQ(OpenResult(path, KEY_READ), ERROR_ACCESS_DENIED) << "the lock does not hold";
    }

    RegistrySeed seed;
    Win32DeviceInventory inventory;
    Win32Registry registry;
    Win32Clock clock;
    PortDiscovery discovery{inventory, registry, clock};
};

TEST_F(PortDiscoveryUnderWine, FindsTheModemPortThroughItsDriverKey) {
    ASSERT_FALSE(seed.SeedModemDevice(kModem).empty());
    ASSERT_FALSE(seed.SeedDriverKey("0000", kOtherModem, "COM1").empty());
    ASSERT_FALSE(seed.SeedDriverKey("0001", kModem, "COM7").empty());
    ASSERT_FALSE(seed.SeedDriverKey("0002", kOtherModem, "COM2").empty());

    int port = -1;
    EXPECT_TRUE(discovery.FindModemPort(&port));
    EXPECT_EQ(port, 7);
    EXPECT_STREQ(discovery.FriendlyName(), kModem);
    port = -1;
    EXPECT_TRUE(discovery.FindCardPort(&port));
    EXPECT_EQ(port, 7);
}

TEST_F(PortDiscoveryUnderWine, PassesOverADriverKeyThatCannotBeOpened) {
    ASSERT_FALSE(seed.SeedModemDevice(kModem).empty());
    ASSERT_FALSE(seed.SeedDriverKey("0000", kModem, "COM6").empty());
    SeedLockedDriverKey("Properties");

    int port = -1;
    EXPECT_TRUE(discovery.FindModemPort(&port));
    EXPECT_EQ(port, 6);
}

TEST_F(PortDiscoveryUnderWine, ReadsTheDriverKeysWithAStandardUsersRights) {
    std::string driverKey = seed.SeedModem(kModem, 9);
    ASSERT_FALSE(driverKey.empty());
    ASSERT_TRUE(seed.MakeReadOnly(RegistrySeed::ModemClassKey()));
    ASSERT_TRUE(seed.MakeReadOnly(driverKey));
    // Read, set-value and create-subkey together are refused now, as for a standard user.
    ASSERT_EQ(
        OpenResult(RegistrySeed::ModemClassKey(), KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY),
        ERROR_ACCESS_DENIED);

    int port = -1;
    EXPECT_TRUE(discovery.FindModemPort(&port));
    EXPECT_EQ(port, 9);
}

TEST_F(PortDiscoveryUnderWine, FindsTheUiPortByItsName) {
    ASSERT_FALSE(seed.SeedPortsDevice("Communications Port (COM1)").empty());
    ASSERT_FALSE(seed.SeedPortsDevice(kUiPort).empty());

    int port = -1;
    EXPECT_TRUE(discovery.FindUiPort(&port));
    EXPECT_EQ(port, 12);
}

TEST_F(PortDiscoveryUnderWine, FindsAConfiguredName) {
    ASSERT_FALSE(seed.SeedPortsDevice("Communications Port (COM1)").empty());
    ASSERT_FALSE(seed.SeedPortsDevice("F0F0 Diagnostics Port (COM4)").empty());

    int port = -1;
    EXPECT_TRUE(discovery.FindPortByName("F0F0 Diagnostics", &port));
    EXPECT_EQ(port, 4);
    EXPECT_FALSE(discovery.FindUiPort(&port));
}

TEST_F(PortDiscoveryUnderWine, FallsBackToTheUiPortWhenTheModemHasNoDriverKey) {
    ASSERT_FALSE(seed.SeedModemDevice(kModem).empty());
    ASSERT_FALSE(seed.SeedPortsDevice(kUiPort).empty());

    int port = -1;
    EXPECT_TRUE(discovery.FindCardPort(&port));
    EXPECT_EQ(port, 12);
}

TEST_F(PortDiscoveryUnderWine, SearchesLeaveTheRegistryAsItWas) {
    std::string driverKey = seed.SeedModem(kModem, 9);
    ASSERT_FALSE(driverKey.empty());
    SeedLockedDriverKey("Properties");
    ASSERT_TRUE(seed.MakeReadOnly(driverKey));
    ASSERT_FALSE(seed.SeedPortsDevice(kUiPort).empty());
    const std::string before = DumpSearchedKeys();
    ASSERT_NE(before.find("AttachedTo = 1:COM9"), std::string::npos) << before;

    int port = -1;
    EXPECT_TRUE(discovery.FindCardPort(&port));
    EXPECT_TRUE(discovery.FindUiPort(&port));
    EXPECT_TRUE(discovery.FindPortByName("COM", &port));

    EXPECT_EQ(DumpSearchedKeys(), before);
}

TEST_F(PortDiscoveryUnderWine, SeedTakesAwayEverythingItSeeded) {
    const std::string before = DumpSearchedKeys();
    {
        RegistrySeed card;
        std::string driverKey = card.SeedModem(kModem, 9);
        ASSERT_FALSE(driverKey.empty());
        ASSERT_TRUE(card.MakeReadOnly(RegistrySeed::ModemClassKey()));
        ASSERT_TRUE(card.Lock(driverKey));
        ASSERT_FALSE(card.SeedPortsDevice(kUiPort).empty());
        ASSERT_NE(DumpSearchedKeys(), before);
    }
    EXPECT_EQ(DumpSearchedKeys(), before);
    int port = -1;
    EXPECT_FALSE(discovery.FindCardPort(&port));
}

}  // namespace
}  // namespace quorvel::test
