#include "discovery/PortDiscovery.h"

#include <gtest/gtest.h>

#include <climits>

#include "fakes/Rig.h"

namespace quorvel::test {
namespace {

constexpr int kUntouched = -7;
const std::string kPcUi = "KELTRO Datalink - PC UI Interface";

// A name of exactly `length` characters: `head`, padding, then `tail`.
std::string NameOfLength(std::size_t length, const std::string& head, const std::string& tail) {
    return head + std::string(length - head.size() - tail.size(), '.') + tail;
}

TEST(FindUiPort, TakesTheFirstUiInterfaceWithComInItsNameAndTheNumberAfterIt) {
    // clang-format off
    const struct {
        const char* name; std::vector<std::string> ports; int port; std::size_t waits;
    } cases[] = {
        // name, Ports devices present, port found, pauses
        {"the first of two UI names",
         {kPcUi + " (COM12)", std::string(kUiName) + " (COM3)"}, 12, 0},
        {"UI name without COM passed over", {kPcUi, kPcUi + " (COM8)"}, 8, 1},
        {"lower-case com does not count", {kPcUi + " (com4)"}, kUntouched, 1},
        {"the last COM that a digit follows", {kPcUi + " TELECOM (com5) (COM7) (COM9)"}, 9, 0},
        {"else the first: COM 7 and COMX", {kPcUi + " COM 7 and COMX"}, 7, 0},
        {"no digit at all", {kPcUi + " ... COM"}, 0, 0},
        {"held at the ends of int", {kPcUi + " COM2147483648"}, INT_MAX, 0},
        {"held at the ends of int, negative", {kPcUi + " COM-99999999999999999999"}, INT_MIN, 0},
        {"others, errors and unreadable names waited over",
         {"Communications Port (COM1)", kEnumerationError, kUnreadableName, kPcUi + " (COM9)"},
         9, 3},
        {"a 1023-character name fits", {NameOfLength(1023, kPcUi, " (COM5)")}, 5, 0},
        {"a 1024-character name does not", {NameOfLength(1024, kPcUi, " (COM5)")}, kUntouched, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        PortDiscovery discovery(rig.devices, rig.registry, rig.clock, rig.trace);
        rig.devices.present[DeviceClass::kPorts] = c.ports;
        rig.clock.onSleep = [&] { EXPECT_EQ(rig.devices.held, 0) << "a list held in a pause"; };
        int port = kUntouched;

        EXPECT_EQ(discovery.FindUiPort(&port), c.port != kUntouched);

        EXPECT_EQ(port, c.port);
        EXPECT_EQ(rig.clock.sleeps, std::vector<unsigned>(c.waits, 500));
        EXPECT_EQ(rig.devices.listsTaken, static_cast<int>(c.waits) + 1);
    }
}

using Key = std::vector<std::string>;  // subkey, then names and texts; a bare subkey: denied

Key Driver(const std::string& subkey, const std::string& name, const std::string& attachedTo) {
    return {subkey, "FriendlyName", name, "AttachedTo", attachedTo};
}

TEST(FindModemPort, TakesThePortFromTheFirstMatchingModemsDriverKey) {
    const std::string m = kModemName, other = "Standard 56000 bps Modem";
    const std::string long1023 = NameOfLength(1023, m, ""), long1024 = NameOfLength(1024, m, "");
    // clang-format off
    const struct {
        const char* name; std::vector<Key> keys; int port; std::vector<std::string> visited;
        std::vector<std::string> modems = {kModemName};
    } cases[] = {
        // name, driver keys (subkey, then value names and data), port, keys opened, modems
        {"walks down from the highest index", {Driver("0000", other, "COM1"),
         Driver("0001", m, "COM7"), Driver("0002", other, "COM2"), Driver("0003", other, "COM3")},
         7, {"0003", "0002", "0001"}},
        {"a match without AttachedTo passed over",
         {Driver("0000", m, "COM5"), {"0002", "FriendlyName", m}}, 5, {"0002", "0000"}},
        {"an unopenable key passed over",
         {Driver("0000", m, "COM6"), {"Properties"}}, 6, {"Properties", "0000"}},
        {"AttachedTo listed first",
         {{"0000", "AttachedTo", "COM4", "FriendlyName", m}}, 4, {"0000"}},
        {"FriendlyName in other letter case",
         {Driver("0000", "KELTRO Datalink - 3G MODEM", "COM4")}, 0, {"0000"}},
        {"never paired across keys",
         {{"0000", "AttachedTo", "COM4"}, {"0001", "FriendlyName", m}}, 0, {"0001", "0000"}},
        {"only the first matching modem is tried",
         {Driver("0000", m + " #2", "COM8")}, 0, {"0000"}, {m + " #1", m + " #2"}},
        {"others, errors and unreadable names skipped",
         {Driver("0000", "KELTRO Datalink - Modem", "COM3")}, 3, {"0000"},
         {kEnumerationError, kUnreadableName, other, "KELTRO Datalink - Modem"}},
        {"a 1023-character name matched whole",
         {Driver("0000", long1023, "COM5")}, 5, {"0000"}, {long1023}},
        {"a 1024-character name cannot be read",
         {Driver("0000", long1024, "COM5")}, kUntouched, {}, {long1024}},
    };
    // clang-format on
    const std::size_t prefix = Rig::DriverKey("").size();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        PortDiscovery discovery(rig.devices, rig.registry, rig.clock, rig.trace);
        rig.devices.present[DeviceClass::kModem] = c.modems;
        for (const Key& key : c.keys) {
            if (key.size() == 1) rig.registry.Deny(Rig::DriverKey(key[0]));
            for (std::size_t i = 1; i + 1 < key.size(); i += 2)
                rig.registry.Set(Rig::DriverKey(key[0]), key[i], key[i + 1]);
        }
        int port = kUntouched;

        EXPECT_EQ(discovery.FindModemPort(&port), c.port != 0 && c.port != kUntouched);

        EXPECT_EQ(port, c.port);
        std::vector<std::string> visited;
        for (const std::string& path : rig.registry.opened)
            if (path.size() > prefix) visited.push_back(path.substr(prefix));
        EXPECT_EQ(visited, c.visited);
    }
}

}  // namespace
}  // namespace quorvel::test
