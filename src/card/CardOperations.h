#pragma once

#include "base/Clock.h"
#include "base/Status.h"
#include "base/Trace.h"
#include "card/CardConfig.h"
#include "card/CardState.h"
#include "config/ProfileFile.h"
#include "discovery/DeviceInventory.h"
#include "discovery/Registry.h"
#include "serial/ComDevice.h"

namespace quorvel {

class PortDiscovery;
class SerialPort;
class SerialPort;

// The platform services the card operations reach the card, the devices and the
// configuration file through.
struct CardPlatform {
    ComDevice& port;  // the process's one COM port
    Clock& clock;
    DeviceInventory& devices;
    Registry& registry;
    ProfileFile& profile;
    Trace& trace;  // what the run did, for support; changes nothing
};

// The direction the user picked in the wizard. Each choice is labelled after the mode the
// card leaves, but sends the number of the mode it enters: the first choice ("CD-ROM To
// Diag") sends the Diag number, the second ("Diag To CD-ROM") the CD-ROM number.
enum class SwitchDirection {
    kNone,
    kCdromToDiag,
    kDiagToCdrom,
};

// Everything a run does to the card, on the run's CardState. Every operation leaves the port
// closed, except ResetCard, the last step of a silent run.
class CardOperations {
  public:
    CardOperations(CardState& state, const CardPlatform& platform);

    // Finds the card's port, checks that the card answers there and turns its echo off.
    // Returns kSuccess, kCardNotFound, kOpenFailed or kNoHandshake without storing it.
    Status LocateAndVerify();

    // Locates the card and asks it for its type; the status records the outcome. The type is
    // the answer's lines joined, without line ends and every "OK"; notices that the card sent
    // on its own and the query's echo are not part of it (SendAtCommand leaves them out).
    bool QueryCardType();

    bool LoadSwitchConfig() { return config_.LoadSwitchConfig(); }

    // Sends at^u2diag=<number>; the status records the outcome.
    bool SendSwitchCommand(int number);
    bool SwitchBySelection(SwitchDirection direction);

    // Takes the card offline and restarts it. The status records the first command only,
    // and the port stays open whatever happens once it has opened.
    bool ResetCard();

    // Locate, switch with the silent value, reset. Returns the status of the step that ended
    // the run, kSuccess when all went well; the status field is not set by the locate.
    Status SilentSwitch();

  private:
    bool FindConfiguredPort(PortDiscovery& discovery);
    Status OpenAndSend(SerialPort& port, const char* command, char* reply);
    Status SendOnFreshPort(const char* command, char* reply);
    SerialPort Port() const;
    Status Traced(const char* step, Status status);

    CardState& state_;
    CardPlatform platform_;
    CardConfig config_;
};

}  // namespace quorvel
