#pragma once

#include <string>
#include <vector>

namespace quorvel::winedrive {

// Seeds devices and modem driver keys into the registry of the test's Wine prefix, the way the
// device-installation service and a modem driver would have left them, and takes all of it
// away again. Paths are under HKEY_LOCAL_MACHINE.
//
// A card as the program sees it is a modem device with a driver key and a PC UI port:
//
//     RegistrySeed seed;
//     seed.SeedModem("KELTRO Datalink - 3G Modem", 7);
//     seed.SeedPortsDevice("KELTRO Datalink - 3G PC UI Interface (COM8)");
//
// Everything seeded is removed by RemoveAll() or the destructor.
class RegistrySeed {
  public:
    static constexpr char kEnumUsbPath[] = "System\\CurrentControlSet\\Enum\\USB";

    RegistrySeed() = default;
    ~RegistrySeed();

    RegistrySeed(const RegistrySeed&) = delete;
    RegistrySeed& operator=(const RegistrySeed&) = delete;

    // A present device of the Ports or the Modem class, under Enum\USB\VID_F0F0&PID_nnnn\1 with
    // the next free nnnn, holding "Class", "ClassGUID" and "FriendlyName". Returns the device
    // key's path, empty on failure.
    std::string SeedPortsDevice(const std::string& friendlyName);
    std::string SeedModemDevice(const std::string& friendlyName);

    // A driver key `subkey` (such as "0000") under the Modem class key, with "FriendlyName" and
    // "AttachedTo" values. Returns its path, empty on failure.
    std::string SeedDriverKey(const std::string& subkey, const std::string& friendlyName,
                              const std::string& attachedTo);

    // The card's modem: a Modem device and, under the next free number, its driver key with
    // "AttachedTo" COM<comNumber>. Returns the driver key's path, empty on failure.
    std::string SeedModem(const std::string& friendlyName, int comNumber);

    // Creates the key (and any missing above it) and sets a value of the given registry type.
    bool SetValue(const std::string& path, const std::string& name, unsigned long type,
                  const std::string& data);
    bool SetText(const std::string& path, const std::string& name, const std::string& text);

    // Takes every right away: the key cannot be opened at all, as a protected key. Set a key's
    // values before changing its rights; the rules hold while the test's wineserver runs.
    bool Lock(const std::string& path);
    // Leaves everyone read rights only, which is what a standard user has on these keys.
    bool MakeReadOnly(const std::string& path);

    // Gives back the rights taken and deletes every key it created, deepest first. True when
    // all of it went.
    bool RemoveAll();
    // Leaves everything seeded in place for good, for a prefix that outlives this program.
    void Keep();

    // The Modem class key's path, and a driver key's.
    static std::string ModemClassKey();
    static std::string DriverKeyPath(const std::string& subkey);

  private:
    struct SavedRights {
        std::string path;
        std::vector<unsigned char> descriptor;
    };

    std::string SeedDevice(const char* classGuid, const char* className,
                           const std::string& friendlyName);
    bool CreateKey(const std::string& path);
    bool SetRights(const std::string& path, const char* rules);

    std::vector<std::string> created_;      // in the order created
    std::vector<SavedRights> savedRights_;  // in the order changed
};

}  // namespace quorvel::winedrive
