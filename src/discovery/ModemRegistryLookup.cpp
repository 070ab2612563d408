#include <cstdint>
#include <memory>
#include <string>

#include "discovery/PortDiscovery.h"
#include "discovery/PortNumbers.h"

namespace quorvel {

namespace {

constexpr char kFriendlyNameValue[] = "FriendlyName";
constexpr char kAttachedToValue[] = "AttachedTo";

}  // namespace

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
        int found = DriverKeyPort(*driverKey);
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
