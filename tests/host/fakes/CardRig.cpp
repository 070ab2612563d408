#include "CardRig.h"

#include <cstdio>

#include "discovery/Registry.h"

namespace quorvel::test {

CardRig::CardRig() {
    files.SetCurrentDirectory(std::string("C:\\Cards"));
}

void CardRig::InstallModem(int comNumber, const std::string& friendlyName) {
    devices.AddDevice(kModemClassGuid, friendlyName);
    char subkey[8];
    std::snprintf(subkey, sizeof subkey, "%04d", driverKeys_++);
    const std::string driverKey = std::string(kModemClassKeyPath) + "\\" + subkey;
    registry.SetValue(driverKey, "FriendlyName", friendlyName);
    registry.SetValue(driverKey, "AttachedTo", "COM" + std::to_string(comNumber));
}

void CardRig::AddPortsDevice(const std::string& friendlyName) {
    devices.AddDevice(kPortsClassGuid, friendlyName);
}

void CardRig::AnswerAsCard(const std::string& model) {
    card.OnAnyOtherCommand(kOkReply);
    card.OnCommand("AT+CGMM\r", Immediately("\r\n" + model + "\r\n\r\nOK\r\n"));
}

}  // namespace quorvel::test
