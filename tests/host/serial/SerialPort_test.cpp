#include "serial/SerialPort.h"

#include <gtest/gtest.h>

#include "FakeCard.h"
#include "VirtualClock.h"

namespace quorvel::test {
namespace {

class SerialPortTest : public testing::Test {
  protected:
    VirtualClock clock;
    FakeCard card{clock};
};

TEST_F(SerialPortTest, OpenNamesTheDeviceBeforeTrying) {
    card.RefuseOpen("\\\\.\\COM12");
    SerialPort port(card, clock);

    EXPECT_FALSE(port.Open(12));
    EXPECT_EQ(port.DevicePath(), "\\\\.\\COM12");
    EXPECT_FALSE(card.IsOpen());

    EXPECT_TRUE(port.Open(0));
    EXPECT_EQ(port.DevicePath(), "\\\\.\\COM0");
}

TEST_F(SerialPortTest, OnePortIsSharedByEveryObject) {
    SerialPort opener(card, clock);
    ASSERT_TRUE(opener.Open(5));
    SerialPort user(card, clock);
    EXPECT_TRUE(user.Write("AT\r", 3));
    EXPECT_TRUE(SerialPort(card, clock).Close());
    EXPECT_FALSE(card.IsOpen());
}

TEST_F(SerialPortTest, DestroyingAnObjectLeavesThePortOpen) {
    { SerialPort(card, clock).Open(5); }
    EXPECT_TRUE(card.IsOpen());
}

TEST_F(SerialPortTest, CloseWithNoPortOpenIsTrue) {
    SerialPort port(card, clock);
    EXPECT_TRUE(port.Close());
    EXPECT_TRUE(card.OpenAttempts().empty());
}

TEST_F(SerialPortTest, WriteAndReadNeedAnOpenPort) {
    SerialPort port(card, clock);
    char buffer[8];
    std::size_t taken = 99;
    EXPECT_FALSE(port.Write("AT\r", 3));
    EXPECT_FALSE(port.Read(buffer, sizeof buffer, &taken));
    EXPECT_TRUE(card.Received().empty());
}

TEST_F(SerialPortTest, ReadTakesOnlyWhatArrivedAndLeavesTheRest) {
    card.OnCommand("AT\r", {{0, "OK"}, {1000, "LATE"}});
    SerialPort port(card, clock);
    ASSERT_TRUE(port.Open(2));
    ASSERT_TRUE(port.Write("AT\r", 3));

    char buffer[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    std::size_t taken = 0;
    ASSERT_TRUE(port.Read(buffer, 4, &taken));
    EXPECT_EQ(taken, 2u);
    EXPECT_EQ(std::string(buffer, 8), "OKcdefgh");

    ASSERT_TRUE(port.Read(buffer, 4, &taken));
    EXPECT_EQ(taken, 0u);
}

}  // namespace
}  // namespace quorvel::test
