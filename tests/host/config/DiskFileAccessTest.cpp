#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "config/DiskFileAccess.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A directory of its own under the system's temporary directory, removed afterwards.
class DiskFileAccessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     ("quorvel-disk-" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    // The path the way the program joins it, with a backslash.
    std::string JoinedPath(const std::string& name) const {
        return directory_.string() + "\\" + name;
    }

    fs::path directory_;
    DiskFileAccess files_;
};

TEST_F(DiskFileAccessTest, ReadsAFileNamedWithABackslashByteForByte) {
    const std::string bytes = "\xEF\xBB\xBF[a]\r\nk=\0v\r"s;
    std::ofstream(directory_ / "Quorvel.ini", std::ios::binary) << bytes;
    std::string content;
    ASSERT_TRUE(files_.ReadWholeFile(JoinedPath("Quorvel.ini"), &content));
    EXPECT_EQ(content, bytes);
    EXPECT_TRUE(files_.Exists(JoinedPath("Quorvel.ini")));
}

TEST_F(DiskFileAccessTest, ReadsAnEmptyFile) {
    std::ofstream(directory_ / "empty.ini", std::ios::binary).flush();
    std::string content = "stale";
    ASSERT_TRUE(files_.ReadWholeFile(JoinedPath("empty.ini"), &content));
    EXPECT_EQ(content, "");
}

TEST_F(DiskFileAccessTest, ADirectoryExistsButCannotBeRead) {
    fs::create_directory(directory_ / "Quorvel.ini");
    std::string content;
    EXPECT_TRUE(files_.Exists(JoinedPath("Quorvel.ini")));
    EXPECT_FALSE(files_.ReadWholeFile(JoinedPath("Quorvel.ini"), &content));
}

TEST_F(DiskFileAccessTest, AMissingFileNeitherExistsNorReads) {
    std::string content;
    EXPECT_FALSE(files_.Exists(JoinedPath("missing.ini")));
    EXPECT_FALSE(files_.ReadWholeFile(JoinedPath("missing.ini"), &content));
}

TEST_F(DiskFileAccessTest, GivesTheWholeCurrentDirectory) {
    std::string directory;
    ASSERT_TRUE(files_.CurrentDirectory(&directory));
    EXPECT_EQ(fs::path(directory), fs::current_path());
}

}  // namespace
}  // namespace quorvel::test
