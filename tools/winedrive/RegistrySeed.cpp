#include "winedrive/RegistrySeed.h"

#include <windows.h>

#include <sddl.h>

#include <cstdio>

#include "discovery/PortDiscovery.h"

namespace quorvel::winedrive {

namespace {

constexpr char kPortsClassGuid[] = "{4D36E978-E325-11CE-BFC1-08002BE10318}";
constexpr char kModemClassGuid[] = "{4D36E96D-E325-11CE-BFC1-08002BE10318}";

// Wine keeps a key's access rules only while its wineserver runs: they are not written to the
// prefix's registry files. A seed that locks a key and the program that meets it share one
// wineserver, so the lock holds for them; the tests check that it does.
constexpr char kLockedRules[] = "D:P";
constexpr char kReadOnlyRules[] = "D:P(A;;KR;;;WD)";

// Keys are reached through the wide-character calls: Wine's 8-bit ones refuse paths of more
// than about 260 characters, which the tests of long key names need.
std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

LONG OpenKey(const std::string& path, REGSAM access, HKEY* key) {
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(path).c_str(), 0, access, key);
}

bool KeyExists(const std::string& path) {
    HKEY key;
    LONG result = OpenKey(path, READ_CONTROL, &key);
    if (result == ERROR_SUCCESS) RegCloseKey(key);
    return result != ERROR_FILE_NOT_FOUND;
}

std::string FirstFree(const std::string& pattern, int first) {
    char name[512];
    for (int n = first;; ++n) {
        std::snprintf(name, sizeof name, pattern.c_str(), n);
        if (!KeyExists(name)) return name;
    }
}

}  // namespace

RegistrySeed::~RegistrySeed() {
    RemoveAll();
}

std::string RegistrySeed::ModemClassKey() {
    return kModemClassKeyPath;
}

std::string RegistrySeed::DriverKeyPath(const std::string& subkey) {
    return ModemClassKey() + "\\" + subkey;
}

std::string RegistrySeed::SeedPortsDevice(const std::string& friendlyName) {
    return SeedDevice(kPortsClassGuid, "Ports", friendlyName);
}

std::string RegistrySeed::SeedModemDevice(const std::string& friendlyName) {
    return SeedDevice(kModemClassGuid, "Modem", friendlyName);
}

// Wine lists a device of a class for any key under Enum\<bus>\<id>\<instance> that holds the
// class's "ClassGUID"; "FriendlyName" is the property the searches read. Without the "Class"
// value that an installed device has, Wine's device service writes one in while it lists the
// device, and a check that the searches leave the registry alone would see that.
std::string RegistrySeed::SeedDevice(const char* classGuid, const char* className,
                                     const std::string& friendlyName) {
    std::string device = FirstFree(std::string(kEnumUsbPath) + "\\VID_F0F0&PID_%04X", 1) + "\\1";
    if (!SetText(device, "Class", className) || !SetText(device, "ClassGUID", classGuid) ||
        !SetText(device, "FriendlyName", friendlyName))
        return "";
    return device;
}

std::string RegistrySeed::SeedDriverKey(const std::string& subkey, const std::string& friendlyName,
                                        const std::string& attachedTo) {
    // A fresh prefix has no Modem class key; make it as an installation would.
    if (!KeyExists(ModemClassKey()) &&
        (!SetText(ModemClassKey(), "", "Modems") || !SetText(ModemClassKey(), "Class", "Modem")))
        return "";
    std::string path = DriverKeyPath(subkey);
    if (!SetText(path, "FriendlyName", friendlyName) || !SetText(path, "AttachedTo", attachedTo))
        return "";
    return path;
}

std::string RegistrySeed::SeedModem(const std::string& friendlyName, int comNumber) {
    if (SeedModemDevice(friendlyName).empty()) return "";
    std::string path = FirstFree(ModemClassKey() + "\\%04d", 0);
    std::string subkey = path.substr(ModemClassKey().size() + 1);
    return SeedDriverKey(subkey, friendlyName, "COM" + std::to_string(comNumber));
}

bool RegistrySeed::SetValue(const std::string& path, const std::string& name, unsigned long type,
                            const std::string& data) {
    if (!CreateKey(path)) return false;
    HKEY key;
    if (OpenKey(path, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    LONG result =
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool RegistrySeed::SetText(const std::string& path, const std::string& name,
                           const std::string& text) {
    return SetValue(path, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

// Creates the path one key at a time, so that every key that did not exist before is known
// and can be taken away again.
bool RegistrySeed::CreateKey(const std::string& path) {
    for (std::size_t end = 0; end != std::string::npos;) {
        end = path.find('\\', end + 1);
        std::string partial = path.substr(0, end);
        HKEY key;
        DWORD disposition = 0;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(partial).c_str(), 0, nullptr, 0, KEY_READ,
                            nullptr, &key, &disposition) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        if (disposition == REG_CREATED_NEW_KEY) created_.push_back(partial);
    }
    return true;
}

bool RegistrySeed::Lock(const std::string& path) {
    return SetRights(path, kLockedRules);
}

bool RegistrySeed::MakeReadOnly(const std::string& path) {
    return SetRights(path, kReadOnlyRules);
}

bool RegistrySeed::SetRights(const std::string& path, const char* rules) {
    HKEY key;
    if (OpenKey(path, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS) return false;
    SavedRights saved{path, std::vector<unsigned char>(4096)};
    DWORD size = static_cast<DWORD>(saved.descriptor.size());
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool done = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved.descriptor.data(), &size) ==
                    ERROR_SUCCESS &&
                ConvertStringSecurityDescriptorToSecurityDescriptorA(rules, SDDL_REVISION_1,
                                                                     &descriptor, nullptr) &&
                RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    if (descriptor) LocalFree(descriptor);
    RegCloseKey(key);
    if (done) savedRights_.push_back(std::move(saved));
    return done;
}

void RegistrySeed::Keep() {
    created_.clear();
    savedRights_.clear();
}

bool RegistrySeed::RemoveAll() {
    bool all = true;
    // The owner may always change the rules, so a locked key can be given its rules back.
    for (auto saved = savedRights_.rbegin(); saved != savedRights_.rend(); ++saved) {
        HKEY key;
        if (OpenKey(saved->path, WRITE_DAC, &key) != ERROR_SUCCESS) {
            all = false;
            continue;
        }
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        GetSecurityDescriptorControl(saved->descriptor.data(), &control, &revision);
        SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION;
        what |= (control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                              : UNPROTECTED_DACL_SECURITY_INFORMATION;
        all = RegSetKeySecurity(key, what, saved->descriptor.data()) == ERROR_SUCCESS && all;
        RegCloseKey(key);
    }
    savedRights_.clear();
    for (auto path = created_.rbegin(); path != created_.rend(); ++path) {
        LONG result = RegDeleteKeyW(HKEY_LOCAL_MACHINE, Wide(*path).c_str());
        all = (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) && all;
    }
    created_.clear();
    return all;
}

}  // namespace quorvel::winedrive
