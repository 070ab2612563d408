// Device friendly names and registry values of arbitrary bytes and lengths, through the port
// searches, the modem registry lookup and the port-number rules. The input describes the
// machine, one item a line (bytes written as FuzzText.h says):
//   port <name> | modem <name>     a device of the Ports or Modem class
//   port+ <n> <name> (modem+ too)  the same, the name padded with dots to <n> characters
//   port! | modem!                 a device whose friendly name cannot be read
//   port? | modem?                 an index at which enumeration fails
//   no-ports | no-modems           no device list of that class can be had
//   key <name> | key! <name>       a driver key under the Modem class key; "!": cannot be opened
//   value <name>=<text>            a value of the last driver key
//   value+ <n> <name>=<text>       the same, the text padded with dots to <n> bytes
//   value! <name>                  a value that is listed but cannot be read
//   no-class-key                   the Modem class key cannot be opened
//   fragment <text>                the configured name fragment ("FRIENDLY_NAME")
//   card-answers                   the card answers every command with OK
//   refuse <n>                     opens of COM<n> fail
// Other lines are ignored.

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "CardRig.h"
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "card/WizardStatus.h"
#include "discovery/DeviceNames.h"
#include "discovery/PortDiscovery.h"
#include "discovery/PortNumbers.h"

namespace {

using quorvel::PortDiscovery;
using quorvel::fuzz::ReadCount;
using quorvel::fuzz::SplitLines;
using quorvel::fuzz::SplitWord;
using quorvel::fuzz::Unescape;
using quorvel::test::CardRig;

constexpr int kUntouched = -777;
constexpr std::size_t kMostDevicesPerClass = 64;
constexpr std::size_t kLongestReadableName = quorvel::kFriendlyNameBufferSize - 1;
constexpr unsigned kPortsWaitMilliseconds = 500;
const std::string kClassKey = quorvel::kModemClassKeyPath;

struct Device {
    enum class Kind { kNamed, kUnreadable, kEnumerationError } kind;
    std::string name;
};

struct Machine {
    std::vector<Device> ports;
    std::vector<Device> modems;
    bool noPorts = false;
    bool noModems = false;
    std::string fragment = "(COM";
    std::vector<std::string> texts;  // every name and value text, for the number rules
};

std::string Padded(std::string text, std::size_t length) {
    if (text.size() < length) text.append(length - text.size(), '.');
    return text;
}

// Registry key names hold no backslash and are never empty.
std::string KeyName(std::string name) {
    for (char& c : name)
        if (c == '\\') c = '/';
    return name.empty() ? "_" : name;
}

void AddDevice(Machine& machine, CardRig& rig, bool modem, Device device) {
    std::vector<Device>& devices = modem ? machine.modems : machine.ports;
    if (devices.size() == kMostDevicesPerClass) return;
    const char* guid = modem ? quorvel::kModemClassGuid : quorvel::kPortsClassGuid;
    switch (device.kind) {
        case Device::Kind::kNamed:
            rig.devices.AddDevice(guid, device.name);
            machine.texts.push_back(device.name);
            break;
        case Device::Kind::kUnreadable:
            rig.devices.AddUnreadableDevice(guid);
            break;
        case Device::Kind::kEnumerationError:
            rig.devices.AddEnumerationError(guid);
            break;
    }
    devices.push_back(std::move(device));
}

void AddValue(Machine& machine, CardRig& rig, const std::string& key, std::string_view rest,
              std::size_t length) {
    const std::string text = Unescape(rest);
    const std::size_t equals = text.find('=');
    const std::string name = text.substr(0, equals);
    const std::string data =
        Padded(equals == std::string::npos ? "" : text.substr(equals + 1), length);
    rig.registry.SetValue(key, name, data);
    machine.texts.push_back(data);
}

Machine Build(std::string_view input, CardRig& rig) {
    Machine machine;
    std::string key = kClassKey + "\\_";
    rig.registry.AddKey(kClassKey);
    for (std::string_view line : SplitLines(input)) {
        std::string_view word;
        std::string_view rest;
        SplitWord(line, &word, &rest);
        const bool modem = word.substr(0, 5) == "modem";
        const bool ports = word.substr(0, 4) == "port";
        const std::string_view kind = word.substr(modem ? 5 : ports ? 4 : 0);
        if (ports || modem) {
            if (kind.empty()) {
                AddDevice(machine, rig, modem, {Device::Kind::kNamed, Unescape(rest)});
            } else if (kind == "+") {
                const std::size_t length = ReadCount(rest, 2048, &rest);
                AddDevice(machine, rig, modem,
                          {Device::Kind::kNamed, Padded(Unescape(rest), length)});
            } else if (kind == "!") {
                AddDevice(machine, rig, modem, {Device::Kind::kUnreadable, ""});
            } else if (kind == "?") {
                AddDevice(machine, rig, modem, {Device::Kind::kEnumerationError, ""});
            }
        } else if (word == "no-ports" || word == "no-modems") {
            (word == "no-ports" ? machine.noPorts : machine.noModems) = true;
            rig.devices.RefuseLists(word == "no-ports" ? quorvel::kPortsClassGuid
                                                       : quorvel::kModemClassGuid);
        } else if (word == "key" || word == "key!") {
            key = kClassKey + "\\" + KeyName(Unescape(rest));
            if (word == "key")
                rig.registry.AddKey(key);
            else
                rig.registry.DenyOpening(key);
        } else if (word == "value") {
            AddValue(machine, rig, key, rest, 0);
        } else if (word == "value+") {
            const std::size_t length = ReadCount(rest, 20'000, &rest);
            AddValue(machine, rig, key, rest, length);
        } else if (word == "value!") {
            rig.registry.SetUnreadableValue(key, Unescape(rest));
        } else if (word == "no-class-key") {
            rig.registry.DenyOpening(kClassKey);
        } else if (word == "fragment") {
            machine.fragment = Unescape(rest);
            rig.WriteConfig("[OTHER]\nFRIENDLY_NAME=" + machine.fragment + "\n");
        } else if (word == "card-answers") {
            rig.AnswerAsCard();
        } else if (word == "refuse") {
            rig.card.RefuseOpen(CardRig::Device(static_cast<int>(ReadCount(rest, 999, &rest))));
        }
    }
    return machine;
}

// The C library's own string-to-long, held to int as a 32-bit long would hold it.
int ReferenceNumber(const char* text) {
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

void CheckNumberRules(const std::string& text) {
    const std::string name = text.c_str();  // as a name buffer holds it
    const std::size_t com = name.find("COM");
    FUZZ_CHECK(quorvel::ReadDecimal(text.c_str()) == ReferenceNumber(text.c_str()),
               "numbers are read by the string-to-long rule");
    FUZZ_CHECK(quorvel::PortNumberFromFriendlyName(name.c_str()) ==
                   (com == std::string::npos ? 0 : ReferenceNumber(name.c_str() + com + 3)),
               "a name's port is the number after its first upper-case COM");
    FUZZ_CHECK(quorvel::PortNumberFromAttachedTo(text) ==
                   (text.size() <= 3 ? 0 : ReferenceNumber(text.c_str() + 3)),
               "AttachedTo is read from its fourth character on");
}

bool ContainsAnyOf(const std::string& name, const std::array<const char*, 3>& table) {
    for (const char* row : table)
        if (name.find(row) != std::string::npos) return true;
    return false;
}

// What a friendly-name buffer makes of a device's name; false when it cannot be read.
bool ReadableName(const Device& device, std::string* name) {
    if (device.kind != Device::Kind::kNamed || device.name.size() > kLongestReadableName)
        return false;
    *name = device.name.c_str();
    return true;
}

struct PortsOutcome {
    bool found = false;
    int port = 0;
    std::size_t passedOver = 0;
};

// The first Ports device that is wanted and has COM in its name gives the port.
template <typename Wanted>
PortsOutcome ExpectedPortsWalk(const Machine& machine, Wanted wanted) {
    PortsOutcome outcome;
    if (machine.noPorts) return outcome;
    for (const Device& device : machine.ports) {
        std::string name;
        if (ReadableName(device, &name) && wanted(name)) {
            const std::size_t com = name.find("COM");
            if (com != std::string::npos) {
                outcome.found = true;
                outcome.port = ReferenceNumber(name.c_str() + com + 3);
                return outcome;
            }
        }
        ++outcome.passedOver;
    }
    return outcome;
}

void CheckListsReleased(const CardRig& rig) {
    FUZZ_CHECK(rig.devices.ListsOpen() == 0, "every device list taken is released");
    FUZZ_CHECK(rig.devices.ListsTakenWhileOneWasOpen() == 0,
               "no list is taken while another is held");
}

void CheckKeysClosed(const CardRig& rig) {
    FUZZ_CHECK(rig.registry.KeysOpen() == 0, "every registry key opened is closed");
    FUZZ_CHECK(rig.registry.MostKeysOpenAtOnce() <= 2,
               "no more than the class key and one driver key are open at once");
}

template <typename Search>
void CheckPortsWalk(CardRig& rig, const Machine& machine, const PortsOutcome& expected,
                    Search search) {
    const std::size_t sleepsBefore = rig.clock.Sleeps().size();
    const int listsBefore = rig.devices.ListsTaken();
    int port = kUntouched;
    const bool found = search(&port);
    FUZZ_CHECK(found == expected.found, "the first wanted Ports device with COM gives the port");
    FUZZ_CHECK(port == (found ? expected.port : kUntouched),
               "the port is the number after COM, and written only when found");
    const std::vector<unsigned> pauses(rig.clock.Sleeps().begin() + sleepsBefore,
                                       rig.clock.Sleeps().end());
    FUZZ_CHECK(pauses == std::vector<unsigned>(expected.passedOver, kPortsWaitMilliseconds),
               "the Ports walk pauses 500 ms after each device that gave no port");
    const int lists = rig.devices.ListsTaken() - listsBefore;
    FUZZ_CHECK(lists == (machine.noPorts ? 0 : static_cast<int>(expected.passedOver) + 1),
               "the Ports walk takes a fresh list for every index");
    CheckListsReleased(rig);
}

// The lookup worked out from the registry seam: the driver keys from the highest index down,
// a key that cannot be opened passed over, "FriendlyName" and "AttachedTo" paired per key.
bool ExpectedLookup(quorvel::Registry& registry, const std::string& modemName, int* port,
                    std::vector<std::string>* opened) {
    *port = 0;
    opened->push_back(kClassKey);
    const auto classKey = registry.OpenLocalMachineKey(kClassKey);
    if (!classKey) return false;
    const std::uint32_t count = classKey->SubkeyCount();
    for (std::uint32_t n = 0; n < count; ++n) {
        std::string subkey;
        if (!classKey->SubkeyName(count - 1 - n, &subkey)) continue;
        opened->push_back(kClassKey + "\\" + subkey);
        const auto key = registry.OpenLocalMachineKey(opened->back());
        if (!key) continue;
        bool match = false;
        int attached = 0;
        for (std::uint32_t v = 0; v < key->ValueCount(); ++v) {
            std::string name;
            std::string text;
            if (!key->ValueName(v, &name)) continue;
            if (name == "FriendlyName" && key->ReadValueText(name, &text) && text == modemName)
                match = true;
            if (name == "AttachedTo" && key->ReadValueText(name, &text))
                attached = text.size() <= 3 ? 0 : ReferenceNumber(text.c_str() + 3);
        }
        if (match && attached != 0) {
            *port = attached;
            return true;
        }
    }
    return false;
}

struct ModemOutcome {
    bool matched = false;  // a modem device named after the card was found
    bool found = false;
    int port = 0;
};

ModemOutcome CheckModemSearch(CardRig& rig, const Machine& machine, PortDiscovery& discovery) {
    ModemOutcome expected;
    std::string modemName;
    if (!machine.noModems) {
        for (const Device& device : machine.modems) {
            if (ReadableName(device, &modemName) &&
                ContainsAnyOf(modemName, quorvel::kModemNames)) {
                expected.matched = true;
                break;
            }
        }
    }
    const std::size_t sleepsBefore = rig.clock.Sleeps().size();
    const std::size_t attemptsBefore = rig.registry.OpenAttempts().size();
    const std::string nameBefore = discovery.FriendlyName();

    int port = kUntouched;
    const bool found = discovery.FindModemPort(&port);

    FUZZ_CHECK(rig.clock.Sleeps().size() == sleepsBefore, "the modem walk never pauses");
    CheckListsReleased(rig);
    CheckKeysClosed(rig);
    const std::vector<std::string> attempts(rig.registry.OpenAttempts().begin() + attemptsBefore,
                                            rig.registry.OpenAttempts().end());
    if (!expected.matched) {
        FUZZ_CHECK(!found && port == kUntouched, "no card modem, no port, and the port untouched");
        FUZZ_CHECK(attempts.empty(), "no card modem, no registry lookup");
        FUZZ_CHECK(discovery.FriendlyName() == nameBefore, "and the kept name is unchanged");
        return expected;
    }
    FUZZ_CHECK(discovery.FriendlyName() == modemName,
               "the first card modem's name is kept for the lookup");
    std::vector<std::string> expectedAttempts;
    expected.found = ExpectedLookup(rig.registry, modemName, &expected.port, &expectedAttempts);
    FUZZ_CHECK(found == expected.found && port == expected.port,
               "the port comes from the highest driver key that names the modem and has one");
    FUZZ_CHECK(attempts == expectedAttempts,
               "the driver keys are opened from the highest index down, until a port is found");
    CheckKeysClosed(rig);
    return expected;
}

void CheckLocateAndVerify(CardRig& rig) {
    rig.state.status = 9;
    const int result = rig.operations.LocateAndVerify();
    FUZZ_CHECK(result == quorvel::kStatusSuccess || result == quorvel::kStatusCardNotFound ||
                   result == quorvel::kStatusOpenFailed || result == quorvel::kStatusNoHandshake,
               "locating gives 1, 2, 3 or 4");
    FUZZ_CHECK(rig.state.status == 9, "locating stores no status of its own");
    FUZZ_CHECK(!rig.card.IsOpen(), "locating leaves the port closed");
    if (result == quorvel::kStatusSuccess) {
        FUZZ_CHECK(rig.card.OpenAttempts().back() == CardRig::Device(rig.state.portNumber),
                   "the card answered on the port located");
    }
    CheckListsReleased(rig);
    CheckKeysClosed(rig);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CardRig rig;
    const Machine machine = Build(std::string_view(reinterpret_cast<const char*>(data), size), rig);
    for (const std::string& text : machine.texts)
        CheckNumberRules(text);

    PortDiscovery discovery(rig.devices, rig.registry, rig.clock);
    const PortsOutcome ui = ExpectedPortsWalk(machine, [](const std::string& name) {
        return ContainsAnyOf(name, quorvel::kUiInterfaceNames);
    });
    CheckPortsWalk(rig, machine, ui, [&](int* port) { return discovery.FindUiPort(port); });
    const std::string fragment = machine.fragment.c_str();  // as the search sees it
    const PortsOutcome byName = ExpectedPortsWalk(
        machine, [&](const std::string& name) { return name.find(fragment) != std::string::npos; });
    CheckPortsWalk(rig, machine, byName,
                   [&](int* port) { return discovery.FindPortByName(machine.fragment, port); });
    const ModemOutcome modem = CheckModemSearch(rig, machine, discovery);

    int port = kUntouched;
    const bool found = discovery.FindCardPort(&port);
    FUZZ_CHECK(found == (modem.found || ui.found), "the card's port: the modem's, else the UI's");
    const int untried = modem.matched ? 0 : kUntouched;
    FUZZ_CHECK(port == (modem.found ? modem.port
                        : ui.found  ? ui.port
                                    : untried),
               "the card's port comes from the search that found it");
    CheckListsReleased(rig);
    CheckKeysClosed(rig);

    CheckLocateAndVerify(rig);
    return 0;
}
