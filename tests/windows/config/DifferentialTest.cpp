#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ProfileComparison.h"
#include "QueryNames.h"
#include "WinePaths.h"
#include "config/DiskFileAccess.h"
#include "config/IniProfile.h"
#include "config/Win32Profile.h"

namespace quorvel::test {
namespace {

// Every file in the corpus is read through the system's profile functions and through the
// portable reader, and both must give the same answer to every query.
//
// A file that begins with a UTF-8 byte-order mark is deliberately not in the corpus: Wine
// skips the mark, while Windows reads it as the start of the first line (so a header there
// is no header). The portable reader follows Windows; its host tests cover that file.

const std::size_t kListSizes[] = {0,  1,  2,  3,  4,   5,   6,    7,    8,    9,    10,   12,
                                  16, 24, 32, 64, 128, 256, 1023, 1024, 1025, 4096, 65536};
const std::size_t kStringSizes[] = {0, 1, 2, 3, 4, 5, 8, 30, 1023, 1024, 1025};
constexpr std::size_t kWholeValueSize = 65536;

std::string CorpusDirectory() {
    return UnixToWindowsPath(Environment("QUORVEL_SOURCE_DIR") + "/tests/windows/config/corpus");
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDirectory(), error)) {
        if (entry.path().extension() == ".ini") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Sizes around the value's own length find the cuts that matter, quotes included.
std::vector<std::size_t> StringSizesFor(std::size_t length) {
    std::vector<std::size_t> sizes(std::begin(kStringSizes), std::end(kStringSizes));
    for (std::size_t extra = 0; extra <= 3; ++extra)
        sizes.push_back(length + extra);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

// A key that is not there answers with the default: "dflt" gives 4 characters and "" none.
bool IsMissing(std::size_t countWithDefault, std::size_t countWithEmptyDefault) {
    return countWithDefault == 4 && countWithEmptyDefault == 0;
}

// Every size around the value, and both integer defaults.
void SweepKey(ProfileComparison& comparison, const std::string& section, const std::string& key,
              std::size_t length, const std::string& file) {
    for (std::size_t size : StringSizesFor(length))
        comparison.CompareString(section, key, "dflt", size, file);
    comparison.CompareString(section, key, "pad  ", 64, file);
    comparison.CompareInt(section, key, 12345, file);
}

// Buffer sizes are swept only for keys that are there, and for one that surely is not: the
// files' many missing pairs would otherwise cost minutes under Wine and show nothing new.
void AskEveryKey(ProfileComparison& comparison, const QueryNames& names, const std::string& file) {
    SweepKey(comparison, "MISSING_NAME", "MISSING_NAME", 4, file);
    for (const std::string& section : names.sections) {
        for (const std::string& key : names.keys) {
            const std::size_t length =
                comparison.CompareString(section, key, "dflt", kWholeValueSize, file);
            const std::size_t lengthWithEmptyDefault =
                comparison.CompareString(section, key, "", kWholeValueSize, file);
            comparison.CompareInt(section, key, -1, file);
            if (!IsMissing(length, lengthWithEmptyDefault))
                SweepKey(comparison, section, key, length, file);
        }
    }
}

void AskEverything(ProfileComparison& comparison, const QueryNames& names,
                   const std::string& file) {
    for (std::size_t size : kListSizes)
        comparison.CompareSectionNames(size, file);
    AskEveryKey(comparison, names, file);
}

// The portable reader reads the file afresh for every query, as the program does; here the
// bytes are read from disk once per file, which halves the time the corpus takes under Wine.
class FilesReadOnce : public FileAccess {
  public:
    bool ReadWholeFile(const std::string& path, std::string* content) override {
        auto cached = contents_.find(path);
        if (cached == contents_.end()) {
            std::string bytes;
            const bool read = disk_.ReadWholeFile(path, &bytes);
            cached = contents_.emplace(path, read ? std::optional(bytes) : std::nullopt).first;
        }
        if (cached->second) *content = *cached->second;
        return cached->second.has_value();
    }
    bool Exists(const std::string& path) override { return disk_.Exists(path); }
    bool CurrentDirectory(std::string* directory) override {
        return disk_.CurrentDirectory(directory);
    }

  private:
    DiskFileAccess disk_;
    std::map<std::string, std::optional<std::string>> contents_;
};

std::size_t totalQueries = 0;
std::size_t filesCompared = 0;

class QueryTally : public ::testing::Environment {
  public:
    void TearDown() override {
        std::printf("differential: %zu queries compared over %zu corpus files\n", totalQueries,
                    filesCompared);
    }
};
::testing::Environment* const tally = ::testing::AddGlobalTestEnvironment(new QueryTally);

void ExpectNoDifferences(const ProfileComparison& comparison) {
    const std::vector<std::string>& differences = comparison.Differences();
    EXPECT_TRUE(differences.empty())
        << differences.size() << " of " << comparison.Queries() << " queries differ";
    for (std::size_t i = 0; i < differences.size() && i < 20; ++i)
        ADD_FAILURE() << differences[i];
}

class CorpusFile : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusFile, ReadsTheSameThroughBothReaders) {
    const std::string path = CorpusDirectory() + "\\" + GetParam();
    DiskFileAccess disk;
    std::string text;
    ASSERT_TRUE(disk.ReadWholeFile(path, &text)) << path;
    Win32Profile platform;
    FilesReadOnce files;
    IniProfile portable(files);
    ProfileComparison comparison(platform, portable);
    AskEverything(comparison, NamesToAsk(text), path);
    totalQueries += comparison.Queries();
    ++filesCompared;
    ExpectNoDifferences(comparison);
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param.substr(0, info.param.rfind('.'));
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusFile, ::testing::ValuesIn(CorpusFiles()), TestName);

TEST(Corpus, HoldsTheAwkwardFiles) {
    EXPECT_GE(CorpusFiles().size(), 25u) << "corpus looked for in " << CorpusDirectory();
}

TEST(Corpus, FilesThatAreNotThereReadTheSame) {
    Win32Profile platform;
    FilesReadOnce files;
    IniProfile portable(files);
    ProfileComparison comparison(platform, portable);
    const QueryNames names = NamesToAsk("[K3000]\nCDROM_COMMAND=1\n");
    AskEverything(comparison, names, CorpusDirectory() + "\\missing.ini");
    AskEverything(comparison, names, CorpusDirectory() + "\\missing\\Quorvel.ini");
    totalQueries += comparison.Queries();
    ExpectNoDifferences(comparison);
}

}  // namespace
}  // namespace quorvel::test
