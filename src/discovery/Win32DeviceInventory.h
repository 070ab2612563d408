#pragma once

#include "discovery/DeviceInventory.h"

namespace quorvel {

// The device-installation service (SetupDi*).
class Win32DeviceInventory : public DeviceInventory {
  public:
    std::unique_ptr<DeviceList> PresentDevices(DeviceClass deviceClass) override;
};

}  // namespace quorvel
