#pragma once

#include "discovery/Registry.h"

namespace quorvel {

// The system registry (advapi32 Reg*), under HKEY_LOCAL_MACHINE, opened for reading only.
class Win32Registry : public Registry {
  public:
    std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) override;
};

}  // namespace quorvel
