#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CardSimProcess.h"
#include "ComPortLink.h"
#include "WinePaths.h"
#include "serial/SerialPort.h"
#include "serial/Win32Clock.h"
#include "serial/Win32ComPort.h"

namespace quorvel::test {
namespace {

constexpr int kCardCom = 7;

// Every member of the record, so a comparison shows any field the open touched.
std::string Describe(const DCB& dcb) {
    std::ostringstream text;
    text << "BaudRate=" << dcb.BaudRate << " fBinary=" << dcb.fBinary << " fParity=" << dcb.fParity
         << " fOutxCtsFlow=" << dcb.fOutxCtsFlow << " fOutxDsrFlow=" << dcb.fOutxDsrFlow
         << " fDtrControl=" << dcb.fDtrControl << " fDsrSensitivity=" << dcb.fDsrSensitivity
         << " fTXContinueOnXoff=" << dcb.fTXContinueOnXoff << " fOutX=" << dcb.fOutX
         << " fInX=" << dcb.fInX << " fErrorChar=" << dcb.fErrorChar << " fNull=" << dcb.fNull
         << " fRtsControl=" << dcb.fRtsControl << " fAbortOnError=" << dcb.fAbortOnError
         << " XonLim=" << dcb.XonLim << " XoffLim=" << dcb.XoffLim
         << " ByteSize=" << int{dcb.ByteSize} << " Parity=" << int{dcb.Parity}
         << " StopBits=" << int{dcb.StopBits} << " XonChar=" << int{dcb.XonChar}
         << " XoffChar=" << int{dcb.XoffChar} << " ErrorChar=" << int{dcb.ErrorChar}
         << " EofChar=" << int{dcb.EofChar} << " EvtChar=" << int{dcb.EvtChar};
    return text.str();
}

bool ReadLine(HANDLE handle, DCB* dcb) {
    *dcb = DCB{};
    dcb->DCBlength = sizeof *dcb;
    return GetCommState(handle, dcb) != FALSE;
}

// Leaves the terminal as another program might have: slow, two stop bits, both kinds of flow
// control on and unusual control characters. Wine keeps only these members on a terminal; it
// refuses 7 data bits there and keeps no parity, DSR or DTR/RTS settings.
bool LeaveLineAsAnotherProgramWould(const std::string& devicePath, DCB* left) {
    HANDLE handle = CreateFileA(devicePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DCB dcb;
    bool done = ReadLine(handle, &dcb);
    dcb.BaudRate = CBR_9600;
    dcb.StopBits = TWOSTOPBITS;
    dcb.fOutxCtsFlow = TRUE;
    dcb.fOutX = TRUE;
    dcb.fInX = TRUE;
    dcb.XonChar = 0x01;
    dcb.XoffChar = 0x02;
    dcb.EofChar = 0x03;
    done = done && SetCommState(handle, &dcb) && ReadLine(handle, left);
    CloseHandle(handle);
    return done;
}

class Win32ComPortUnderWine : public ::testing::Test {
  protected:
    void TearDown() override { device.Close(); }

    Win32ComPort device;
    Win32Clock clock;
    SerialPort port{device, clock};
};

TEST_F(Win32ComPortUnderWine, OpenSetsTheLineAndKeepsTheDriversOtherSettings) {
    CardSimProcess card;
    ASSERT_TRUE(card.Start(kCardCom));
    DCB driver;
    ASSERT_TRUE(LeaveLineAsAnotherProgramWould(card.DevicePath(), &driver));
    ASSERT_EQ(driver.BaudRate, DWORD{CBR_9600}) << "the terminal did not keep the settings";
    ASSERT_TRUE(driver.fOutX && driver.fInX && driver.fOutxCtsFlow);

    ASSERT_TRUE(port.Open(kCardCom));
    DCB opened;
    ASSERT_TRUE(ReadLine(device.NativeHandle(), &opened));

    DCB expected = driver;
    expected.BaudRate = CBR_115200;
    expected.ByteSize = 8;
    expected.Parity = NOPARITY;
    expected.StopBits = ONESTOPBIT;
    expected.fOutxCtsFlow = FALSE;
    expected.fOutxDsrFlow = FALSE;
    expected.fDsrSensitivity = FALSE;
    expected.fOutX = FALSE;
    expected.fInX = FALSE;
    EXPECT_EQ(Describe(opened), Describe(expected));
}

struct FailedOpenCase {
    const char* behaviour;
    int com;
    std::string linkTarget;  // empty: no link at all
};

TEST_F(Win32ComPortUnderWine, FailedOpenLeavesNoPortAndTheDevicePathSet) {
    const std::string plainFile = WinePrefix() + "/not-a-port.txt";
    std::ofstream(UnixToWindowsPath(plainFile)) << "AT\r\n";
    const FailedOpenCase cases[] = {
        {"no such port", 3, ""},
        {"a link to a device that is no terminal", 4, "/dev/null"},
        {"a link to a regular file", 5, plainFile},
        {"a link to nothing", 6, WinePrefix() + "/unplugged"},
    };
    for (const FailedOpenCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        std::optional<ComPortLink> link;
        if (!c.linkTarget.empty()) {
            ASSERT_TRUE(link.emplace(c.com, c.linkTarget).Made());
        }
        EXPECT_FALSE(port.Open(c.com));
        EXPECT_EQ(port.DevicePath(), "\\\\.\\COM" + std::to_string(c.com));
        EXPECT_FALSE(device.IsOpen());
        EXPECT_EQ(device.NativeHandle(), INVALID_HANDLE_VALUE);
        char reply[kReplyBufferSize] = {};
        EXPECT_EQ(port.SendAtCommand("AT+CGMM\r", reply), 5) << "nothing to write to";
    }
    DeleteFileA(UnixToWindowsPath(plainFile).c_str());
}

TEST_F(Win32ComPortUnderWine, PortOpensAndClosesAgainAndAgain) {
    CardSimProcess card;
    ASSERT_TRUE(card.Start(kCardCom, {"--echo", "off"}));
    constexpr int kRounds = 3;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(port.Open(kCardCom));
        char reply[kReplyBufferSize] = {};
        EXPECT_EQ(port.SendAtCommand("AT+CGMM\r", reply), 1);
        EXPECT_STREQ(reply, "\r\nK3000\r\n\r\nOK\r\n") << "left over from an earlier round";
        EXPECT_TRUE(port.Close());
        EXPECT_FALSE(device.IsOpen());
    }
    ASSERT_TRUE(card.Stop());
    EXPECT_EQ(card.Transcript(), std::vector<std::string>(kRounds, "AT+CGMM\\r"));
}

}  // namespace
}  // namespace quorvel::test
