#pragma once

#include "card/CardState.h"
#include "config/ProfileFile.h"
#include "discovery/DeviceInventory.h"
#include "discovery/Registry.h"
#include "serial/Clock.h"
#include "serial/ComDevice.h"

namespace quorvel {

class PortDiscovery;

// The platform services the card operations reach the card, the devices and the
// configuration file through.
struct CardPlatform {
    ComDevice& port;  // the process's one COM port
    Clock& clock;
    DeviceInventory& devices;
    Registry& registry;
    ProfileFile& profile;
};

// Which of the wizard's two directions is checked.
enum class WizardChoice {
    kNeither,
    kFirst,   // "CD-ROM To Diag": sends the Diag value
    kSecond,  // "Diag To CD-ROM": sends the CD-ROM value
};

// Everything a run does to the card, on the run's CardState. Every operation leaves the port
// closed, except ResetCard, the last step of a silent run.
class CardOperations {
  public:
    CardOperations(CardState& state, const CardPlatform& platform);
    virtual ~CardOperations();

    // Finds the card's port, checks that the card answers there and turns its echo off.
    // Returns kStatusSuccess, kStatusCardNotFound, kStatusOpenFailed or kStatusNoHandshake
    // without storing it.
    int LocateAndVerify();

    // Locates the card and asks it for its type; the status records the outcome.
    bool QueryCardType();

    bool LoadSwitchConfig();
    bool ReadConfiguredFriendlyName();

    // Sends at^u2diag=<number>; the status records the outcome.
    bool SendSwitchCommand(int number);
    bool SwitchBySelection(WizardChoice choice);

    // Takes the card offline and restarts it. The status records the first command only,
    // and the port stays open whatever happens once it has opened.
    bool ResetCard();

    // Locate, switch with the silent value, reset. `outcome` (if given) receives the status of
    // the step that ended the run, kStatusSuccess when all went well; nothing more is stored.
    bool SilentSwitch(int* outcome = nullptr);

  private:
    bool FindConfiguredPort(PortDiscovery& discovery);
    int SendOnFreshPort(const char* command);

    CardState& state_;
    CardPlatform platform_;
};

}  // namespace quorvel
