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
        std::wstring path;
        EXPECT_TRUE(FindConfigFile(profile, trace, &path));
        EXPECT_EQ(path, std::wstring(current.begin(), current.end()) + L"\\Quorvel.ini");
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

// The current directory is taken whole, whatever its length and script. Wine's profile
// functions read no file whose path is longer than MAX_PATH, so there only the search counts.
TEST(Win32Profile, FindsTheFileInAFolderOfAnyNameAndLength) {
    const std::string kNumbered = "[K3000]\r\nCDROM_COMMAND=1\r\nDIAG_COMMAND=0\r\n";
    std::string deep;
    for (char c = 'a'; c < 'g'; ++c)
        deep += (deep.empty() ? "" : "/") + std::string(60, c);
    const struct {
        std::string folder;
        bool readable;
    } cases[] = {
        {"\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0", true},  // Карта
        {"\xE6\x95\xB0\xE6\x8D\xAE\xE5\x8D\xA1", true},      // 数据卡
        {deep, false},
    };
    winedrive::TempDirectory directory;
    ASSERT_TRUE(directory.Made());
    wchar_t previous[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        for (std::size_t slash = c.folder.find('/'); slash != std::string::npos;
             slash = c.folder.find('/', slash + 1))
            directory.MakeFolder(c.folder.substr(0, slash));
        const std::string unixPath = directory.MakeFolder(c.folder);
        ASSERT_FALSE(unixPath.empty());
        ASSERT_TRUE(directory.WriteFile(c.folder + "/Quorvel.ini", kNumbered));
        const std::wstring current = winedrive::Wide(winedrive::UnixToWindowsPath(unixPath));
        ASSERT_TRUE(SetCurrentDirectoryW(current.c_str()));
        Win32Profile profile;
        test::RecordingTrace trace;
        std::wstring path;
        EXPECT_TRUE(FindConfigFile(profile, trace, &path));
        CardState state;
        state.cardType = "K3000";
        EXPECT_EQ(CardConfig(state, profile, trace).LoadSwitchConfig(), c.readable);
        SetCurrentDirectoryW(previous);
        EXPECT_EQ(path, current + L"\\Quorvel.ini");
        EXPECT_GT(current.size(), c.readable ? 0u : MAX_PATH);
    }
}

}  // namespace
}  // namespace quorvel
