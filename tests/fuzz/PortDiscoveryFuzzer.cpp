// The port searches over devices and driver keys made from the fuzz input: records split at
// '\n', each a kind byte and a text. Kind % 8 is 0 for a Ports device ('@'), 1 for a Modem
// device ('A'), 2 for a driver key, 3 for a value "name=data" of the last key, 4 (5) for no
// Ports (Modem) list to be had, 6 for a Modem class key that cannot be opened. Kind & 8: it
// cannot be read (a device's name, a key, a value); & 16: it cannot be enumerated (a device, a
// key's or a value's name).

#undef NDEBUG  // the checks are what the target is for
#include <algorithm>
#include <cassert>
#include <cstring>
#include <sstream>
#include <vector>

#include "CheckedTrace.h"
#include "discovery/PortDiscovery.h"

namespace {

using namespace quorvel;

struct Entry {
    unsigned kind;
    std::string text;
    std::vector<Entry> entries;  // a driver key's values
};

// Entries as the platform hands them out, counted while held: a device list, or a key whose
// entries are its subkeys or its values "name=data".
struct Held : DeviceList, RegistryKey {
    Held(std::size_t& counter, const std::vector<Entry>& e) : count(++counter), entries(e) {}
    ~Held() override { --count; }
    DeviceAt Enumerate(unsigned index) override {
        const bool listed = index < entries.size();
        device = listed && !(entries[index].kind & 16) ? &entries[index] : nullptr;
        return !listed ? DeviceAt::kEndOfList : device ? DeviceAt::kDevice : DeviceAt::kError;
    }
    // A name with no room for its terminator is handed over whole, as a careless platform might.
    bool ReadFriendlyName(char* buffer, std::size_t size) override {
        if ((device->kind & 8) || device->text.size() > size) return false;
        std::strncpy(buffer, device->text.c_str(), size);  // pads the rest with zero bytes
        return true;
    }
    std::uint32_t SubkeyCount() override { return entries.size(); }
    std::uint32_t ValueCount() override { return entries.size(); }
    bool SubkeyName(std::uint32_t i, std::string* name) override { return ValueName(i, name); }
    bool ValueName(std::uint32_t i, std::string* name) override {
        *name = entries.at(i).text.substr(0, entries[i].text.find('='));  // throws out of range
        return !(entries[i].kind & 16);
    }
    bool ReadValueText(const std::string& name, std::string* text) override {
        const auto value = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
            return e.text.rfind(name + '=', 0) == 0 && !(e.kind & 8);
        });
        if (value != entries.end()) *text = value->text.substr(name.size() + 1);
        return value != entries.end();
    }
    std::size_t& count;
    const std::vector<Entry>& entries;
    const Entry* device = nullptr;
};

struct Machine : DeviceInventory, Registry, Clock {
    std::unique_ptr<DeviceList> PresentDevices(DeviceClass deviceClass) override {
        assert(lists == 0 && "at most one device list is held at a time");
        const int modem = deviceClass == DeviceClass::kModem;
        return flags & (1 << modem) ? nullptr : std::make_unique<Held>(lists, devices[modem]);
    }
    std::unique_ptr<RegistryKey> OpenLocalMachineKey(const std::string& path) override {
        assert(keys < 2 && "a driver key is closed before the next opens");
        if (path == kModemClassKeyPath && !(flags & 4))
            return std::make_unique<Held>(keys, driverKeys);
        const auto key = std::find_if(driverKeys.begin(), driverKeys.end(), [&](const Entry& k) {
            return !(k.kind & 8) && path == kModemClassKeyPath + ("\\" + k.text);
        });
        return key == driverKeys.end() ? nullptr : std::make_unique<Held>(keys, key->entries);
    }
    std::int64_t NowSeconds() override { return 0; }
    std::int64_t NowMilliseconds() override { return 0; }
    void SleepMilliseconds(unsigned) override { ++sleeps; }

    unsigned flags = 0;
    std::vector<Entry> devices[2];  // Ports, Modem
    std::vector<Entry> driverKeys;  // the Modem class key's subkeys
    std::size_t lists = 0, keys = 0, sleeps = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Machine machine;
    CheckedTrace trace;
    std::istringstream records(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string record; std::getline(records, record);) {
        if (record.empty()) continue;
        const Entry entry{static_cast<unsigned char>(record[0]), record.substr(1), {}};
        std::vector<Entry>& keys = machine.driverKeys;
        if (entry.kind % 8 < 2) machine.devices[entry.kind % 8].push_back(entry);
        if (entry.kind % 8 == 2) keys.push_back(entry);
        if (entry.kind % 8 == 3 && !keys.empty()) keys.back().entries.push_back(entry);
        if (entry.kind % 8 > 3) machine.flags |= 1u << (entry.kind % 8 - 4);
        // On the heap at its exact size, so that a read past the terminator is caught.
        const char* text = entry.text.c_str();
        PortNumberFromFriendlyName(std::vector<char>(text, text + entry.text.size() + 1).data());
    }

    int port = -777;
    const bool found = PortDiscovery(machine, machine, machine, trace).FindCardPort(&port);
    // A card modem whose driver keys give no port leaves 0 behind. UBSan checks the bool.
    assert((found || port == -777 || port == 0) && "port set only when found");
    assert(machine.lists == 0 && machine.keys == 0 && "every list and key is released");
    assert(machine.sleeps <= machine.devices[0].size() && "no more pauses than Ports devices");
    return 0;
}
