#include "discovery/PortDiscovery.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#include "base/Text.h"

namespace quorvel {

namespace {

// The card's serial interfaces in the Ports class that answer AT commands, in the order tried.
constexpr std::array<const char*, 3> kUiInterfaceNames = {
    "KELTRO Datalink - 3G PC UI Interface",
    "KELTRO Datalink - PC UI Interface",
    "Marvessa Mobile Broadband Secondary Port Modem (Keltro)",
};

// The card's modem device in the Modem class, in the order tried.
constexpr std::array<const char*, 3> kModemNames = {
    "KELTRO Datalink - 3G Modem",
    "KELTRO Datalink - Modem",
    "Marvessa Mobile Broadband Modem (Keltro)",
};

// A Ports device only gives a port when its name carries this, upper case only.
constexpr char kComMarker[] = "COM";

constexpr char kFriendlyNameValue[] = "FriendlyName";
constexpr char kAttachedToValue[] = "AttachedTo";

bool Contains(const char* name, const char* fragment) {
    return std::strstr(name, fragment) != nullptr;
}

bool ContainsAny(const char* name, const std::array<const char*, 3>& table) {
    for (const char* row : table) {
        if (Contains(name, row)) return true;
    }
    return false;
}

// Reads a device's name, always terminated even should the platform fill the whole buffer.
bool ReadName(DeviceList& devices, char (&name)[kFriendlyNameBufferSize]) {
    if (!devices.ReadFriendlyName(name, sizeof name)) return false;
    name[sizeof name - 1] = '\0';
    return true;
}

}  // namespace

// Names such as "Acme TELECOM Bridge (COM9)" hold "COM" inside a word before the port, so the
// last "COM" that a digit follows is the one that names it.
int PortNumberFromFriendlyName(const char* friendlyName) {
    const char* numbered = nullptr;
    const std::size_t markerLength = std::strlen(kComMarker);
    for (const char* com = std::strstr(friendlyName, kComMarker); com != nullptr;
         com = std::strstr(com + 1, kComMarker)) {
        if (com[markerLength] >= '0' && com[markerLength] <= '9') numbered = com;
    }
    const char* com = numbered != nullptr ? numbered : std::strstr(friendlyName, kComMarker);
    if (com == nullptr) return 0;
    return ReadDecimal(com + markerLength);
}

int PortNumberFromAttachedTo(const std::string& attachedTo) {
    if (attachedTo.size() <= 3) return 0;
    return ReadDecimal(attachedTo.c_str() + 3);
}

PortDiscovery::PortDiscovery(DeviceInventory& inventory, Registry& registry, Clock& clock)
    : inventory_(inventory), registry_(registry), clock_(clock) {}

bool PortDiscovery::FindUiPort(int* port) {
    return WalkPortsClass([](const char* name) { return ContainsAny(name, kUiInterfaceNames); },
                          port);
}

bool PortDiscovery::FindPortByName(const std::string& fragment, int* port) {
    return WalkPortsClass(
        [&fragment](const char* name) { return Contains(name, fragment.c_str()); }, port);
}

bool PortDiscovery::FindModemPort(int* port) {
    std::unique_ptr<DeviceList> devices = inventory_.PresentDevices(DeviceClass::kModem);
    if (!devices) return false;
    char name[kFriendlyNameBufferSize];
    for (unsigned index = 0;; ++index) {
        const DeviceAt at = devices->Enumerate(index);
        if (at == DeviceAt::kEndOfList) return false;
        if (at == DeviceAt::kError || !ReadName(*devices, name)) continue;
        if (ContainsAny(name, kModemNames)) {
            std::memcpy(friendlyName_, name, sizeof friendlyName_);
            devices.reset();
            // Later modems of the card are not tried, whatever this one's driver key gives.
            return LookupModemAttachedPort(port);
        }
    }
}

bool PortDiscovery::FindCardPort(int* port) {
    return FindModemPort(port) || FindUiPort(port);
}

// The device list is taken afresh for every index and released before the pause, so no list
// is held while the walk waits.
bool PortDiscovery::WalkPortsClass(const NameTest& wanted, int* port) {
    for (unsigned index = 0;; ++index) {
        switch (TryPortsDevice(index, wanted, port)) {
            case PortsDevice::kGivesPort:
                return true;
            case PortsDevice::kNoMore:
                return false;
            case PortsDevice::kPassedOver:
                clock_.SleepMilliseconds(kPortsWaitMilliseconds);
                break;
        }
    }
}

PortDiscovery::PortsDevice PortDiscovery::TryPortsDevice(unsigned index, const NameTest& wanted,
                                                         int* port) {
    std::unique_ptr<DeviceList> devices = inventory_.PresentDevices(DeviceClass::kPorts);
    if (!devices) return PortsDevice::kNoMore;
    const DeviceAt at = devices->Enumerate(index);
    if (at == DeviceAt::kEndOfList) return PortsDevice::kNoMore;
    char name[kFriendlyNameBufferSize];
    if (at == DeviceAt::kError || !ReadName(*devices, name)) return PortsDevice::kPassedOver;
    if (!wanted(name) || !Contains(name, kComMarker)) return PortsDevice::kPassedOver;
    *port = PortNumberFromFriendlyName(name);
    return PortsDevice::kGivesPort;
}

// Driver keys are walked from the highest index down. A subkey that cannot be opened (on many
// systems a protected "Properties" key sorts after the numbered driver keys) is passed over:
// stopping there would end every lookup before a single driver key was read. Keys are opened
// for reading only, which a standard user is granted; each is closed before the next opens.
bool PortDiscovery::LookupModemAttachedPort(int* port) {
    *port = 0;
    std::unique_ptr<RegistryKey> classKey = registry_.OpenLocalMachineKey(kModemClassKeyPath);
    if (!classKey) return false;
    for (std::uint32_t index = classKey->SubkeyCount(); index-- > 0;) {
        std::string subkey;
        if (!classKey->SubkeyName(index, &subkey)) continue;
        std::unique_ptr<RegistryKey> driverKey =
            registry_.OpenLocalMachineKey(std::string(kModemClassKeyPath) + "\\" + subkey);
        if (!driverKey) continue;
        const int found = DriverKeyPort(*driverKey);
        if (found != 0) {
            *port = found;
            return true;
        }
    }
    return false;
}

// The port of a driver key whose "FriendlyName" is the modem's; 0 when the name differs or
// the key gives no port. Both values come from this one key, in whatever order it lists them.
int PortDiscovery::DriverKeyPort(RegistryKey& driverKey) const {
    bool nameMatches = false;
    int attachedPort = 0;
    const std::uint32_t valueCount = driverKey.ValueCount();
    for (std::uint32_t index = 0; index < valueCount; ++index) {
        std::string valueName;
        std::string text;
        if (!driverKey.ValueName(index, &valueName)) continue;
        if (valueName == kFriendlyNameValue) {
            if (driverKey.ReadValueText(valueName, &text) && text == friendlyName_)
                nameMatches = true;
        } else if (valueName == kAttachedToValue) {
            if (driverKey.ReadValueText(valueName, &text))
                attachedPort = PortNumberFromAttachedTo(text);
        }
    }
    return nameMatches ? attachedPort : 0;
}

}  // namespace quorvel
