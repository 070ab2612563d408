#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/PortDiscovery.h"
#include "fakes/FakeDeviceInventory.h"
#include "fakes/FakeRegistry.h"
#include "fakes/VirtualClock.h"

namespace quorvel::test {
namespace {

constexpr int kUntouched = -7;
constexpr char kUiName[] = "KELTRO Datalink - PC UI Interface";
constexpr char kModemName[] = "KELTRO Datalink - 3G Modem";

// Device rows: a friendly name, or one of these stand-ins for a device that fails.
constexpr char kEnumerationError[] = "<enumeration error>";
constexpr char kUnreadableName[] = "<unreadable name>";

// A name of exactly `length` characters: `head`, padding, then `tail`.
std::string NameOfLength(std::size_t length, const std::string& head, const std::string& tail) {
    return head + std::string(length - head.size() - tail.size(), '.') + tail;
}

struct World {
    FakeDeviceInventory inventory;
    FakeRegistry registry;
    VirtualClock clock;
    PortDiscovery discovery{inventory, registry, clock};

    void AddDevices(const char* classGuid, const std::vector<std::string>& rows) {
        for (const std::string& row : rows) {
            if (row == kEnumerationError)
                inventory.AddEnumerationError(classGuid);
            else if (row == kUnreadableName)
                inventory.AddUnreadableDevice(classGuid);
            else
                inventory.AddDevice(classGuid, row);
        }
    }

