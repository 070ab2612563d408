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
    const std::string k3 = "K3000|", toDiag = "CDROM_DISPLAY=To Diag";
    const std::string toCdrom = "DIAG_DISPLAY=To CD-ROM";
    // clang-format off
    const struct {
        const char* name; int status; int cdrom; int diag;
        std::vector<std::string> keys = {"CDROM_COMMAND=1", "DIAG_COMMAND=0"}; bool custom = false;
        std::string sections = "K3000|"; std::string type = "K3000";
        std::optional<std::wstring> directory = L"C:\\Cards";
        std::wstring file = L"C:\\Cards\\Quorvel.ini"; std::wstring second = L"";
        std::optional<std::wstring> program = L"C:\\Program Files\\Quorvel";
    } cases[] = {
        // name, status, CD-ROM number, Diag number, keys of [K3000], custom labels,
        //   section list ('|' for each zero byte), card type, current directory, Quorvel.ini
        //   (exists; read unless the status is 6), a second Quorvel.ini, the program's folder
        {"numbers, no labels", 1, 1, 0, {cd, diag}, false, "K3000|OTHER|"},
        {"no file", 6, -1, -1, {cd, diag}, false, k3, "K3000", cards, L""},
        {"a drive's root doubles the backslash",
         1, 1, 0, {cd, diag}, false, k3, "K3000", L"C:\\", L"C:\\\\Quorvel.ini"},
        {"a folder past 260 characters",
         1, 1, 0, {cd, diag}, false, k3, "K3000", deep, deep + L"\\Quorvel.ini"},
        {"an empty directory: no file", 6, -1, -1, {cd, diag}, false, k3, "K3000", L""},
        {"no directory: no file", 6, -1, -1, {cd, diag}, false, k3, "K3000", std::nullopt},
        {"only beside the program", 1, 1, 0, {cd, diag}, false, k3, "K3000", cards, beside},
        {"in both folders: the current one's",
         1, 1, 0, {cd, diag}, false, k3, "K3000", cards, here, beside},
        {"no current directory: beside the program",
         1, 1, 0, {cd, diag}, false, k3, "K3000", std::nullopt, beside},
        {"an empty program folder: no file",
         6, -1, -1, {cd, diag}, false, k3, "K3000", std::nullopt, L"", L"", L""},
        {"no program folder: no file",
         6, -1, -1, {cd, diag}, false, k3, "K3000", cards, beside, L"", std::nullopt},
        {"no sections", 8, -1, -1, {cd, diag}, false, ""},
        {"type not among them, numbers missing too", 7, -1, -1, {}, false, "OTHER|"},
        {"the type test counts letter case", 7, -1, -1, {cd, diag}, false, k3, "k3000"},
        {"the names are joined", 1, 1, 0, {cd, diag}, false, "XK3|000Y|"},
        {"a name past the 1023-byte list is not seen", 7, -1, -1, {cd, diag}, false, padding + k3},
        {"an empty type is never among them", 7, -1, -1, {cd, diag}, false, k3, ""},
        {"CD-ROM number missing, Diag stored all the same", 9, -1, 0, {diag}},
        {"Diag number -1", 9, 1, -1, {cd, "DIAG_COMMAND=-1"}},
        // Only plain digits within int are numbers: a typo must not send another mode's number.
        {"Diag number 1O", 9, 1, -1, {cd, "DIAG_COMMAND=1O"}},
        {"CD-ROM number -2", 9, -1, 0, {"CDROM_COMMAND=-2", diag}},
        {"CD-ROM number beyond int", 9, -1, 0, {"CDROM_COMMAND=99999999999", diag}},
        {"numbers with leading zeros",
         1, 7, 2147483647, {"CDROM_COMMAND=007", "DIAG_COMMAND=2147483647"}},
        {"first label missing", 1, 1, 0, {cd, diag, toCdrom}},
        {"second label missing", 1, 1, 0, {cd, diag, toDiag}},
        {"first label empty", 1, 1, 0, {cd, diag, "CDROM_DISPLAY=", toCdrom}},
        {"second label as the dialog spells it",
         1, 1, 0, {cd, diag, toDiag, "DIAG_DISPLAY=Diag To CD-ROM"}, true},
        {"second label equal to its default",
         1, 1, 0, {cd, diag, toDiag, "DIAG_DISPLAY=Diag to CD-ROM"}},
        {"first label equal to its default",
         1, 1, 0, {cd, diag, "CDROM_DISPLAY=CD-ROM To Diag", "DIAG_DISPLAY=Back"}},
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
