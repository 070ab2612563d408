#include "card/CardConfig.h"

#include <gtest/gtest.h>

#include "Rig.h"

namespace quorvel::test {
namespace {

TEST(LoadSwitchConfig, ReadsNumbersAndLabelsOrSetsTheFirstFailingStatus) {
    const std::string padding = std::string(1023, 'P') + "|";
    const std::string cd = "CDROM_COMMAND=1", diag = "DIAG_COMMAND=0";
    // The section list has '|' for each zero byte ("-": no Quorvel.ini); keys are of [K3000].
    // clang-format off
    const struct { const char* name; std::string sections; std::string type; std::vector<std::string> keys; int status; int cdrom; int diag; bool custom; } cases[] = {
        {"numbers, no labels", "K3000|OTHER|", "K3000", {cd, diag}, 1, 1, 0, false},
        {"no file", "-", "K3000", {cd, diag}, 6, -1, -1, false},
        {"no sections", "", "K3000", {cd, diag}, 8, -1, -1, false},
        {"type not among them, numbers missing too", "OTHER|", "K3000", {}, 7, -1, -1, false},
        {"the type test counts letter case", "K3000|", "k3000", {cd, diag}, 7, -1, -1, false},
        {"a type inside a longer name passes", "K3000|", "K300", {cd, diag}, 9, -1, -1, false},
        {"the names are joined", "XK3|000Y|", "K3000", {cd, diag}, 1, 1, 0, false},
        {"a name past the 1023-byte list is not seen", padding + "K3000|", "K3000", {cd, diag}, 7, -1, -1, false},
        {"an empty type is never among them", "K3000|", "", {cd, diag}, 7, -1, -1, false},
        {"CD-ROM number missing, Diag stored all the same", "K3000|", "K3000", {diag}, 9, -1, 0, false},
        {"Diag number -1", "K3000|", "K3000", {cd, "DIAG_COMMAND=-1"}, 9, 1, -1, false},
        {"both labels changed", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=To Diag", "DIAG_DISPLAY=To CD-ROM"}, 1, 1, 0, true},
        {"second label missing", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=To Diag"}, 1, 1, 0, false},
        {"first label empty", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=", "DIAG_DISPLAY=To CD-ROM"}, 1, 1, 0, false},
        {"second label as the dialog spells it", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=To Diag", "DIAG_DISPLAY=Diag To CD-ROM"}, 1, 1, 0, true},
        {"second label equal to its default", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=To Diag", "DIAG_DISPLAY=Diag to CD-ROM"}, 1, 1, 0, false},
        {"first label equal to its default", "K3000|", "K3000", {cd, diag, "CDROM_DISPLAY=CD-ROM To Diag", "DIAG_DISPLAY=Back"}, 1, 1, 0, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        if (c.sections == "-") rig.profile.files.clear();
        for (char ch : c.sections)
            rig.profile.sectionList += ch == '|' ? '\0' : ch;
        auto& section = rig.profile.values["K3000"];
        for (const std::string& key : c.keys)
            section[key.substr(0, key.find('='))] = key.substr(key.find('=') + 1);
        rig.state.cardType = c.type;

        EXPECT_EQ(rig.operations.LoadSwitchConfig(), c.status == kStatusSuccess);

        EXPECT_EQ(rig.state.status, c.status);
        EXPECT_EQ(rig.state.cdromValue, c.cdrom);
        EXPECT_EQ(rig.state.diagValue, c.diag);
        EXPECT_EQ(rig.state.customLabels, c.custom);
        EXPECT_EQ(rig.state.firstChoiceLabel,
                  c.custom ? section["CDROM_DISPLAY"] : "CD-ROM To Diag");
        EXPECT_EQ(rig.state.secondChoiceLabel,
                  c.custom ? section["DIAG_DISPLAY"] : "Diag to CD-ROM");
    }
}

TEST(FindConfigFile, JoinsTheWholeCurrentDirectoryWithTheFileName) {
    const std::string deep = "C:\\" + std::string(300, 'd');
    // clang-format off
    const struct { const char* name; std::optional<std::string> directory; std::string path; } cases[] = {
        {"a folder", "C:\\Cards", "C:\\Cards\\Quorvel.ini"},
        {"a drive's root doubles the backslash", "C:\\", "C:\\\\Quorvel.ini"},
        {"a folder past 260 characters", deep, deep + "\\Quorvel.ini"},
        {"an empty directory: no file", "", ""},
        {"no directory: no file", std::nullopt, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.profile.directory = c.directory;
        // The root of the current drive holds a file that must never be taken for it.
        rig.profile.files = {c.path, "\\Quorvel.ini"};
        std::string path;

        EXPECT_EQ(FindConfigFile(rig.profile, &path), !c.path.empty());

        EXPECT_EQ(path, c.path);
    }
}

}  // namespace
}  // namespace quorvel::test
