#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "RegistrySeed.h"
#include "discovery/Win32DeviceInventory.h"
#include "discovery/Win32Registry.h"

namespace quorvel::test {
namespace {

constexpr char kTestKey[] = "Software\\F0F0 Discovery Test";

std::string NameOfLength(std::size_t length) {
    std::string name = "KELTRO Datalink - PC UI Interface (COM5)";
    return name + std::string(length - name.size(), '.');
}

TEST(Win32DeviceInventory, ListsSeededDevicesAndReadsNamesThatFit) {
    RegistrySeed seed;
    ASSERT_FALSE(seed.SeedPortsDevice(NameOfLength(1023)).empty());
    ASSERT_FALSE(seed.SeedPortsDevice(NameOfLength(1024)).empty());

    Win32DeviceInventory inventory;
    std::unique_ptr<DeviceList> devices = inventory.PresentDevices(kPortsClassGuid);
    ASSERT_NE(devices, nullptr);
    char name[kFriendlyNameBufferSize];

    ASSERT_EQ(devices->Enumerate(0), DeviceAt::kDevice);
    std::memset(name, 'X', sizeof name);
    EXPECT_TRUE(devices->ReadFriendlyName(name, sizeof name));
    EXPECT_EQ(std::string(name), NameOfLength(1023));

    ASSERT_EQ(devices->Enumerate(1), DeviceAt::kDevice);
    EXPECT_FALSE(devices->ReadFriendlyName(name, sizeof name));

    EXPECT_EQ(devices->Enumerate(2), DeviceAt::kEndOfList);
    EXPECT_EQ(devices->Enumerate(7), DeviceAt::kEndOfList);
}

TEST(Win32DeviceInventory, GivesNoListForAClassItCannotParse) {
    Win32DeviceInventory inventory;
    EXPECT_EQ(inventory.PresentDevices("{4D36E978-E325-11CE-BFC1}"), nullptr);
}

TEST(Win32Registry, ReadsValueDataAsTerminatedText) {
    const std::string filling(16383, '7');
    const struct {
        const char* behaviour;
        DWORD type;
        std::string data;
        bool readable;
        std::string text;
    } cases[] = {
        {"text", REG_SZ, std::string("COM3", 5), true, "COM3"},
        {"data without terminator", REG_BINARY, "COM4", true, "COM4"},
        {"data filling the whole buffer", REG_BINARY, filling, true, filling},
        {"text one byte too long with its terminator", REG_SZ, filling + '\0', false, ""},
        {"text up to its first terminator", REG_SZ, std::string("COM5\0junk", 10), true, "COM5"},
        {"empty text", REG_SZ, std::string(1, '\0'), true, ""},
    };
    RegistrySeed seed;
    for (const auto& c : cases)
        ASSERT_TRUE(seed.SetValue(kTestKey, c.behaviour, c.type, c.data)) << c.behaviour;

    Win32Registry registry;
    std::unique_ptr<RegistryKey> key = registry.OpenLocalMachineKey(kTestKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ValueCount(), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        std::string text = "unchanged";
        EXPECT_EQ(key->ReadValueText(c.behaviour, &text), c.readable);
        EXPECT_EQ(text, c.readable ? c.text : "unchanged");
    }
    std::string text;
    EXPECT_FALSE(key->ReadValueText("missing", &text));
}

TEST(Win32Registry, EnumeratesNamesThatFitTheirBuffers) {
    const std::string longest(kSubkeyNameSize - 1, 'A');
    const std::string tooLong(kSubkeyNameSize, 'B');
    const std::string longestValue(kValueNameSize - 1, 'V');
    RegistrySeed seed;
    ASSERT_TRUE(seed.SetText(std::string(kTestKey) + "\\" + longest, "", ""));
    ASSERT_TRUE(seed.SetText(std::string(kTestKey) + "\\" + tooLong, "", ""));
    ASSERT_TRUE(seed.SetText(kTestKey, longestValue, "COM3"));

    Win32Registry registry;
    std::unique_ptr<RegistryKey> key = registry.OpenLocalMachineKey(kTestKey);
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->SubkeyCount(), 2u);
    std::string name;
    EXPECT_TRUE(key->SubkeyName(0, &name));
    EXPECT_EQ(name, longest);
    EXPECT_FALSE(key->SubkeyName(1, &name));
    EXPECT_FALSE(key->SubkeyName(2, &name));
    ASSERT_EQ(key->ValueCount(), 1u);
    EXPECT_TRUE(key->ValueName(0, &name));
    EXPECT_EQ(name, longestValue);
    EXPECT_FALSE(key->ValueName(1, &name));
}

TEST(Win32Registry, GivesNoKeyForAMissingPath) {
    Win32Registry registry;
    EXPECT_EQ(registry.OpenLocalMachineKey("Software\\F0F0 Nowhere"), nullptr);
}

}  // namespace
}  // namespace quorvel::test
