#pragma once

#include <functional>
#include <string>

#include "base/Clock.h"
#include "base/Trace.h"
#include "discovery/DeviceInventory.h"
#include "discovery/Registry.h"

namespace quorvel {

// The Modem class key under HKEY_LOCAL_MACHINE; its numbered subkeys are the driver keys.
inline constexpr char kModemClassKeyPath[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";

// The pause after each Ports device that gives no port.
inline constexpr unsigned kPortsWaitMilliseconds = 500;

// Finds the card's COM port among the devices present: by the modem device and its driver
// key, by the card's UI interface names, or by a name fragment from the configuration.
class PortDiscovery {
  public:
    PortDiscovery(DeviceInventory& inventory, Registry& registry, Clock& clock, Trace& trace);

    // The first Ports device named after one of the UI interfaces, with "COM" in its name.
    // `port` is written only when one is found.
    bool FindUiPort(int* port);

    // The first Ports device whose name holds `fragment` and "COM". `port` is written only
    // when one is found.
    bool FindPortByName(const std::string& fragment, int* port);

    // The first Modem device named after the card, its port taken from its driver key: 0 when
    // the key gives none. `port` is left alone when no device matches.
    bool FindModemPort(int* port);

    // The modem first; failing that, the UI interfaces.
    bool FindCardPort(int* port);

  private:
    enum class PortsDevice { kGivesPort, kPassedOver, kNoMore };
    using NameTest = std::function<bool(const char* name)>;

    bool WalkPortsClass(const NameTest& wanted, int* port);
    PortsDevice TryPortsDevice(unsigned index, const NameTest& wanted, int* port);
    bool LookupModemAttachedPort(int* port);
    int DriverKeyPort(RegistryKey& driverKey, const std::string& subkey) const;

    DeviceInventory& inventory_;
    Registry& registry_;
    Clock& clock_;
    Trace& trace_;
    // The matched modem's name, handed from the device search to the driver-key lookup.
    char friendlyName_[kFriendlyNameBufferSize] = {};
};

// The number after the last upper-case "COM" in a device's friendly name that a digit follows:
// "... (COM7)" gives 7. With no such "COM", the number after the first one, 0 when none.
int PortNumberFromFriendlyName(const char* friendlyName);

// The number in a modem driver key's "AttachedTo" text, read from its fourth character on
// (the first three, normally "COM", are not looked at); 0 for three characters or fewer.
int PortNumberFromAttachedTo(const std::string& attachedTo);

}  // namespace quorvel
