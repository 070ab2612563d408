#include <gtest/gtest.h>

#include <functional>

#include "CardRig.h"

namespace quorvel::test {
namespace {

struct LocateCase {
    const char* name;
    std::function<void(CardRig&)> arrange;
    int result;
    int portNumber;
    std::vector<std::string> opens;
    std::vector<std::string> sent;
    std::vector<unsigned> sleeps;
};

const std::string kCom7 = CardRig::Device(7);
const std::string kCom8 = CardRig::Device(8);
const std::string kUiPortOn8 = std::string(kUiPortName) + " (COM8)";

const LocateCase kLocateCases[] = {
    {"the modem's port from its driver key",
     [](CardRig& rig) { rig.InstallModem(7); },
     kStatusSuccess,
     7,
     {kCom7},
     {"ATE0\r"},
     {}},
    {"modem port held by another program: the UI port instead",
     [](CardRig& rig) {
         rig.InstallModem(7);
         rig.AddPortsDevice(kUiPortOn8);
         rig.card.RefuseOpen(kCom7);
     },
     kStatusSuccess,
     8,
     {kCom7, kCom8},
     {"ATE0\r"},
     {}},
    {"UI port that will not open is searched again, then 3",
     [](CardRig& rig) {
         rig.AddPortsDevice(kUiPortOn8);
         rig.card.RefuseOpen(kCom8);
     },
     kStatusOpenFailed,
     8,
     {kCom8, kCom8},
     {},
     {}},
    {"modem port busy and no UI port: not found",
     [](CardRig& rig) {
         rig.InstallModem(7);
         rig.card.RefuseOpen(kCom7);
     },
     kStatusCardNotFound,
     7,
     {kCom7},
     {},
     {}},
    {"the configured device name",
     [](CardRig& rig) {
         rig.AddPortsDevice("Generic Serial Port (COM3)");
         rig.AddPortsDevice("Generic USB Modem Port (COM9)");
         rig.WriteConfig("[OTHER]\nFRIENDLY_NAME=USB Modem Port\n");
     },
     kStatusSuccess,
     9,
     {CardRig::Device(9)},
     {"ATE0\r"},
     {500, 500, 500}},
    {"no built-in name and no configuration file",
     [](CardRig& rig) { rig.AddPortsDevice("Generic Serial Port (COM3)"); },
     kStatusCardNotFound,
     0,
     {},
     {},
     {500}},
    {"configured name left at its placeholder",
     [](CardRig& rig) { rig.WriteConfig("[OTHER]\nFRIENDLY_NAME=ERROR\n"); },
     kStatusCardNotFound,
     0,
     {},
     {},
     {}},
    {"configured name that matches no device",
     [](CardRig& rig) {
         rig.AddPortsDevice("Generic Serial Port (COM3)");
         rig.WriteConfig("[OTHER]\nFRIENDLY_NAME=Nothing Like It\n");
     },
     kStatusCardNotFound,
     0,
     {},
     {},
     {500, 500}},
    {"a card that never answers ATE0",
     [](CardRig& rig) {
         rig.InstallModem(7);
         rig.card.OnCommand("ATE0\r", kSilence);
     },
     kStatusNoHandshake,
     7,
     {kCom7},
     {"ATE0\r"},
     std::vector<unsigned>(30, 1000)},
    {"a card that answers ATE0 with ERROR",
     [](CardRig& rig) {
         rig.InstallModem(7);
         rig.card.OnCommand("ATE0\r", kErrorReply);
     },
     kStatusNoHandshake,
     7,
     {kCom7},
     {"ATE0\r"},
     {}},
    {"a name with COM but no digits gives port 0",
     [](CardRig& rig) {
         rig.AddPortsDevice(std::string(kUiPortName) + " (COM)");
         rig.card.RefuseOpen(CardRig::Device(0));
     },
     kStatusOpenFailed,
     0,
     {CardRig::Device(0), CardRig::Device(0)},
     {},
     {}},
};

TEST(LocateAndVerify, FindsOpensAndChecksTheCardsPort) {
    for (const LocateCase& c : kLocateCases) {
        SCOPED_TRACE(c.name);
        CardRig rig;
        rig.AnswerAsCard();
        c.arrange(rig);
        rig.state.portNumber = 99;

        EXPECT_EQ(rig.operations.LocateAndVerify(), c.result);

        EXPECT_EQ(rig.state.portNumber, c.portNumber);
        EXPECT_EQ(rig.card.OpenAttempts(), c.opens);
        EXPECT_EQ(rig.card.Received(), c.sent);
        EXPECT_EQ(rig.clock.Sleeps(), c.sleeps);
        EXPECT_FALSE(rig.card.IsOpen());
        EXPECT_EQ(rig.state.status, kStatusSuccess) << "the result is not stored";
    }
}

TEST(LocateAndVerify, ReadsTheConfigurationOnlyWhenTheBuiltInNamesFail) {
    CardRig rig;
    rig.AnswerAsCard();
    rig.InstallModem(7);
    rig.WriteConfig("[OTHER]\nFRIENDLY_NAME=Generic\n");
    ASSERT_EQ(rig.operations.LocateAndVerify(), kStatusSuccess);
    EXPECT_TRUE(rig.files.Reads().empty());
}

}  // namespace
}  // namespace quorvel::test
