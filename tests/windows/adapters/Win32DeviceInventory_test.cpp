#include "discovery/Win32DeviceInventory.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "winedrive/RegistrySeed.h"

namespace quorvel {
namespace {

std::string NameOfLength(std::size_t length) {
    std::string name = "KELTRO Datalink - PC UI Interface (COM5) ";
    name.resize(length, '.');
    return name;
}

TEST(Win32DeviceInventory, FriendlyNamesOf1023CharactersFitAnd1024DoNot) {
    // clang-format off
    const struct { const char* what; DWORD type; std::string data; bool fits; } cases[] = {
        {"1023 characters and terminator",  REG_SZ,     NameOfLength(1023) + '\0', true},
        {"1024 characters and terminator",  REG_SZ,     NameOfLength(1024) + '\0', false},
        {"1023 bytes without a terminator", REG_BINARY, NameOfLength(1023),         true},
        {"1024 bytes without a terminator", REG_BINARY, NameOfLength(1024),         false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        winedrive::RegistrySeed seed;
        const std::string device = seed.SeedPortsDevice("placeholder");
        ASSERT_TRUE(!device.empty() && seed.SetValue(device, "FriendlyName", c.type, c.data));

        Win32DeviceInventory inventory;
        std::unique_ptr<DeviceList> devices = inventory.PresentDevices(DeviceClass::kPorts);
        ASSERT_NE(devices, nullptr);
        ASSERT_EQ(devices->Enumerate(0), DeviceAt::kDevice);
        char name[kFriendlyNameBufferSize];
        std::memset(name, 'X', sizeof name);
        EXPECT_EQ(devices->ReadFriendlyName(name, sizeof name), c.fits);
        if (c.fits) {
            EXPECT_EQ(std::string(name), NameOfLength(1023));
        }
        EXPECT_EQ(devices->Enumerate(1), DeviceAt::kEndOfList);
    }
}

}  // namespace
}  // namespace quorvel
