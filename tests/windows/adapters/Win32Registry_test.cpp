#include "discovery/Win32Registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/Win32Clock.h"
#include "base/Win32MessageQueue.h"
#include "discovery/PortDiscovery.h"
#include "discovery/Win32DeviceInventory.h"
#include "fakes/RecordingTrace.h"
#include "winedrive/RegistrySeed.h"

namespace quorvel {
namespace {

using winedrive::RegistrySeed;

constexpr char kModem[] = "KELTRO Datalink - 3G Modem";

TEST(Win32Registry, TerminatesValueText) {
    const std::string filling(kValueDataSize, '7');
    // clang-format off
    const struct {
        const char* name; DWORD type; std::string data; bool readable; std::string text;
    } cases[] = {
        // name,                          type,       data,                         readable, text
        {"text and terminator",           REG_SZ,     std::string("COM3", 5),       true,  "COM3"},
        {"data without a terminator",     REG_BINARY, "COM4",                       true,  "COM4"},
        {"data filling the whole buffer", REG_BINARY, filling,                      true,  filling},
        {"text a terminator too long",    REG_SZ,     filling + '\0',               false, ""},
        {"text up to an embedded NUL",    REG_SZ,     std::string("COM5\0COM6", 10), true, "COM5"},
        {"binary up to an embedded NUL",  REG_BINARY, std::string("COM5\0COM6", 9),  true, "COM5"},
    };
    // clang-format on
    const std::string path = "Software\\F0F0 Adapter Test";
    RegistrySeed seed;
    for (const auto& c : cases)
        ASSERT_TRUE(seed.SetValue(path, c.name, c.type, c.data)) << c.name;
    Win32Registry registry;
    std::unique_ptr<RegistryKey> key = registry.OpenLocalMachineKey(path);
    ASSERT_NE(key, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "unread";
        EXPECT_EQ(key->ReadValueText(c.name, &text), c.readable);
        EXPECT_EQ(text, c.readable ? c.text : "unread");
    }
}

// Driver keys 0000 (COM7) and 0001 (COM9) both name the modem: the lookup reads 0001 first.
TEST(Win32Registry, ModemLookupPassesOverWhatItCannotOpenAndOnlyReads) {
    // clang-format off
    const struct { const char* what; bool lockHigher; bool readOnly; int port; } cases[] = {
        {"the highest key first",           false, false, 9},
        {"a locked key passed over",        true,  false, 7},
        {"read-only class and driver keys", false, true,  9},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegistrySeed seed;
        ASSERT_FALSE(seed.SeedModemDevice(kModem).empty());
        const std::string lower = seed.SeedDriverKey("0000", kModem, "COM7");
        const std::string higher = seed.SeedDriverKey("0001", kModem, "COM9");
        ASSERT_FALSE(lower.empty() || higher.empty());
        ASSERT_TRUE(!c.lockHigher || seed.Lock(higher));
        if (c.readOnly) {
            for (const std::string& key : {RegistrySeed::ModemClassKey(), lower, higher}) {
                HKEY opened;  // asked of the registry itself
                ASSERT_TRUE(seed.MakeReadOnly(key));
                ASSERT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE, &opened),
                          ERROR_SUCCESS)
                    << key << " is still writable";
            }
        }
        Win32DeviceInventory devices;
        Win32Registry registry;
        Win32MessageQueue queue;
        Win32Clock clock(queue);
        test::RecordingTrace trace;
        PortDiscovery discovery(devices, registry, clock, trace);
        int port = 0;
        EXPECT_TRUE(discovery.FindModemPort(&port));
        EXPECT_EQ(port, c.port);
    }
}

}  // namespace
}  // namespace quorvel
