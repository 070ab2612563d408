#include "config/Win32Profile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "card/CardConfig.h"
#include "card/CardState.h"
#include "fakes/RecordingTrace.h"
#include "winedrive/Wine.h"

namespace quorvel {
namespace {

using winedrive::ShellQuote;

// Sections [Fill10000], [Fill10001], ...: ten bytes each in the list of section names.
std::string Fillers(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "[Fill" + std::to_string(10000 + i) + "]\r\n";
    return text;
}

// Quorvel.ini in the current directory as the card operations read it, the platform's own
// profile functions deciding what the file says.
TEST(Win32Profile, ConfigurationAsThePlatformReadsIt) {
    const std::string numbers = "CDROM_COMMAND=3\r\nDIAG_COMMAND=4\r\n";
    const std::string numbered = "[K3000]\r\n" + numbers;
    const std::string second = "DIAG_DISPLAY=To CD\r\n";
    const std::string none = kDefaultFirstChoiceLabel;
    // clang-format off
    const std::string quoted =
        "[K3000]\r\nCDROM_COMMAND=\"3\"\r\nDIAG_COMMAND=4\r\nCDROM_DISPLAY=\"To Diag\"\r\n";
    const std::string blanks =
        "[K3000]\r\nCDROM_COMMAND = 3\r\nDIAG_COMMAND=4\r\nCDROM_DISPLAY =  To Diag  \r\n";
    const std::string longLabel = "CDROM_DISPLAY=" + std::string(1500, 'L') + "\r\n";
    const struct {
        const char* what; std::string ini; const char* cardType;
        int status; int cdrom; int diag; std::string firstLabel; bool atDriveRoot;
    } cases[] = {
        // what, Quorvel.ini, card type,
        //   status, CD-ROM number, Diag number, first label, file at a drive's root
        {"plain", numbered, "K3000",
         1, 3, 4, none, false},
        {"quotes around values", quoted + second, "K3000",
         1, 3, 4, "To Diag", false},
        {"blanks around =", blanks + second, "K3000",
         1, 3, 4, "To Diag", false},
        {"blanks around a number",
         "[K3000]\r\nCDROM_COMMAND= 10 \r\nDIAG_COMMAND=\t4\t\r\n", "K3000",
         1, 10, 4, none, false},
        {"section and key names any case",
         "[k3000]\r\ncdrom_command=3\r\nDiag_Command=4\r\n[XK3000]\r\n", "K3000",
         1, 3, 4, none, false},
        {"card type spanning two names", "[AK3]\r\n[000B]\r\n" + numbers, "K3000",
         9, -1, -1, none, false},
        {"section past the 1023-byte list", Fillers(103) + numbered, "K3000",
         7, -1, -1, none, false},
        {"card type in a name cut at end",
         Fillers(101) + "[K3000ZZZZZZZZZZZZZZZZ]\r\n" + numbered, "K3000",
         1, 3, 4, none, false},
        {"label cut at 1023 characters", numbered + longLabel + second, "K3000",
         1, 3, 4, std::string(1023, 'L'), false},
        {"empty card type", "[]\r\n" + numbers + numbered, "",
         7, -1, -1, none, false},
        {"file at a drive's root", numbered, "K3000",
         1, 3, 4, none, true},
    };
    // clang-format on
    winedrive::TempDirectory directory;
    winedrive::TempDirectory driveRoot;  // the whole of drive Q:, so nothing lands on C:
    const std::string driveLink = winedrive::WinePrefix() + "/dosdevices/q:";
    ASSERT_TRUE(directory.Made() && driveRoot.Made());
    ASSERT_TRUE(winedrive::RunShellScript("ln -sfn " + ShellQuote(driveRoot.UnixPath()) + " " +
                                          ShellQuote(driveLink)));
    char previous[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string current = c.atDriveRoot ? "Q:\\" : directory.WindowsPath();
        ASSERT_TRUE((c.atDriveRoot ? driveRoot : directory).WriteFile("Quorvel.ini", c.ini));
        ASSERT_TRUE(SetCurrentDirectoryA(current.c_str()));
        Win32Profile profile;
        test::RecordingTrace trace;
        std::string path;
        EXPECT_TRUE(FindConfigFile(profile, trace, &path));
        EXPECT_EQ(path, current + "\\Quorvel.ini");
        CardState state;
        state.cardType = c.cardType;
        CardConfig(state, profile, trace).LoadSwitchConfig();
        SetCurrentDirectoryA(previous);
        EXPECT_EQ(StatusCode(state.status), c.status);
        EXPECT_EQ(state.cdromValue, c.cdrom);
        EXPECT_EQ(state.diagValue, c.diag);
        EXPECT_EQ(state.firstChoiceLabel, c.firstLabel);
        EXPECT_EQ(state.customLabels, c.firstLabel != kDefaultFirstChoiceLabel);
    }
    EXPECT_TRUE(winedrive::RunShellScript("rm -f " + ShellQuote(driveLink)));
}

}  // namespace
}  // namespace quorvel
