#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "discovery/PortDiscovery.h"
#include "fakes/FakeDeviceInventory.h"
#include "fakes/FakeRegistry.h"
#include "fakes/VirtualClock.h"

namespace quorvel::test {
namespace {

constexpr char kModem[] = "KELTRO Datalink - 3G Modem";
constexpr char kOtherModem[] = "Standard 56000 bps Modem";
constexpr char kUnreadable[] = "<unreadable>";

struct DriverKey {
    std::string subkey;
    std::vector<std::pair<std::string, std::string>> values;
    bool denied = false;
};

DriverKey Key(std::string subkey, std::string name, std::string attachedTo) {
    return {std::move(subkey),
            {{"FriendlyName", std::move(name)}, {"AttachedTo", std::move(attachedTo)}}};
}

DriverKey Denied(std::string subkey) {
    return {std::move(subkey), {}, true};
}

std::string DriverKeyPath(const std::string& subkey) {
    return std::string(kModemClassKeyPath) + "\\" + subkey;
}

struct LookupCase {
    const char* behaviour;
    std::vector<DriverKey> keys;
    bool found;
    int port;
    std::vector<std::string> visited;  // driver keys asked for, in order
};

// The lookup runs the way the program runs it, through the modem search, with one device named
// kModem present.
struct World {
    World() { inventory.AddDevice(kModemClassGuid, kModem); }

    void Seed(const std::vector<DriverKey>& keys) {
        registry.AddKey(kModemClassKeyPath);
        for (const DriverKey& key : keys) {
            registry.AddKey(DriverKeyPath(key.subkey));
            if (key.denied) registry.DenyOpening(DriverKeyPath(key.subkey));
            for (const auto& [name, text] : key.values) {
                if (text == kUnreadable)
                    registry.SetUnreadableValue(DriverKeyPath(key.subkey), name);
                else
                    registry.SetValue(DriverKeyPath(key.subkey), name, text);
            }
        }
    }

    std::vector<std::string> VisitedDriverKeys() const {
        std::vector<std::string> visited;
        const std::string prefix = DriverKeyPath("");
        for (const std::string& path : registry.OpenAttempts()) {
            if (path.compare(0, prefix.size(), prefix) == 0)
                visited.push_back(path.substr(prefix.size()));
        }
        return visited;
    }

    FakeDeviceInventory inventory;
    FakeRegistry registry;
    VirtualClock clock;
    PortDiscovery discovery{inventory, registry, clock};
};

TEST(ModemRegistryLookup, FindsThePortOfTheHighestMatchingDriverKey) {
    const std::string longName(kSubkeyNameSize, 'Z');
    // clang-format off
    const LookupCase cases[] = {
        {"walks down from the highest index to the match",
         {Key("0000", kOtherModem, "COM1"), Key("0001", kModem, "COM7"),
          Key("0002", kOtherModem, "COM2"), Key("0003", kOtherModem, "COM3")},
         true, 7, {"0003", "0002", "0001"}},
        {"no key matches",
         {Key("0000", kOtherModem, "COM1"), Key("0001", kOtherModem, "COM7"),
          Key("0002", kOtherModem, "COM2"), Key("0003", kOtherModem, "COM3")},
         false, 0, {"0003", "0002", "0001", "0000"}},
        {"higher of two matching keys wins",
         {Key("0000", kModem, "COM3"), Key("0002", kModem, "COM9")}, true, 9, {"0002"}},
        {"matching key without AttachedTo passed over",
         {Key("0000", kModem, "COM5"), {"0002", {{"FriendlyName", kModem}}}},
         true, 5, {"0002", "0000"}},
        {"two-digit port", {Key("0000", kModem, "COM10")}, true, 10, {"0000"}},
        {"bare COM passed over", {Key("0000", kModem, "COM")}, false, 0, {"0000"}},
        {"name differing in letter case",
         {Key("0000", "KELTRO Datalink - 3G MODEM", "COM4")}, false, 0, {"0000"}},
        {"AttachedTo listed first",
         {{"0000", {{"AttachedTo", "COM4"}, {"FriendlyName", kModem}}}}, true, 4, {"0000"}},
        {"value names compared exactly",
         {{"0000", {{"friendlyname", kModem}, {"AttachedTo", "COM4"}}}}, false, 0, {"0000"}},
        {"name and port never paired across keys",
         {{"0000", {{"AttachedTo", "COM4"}}}, {"0001", {{"FriendlyName", kModem}}}},
         false, 0, {"0001", "0000"}},
        {"unopenable key above the match passed over",
         {Key("0000", kModem, "COM6"), Denied("Properties")}, true, 6, {"Properties", "0000"}},
        {"unreadable AttachedTo passed over",
         {Key("0000", kModem, "COM6"), Key("0001", kModem, kUnreadable)},
         true, 6, {"0001", "0000"}},
        {"unreadable FriendlyName is no match",
         {Key("0000", kUnreadable, "COM6")}, false, 0, {"0000"}},
        {"subkey name too long to enumerate passed over",
         {Key("0000", kModem, "COM6"), Key(longName, kModem, "COM2")}, true, 6, {"0000"}},
        {"class key without driver keys", {}, false, 0, {}},
    };
    // clang-format on
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        World world;
        world.Seed(c.keys);
        int port = -7;
        EXPECT_EQ(world.discovery.FindModemPort(&port), c.found);
        EXPECT_EQ(port, c.port);
        EXPECT_EQ(world.VisitedDriverKeys(), c.visited);
        // Every key is closed, and a driver key before the next one is opened.
        EXPECT_EQ(world.registry.KeysOpen(), 0);
        EXPECT_LE(world.registry.MostKeysOpenAtOnce(), 2);
    }
}

TEST(ModemRegistryLookup, FailsWhenTheClassKeyCannotBeOpened) {
    for (bool exists : {false, true}) {
        SCOPED_TRACE(exists ? "class key denied" : "class key missing");
        World world;
        if (exists) {
            world.Seed({Key("0000", kModem, "COM3")});
            world.registry.DenyOpening(kModemClassKeyPath);
        }
        int port = -7;
        EXPECT_FALSE(world.discovery.FindModemPort(&port));
        EXPECT_EQ(port, 0);
        EXPECT_EQ(world.registry.OpenAttempts(), std::vector<std::string>{kModemClassKeyPath});
    }
}

}  // namespace
}  // namespace quorvel::test
