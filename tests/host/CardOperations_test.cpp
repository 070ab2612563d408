#include "card/CardOperations.h"

#include <gtest/gtest.h>

#include "app/RunMode.h"
#include "fakes/Rig.h"

namespace quorvel::test {
namespace {

using Arrange = std::function<void(Rig&)>;

// The card gives `reply` to `command`.
Arrange Answer(const std::string& command, const Reply& reply) {
    return [=](Rig& rig) { rig.card.replies[command] = reply; };
}

// Only these Ports devices, no modem, and this device name in Quorvel.ini.
Arrange OnlyPorts(std::vector<std::string> ports, const std::string& configuredName) {
    return [=](Rig& rig) {
        rig.devices.present = {{DeviceClass::kPorts, ports}};
        rig.profile.values["OTHER"]["FRIENDLY_NAME"] = configuredName;
    };
}

TEST(LocateAndVerify, FindsOpensAndChecksTheCardsPort) {
    const std::string com7 = Rig::Com(7), com8 = Rig::Com(8);
    const std::string ui8 = std::string(kUiName) + " (COM8)";
    const std::vector<std::string> errorPorts = {"ERROR Port (COM5)", "error port (COM6)"};
    const std::vector<std::string> genericPorts = {"Generic Serial Port (COM3)",
                                                   "Generic USB Modem Port (COM9)"};
    const std::vector<unsigned> threePauses = {500, 500, 500};
    // clang-format off
    const struct {
        const char* name; Arrange arrange; int result; int port; std::vector<std::string> opens;
        std::vector<unsigned> sleeps; bool nameRead;
    } cases[] = {
        // name, arrange, result, port, ports opened, pauses in ms, Quorvel.ini read
        {"the modem's port from its driver key", [](Rig&) {}, 1, 7, {com7}, {}, false},
        {"modem port busy: the UI port", [&](Rig& r) { r.card.refused = {com7}; },
         1, 8, {com7, com8}, {}, false},
        {"busy UI port: searched afresh, then 3",
         [&](Rig& r) { OnlyPorts({"Communications Port (COM1)", ui8}, "")(r);
                       r.card.refused = {com8}; },
         3, 8, {com8, com8}, {500, 500}, false},
        {"modem port busy and no UI port: 2",
         [&](Rig& r) { r.card.refused = {com7}; r.devices.present[DeviceClass::kPorts].clear(); },
         2, 7, {com7}, {}, false},
        {"no card: 2", OnlyPorts({}, ""), 2, 0, {}, {}, true},
        {"the configured name when the built-in names fail",
         OnlyPorts(genericPorts, "USB Modem Port"),
         1, 9, {Rig::Com(9)}, threePauses, true},
        {"a configured ERROR is unset", OnlyPorts(errorPorts, "ERROR"), 2, 0, {}, {500, 500}, true},
        {"a configured error is a name", OnlyPorts(errorPorts, "error"),
         1, 6, {Rig::Com(6)}, threePauses, true},
        {"no answer to ATE0: 4", Answer("ATE0\r", {}),
         4, 7, {com7}, std::vector<unsigned>(30, 1000), false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        c.arrange(rig.CardInstalled());
        rig.state.portNumber = 99;
        rig.state.status = Status::kConfigMissing;

        EXPECT_EQ(StatusCode(rig.operations.LocateAndVerify()), c.result);

        EXPECT_EQ(rig.state.portNumber, c.port);
        EXPECT_EQ(rig.card.opens, c.opens);
        EXPECT_EQ(rig.clock.sleeps, c.sleeps);
        EXPECT_FALSE(rig.card.IsOpen());
        EXPECT_EQ(rig.state.status, Status::kConfigMissing);
        EXPECT_EQ(rig.profile.reads != 0, c.nameRead) << "Quorvel.ini is read only as a fallback";
    }
}

// The type is the answer's lines joined, without line ends and every OK: the letters too. Lines
// the card sends on its own, and the echo of a card that ignored ATE0, are no part of it,
// however many come and however the reads cut them.
TEST(QueryCardType, TakesTheTypeFromTheAnswerAlone) {
    std::string notices;
    for (int i = 0; i < 12; ++i)
        notices += "\r\n^RSSI:17\r\n";
    const std::string model = "\r\nK3000\r\n", ok = "\r\nOK\r\n";
    // clang-format off
    const struct { const char* name; Reply reply; const char* type; } cases[] = {
        {"a well-behaved card", Now(model + ok), "K3000"},
        {"twelve notices before the model", Now(notices + model + ok), "K3000"},
        {"twelve notices between the model and OK", Now(model + notices + ok), "K3000"},
        {"a notice that straddles two reads",
         {{0, "\r\n^RSS"}, {1000, "I:17\r\n" + model + ok}}, "K3000"},
        {"notices and no model", Now(notices + ok), ""},
        {"the echo, notices of each kind and a ring",
         Now("AT+CGMM\r\r\n^RSSI:12\r\n+CREG: 1\r\nRING\r\n" + model + ok), "K3000"},
        {"an answer that names the query", Now("\r\n+CGMM: K3000" + ok), "+CGMM: K3000"},
        {"RINGO is no ring", Now("\r\nRINGO" + ok), "RINGO"},
        {"OK goes, also once lines are joined", Now("\r\nK3OK5\r\nO\r\nK" + ok), "K35"},
        {"lower-case ok stays", Now("\r\nok" + ok), "ok"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.CardInstalled().card.replies["AT+CGMM\r"] = c.reply;

        EXPECT_TRUE(rig.operations.QueryCardType());

        EXPECT_EQ(rig.state.cardType, c.type);
    }
}

// By number, or by mode name with the card type's number from Quorvel.ini.
TEST(SilentSwitch, LocatesSwitchesResetsAndGivesTheExitStatus) {
    const std::string ate0 = "ATE0\r", sw = "at^u2diag=2\r", off = "at+cfun=4\r",
                      on = "at+cfun=6\r", type = "AT+CGMM\r";
    const Reply error = Now("\r\nERROR\r\n");
    const SwitchDirection diag = SwitchDirection::kCdromToDiag;
    const SwitchDirection cdrom = SwitchDirection::kDiagToCdrom;
    const std::string toZero = "at^u2diag=0\r", toOne = "at^u2diag=1\r";
    const std::string lateOk = std::string(64 * 101, '.') + "\r\nOK\r\n";
    // clang-format off
    const struct {
        const char* name; Arrange arrange; int exitStatus; std::vector<std::string> sent;
        bool leftOpen; SwitchDirection byName = SwitchDirection::kNone;
    } cases[] = {
        // name, arrange, exit status, commands sent, port left open, the mode named
        {"all answered OK", [](Rig&) {}, 0, {ate0, sw, off, on}, true},
        {"the restart's answer does not count", Answer(on, error), 0, {ate0, sw, off, on}, true},
        {"ERROR to going offline: no restart", Answer(off, error), 1, {ate0, sw, off}, true},
        {"switch refused: no reset", Answer(sw, error), 1, {ate0, sw}, false},
        {"a late OK to ATE0, behind more than a look reads, does not answer the switch",
         [&](Rig& r) { r.card.replies[ate0] = {{0, "\r\nOK\r\n"}, {kOnNextOpen, lateOk}};
                       r.card.replies[sw] = error; },
         1, {ate0, sw}, false},
        {"switch written short: 5", [&](Rig& r) { r.card.cutShort[sw] = 5; },
         5, {ate0, "at^u2"}, false},
        {"diag: the type's Diag number", [](Rig&) {}, 0, {ate0, type, toZero, off, on}, true, diag},
        {"cdrom: the type's CD-ROM number", [](Rig&) {},
         0, {ate0, type, toOne, off, on}, true, cdrom},
        {"by name, type query refused: 1", Answer(type, error), 1, {ate0, type}, false, diag},
        {"by name, no Quorvel.ini: 8", [](Rig& r) { r.profile.files.clear(); },
         8, {ate0, type}, false, diag},
        {"by name, a type Quorvel.ini lacks: 8", Answer(type, Now("\r\nZ9999\r\nOK\r\n")),
         8, {ate0, type}, false, diag},
        {"by name, switch refused: no reset", Answer(toOne, error),
         1, {ate0, type, toOne}, false, cdrom},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.CardInstalled().state.silentValue = 2;
        c.arrange(rig);

        const bool byName = c.byName != SwitchDirection::kNone;
        EXPECT_EQ(SilentRunExitStatus(byName ? rig.operations.SilentSwitchByName(c.byName)
                                             : rig.operations.SilentSwitch()),
                  c.exitStatus);

        EXPECT_EQ(rig.card.sent, c.sent);
        EXPECT_EQ(rig.card.IsOpen(), c.leftOpen);
    }
}

}  // namespace
}  // namespace quorvel::test
