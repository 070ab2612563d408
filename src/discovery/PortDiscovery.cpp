#include "discovery/PortDiscovery.h"

#include <cstring>

#include "discovery/DeviceNames.h"
#include "discovery/PortNumbers.h"

namespace quorvel {

namespace {

// The pause after each Ports device that gives no port.
constexpr unsigned kPortsWaitMilliseconds = 500;

// Reads a device's name, always terminated even should the platform fill the whole buffer.
bool ReadName(DeviceList& devices, char (&name)[kFriendlyNameBufferSize]) {
    if (!devices.ReadFriendlyName(name, sizeof name)) return false;
    name[sizeof name - 1] = '\0';
    return true;
}

}  // namespace

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
    std::unique_ptr<DeviceList> devices = inventory_.PresentDevices(kModemClassGuid);
    if (!devices) return false;
    char name[kFriendlyNameBufferSize];
    for (unsigned index = 0;; ++index) {
        DeviceAt at = devices->Enumerate(index);
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
bool PortDiscovery::WalkPortsClass(const std::function<bool(const char*)>& wanted, int* port) {
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

PortDiscovery::PortsDevice PortDiscovery::TryPortsDevice(
    unsigned index, const std::function<bool(const char*)>& wanted, int* port) {
    std::unique_ptr<DeviceList> devices = inventory_.PresentDevices(kPortsClassGuid);
    if (!devices) return PortsDevice::kNoMore;
    DeviceAt at = devices->Enumerate(index);
    if (at == DeviceAt::kEndOfList) return PortsDevice::kNoMore;
    char name[kFriendlyNameBufferSize];
    if (at == DeviceAt::kError || !ReadName(*devices, name)) return PortsDevice::kPassedOver;
    if (!wanted(name) || !Contains(name, kComMarker)) return PortsDevice::kPassedOver;
    *port = PortNumberFromFriendlyName(name);
    return PortsDevice::kGivesPort;
}

}  // namespace quorvel
