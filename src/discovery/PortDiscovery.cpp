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

PortDiscovery::PortDiscovery(DeviceInventory& inventory, Registry& registry, Clock& clock,
                             Trace& trace)
    : inventory_(inventory), registry_(registry), clock_(clock), trace_(trace) {}

bool PortDiscovery::FindUiPort(int* port) {
    TraceLine(trace_) << "search the Ports class for the card's UI interface names";
    return WalkPortsClass([](const char* name) { return ContainsAny(name, kUiInterfaceNames); },
                          port);
}

bool PortDiscovery::FindPortByName(const std::string& fragment, int* port) {
    TraceLine(trace_) << "search the Ports class for the configured name " << Quoted(fragment);
    return WalkPortsClass(
        [&fragment](const char* name) { return Contains(name, fragment.c_str()); }, port);
}

bool PortDiscovery::FindModemPort(int* port) {
    TraceLine(trace_) << "search the Modem class for the card's modem names";
    std::unique_ptr<DeviceList> devices = inventory_.PresentDevices(DeviceClass::kModem);
    if (!devices) {
        TraceLine(trace_) << "Modem class: no device list";
        return false;
    }
    char name[kFriendlyNameBufferSize];
    for (unsigned index = 0;; ++index) {
        const DeviceAt at = devices->Enumerate(index);
        if (at == DeviceAt::kEndOfList) {
            TraceLine(trace_) << "Modem class: " << index << " devices, none named after the card";
            return false;
        }
        if (at == DeviceAt::kError || !ReadName(*devices, name)) {
            TraceLine(trace_) << "Modem device " << index << ": unreadable";
            continue;
        }
        const bool matches = ContainsAny(name, kModemNames);
        TraceLine(trace_) << "Modem device " << index << ": " << Quoted(name)
                          << (matches ? " matches" : " passed over");
        if (matches) {
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
    if (!devices) {
        TraceLine(trace_) << "Ports class: no device list";
        return PortsDevice::kNoMore;
    }
    const DeviceAt at = devices->Enumerate(index);
    if (at == DeviceAt::kEndOfList) {
        TraceLine(trace_) << "Ports class: " << index << " devices, none gives a port";
        return PortsDevice::kNoMore;
    }
    char name[kFriendlyNameBufferSize];
    if (at == DeviceAt::kError || !ReadName(*devices, name)) {
        TraceLine(trace_) << "Ports device " << index << ": unreadable";
        return PortsDevice::kPassedOver;
    }
    TraceLine line(trace_);
    line << "Ports device " << index << ": " << Quoted(name);
    const bool named = wanted(name);
    if (!named || !Contains(name, kComMarker)) {
        line << (named ? " matches but holds no \"COM\"" : " passed over");
        return PortsDevice::kPassedOver;
    }
    *port = PortNumberFromFriendlyName(name);
    line << " matches: port " << *port;
    return PortsDevice::kGivesPort;
}

// Driver keys are walked from the highest index down. A subkey that cannot be opened (on many
// systems a protected "Properties" key sorts after the numbered driver keys) is passed over:
// stopping there would end every lookup before a single driver key was read. Keys are opened
// for reading only, which a standard user is granted; each is closed before the next opens.
bool PortDiscovery::LookupModemAttachedPort(int* port) {
    *port = 0;
    std::unique_ptr<RegistryKey> classKey = registry_.OpenLocalMachineKey(kModemClassKeyPath);
    if (!classKey) {
        TraceLine(trace_) << "registry: cannot open " << Quoted(kModemClassKeyPath);
        return false;
    }
    for (std::uint32_t index = classKey->SubkeyCount(); index-- > 0;) {
        std::string subkey;
        if (!classKey->SubkeyName(index, &subkey)) {
            TraceLine(trace_) << "registry key " << std::int64_t{index} << ": name unreadable";
            continue;
        }
        std::unique_ptr<RegistryKey> driverKey =
            registry_.OpenLocalMachineKey(std::string(kModemClassKeyPath) + "\\" + subkey);
        if (!driverKey) {
            TraceLine(trace_) << "registry key " << Quoted(subkey) << ": cannot open";
            continue;
        }
        const int found = DriverKeyPort(*driverKey, subkey);
        if (found != 0) {
            *port = found;
            return true;
        }
    }
    TraceLine(trace_) << "registry: no driver key names the modem with a port";
    return false;
}

// The port of a driver key whose "FriendlyName" is the modem's; 0 when the name differs or
// the key gives no port. Both values come from this one key, in whatever order it lists them.
int PortDiscovery::DriverKeyPort(RegistryKey& driverKey, const std::string& subkey) const {
    TraceLine line(trace_);
    line << "registry key " << Quoted(subkey) << ":";
    bool nameMatches = false;
    int attachedPort = 0;
    const std::uint32_t valueCount = driverKey.ValueCount();
    for (std::uint32_t index = 0; index < valueCount; ++index) {
        std::string valueName;
        std::string text;
        if (!driverKey.ValueName(index, &valueName)) continue;
        if (valueName == kFriendlyNameValue) {
            const bool read = driverKey.ReadValueText(valueName, &text);
            if (read && text == friendlyName_) nameMatches = true;
            line << " FriendlyName " << (read ? Quoted(text) : "unreadable");
        } else if (valueName == kAttachedToValue) {
            const bool read = driverKey.ReadValueText(valueName, &text);
            if (read) attachedPort = PortNumberFromAttachedTo(text);
            line << " AttachedTo " << (read ? Quoted(text) : "unreadable");
        }
    }
    line << (nameMatches ? " (the modem's)" : " (another device's)") << ", port " << attachedPort;
    return nameMatches ? attachedPort : 0;
}

}  // namespace quorvel
