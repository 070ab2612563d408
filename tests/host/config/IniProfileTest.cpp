#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/IniProfile.h"
#include "fakes/InMemoryFiles.h"

namespace quorvel::test {
namespace {

using namespace std::string_literals;

constexpr char kFile[] = "C:\\Cards\\Quorvel.ini";

struct Reader {
    explicit Reader(const std::string& text) { files.AddFile(kFile, text); }
    InMemoryFiles files;
    IniProfile profile{files};
};

struct StringCase {
    const char* behaviour;
    std::string text;
    const char* section;
    const char* key;
    const char* expected;
};

TEST(IniProfile, ReadsStringsByTheProfileRules) {
    const StringCase cases[] = {
        {"plain value", "[a]\nk=v\n", "a", "k", "v"},
        {"names ignore letter case", "[K3000]\nCdRom=1\n", "k3000", "CDROM", "1"},
        {"blanks around names and values go", "  [ s ]\t\n  key \t= v a l \x1a\n", "s", "key",
         "v a l"},
        {"blanks around the asked names go", "[s]\nkey=1\n", " s\t", "\tkey ", "1"},
        {"carriage returns alone end lines", "[a]\rk=1\r[b]\rk=2", "b", "k", "2"},
        {"blank lines of any ending are skipped", "[a]\n\r\n\r\rk=3\n", "a", "k", "3"},
        {"only the first section of a name counts", "[a]\nk=1\n[A]\nj=2\n", "a", "j", "dflt"},
        {"the first key of a name counts", "[a]\nk=1\nK=2\n", "a", "k", "1"},
        {"a line without = is a key without value", "[a]\nk\nk=1\n", "a", "k", "dflt"},
        {"keys before any section are nameless", "k=1\n[a]\n", "", "k", "1"},
        {"comment lines are keys too", "[a]\n;k=1\n", "a", ";k", "1"},
        {"a commented key is not the key", "[a]\n;k=1\n", "a", "k", "dflt"},
        {"a header ends at the last ]", "[x]y]junk\nk=1\n", "x]y", "k", "1"},
        {"an unclosed header is a key", "[a]\n[b\nk=1\n", "a", "k", "1"},
        {"a value may hold =", "[a]\nk = x = y\n", "a", "k", "x = y"},
        {"a zero byte ends the value", "[a]\nk=x\0y\n"s, "a", "k", "x"},
        {"matching quotes go", "[a]\nk=\"  x  \"\n", "a", "k", "  x  "},
        {"single quotes go too", "[a]\nk='x'\n", "a", "k", "x"},
        {"unmatched quotes stay", "[a]\nk=\"x'\n", "a", "k", "\"x'"},
        {"a lone quote stays", "[a]\nk=\"\n", "a", "k", "\""},
        {"no-break space is not a blank", "[a]\nk=\xA0v\n", "a", "k", "\xA0v"},
        {"missing section gives the default", "[a]\nk=1\n", "b", "k", "dflt"},
        {"a byte-order mark starts the first line", "\xEF\xBB\xBF[a]\nk=1\n", "a", "k", "dflt"},
    };
    for (const StringCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        Reader reader(c.text);
        char buffer[64] = {};
        const std::size_t count =
            reader.profile.ReadString(c.section, c.key, "dflt", buffer, sizeof buffer, kFile);
        EXPECT_EQ(std::string(buffer), c.expected);
        EXPECT_EQ(count, std::string(c.expected).size());
    }
}

TEST(IniProfile, CountsZeroForPresentEmptyValues) {
    for (const char* value : {"", "\"\"", "''", "   "}) {
        SCOPED_TRACE(value);
        Reader reader("[a]\nk=" + std::string(value) + "\n");
        char buffer[16] = "guard";
        EXPECT_EQ(reader.profile.ReadString("a", "k", "dflt", buffer, sizeof buffer, kFile), 0u);
        EXPECT_STREQ(buffer, "");
    }
}

TEST(IniProfile, DropsTrailingSpacesOfTheDefaultButNotItsFirstCharacter) {
    Reader reader("");
    char buffer[16] = {};
    EXPECT_EQ(reader.profile.ReadString("a", "k", "pad  ", buffer, sizeof buffer, kFile), 3u);
    EXPECT_STREQ(buffer, "pad");
    EXPECT_EQ(reader.profile.ReadString("a", "k", "   ", buffer, sizeof buffer, kFile), 1u);
    EXPECT_STREQ(buffer, " ");
}

struct CutCase {
    const char* value;
    std::size_t size;
    const char* expected;
};

TEST(IniProfile, CutsValuesToTheBuffer) {
    // A quoted value loses its closing quote only once the buffer could hold it, so a buffer
    // one short of the quoted text keeps one character less.
    const CutCase cases[] = {
        {"abcdef", 1, ""},        {"abcdef", 2, "a"},    {"abcdef", 6, "abcde"},
        {"abcdef", 7, "abcdef"},  {"\"abc\"", 2, "a"},   {"\"abc\"", 3, "ab"},
        {"\"abc\"", 4, "ab"},     {"\"abc\"", 5, "abc"}, {"\"a\"", 2, ""},
        {"\"ab\"c\"", 5, "ab\""}, {"\"abc", 4, "\"ab"},  {"\"\"", 1, ""},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " into " + std::to_string(c.size));
        Reader reader("[a]\nk=" + std::string(c.value) + "\n");
        std::string buffer(c.size + 4, '#');
        const std::size_t count =
            reader.profile.ReadString("a", "k", "dflt", &buffer[0], c.size, kFile);
        EXPECT_EQ(buffer,
                  c.expected + "\0"s + std::string(c.size + 3 - std::strlen(c.expected), '#'));
        EXPECT_EQ(count, std::strlen(c.expected));
    }
}

struct NamesCase {
    const char* behaviour;
    std::string text;
    std::size_t size;
    std::string expected;  // the whole buffer; '#' where nothing was written
    std::size_t count;
};

TEST(IniProfile, ListsSectionNamesCutTheWayThePlatformCutsThem) {
    const std::string three = "[abc]\n[de]\n[ABC]\n";
    const NamesCase cases[] = {
        {"all fit", three, 16, "abc\0de\0ABC\0\0####"s, 11},
        {"a name that ends the buffer counts as cut", three, 12, "abc\0de\0ABC\0\0"s, 10},
        {"cut inside a name", three, 10, "abc\0de\0A\0\0"s, 8},
        {"cut at a boundary", three, 6, "abc\0\0\0"s, 4},
        {"room for one character", three, 3, "a\0\0"s, 1},
        {"room for none", three, 2, "\0\0"s, 0},
        {"only the terminator", three, 1, "\0"s, 0},
        {"nothing at all", three, 0, ""s, 0},
        {"nameless sections are left out", "k=1\n[]\n[ a ]\n[  ]\n", 8, "a\0\0#####"s, 2},
        {"duplicates stay", "[a]\n[a]\n", 8, "a\0a\0\0###"s, 4},
        {"no sections", "k=1\n", 4, "\0###"s, 0},
        {"a byte-order mark hides the first header", "\xEF\xBB\xBF[a]\n", 4, "\0###"s, 0},
    };
    for (const NamesCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        Reader reader(c.text);
        std::string buffer(c.size, '#');
        const std::size_t count = reader.profile.ReadSectionNames(&buffer[0], c.size, kFile);
        EXPECT_EQ(buffer, c.expected.substr(0, c.size));
        EXPECT_EQ(count, c.count);
    }
}

TEST(IniProfile, ReadsNothingFromAMissingFile) {
    InMemoryFiles files;
    IniProfile profile(files);
    char buffer[8] = "guard";
    EXPECT_EQ(profile.ReadSectionNames(buffer, sizeof buffer, kFile), 0u);
    EXPECT_EQ(profile.ReadInt("a", "k", -1, kFile), -1);
    EXPECT_EQ(profile.ReadString("a", "k", "dflt", buffer, sizeof buffer, kFile), 4u);
}

struct IntCase {
    std::string value;
    int expected;
};

TEST(IniProfile, ConvertsIntegersAsThePlatformDoes) {
    const std::string zeros(28, '0');
    const std::string cutZeros(29, '0');
    const IntCase cases[] = {
        {"1", 1},
        {"+1", 1},
        {"\" 7\"", 7},
        {"12abc", 12},
        {"B4", 0},
        {"-1", -1},
        {"4294967295", -1},
        {"4294967297", 1},
        {"0x10", 16},
        {"0X10", 0},
        {"0b101", 5},
        {"0o17", 15},
        {"-0x10", -16},
        {"- 5", 0},
        {"'42'", 42},
        {"099", 99},
        {"2147483648", -2147483647 - 1},
        {"", -7},
        {"\"\"", -7},
        // The platform converts at most 29 characters.
        {zeros + "7", 7},
        {cutZeros + "7", 0},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(c.value);
        Reader reader("[a]\nk=" + c.value + "\n");
        EXPECT_EQ(reader.profile.ReadInt("a", "k", -7, kFile), c.expected);
    }
}

}  // namespace
}  // namespace quorvel::test
