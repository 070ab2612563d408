#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "card/CardState.h"
#include "config/ConfigOperations.h"
#include "config/Win32Profile.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

// Runs each test in a fresh directory of its own as the current directory, as the program
// runs in the directory that holds its Quorvel.ini.
class Win32ProfileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char previous[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, previous);
        previous_ = previous;
        directory_ = fs::temp_directory_path() / "quorvel-config";
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        ASSERT_TRUE(SetCurrentDirectoryA(directory_.string().c_str()));
    }
    void TearDown() override {
        SetCurrentDirectoryA(previous_.c_str());
        fs::remove_all(directory_);
    }
    void WriteConfig(const std::string& text) {
        std::ofstream(directory_ / "Quorvel.ini", std::ios::binary) << text;
    }

    std::string previous_;
    fs::path directory_;
    Win32Profile profile_;
};

TEST_F(Win32ProfileTest, GivesTheCurrentDirectoryWhole) {
    std::string directory;
    ASSERT_TRUE(profile_.CurrentDirectory(&directory));
    EXPECT_EQ(fs::path(directory), directory_);
}

TEST_F(Win32ProfileTest, LoadsTheConfigurationOfTheCurrentDirectory) {
    WriteConfig(
        "[K3000]\r\nCDROM_COMMAND=1\r\nDIAG_COMMAND=2\r\nCDROM_DISPLAY=To Diag\r\n"
        "DIAG_DISPLAY=Diag To CD-ROM\r\n[OTHER]\r\nFRIENDLY_NAME=Quorvel UI\r\n");
    CardState state;
    state.cardType = "K3000";
    ASSERT_TRUE(LoadSwitchConfig(state, profile_));
    EXPECT_EQ(state.cdromValue, 1);
    EXPECT_EQ(state.diagValue, 2);
    EXPECT_EQ(state.customLabelFlag, 1);
    EXPECT_EQ(state.secondChoiceLabel, "Diag To CD-ROM");
    ASSERT_TRUE(ReadConfiguredFriendlyName(state, profile_));
    EXPECT_EQ(state.configuredFriendlyName, "Quorvel UI");
}

TEST_F(Win32ProfileTest, FindsNoFileInAnEmptyDirectory) {
    CardState state;
    state.cardType = "K3000";
    EXPECT_FALSE(LoadSwitchConfig(state, profile_));
    EXPECT_EQ(state.status, kStatusConfigMissing);
    EXPECT_FALSE(ReadConfiguredFriendlyName(state, profile_));
}

TEST_F(Win32ProfileTest, EndsACutSectionListInTwoZeros) {
    WriteConfig("[abc]\n[de]\n");
    const std::string path = (directory_ / "Quorvel.ini").string();
    char buffer[6];
    FillMemory(buffer, sizeof buffer, 0xCC);
    EXPECT_EQ(profile_.ReadSectionNames(buffer, 5, path), 3u);
    EXPECT_EQ(std::string(buffer, 5), std::string("abc\0\0", 5));
    EXPECT_EQ(buffer[5], '\xCC');
}

}  // namespace
}  // namespace quorvel::test
