#include <gtest/gtest.h>

#include <functional>

#include "CardRig.h"

namespace quorvel::test {
namespace {

struct QueryCase {
    const char* name;
    std::function<void(CardRig&)> arrange;
    bool result;
    int status;
    std::string cardType;
    std::vector<std::string> sent;
};

const std::vector<std::string> kBothCommands = {"ATE0\r", "AT+CGMM\r"};

void Model(CardRig& rig, Reply reply) {
    rig.card.OnCommand("AT+CGMM\r", std::move(reply));
}

const QueryCase kQueryCases[] = {
    {"the model without line ends and OK",
     [](CardRig& rig) { Model(rig, Immediately("\r\nK3000\r\n\r\nOK\r\n")); }, true, kStatusSuccess,
     "K3000", kBothCommands},
    {"a reply that comes in two pieces",
     [](CardRig& rig) {
         Model(rig, {{0, "\r\nK3000\r\n"}, {1000, "\r\nOK\r\n"}});
     },
     true, kStatusSuccess, "K3000", kBothCommands},
    {"a model holding the letters OK loses them",
     [](CardRig& rig) { Model(rig, Immediately("\r\nK3OK5\r\n\r\nOK\r\n")); }, true, kStatusSuccess,
     "K35", kBothCommands},
    {"a reply of nothing but line ends and OK",
     [](CardRig& rig) { Model(rig, Immediately("\r\n\r\nOK\r\n")); }, true, kStatusSuccess, "",
     kBothCommands},
    {"no answer to the type query", [](CardRig& rig) { Model(rig, kSilence); }, false,
     kStatusNoAnswer, "before", kBothCommands},
    {"the type query refused", [](CardRig& rig) { Model(rig, kErrorReply); }, false,
     kStatusNoAnswer, "before", kBothCommands},
    {"the type query cannot be written",
     [](CardRig& rig) { rig.card.FailWriteOf("AT+CGMM\r"); },
     false,
     kStatusWriteFailed,
     "before",
     {"ATE0\r"}},
    {"the card gone after the handshake",
     [](CardRig& rig) { rig.card.UnplugAfter("ATE0\r"); },
     false,
     kStatusOpenFailed,
     "before",
     {"ATE0\r"}},
    {"no card",
     [](CardRig& rig) { rig.devices = FakeDeviceInventory(); },
     false,
     kStatusCardNotFound,
     "before",
     {}},
    {"a card that does not answer ATE0",
     [](CardRig& rig) { rig.card.OnCommand("ATE0\r", kSilence); },
     false,
     kStatusNoHandshake,
     "before",
     {"ATE0\r"}},
};

TEST(QueryCardType, StoresTheCleanedTypeAndTheStatus) {
    for (const QueryCase& c : kQueryCases) {
        SCOPED_TRACE(c.name);
        CardRig rig;
        rig.AnswerAsCard();
        rig.InstallModem(7);
        rig.state.cardType = "before";
        c.arrange(rig);

        EXPECT_EQ(rig.operations.QueryCardType(), c.result);

        EXPECT_EQ(rig.state.status, c.status);
        EXPECT_EQ(rig.state.cardType, c.cardType);
        EXPECT_EQ(rig.card.Received(), c.sent);
        EXPECT_FALSE(rig.card.IsOpen());
    }
}

}  // namespace
}  // namespace quorvel::test
