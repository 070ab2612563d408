#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quorvel {

// Sizes handed to the registry, terminator included.
inline constexpr std::size_t kSubkeyNameSize = 255;
inline constexpr std::size_t kValueNameSize = 16383;
inline constexpr std::size_t kValueDataSize = 16383;

// An open key, only ever read. Destroying it closes the key.
class RegistryKey {
  public:
    virtual ~RegistryKey() = default;

    // 0 when the count cannot be had.
    virtual std::uint32_t SubkeyCount() = 0;
    virtual std::uint32_t ValueCount() = 0;

    // False when the entry at the index cannot be enumerated, its name too long included.
    virtual bool SubkeyName(std::uint32_t index, std::string* name) = 0;
    virtual bool ValueName(std::uint32_t index, std::string* name) = 0;

    // The value's data as text of at most its stored length, whatever its registry type.
    // False when it cannot be read or does not fit.
    virtual bool ReadValueText(const std::string& name, std::string* text) = 0;
};

class Registry {
  public:
    virtual ~Registry() = default;

    // Opens a key under HKEY_LOCAL_MACHINE for reading; null when it cannot be opened.
    virtual std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) = 0;
};

}  // namespace quorvel
