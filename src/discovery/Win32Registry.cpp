#include "discovery/Win32Registry.h"

#include <windows.h>

#include <vector>

#include "base/Text.h"

namespace quorvel {

namespace {

class Win32RegistryKey : public RegistryKey {
  public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { RegCloseKey(key_); }

    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    std::uint32_t SubkeyCount() override {
        DWORD count = 0;
        if (RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return 0;
        return count;
    }

    std::uint32_t ValueCount() override {
        DWORD count = 0;
        if (RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                             nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return 0;
        return count;
    }

    bool SubkeyName(std::uint32_t index, std::string* name) override {
        char buffer[kSubkeyNameSize];
        DWORD length = kSubkeyNameSize;
        if (RegEnumKeyExA(key_, index, buffer, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return false;
        *name = Text(buffer, length, sizeof buffer);
        return true;
    }

    bool ValueName(std::uint32_t index, std::string* name) override {
        std::vector<char> buffer(kValueNameSize);
        DWORD length = kValueNameSize;
        if (RegEnumValueA(key_, index, buffer.data(), &length, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            return false;
        *name = Text(buffer.data(), length, buffer.size());
        return true;
    }

    // One byte more than the registry is told of, so data that comes back without a
    // terminator can still be terminated.
    bool ReadValueText(const std::string& name, std::string* text) override {
        std::vector<char> buffer(kValueDataSize + 1, '\0');
        DWORD size = kValueDataSize;
        if (RegQueryValueExA(key_, name.c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
            return false;
        *text = Text(buffer.data(), size, kValueDataSize);
        return true;
    }

  private:
    // Up to the text's first terminator, and never beyond what the registry reported or the
    // buffer holds.
    static std::string Text(const char* buffer, DWORD reported, std::size_t capacity) {
        return TextUpToNul(buffer, reported < capacity ? reported : capacity);
    }

    HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenLocalMachineKey(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32RegistryKey>(key);
}

}  // namespace quorvel
