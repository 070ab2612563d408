#include <gtest/gtest.h>

#include <string>

#include "config/IniProfile.h"
#include "config/SwitchConfig.h"
#include "fakes/InMemoryFiles.h"

namespace quorvel::test {
namespace {

constexpr char kPath[] = "C:\\Cards\\Quorvel.ini";

struct Reader {
    explicit Reader(const std::string& text, const std::string& section = "K3000") {
        files.AddFile(kPath, text);
        config.Set(kPath, section);
    }
    InMemoryFiles files;
    IniProfile profile{files};
    SwitchConfig config{profile};
};

TEST(SwitchConfig, ClearsTheNamesWhenThereAreNone) {
    Reader reader("KEY=1\n");
    std::string names = "stale";
    EXPECT_FALSE(reader.config.ReadSectionNames(&names));
    EXPECT_EQ(names, "");
}

TEST(SwitchConfig, StopsAtAnEmptyFirstLabelWithoutTouchingTheSecond) {
    Reader reader("[K3000]\nCDROM_DISPLAY=\nDIAG_DISPLAY=Back\n");
    std::string first = "one";
    std::string second = "two";
    EXPECT_FALSE(reader.config.ReadDisplayLabels(&first, &second));
    EXPECT_EQ(first, "one");
    EXPECT_EQ(second, "two");
}

TEST(SwitchConfig, GivesTheDefaultsForMissingLabels) {
    Reader reader("[K3000]\n");
    std::string first;
    std::string second;
    EXPECT_FALSE(reader.config.ReadDisplayLabels(&first, &second));
    EXPECT_EQ(first, "CD-ROM To Diag");
    EXPECT_EQ(second, "Diag to CD-ROM");
}

}  // namespace
}  // namespace quorvel::test
