#include "serial/Win32ComPort.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "CardSimProcess.h"
#include "Wine.h"
#include "base/Win32Clock.h"
#include "serial/SerialPort.h"

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

// The whole record, so that a comparison shows any member the open touched.
std::string Bytes(const DCB& dcb) {
    return std::string(reinterpret_cast<const char*>(&dcb), sizeof dcb);
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
    ASSERT_TRUE(left.BaudRate == CBR_9600 && left.fOutxCtsFlow && left.fOutX && left.fInX)
        << "the terminal did not keep the settings";

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
    EXPECT_EQ(Bytes(opened), Bytes(expected));
}

TEST(Win32ComPort, FailedOpenLeavesNoHandle) {
    // clang-format off
    const struct { const char* what; int com; const char* linkTarget; } cases[] = {
        {"no such port",                           3, nullptr},
        {"a link to a device that is no terminal", 4, "/dev/null"},
        {"a link to a directory",                  5, "/tmp"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(!c.linkTarget || winedrive::LinkComPort(c.com, c.linkTarget));
        Win32ComPort port;
        EXPECT_FALSE(port.Open("\\\\.\\COM" + std::to_string(c.com)));
        EXPECT_FALSE(port.IsOpen());
        EXPECT_FALSE(port.Write("AT\r", 3));
        EXPECT_TRUE(!c.linkTarget || winedrive::UnlinkComPort(c.com));
    }
}

// The card answers in two pieces: for the type query 5 bytes and 1500 ms later the rest, so that
// looks at the port a second apart see them apart; for ATE0 "\r\nO" and 200 ms later "K\r\n".
TEST(Win32ComPort, SerialPortJoinsPiecesAndReadsTakeWhatHasArrivedUpToTheCountAsked) {
    CardSimProcess card;
    ASSERT_TRUE(card.Start(kCardCom,
                           {"--echo", "off", "--split", "AT+CGMM=5:1500", "--split", "ATE0=3:200"}))
        << card.Error();
    Win32ComPort device;
    ASSERT_TRUE(device.Open(card.DevicePath()));
    Win32Clock clock;
    char reply[kReplyBufferSize] = {};
    EXPECT_EQ(SerialPort(device, clock).SendAtCommand("AT+CGMM\r", reply), 1);
    EXPECT_STREQ(reply, "\r\nK3000\r\n\r\nOK\r\n");

    ASSERT_TRUE(device.Write("ATE0\r", 5));
    char buffer[128] = {'#', '#', '#'};
    std::size_t taken = 0;
    winedrive::WaitFor([&] { return (taken = device.ReadArrived(buffer, 2)) != 0; }, 2000);
    EXPECT_EQ(std::string(buffer, taken + 1), "\r\n#") << "more taken than asked";
    EXPECT_EQ(device.ReadArrived(buffer, sizeof buffer), 1u) << "waited for more than had arrived";
}

}  // namespace
}  // namespace quorvel
