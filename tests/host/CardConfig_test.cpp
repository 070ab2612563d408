#include "card/CardConfig.h"

#include <gtest/gtest.h>

#include "fakes/Rig.h"

namespace quorvel::test {
namespace {

TEST(LoadSwitchConfig, ReadsNumbersAndLabelsOrSetsTheFirstFailingStatus) {
    const std::string padding = std::string(1023, 'P') + "|";
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd'), cards = L"C:\\Cards";
    const std::wstring here = cards + L"\\Quorvel.ini";
    const std::wstring beside = L"C:\\Program Files\\Quorvel\\Quorvel.ini";
    const std::string cd = "CDROM_COMMAND=1", diag = "DIAG_COMMAND=0";
    const std::string k = "K3000", k3 = "K3000|", toDiag = "CDROM_DISPLAY=To Diag";
    // clang-format off
    const struct {
        const char* name;
        std::string sections; std::string type; std::vector<std::string> keys;
        int status; int cdrom; int diag; bool custom = false;
        std::optional<std::wstring> directory = L"C:\\Cards";
        std::wstring file = L"C:\\Cards\\Quorvel.ini"; std::wstring second = L"";
        std::optional<std::wstring> program = L"C:\\Program Files\\Quorvel";
    } cases[] = {
        // name, section list ('|' for each zero byte), card type, keys of [K3000],
        //   status, CD-ROM number, Diag number, custom labels, current directory, Quorvel.ini
        //   (exists; read unless the status is 6), a second Quorvel.ini, the program's folder
        {"numbers, no labels", "K3000|OTHER|", "K3000", {cd, diag}, 1, 1, 0},
        {"no file", k3, k, {cd, diag}, 6, -1, -1, false, cards, L""},
        {"a drive's root doubles the backslash", k3, k, {cd, diag},
         1, 1, 0, false, L"C:\\", L"C:\\\\Quorvel.ini"},
        {"a folder past 260 characters", k3, k, {cd, diag},
         1, 1, 0, false, deep, deep + L"\\Quorvel.ini"},
        {"an empty directory: no file", k3, k, {cd, diag}, 6, -1, -1, false, L""},
        {"no directory: no file", k3, k, {cd, diag}, 6, -1, -1, false, std::nullopt},
        {"only beside the program", k3, k, {cd, diag}, 1, 1, 0, false, cards, beside},
        {"in both folders: the current one's", k3, k, {cd, diag},
         1, 1, 0, false, cards, here, beside},
        {"no current directory: beside the program", k3, k, {cd, diag},
         1, 1, 0, false, std::nullopt, beside},
        {"an empty program folder: no file", k3, k, {cd, diag},
         6, -1, -1, false, std::nullopt, L"", L"", L""},
        {"no program folder: no file", k3, k, {cd, diag},
         6, -1, -1, false, cards, beside, L"", std::nullopt},
        {"no sections", "", "K3000", {cd, diag}, 8, -1, -1},
        {"type not among them, numbers missing too", "OTHER|", "K3000", {}, 7, -1, -1},
        {"the type test counts letter case", "K3000|", "k3000", {cd, diag}, 7, -1, -1},
        {"the names are joined", "XK3|000Y|", "K3000", {cd, diag}, 1, 1, 0},
        {"a name past the 1023-byte list is not seen", padding + k3, k, {cd, diag}, 7, -1, -1},
        {"an empty type is never among them", "K3000|", "", {cd, diag}, 7, -1, -1},
        {"CD-ROM number missing, Diag stored all the same", k3, k, {diag}, 9, -1, 0},
        {"Diag number -1", k3, k, {cd, "DIAG_COMMAND=-1"}, 9, 1, -1},
        // Only plain digits within int are numbers: a typo must not send another mode's number.
        {"Diag number 1O", k3, k, {cd, "DIAG_COMMAND=1O"}, 9, 1, -1},
        {"CD-ROM number -2", k3, k, {"CDROM_COMMAND=-2", diag}, 9, -1, 0},
        {"CD-ROM number beyond int", k3, k, {"CDROM_COMMAND=99999999999", diag}, 9, -1, 0},
        {"numbers with leading zeros", k3, k, {"CDROM_COMMAND=007", "DIAG_COMMAND=2147483647"},
         1, 7, 2147483647},
        {"first label missing", k3, k, {cd, diag, "DIAG_DISPLAY=To CD-ROM"}, 1, 1, 0},
        {"second label missing", k3, k, {cd, diag, toDiag}, 1, 1, 0},
        {"first label empty", k3, k, {cd, diag, "CDROM_DISPLAY=", "DIAG_DISPLAY=To CD-ROM"},
         1, 1, 0},
        {"second label as the dialog spells it",
         k3, k, {cd, diag, toDiag, "DIAG_DISPLAY=Diag To CD-ROM"},
         1, 1, 0, true},
        {"second label equal to its default",
         k3, k, {cd, diag, toDiag, "DIAG_DISPLAY=Diag to CD-ROM"},
         1, 1, 0},
        {"first label equal to its default",
         k3, k, {cd, diag, "CDROM_DISPLAY=CD-ROM To Diag", "DIAG_DISPLAY=Back"},
         1, 1, 0},
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
