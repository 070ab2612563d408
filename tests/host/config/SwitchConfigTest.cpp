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

TEST(SwitchConfig, JoinsSectionNamesWithoutSeparator) {
    Reader reader("[K3000]\n[OTHER]\n[K3000]\n");
    std::string names = "stale";
    EXPECT_TRUE(reader.config.ReadSectionNames(&names));
    EXPECT_EQ(names, "K3000OTHERK3000");
}

TEST(SwitchConfig, ClearsTheNamesWhenThereAreNone) {
    Reader reader("KEY=1\n");
    std::string names = "stale";
    EXPECT_FALSE(reader.config.ReadSectionNames(&names));
    EXPECT_EQ(names, "");
}

TEST(SwitchConfig, StoresAMissingNumberAsMinusOne) {
    Reader reader("[K3000]\nDIAG_COMMAND=0\n");
    int cdrom = 5;
    int diag = 5;
    EXPECT_FALSE(reader.config.ReadCdromCommand(&cdrom));
    EXPECT_TRUE(reader.config.ReadDiagCommand(&diag));
    EXPECT_EQ(cdrom, -1);
    EXPECT_EQ(diag, 0);
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
