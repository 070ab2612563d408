#include "fakes/Rig.h"

namespace quorvel::test {

Rig& Rig::CardInstalled() {
    devices.present[DeviceClass::kModem] = {kModemName};
    registry.Set(DriverKey("0000"), "FriendlyName", kModemName);
    registry.Set(DriverKey("0000"), "AttachedTo", "COM7");
    devices.present[DeviceClass::kPorts] = {std::string(kUiName) + " (COM8)"};
    card.otherwise = Now("\r\nOK\r\n");
    card.replies["AT+CGMM\r"] = Now("\r\nK3000\r\n\r\nOK\r\n");
    profile.sectionList = std::string("K3000\0OTHER\0", 12);
    profile.values["K3000"] = {{"CDROM_COMMAND", "1"}, {"DIAG_COMMAND", "0"}};
    return *this;
}

}  // namespace quorvel::test
