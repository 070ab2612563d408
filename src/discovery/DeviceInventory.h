#pragma once

#include <cstddef>
#include <memory>

namespace quorvel {

// The device classes the card shows up in.
enum class DeviceClass {
    kPorts,  // COM and LPT ports: the card's serial interfaces
    kModem,
};

// A friendly name of up to 1023 characters fits with its terminator; a longer one counts as a
// name that cannot be read.
inline constexpr std::size_t kFriendlyNameBufferSize = 1024;

enum class DeviceAt {
    kDevice,     // there is a device at the index
    kEndOfList,  // no more items, or the platform gave no error code at all
    kError,      // any other failure; the walk passes over the index
};

// One list of the devices of a class that were present when it was taken. Destroying it
// releases the list.
class DeviceList {
  public:
    virtual ~DeviceList() = default;

    virtual DeviceAt Enumerate(unsigned index) = 0;

    // Reads the friendly name of the device last enumerated into `buffer`, which is cleared
    // first. False when the name cannot be read or does not fit with its terminator.
    virtual bool ReadFriendlyName(char* buffer, std::size_t size) = 0;
};

class DeviceInventory {
  public:
    virtual ~DeviceInventory() = default;

    // The devices of the class present now; null when no list can be had.
    virtual std::unique_ptr<DeviceList> PresentDevices(DeviceClass deviceClass) = 0;
};

}  // namespace quorvel
