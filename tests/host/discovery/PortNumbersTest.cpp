#include <gtest/gtest.h>

#include <climits>

#include "discovery/ClassGuid.h"
#include "discovery/DeviceInventory.h"
#include "discovery/PortNumbers.h"

namespace quorvel::test {
namespace {

struct NumberCase {
    const char* text;
    int expected;
};

TEST(PortNumberFromFriendlyName, ReadsTheNumberAfterTheFirstUpperCaseCom) {
    const NumberCase cases[] = {
        {"KELTRO Datalink - PC UI Interface (COM12)", 12},
        {"Port (COM)", 0},
        {"Port without a marker", 0},
        {"(com5) then (COM7) then (COM9)", 7},
        {"COM 8", 8},
        {"COM-3", -3},
        // Held at the ends of int whatever the width of long, as a 32-bit long gives them.
        {"COM2147483648", INT_MAX},
        {"COM4294967299", INT_MAX},
        {"COM-99999999999999999999", INT_MIN},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PortNumberFromFriendlyName(c.text), c.expected);
    }
}

TEST(PortNumberFromAttachedTo, SkipsThreeCharactersUnread) {
    const NumberCase cases[] = {
        {"COM3", 3}, {"COM10", 10}, {"COM", 0}, {"CO", 0}, {"XYZ5", 5}, {"COM4294967299", INT_MAX},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PortNumberFromAttachedTo(c.text), c.expected);
    }
}

TEST(ParseClassGuid, GivesThePlatformFieldsOfBothClasses) {
    ClassGuid ports;
    ClassGuid modem;
    ASSERT_TRUE(ParseClassGuid(kPortsClassGuid, &ports));
    ASSERT_TRUE(ParseClassGuid(kModemClassGuid, &modem));

    EXPECT_EQ(ports.data1, 0x4D36E978u);
    EXPECT_EQ(modem.data1, 0x4D36E96Du);
    for (const ClassGuid& guid : {ports, modem}) {
        EXPECT_EQ(guid.data2, 0xE325u);
        EXPECT_EQ(guid.data3, 0x11CEu);
        const std::uint8_t tail[8] = {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18};
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(guid.data4[i], tail[i]) << "byte " << i;
    }
}

TEST(ParseClassGuid, RejectsOtherShapesAndLeavesTheGuidAlone) {
    const char* malformed[] = {
        "",
        "4D36E96D-E325-11CE-BFC1-08002BE10318",
        "{4D36E96D-E325-11CE-BFC1-08002BE1031}",
        "{4D36E96D-E325-11CE-BFC1-08002BE1031G}",
        "{4D36E96D-E325-11CE-BFC108002BE10318-}",
    };
    for (const char* text : malformed) {
        SCOPED_TRACE(text);
        ClassGuid guid;
        guid.data1 = 0x12345678;
        EXPECT_FALSE(ParseClassGuid(text, &guid));
        EXPECT_EQ(guid.data1, 0x12345678u);
    }
}

}  // namespace
}  // namespace quorvel::test