    void AddDriverKey(const std::string& subkey, const std::string& name, const std::string& com) {
        std::string path = std::string(kModemClassKeyPath) + "\\" + subkey;
        registry.SetValue(path, "FriendlyName", name);
        registry.SetValue(path, "AttachedTo", com);
    }
};

struct PortsCase {
    const char* behaviour;
    std::vector<std::string> devices;
    bool found;
    int port;
    int waits;
};

// What every Ports walk must show besides its result: a 500 ms wait per device passed over,
// and a fresh list per index, each released before the next is taken.
void ExpectPortsWalk(const World& world, const PortsCase& c, bool found, int port) {
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(port, c.found ? c.port : kUntouched);
    EXPECT_EQ(world.clock.Sleeps(), std::vector<unsigned>(c.waits, 500));
    EXPECT_EQ(world.inventory.ListsTaken(), c.waits + 1);
    EXPECT_EQ(world.inventory.ListsTakenWhileOneWasOpen(), 0);
    EXPECT_EQ(world.inventory.ListsOpen(), 0);
}

TEST(FindUiPort, TakesTheFirstUiInterfaceWithComInItsName) {
    const std::string ui = kUiName;
    // clang-format off
    const PortsCase cases[] = {
        {"second UI name with COM12", {ui + " (COM12)"}, true, 12, 0},
        {"first UI name", {"KELTRO Datalink - 3G PC UI Interface (COM3)"}, true, 3, 0},
        {"third UI name", {"Marvessa Mobile Broadband Secondary Port Modem (Keltro) (COM21)"},
         true, 21, 0},
        {"UI name without COM passed over", {ui, ui + " (COM8)"}, true, 8, 1},
        {"COM without digits gives port 0", {ui + " (COM)"}, true, 0, 0},
        {"lower-case com does not count", {ui + " (com4)"}, false, 0, 1},
        {"UI name in other letter case", {"keltro datalink - pc ui interface (COM4)"}, false, 0, 1},
        {"other serial devices waited over",
         {"Communications Port (COM1)", "Printer Port (LPT1)", ui + " (COM9)"}, true, 9, 2},
        {"enumeration error and unreadable name waited over",
         {kEnumerationError, kUnreadableName, ui + " (COM6)"}, true, 6, 2},
        {"no device at all", {}, false, 0, 0},
        {"1023-character name is read whole", {NameOfLength(1023, ui, " (COM5)")}, true, 5, 0},
        {"longer name cannot be read", {NameOfLength(1024, ui, " (COM5)")}, false, 0, 1},
    };
    // clang-format on
    for (const PortsCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        World world;
        world.AddDevices(kPortsClassGuid, c.devices);
        int port = kUntouched;
        bool found = world.discovery.FindUiPort(&port);
        ExpectPortsWalk(world, c, found, port);
    }
}

TEST(FindPortByName, TakesTheFirstDeviceHoldingTheFragmentAndCom) {
    // clang-format off
    const PortsCase cases[] = {
        {"third device is the first to match",
         {"Communications Port (COM1)", "USB Serial Port (COM2)", "F0F0 Diagnostics Port (COM4)"},
         true, 4, 2},
        {"fragment without COM passed over",
         {"F0F0 Diagnostics Port", "F0F0 Diagnostics Port (COM5)"}, true, 5, 1},
        {"fragment matched case-sensitively", {"f0f0 diagnostics port (COM5)"}, false, 0, 1},
        {"built-in UI names are not enough", {std::string(kUiName) + " (COM3)"}, false, 0, 1},
        {"no device at all", {}, false, 0, 0},
    };
    // clang-format on
    for (const PortsCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        World world;
        world.AddDevices(kPortsClassGuid, c.devices);
        int port = kUntouched;
        bool found = world.discovery.FindPortByName("F0F0 Diagnostics", &port);
        ExpectPortsWalk(world, c, found, port);
    }
}

TEST(PortsSearches, FailAtOnceWhenNoListCanBeHad) {
    World world;
    world.inventory.AddDevice(kPortsClassGuid, std::string(kUiName) + " (COM3)");
    world.inventory.RefuseLists(kPortsClassGuid);
    int port = kUntouched;
    EXPECT_FALSE(world.discovery.FindUiPort(&port));
    EXPECT_FALSE(world.discovery.FindPortByName(kUiName, &port));
    EXPECT_EQ(port, kUntouched);
    EXPECT_TRUE(world.clock.Sleeps().empty());
}

TEST(FindModemPort, TakesTheFirstModemOfTheCardWithoutWaiting) {
    const struct {
        const char* behaviour;
        std::vector<std::string> devices;
        std::string taken;
    } cases[] = {
        // clang-format off
        {"exact second name, no COM", {"KELTRO Datalink - Modem"}, "KELTRO Datalink - Modem"},
        {"first name", {"KELTRO Datalink - 3G Modem #2"}, "KELTRO Datalink - 3G Modem #2"},
        {"third name", {"Marvessa Mobile Broadband Modem (Keltro)"},
         "Marvessa Mobile Broadband Modem (Keltro)"},
        {"failures and other modems skipped",
         {kEnumerationError, kUnreadableName, "Standard 56000 bps Modem", kModemName}, kModemName},
        {"1023-character name kept whole",
         {NameOfLength(1023, kModemName, "")}, NameOfLength(1023, kModemName, "")},
        {"longer name cannot be read",
         {NameOfLength(1024, kModemName, ""), "KELTRO Datalink - Modem"}, "KELTRO Datalink - Modem"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        World world;
        world.AddDevices(kModemClassGuid, c.devices);
        world.AddDriverKey("0000", c.taken, "COM3");
        int port = kUntouched;
        EXPECT_TRUE(world.discovery.FindModemPort(&port));
        EXPECT_EQ(port, 3);
        EXPECT_EQ(world.discovery.FriendlyName(), c.taken);
        EXPECT_TRUE(world.clock.Sleeps().empty());
        EXPECT_EQ(world.inventory.ListsTaken(), 1);
        EXPECT_EQ(world.inventory.ListsOpen(), 0);
    }
}

TEST(FindModemPort, LeavesPortAndNameAloneWhenNoModemMatches) {
    World world;
    world.AddDevices(kModemClassGuid, {"Standard 56000 bps Modem", kUnreadableName});
    int port = kUntouched;
    EXPECT_FALSE(world.discovery.FindModemPort(&port));
    EXPECT_EQ(port, kUntouched);
    EXPECT_STREQ(world.discovery.FriendlyName(), "");
    EXPECT_TRUE(world.registry.OpenAttempts().empty());
}

TEST(FindModemPort, TriesOnlyTheFirstMatchingModem) {
    World world;
    world.AddDevices(kModemClassGuid,
                     {"KELTRO Datalink - 3G Modem #1", "KELTRO Datalink - 3G Modem #2"});
    world.AddDriverKey("0000", "KELTRO Datalink - 3G Modem #2", "COM8");
    int port = kUntouched;
    EXPECT_FALSE(world.discovery.FindModemPort(&port));
    EXPECT_EQ(port, 0);
    EXPECT_STREQ(world.discovery.FriendlyName(), "KELTRO Datalink - 3G Modem #1");
}

TEST(FindCardPort, FallsBackToTheUiInterfaceWhenTheModemGivesNoPort) {
    const struct {
        const char* behaviour;
        bool modemListRefused;
        std::vector<std::string> modems;
    } cases[] = {
        // clang-format off
        {"first matching modem has no driver key", false,
         {"KELTRO Datalink - 3G Modem #1", "KELTRO Datalink - 3G Modem #2"}},
        {"no modem device", false, {}},
        {"no modem list", true, {kModemName}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        World world;
        world.AddDevices(kModemClassGuid, c.modems);
        if (c.modemListRefused) world.inventory.RefuseLists(kModemClassGuid);
        world.AddDriverKey("0000", "KELTRO Datalink - 3G Modem #2", "COM8");
        world.AddDevices(kPortsClassGuid,
                         {"Communications Port (COM1)", std::string(kUiName) + " (COM9)"});
        int port = kUntouched;
        EXPECT_TRUE(world.discovery.FindCardPort(&port));
        EXPECT_EQ(port, 9);
        EXPECT_EQ(world.clock.Sleeps(), std::vector<unsigned>{500});
    }
}

TEST(FindCardPort, DoesNotSearchThePortsClassWhenTheModemGivesAPort) {
    World world;
    world.AddDevices(kModemClassGuid, {kModemName});
    world.AddDriverKey("0000", kModemName, "COM4");
    world.AddDevices(kPortsClassGuid, {std::string(kUiName) + " (COM9)"});
    int port = kUntouched;
    EXPECT_TRUE(world.discovery.FindCardPort(&port));
    EXPECT_EQ(port, 4);
    EXPECT_EQ(world.inventory.ListsTaken(), 1);
}

}  // namespace
}  // namespace quorvel::test
