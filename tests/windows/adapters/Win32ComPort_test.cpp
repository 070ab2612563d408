#include "serial/Win32ComPort.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "winedrive/CardSimProcess.h"
#include "winedrive/Wine.h"

namespace quorvel {
namespace {

using winedrive::CardSimProcess;
using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;

constexpr int kCardCom = 7;

// A handle of our own beside the adapter's (Wine does not keep a port to one opener), to set
// the line up before the adapter's open and to look at it after.
Handle OpenAgain(const std::string& path) {
    return Handle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr),
                  &CloseHandle);
}

bool ReadLine(const Handle& port, DCB* dcb) {
    *dcb = DCB{};
    dcb->DCBlength = sizeof *dcb;
    return GetCommState(port.get(), dcb) != FALSE;
}

TEST(Win32ComPort, OpenSets115200EightNOneWithoutFlowControlAndKeepsTheRest) {
    CardSimProcess card;
    ASSERT_TRUE(card.Start(kCardCom)) << card.Error();
    // What another program may have left: slow, two stop bits, both kinds of flow control and
    // odd control characters. Wine keeps no more than these on a terminal.
    DCB left;
    const Handle other = OpenAgain(card.DevicePath());
    ASSERT_TRUE(ReadLine(other, &left));
    left.BaudRate = CBR_9600;
    left.StopBits = TWOSTOPBITS;
    left.fOutxCtsFlow = left.fOutX = left.fInX = TRUE;
    left.XonChar = 1;
    left.XoffChar = 2;
    left.EofChar = 3;
    ASSERT_TRUE(SetCommState(other.get(), &left) && ReadLine(other, &left));
    ASSERT_TRUE(left.fOutxCtsFlow && left.fOutX && left.fInX) << "the terminal lost the settings";

    Win32ComPort port;
    ASSERT_TRUE(port.Open(card.DevicePath()));
    DCB opened;
    ASSERT_TRUE(ReadLine(OpenAgain(card.DevicePath()), &opened));
    DCB expected = left;
    expected.BaudRate = CBR_115200;
    expected.ByteSize = 8;
    expected.Parity = NOPARITY;
    expected.StopBits = ONESTOPBIT;
    expected.fOutxCtsFlow = expected.fOutxDsrFlow = expected.fDsrSensitivity = FALSE;
    expected.fOutX = expected.fInX = FALSE;
    // The whole record, so that any other member the open touched shows.
    EXPECT_EQ(std::memcmp(&opened, &expected, sizeof opened), 0);
}

// /dev/null opens like a port but is no terminal, so only setting the line up fails.
TEST(Win32ComPort, FailedOpenLeavesNoHandle) {
    ASSERT_TRUE(winedrive::LinkComPort(4, "/dev/null"));
    Win32ComPort port;
    EXPECT_FALSE(port.Open("\\\\.\\COM4"));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.Write("AT\r", 3));
    EXPECT_TRUE(winedrive::UnlinkComPort(4));
}

// The card sends "\r\nO" and 200 ms later "K\r\n": a read takes what has arrived, never more
// than asked, and does not wait for the rest; what arrives later is gone once cleared.
TEST(Win32ComPort, ReadTakesWhatHasArrivedUpToTheCountAskedAndClearDropsTheRest) {
    CardSimProcess card;
    ASSERT_TRUE(card.Start(kCardCom, {"--echo", "off", "--split", "ATE0=3:200"})) << card.Error();
    Win32ComPort device;
    ASSERT_TRUE(device.Open(card.DevicePath()));
    ASSERT_TRUE(device.Write("ATE0\r", 5));
    char buffer[128] = {'#', '#', '#'};
    std::size_t taken = 0;
    winedrive::WaitFor([&] { return (taken = device.ReadArrived(buffer, 2)) != 0; }, 2000);
    EXPECT_EQ(std::string(buffer, taken + 1), "\r\n#") << "more taken than asked";
    EXPECT_EQ(device.ReadArrived(buffer, sizeof buffer), 1u) << "waited for more than had arrived";
    Sleep(500);
    device.ClearReceived();
    EXPECT_EQ(device.ReadArrived(buffer, sizeof buffer), 0u) << "the driver's queue was kept";
}

}  // namespace
}  // namespace quorvel
