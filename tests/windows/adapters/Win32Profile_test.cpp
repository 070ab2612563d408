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

// Past MAX_PATH, what the profile functions read is the platform's: Windows reads the file,
// Wine 8 no section of it, Wine 10's 32-bit build the section names only. The row's numbers
// are Windows'; elsewhere the path must still be taken whole, and no number made up.
constexpr int kAsThePlatformReads = -2;

// Quorvel.ini in the current directory as the card operations read it, the platform's own
// profile functions deciding what the file says. The directory is taken whole, whatever its
// length and script.
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
    std::string deep;
    for (char c = 'a'; c < 'g'; ++c)
        deep += (deep.empty() ? "" : "/") + std::string(60, c);
    const struct {
        const char* what; std::string ini; const char* cardType;
        int status; int cdrom; int diag; std::string firstLabel; std::string folder;
    } cases[] = {
        // what, Quorvel.ini, card type,
        //   status, CD-ROM number, Diag number, first label, folder ("Q:": a drive's root)
        {"plain", numbered, "K3000",
         1, 3, 4, none, ""},
        {"quotes around values", quoted + second, "K3000",
         1, 3, 4, "To Diag", ""},
        {"blanks around =", blanks + second, "K3000",
         1, 3, 4, "To Diag", ""},
        {"blanks around a number",
         "[K3000]\r\nCDROM_COMMAND= 10 \r\nDIAG_COMMAND=\t4\t\r\n", "K3000",
         1, 10, 4, none, ""},
        {"section and key names any case",
         "[k3000]\r\ncdrom_command=3\r\nDiag_Command=4\r\n[XK3000]\r\n", "K3000",
         1, 3, 4, none, ""},
        {"card type spanning two names", "[AK3]\r\n[000B]\r\n" + numbers, "K3000",
         9, -1, -1, none, ""},
        {"section past the 1023-byte list", Fillers(103) + numbered, "K3000",
         7, -1, -1, none, ""},
        {"card type in a name cut at end",
         Fillers(101) + "[K3000ZZZZZZZZZZZZZZZZ]\r\n" + numbered, "K3000",
         1, 3, 4, none, ""},
        {"label cut at 1023 characters", numbered + longLabel + second, "K3000",
         1, 3, 4, std::string(1023, 'L'), ""},
        {"empty card type", "[]\r\n" + numbers + numbered, "",
         7, -1, -1, none, ""},
        {"file at a drive's root", numbered, "K3000",
         1, 3, 4, none, "Q:"},
        {"folder in Cyrillic", numbered, "K3000",
         1, 3, 4, none, "\xD0\x9A\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0"},  // Карта
        {"folder in CJK", numbered, "K3000",
         1, 3, 4, none, "\xE6\x95\xB0\xE6\x8D\xAE\xE5\x8D\xA1"},  // 数据卡
        {"folder past MAX_PATH", numbered, "K3000",
         kAsThePlatformReads, 3, 4, none, deep},
    };
    // clang-format on
    winedrive::TempDirectory directory;
    winedrive::TempDirectory driveRoot;  // the whole of drive Q:, so nothing lands on C:
    const std::string driveLink = winedrive::WinePrefix() + "/dosdevices/q:";
    ASSERT_TRUE(directory.Made() && driveRoot.Made());
    ASSERT_TRUE(winedrive::RunShellScript("ln -sfn " + ShellQuote(driveRoot.UnixPath()) + " " +
                                          ShellQuote(driveLink)));
    wchar_t previous[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool atRoot = c.folder == "Q:", inFolder = !atRoot && !c.folder.empty();
        for (std::size_t slash = c.folder.find('/'); slash != std::string::npos;
             slash = c.folder.find('/', slash + 1))
            directory.MakeFolder(c.folder.substr(0, slash));
        ASSERT_TRUE(!inFolder || !directory.MakeFolder(c.folder).empty());
        ASSERT_TRUE((atRoot ? driveRoot : directory)
                        .WriteFile(inFolder ? c.folder + "/Quorvel.ini" : "Quorvel.ini", c.ini));
        const std::string unixPath = directory.UnixPath() + (inFolder ? "/" + c.folder : "");
        const std::wstring current =
            atRoot ? L"Q:\\" : winedrive::Wide(winedrive::UnixToWindowsPath(unixPath));
        ASSERT_TRUE(SetCurrentDirectoryW(current.c_str()));
        Win32Profile profile;
        test::RecordingTrace trace;
        std::wstring path;
        EXPECT_TRUE(FindConfigFile(profile, trace, &path));
        CardState state;
        state.cardType = c.cardType;
        CardConfig(state, profile, trace).LoadSwitchConfig();
        SetCurrentDirectoryW(previous);
        EXPECT_EQ(path, current + L"\\Quorvel.ini");
        // Read whole as on Windows, or found without a section or a number, and none made up.
        const bool unread = c.status == kAsThePlatformReads && state.status != Status::kSuccess;
        const int read = c.status == kAsThePlatformReads ? StatusCode(Status::kSuccess) : c.status;
        EXPECT_EQ(StatusCode(state.status), unread ? StatusCode(state.status) : read);
        EXPECT_TRUE(!unread || state.status == Status::kConfigWithoutSections ||
                    state.status == Status::kSwitchNumberMissing);
        EXPECT_EQ(state.cdromValue, unread ? -1 : c.cdrom);
        EXPECT_EQ(state.diagValue, unread ? -1 : c.diag);
        EXPECT_EQ(state.firstChoiceLabel, c.firstLabel);
        EXPECT_EQ(state.customLabels, c.firstLabel != kDefaultFirstChoiceLabel);
    }
    EXPECT_TRUE(winedrive::RunShellScript("rm -f " + ShellQuote(driveLink)));
}

}  // namespace
}  // namespace quorvel
