#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "card/CardState.h"
#include "card/WizardStatus.h"
#include "config/ConfigOperations.h"
#include "config/IniProfile.h"
#include "fakes/InMemoryFiles.h"

namespace quorvel::test {
namespace {

constexpr char kDirectory[] = "C:\\Cards";
constexpr char kPath[] = "C:\\Cards\\Quorvel.ini";

// A card state and the profile reader over one configuration file in the current directory.
struct ConfigFile {
    explicit ConfigFile(std::optional<std::string> text, const std::string& cardType = "K3000") {
        files.SetCurrentDirectory(std::string(kDirectory));
        if (text) files.AddFile(kPath, *text);
        state.cardType = cardType;
    }
    InMemoryFiles files;
    IniProfile profile{files};
    CardState state;
};

constexpr char kNumbers[] = "[K3000]\nCDROM_COMMAND=1\nDIAG_COMMAND=0\n";

struct LoadCase {
    const char* behaviour;
    std::optional<std::string> text;
    std::string cardType;
    bool loaded;
    int status;
    int cdromValue;
    int diagValue;
    int customLabelFlag;
    std::string firstLabel = kDefaultFirstChoiceLabel;
    std::string secondLabel = kDefaultSecondChoiceLabel;
};

std::string WithLabels(const std::string& labelLines) {
    return kNumbers + labelLines;
}

TEST(LoadSwitchConfig, ReadsNumbersAndLabelsOrSetsTheFirstFailingStatus) {
    std::string manySections;
    for (int i = 0; i < 60; ++i)
        manySections += "[PADDING_SECTION_" + std::to_string(i) + "]\n";
    const std::string longLabel(2000, 'x');
    const LoadCase cases[] = {
        {"numbers without labels", kNumbers, "K3000", true, 1, 1, 0, 0},
        {"numbers and labels", WithLabels("CDROM_DISPLAY=To Diag\nDIAG_DISPLAY=To CD-ROM\n"),
         "K3000", true, 1, 1, 0, 1, "To Diag", "To CD-ROM"},
        {"no file", std::nullopt, "K3000", false, 6, -1, -1, 0},
        {"no sections", "CDROM_COMMAND=1\nDIAG_COMMAND=0\n", "K3000", false, 8, -1, -1, 0},
        {"an empty file", "", "K3000", false, 8, -1, -1, 0},
        {"only [OTHER]", "[OTHER]\nFRIENDLY_NAME=x\n", "K3000", false, 7, -1, -1, 0},
        {"section test counts letter case", kNumbers, "k3000", false, 7, -1, -1, 0},
        {"part of a longer name passes, its own section is missing",
         std::string(kNumbers) + "[OTHER]\n", "K300", false, 9, -1, -1, 0},
        {"a type spanning two names passes", "[XAB]\n[CDX]\n", "BCD", false, 9, -1, -1, 0},
        {"a section past the names that fit is not seen", manySections + kNumbers, "K3000", false,
         7, -1, -1, 0},
        {"missing CD-ROM number, Diag still stored", "[K3000]\nDIAG_COMMAND=0\n", "K3000", false, 9,
         -1, 0, 0},
        {"CD-ROM number -1, Diag still stored", "[K3000]\nCDROM_COMMAND=-1\nDIAG_COMMAND=5\n",
         "K3000", false, 9, -1, 5, 0},
        {"missing Diag number, CD-ROM stored", "[K3000]\nCDROM_COMMAND=3\n", "K3000", false, 9, 3,
         -1, 0},
        {"an empty type reads the keys before any section",
         "CDROM_COMMAND=4\nDIAG_COMMAND=5\n[K3000]\n", "", true, 1, 4, 5, 0},
        {"an empty type without such keys", kNumbers, "", false, 9, -1, -1, 0},
        {"second label missing", WithLabels("CDROM_DISPLAY=To Diag\n"), "K3000", true, 1, 1, 0, 0},
        {"first label empty", WithLabels("CDROM_DISPLAY=\nDIAG_DISPLAY=To CD-ROM\n"), "K3000", true,
         1, 1, 0, 0},
        {"first label empty in quotes", WithLabels("CDROM_DISPLAY=\"\"\nDIAG_DISPLAY=Back\n"),
         "K3000", true, 1, 1, 0, 0},
        {"second label as the dialog writes it is custom",
         WithLabels("CDROM_DISPLAY=To Diag\nDIAG_DISPLAY=Diag To CD-ROM\n"), "K3000", true, 1, 1, 0,
         1, "To Diag", "Diag To CD-ROM"},
        {"second label equal to its default",
         WithLabels("CDROM_DISPLAY=To Diag\nDIAG_DISPLAY=Diag to CD-ROM\n"), "K3000", true, 1, 1, 0,
         0},
        {"first label equal to its default",
         WithLabels("CDROM_DISPLAY=CD-ROM To Diag\nDIAG_DISPLAY=Back\n"), "K3000", true, 1, 1, 0,
         0},
        {"labels cut to 1023 characters",
         WithLabels("CDROM_DISPLAY=" + longLabel + "\nDIAG_DISPLAY=Back\n"), "K3000", true, 1, 1, 0,
         1, std::string(1023, 'x'), "Back"},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        ConfigFile config(c.text, c.cardType);
        EXPECT_EQ(LoadSwitchConfig(config.state, config.profile), c.loaded);
        EXPECT_EQ(config.state.status, c.status);
        EXPECT_EQ(config.state.cdromValue, c.cdromValue);
        EXPECT_EQ(config.state.diagValue, c.diagValue);
        EXPECT_EQ(config.state.customLabelFlag, c.customLabelFlag);
        EXPECT_EQ(config.state.firstChoiceLabel, c.firstLabel);
        EXPECT_EQ(config.state.secondChoiceLabel, c.secondLabel);
    }
}

TEST(LoadSwitchConfig, LeavesTheStatusAloneOnSuccess) {
    ConfigFile config{std::string(kNumbers)};
    config.state.status = kStatusNoAnswer;
    EXPECT_TRUE(LoadSwitchConfig(config.state, config.profile));
    EXPECT_EQ(config.state.status, kStatusNoAnswer);
}

TEST(LoadSwitchConfig, ReadsTheFileAfreshEachTime) {
    ConfigFile config{std::string(kNumbers)};
    ASSERT_TRUE(LoadSwitchConfig(config.state, config.profile));
    config.files.AddFile(kPath, "[K3000]\nCDROM_COMMAND=7\nDIAG_COMMAND=8\n");
    ASSERT_TRUE(LoadSwitchConfig(config.state, config.profile));
    EXPECT_EQ(config.state.cdromValue, 7);
    EXPECT_EQ(config.state.diagValue, 8);
}

TEST(LoadSwitchConfig, ADirectoryNamedLikeTheFileHasNoSections) {
    ConfigFile config(std::nullopt);
    config.files.AddDirectory(kPath);
    EXPECT_FALSE(LoadSwitchConfig(config.state, config.profile));
    EXPECT_EQ(config.state.status, kStatusConfigWithoutSections);
}

struct DirectoryCase {
    const char* behaviour;
    std::string directory;
    std::string path;
};

TEST(ConfigFilePath, JoinsTheWholeDirectoryAsItComes) {
    const std::string longDirectory = "C:\\" + std::string(300, 'd');
    const DirectoryCase cases[] = {
        {"an ordinary directory", "C:\\Cards", "C:\\Cards\\Quorvel.ini"},
        {"a drive's root keeps its backslash", "C:\\", "C:\\\\Quorvel.ini"},
        {"a directory longer than 260 characters", longDirectory, longDirectory + "\\Quorvel.ini"},
    };
    for (const DirectoryCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        ConfigFile config(std::nullopt);
        config.files.SetCurrentDirectory(c.directory);
        config.files.AddFile(c.path, kNumbers);
        std::string path;
        ASSERT_TRUE(BuildConfigFilePath(config.profile, &path));
        EXPECT_EQ(path, c.path);
        EXPECT_TRUE(LoadSwitchConfig(config.state, config.profile));
        ASSERT_FALSE(config.files.Reads().empty());
        EXPECT_EQ(config.files.Reads().front(), c.path);
    }
}

TEST(ConfigFilePath, ADirectoryThatCannotBeHadCountsAsNoFile) {
    for (const std::optional<std::string>& directory :
         {std::optional<std::string>(), std::optional<std::string>("")}) {
        ConfigFile config(std::nullopt);
        config.files.SetCurrentDirectory(directory);
        // The root of the current drive holds a file that must not be taken for it.
        config.files.AddFile("\\Quorvel.ini", "[K3000]\n[OTHER]\nFRIENDLY_NAME=wrong\n");
        EXPECT_FALSE(LoadSwitchConfig(config.state, config.profile));
        EXPECT_EQ(config.state.status, kStatusConfigMissing);
        EXPECT_FALSE(ReadConfiguredFriendlyName(config.state, config.profile));
        EXPECT_EQ(config.state.configuredFriendlyName, "");
        EXPECT_TRUE(config.files.Reads().empty());
    }
}

struct FriendlyNameCase {
    const char* behaviour;
    std::optional<std::string> text;
    bool found;
    std::string name;
};

TEST(ReadConfiguredFriendlyName, TakesOnlyAConfiguredNameAndNeverTheStatus) {
    const FriendlyNameCase cases[] = {
        {"a name", "[OTHER]\nFRIENDLY_NAME=Quorvel UI Port\n", true, "Quorvel UI Port"},
        {"the placeholder", "[OTHER]\nFRIENDLY_NAME=ERROR\n", false, "previous"},
        {"the placeholder in other letters is a name", "[OTHER]\nFRIENDLY_NAME=error\n", true,
         "error"},
        {"names ignore letter case", "[other]\nfriendly_name=Port\n", true, "Port"},
        {"empty", "[OTHER]\nFRIENDLY_NAME=\n", false, "previous"},
        {"no key", "[OTHER]\n", false, "previous"},
        {"no section", "[K3000]\nFRIENDLY_NAME=Port\n", false, "previous"},
        {"no file", std::nullopt, false, "previous"},
    };
    for (const FriendlyNameCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        ConfigFile config(c.text);
        config.state.status = kStatusNoHandshake;
        config.state.configuredFriendlyName = "previous";
        EXPECT_EQ(ReadConfiguredFriendlyName(config.state, config.profile), c.found);
        EXPECT_EQ(config.state.configuredFriendlyName, c.name);
        EXPECT_EQ(config.state.status, kStatusNoHandshake);
    }
}

}  // namespace
}  // namespace quorvel::test
