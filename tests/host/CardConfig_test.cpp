#include "card/CardConfig.h"

#include <gtest/gtest.h>

#include "Rig.h"

namespace quorvel::test {
namespace {

TEST(LoadSwitchConfig, ReadsNumbersAndLabelsOrSetsTheFirstFailingStatus) {
    const std::string padding = std::string(1023, 'P') + "|";
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd'), here = L"C:\\Cards\\Quorvel.ini";
    const std::wstring beside = L"C:\\Program Files\\Quorvel\\Quorvel.ini";
    const std::string cd = "CDROM_COMMAND=1", diag = "DIAG_COMMAND=0";
    // The section list has '|' for each zero byte; keys are of [K3000]. The current `directory`
    // is C:\Cards, the `program`'s folder C:\Program Files\Quorvel; `file` exists, and `second`
    // too. Values are read from `file` unless the status is 6.
    // clang-format off
    const struct { const char* name; std::string sections; std::string type; std::vector<std::string> keys; int status; int cdrom; int diag; bool custom = false; std::optional<std::wstring> directory = L"C:\\Cards"; std::wstring file = L"C:\\Cards\\Quorvel.ini"; std::wstring second = L""; std::optional<std::wstring> program = L"C:\\Program Files\\Quorvel"; } cases[] = {
        {"numbers, no labels", "K3000|OTHER|", "K3000", {cd, diag}, 1, 1, 0},
        {"no file", "K3000|", "K3000", {cd, diag}, 6, -1, -1, false, L"C:\\Cards", L""},
        {"a drive's root doubles the backslash", "K3000|", "K3000", {cd, diag}, 1, 1, 0, false, L"C:\\", L"C:\\\\Quorvel.ini"},
        {"a folder past 260 characters", "K3000|", "K3000", {cd, diag}, 1, 1, 0, false, deep, deep + L"\\Quorvel.ini"},
        {"an empty directory: no file", "K3000|", "K3000", {cd, diag}, 6, -1, -1, false, L""},
        {"no directory: no file", "K3000|", "K3000", {cd, diag}, 6, -1, -1, false, std::nullopt},
        {"only beside the program", "K3000|", "K3000", {cd, diag}, 1, 1, 0, false, L"C:\\Cards", beside},
        {"in both folders: the current one's", "K3000|", "K3000", {cd, diag}, 1, 1, 0, false, L"C:\\Cards", here, beside},
        {"no current directory: beside the program", "K3000|", "K3000", {cd, diag}, 1, 1, 0, false, std::nullopt, beside},
        {"an empty program folder: no file", "K3000|", "K3000", {cd, diag}, 6, -1, -1, false, std::nullopt, L"", L"", L""},
        {"no program folder: no file", "K3000|", "K3000", {cd, diag}, 6, -1, -1, false, L"C:\\Cards", beside, L"", std::nullopt},
        {"no sections", "", "K3000", {cd, diag}, 8, -1, -1},
        {"type not among them, numbers missing too", "OTHER|", "K3000", {}, 7, -1, -1},
        {"the type test counts letter case", "K3000|", "k3000", {cd, diag}, 7, -1, -1},
        {"the names are joined", "XK3|000Y|", "K3000", {cd, diag}, 1, 1, 0},
        {"a name past the 1023-byte list is not seen", padding + "K3000|", "K3000", {cd, diag}, 7, -1, -1},
        {"an empty type is never among them", "K3000|", "", {cd, diag}, 7, -1, -1},
        {"CD-ROM number missing, Diag stored all the same", "K3000|", "K3000", {diag}, 9, -1, 0},
        {"Diag number -1", "K3000|", "K3000", {cd, "DIAG_COMMAND=-1"}, 9, 1, -1},
        // Only plain digits within int are numbers: a typo must not send another mode's number.
        {"Diag number 1O", "K3000|", "K3000", {cd, "DIAG_COMMAND=1O"}, 9, 1, -1},
        {"Diag number two", "K3000|", "K3000", {cd, "DIAG_COMMAND=two"}, 9, 1, -1},
        {"CD-ROM number -2", "K3000|", "K3000", {"CDROM_COMMAND=-2", diag}, 9, -1, 0},
        {"CD-ROM number empty", "K3000|", "K3000", {"CDROM_COMMAND=", diag}, 9, -1, 0},
        {"CD-ROM number beyond int", "K3000|", "K3000", {"CDROM_COMMAND=99999999999", diag}, 9, -1, 0},
        {"numbers with leading zeros", "K3000|", "K3000", {"CDROM_COMMAND=007", "DIAG_COMMAND=2147483647"}, 1, 7, 2147483647},
        {"first label missing", "K3000|", "K3000", {cd, diag, "DIAG_DISPLAY=To CD-ROM"}, 1, 1, 0},
        {"second label missing", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=To Diag"}, 1, 1, 0},
        {"first label empty", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=", "DIAG_DISPLAY=To CD-ROM"}, 1, 1, 0},
        {"second label as the dialog spells it", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=To Diag", "DIAG_DISPLAY=Diag To CD-ROM"}, 1, 1, 0, true},
        {"second label equal to its default", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=To Diag", "DIAG_DISPLAY=Diag to CD-ROM"}, 1, 1, 0},
        {"first label equal to its default", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=CD-ROM To Diag", "DIAG_DISPLAY=Back"}, 1, 1, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.profile.directory = c.directory;
        rig.profile.programDirectory = c.program;
        // The root of the current drive holds a file that must never be taken for Quorvel.ini.
        rig.profile.files = {c.file, c.second, L"\\Quorvel.ini"};
        for (char ch : c.sections)
            rig.profile.sectionList += ch == '|' ? '\0' : ch;
        auto& section = rig.profile.values["K3000"];
        for (const std::string& key : c.keys)
            section[key.substr(0, key.find('='))] = key.substr(key.find('=') + 1);
        rig.state.cardType = c.type;

        EXPECT_EQ(rig.operations.LoadSwitchConfig(), c.status == StatusCode(Status::kSuccess));

        EXPECT_EQ(StatusCode(rig.state.status), c.status);
        EXPECT_EQ(rig.profile.lastFile,
                  c.status == StatusCode(Status::kConfigMissing) ? L"" : c.file);
        EXPECT_EQ(rig.state.cdromValue, c.cdrom);
        EXPECT_EQ(rig.state.diagValue, c.diag);
        EXPECT_EQ(rig.state.customLabels, c.custom);
        EXPECT_EQ(rig.state.firstChoiceLabel + "|" + rig.state.secondChoiceLabel,
                  c.custom ? "To Diag|Diag To CD-ROM" : "CD-ROM To Diag|Diag to CD-ROM");
    }
}

}  // namespace
}  // namespace quorvel::test
