#pragma once

#include <functional>
#include <string>

#include "discovery/DeviceInventory.h"
#include "discovery/Registry.h"
#include "serial/Clock.h"

namespace quorvel {

// Finds the card's COM port among the devices present: by the modem device and its driver
// key, by the card's UI interface names, or by a name fragment from the configuration.
class PortDiscovery {
  public:
    PortDiscovery(DeviceInventory& inventory, Registry& registry, Clock& clock);
    virtual ~PortDiscovery() = default;

    // The first Ports device named after one of the UI interfaces, with "COM" in its name.
    // `port` is written only when one is found.
    bool FindUiPort(int* port);

    // The first Ports device whose name holds `fragment` and "COM". `port` is written only
    // when one is found.
    bool FindPortByName(const std::string& fragment, int* port);

    // The first Modem device named after the card, its port taken from its driver key. Keeps
    // the device's name for the lookup; `port` is left alone when no device matches.
    bool FindModemPort(int* port);

    // The modem first; failing that, the UI interfaces.
    bool FindCardPort(int* port);

    // The port in the Modem class driver key whose "FriendlyName" is the name the modem
    // search kept. `port` is 0 unless a port is found.
    bool LookupModemAttachedPort(int* port);

    // The name of the modem device the last modem search matched.
    const char* FriendlyName() const { return friendlyName_; }

  private:
    enum class PortsDevice { kGivesPort, kPassedOver, kNoMore };

    bool WalkPortsClass(const std::function<bool(const char*)>& wanted, int* port);
    PortsDevice TryPortsDevice(unsigned index, const std::function<bool(const char*)>& wanted,
                               int* port);
    int DriverKeyPort(RegistryKey& driverKey) const;

    DeviceInventory& inventory_;
    Registry& registry_;
    Clock& clock_;
    char friendlyName_[kFriendlyNameBufferSize] = {};
};

}  // namespace quorvel
