#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "ProgramResources.h"
#include "WizardExpectations.h"

namespace quorvel::test {
namespace {

class ProgramResourcesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(resources.Loaded()) << "QUORVEL_EXE cannot be loaded"; }
    ProgramResources resources;
};

// The blocks that hold 104-119 also hold 96-127; nothing else may be in them.
TEST_F(ProgramResourcesTest, StringTableHoldsExactlyTheWizardsTexts) {
    for (int id = 96; id <= 127; ++id) {
        bool exists = false;
        const std::string text = resources.String(id, &exists);
        auto expected = kStringTable.find(id);
        if (expected == kStringTable.end()) {
            EXPECT_FALSE(exists) << "unexpected text " << id << ": " << text;
        } else {
            EXPECT_TRUE(exists) << "text " << id << " is missing";
            EXPECT_EQ(text, expected->second) << "text " << id;
        }
    }
}

struct ResourceCase {
    const char* name;
    LPCSTR type;
    int id;
};

TEST_F(ProgramResourcesTest, ResourcesAreMarkedChineseSimplified) {
    const ResourceCase cases[] = {
        {"About box", RT_DIALOG, 100},  {"wizard", RT_DIALOG, 102},
        {"texts 96-111", RT_STRING, 7}, {"texts 112-127", RT_STRING, 8},
        {"picture", RT_BITMAP, 129},    {"icon", RT_GROUP_ICON, 128},
    };
    for (const ResourceCase& c : cases)
        EXPECT_TRUE(resources.IsChineseSimplified(c.type, c.id)) << c.name;
}

struct DialogCase {
    int id;
    RECT rect;
    const char* caption;
    DWORD style;
};

TEST_F(ProgramResourcesTest, DialogTemplatesHaveTheirSizeCaptionAndFont) {
    const DialogCase cases[] = {
        {102,
         {0, 0, 340, 236},
         "QuorvelTool",
         WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME},
        {100,
         {0, 0, 235, 55},
         "\xE5\x85\xB3\xE4\xBA\x8E QuorvelTool",
         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME},
    };
    for (const DialogCase& c : cases) {
        DialogHeader header;
        ASSERT_TRUE(ReadDialogHeader(resources.Bytes(RT_DIALOG, c.id), &header)) << c.id;
        EXPECT_EQ(header.rect.left, c.rect.left) << c.id;
        EXPECT_EQ(header.rect.top, c.rect.top) << c.id;
        EXPECT_EQ(header.rect.right, c.rect.right) << c.id;
        EXPECT_EQ(header.rect.bottom, c.rect.bottom) << c.id;
        EXPECT_EQ(header.caption, c.caption) << c.id;
        EXPECT_EQ(header.style & c.style, c.style) << c.id;
        EXPECT_EQ(header.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u) << c.id;
        EXPECT_EQ(header.font, "\xE5\xAE\x8B\xE4\xBD\x93") << c.id;  // 宋体
        EXPECT_EQ(header.pointSize, 9) << c.id;
    }
}

TEST_F(ProgramResourcesTest, PictureIsSixteenColoursOfTheGivenSize) {
    const std::vector<unsigned char> bytes = resources.Bytes(RT_BITMAP, 129);
    ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 164);
    EXPECT_EQ(header.biHeight, 313);
    EXPECT_EQ(header.biBitCount, 4);
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ProgramResourcesTest, IconHoldsTwoSixteenColourImages) {
    const std::vector<unsigned char> bytes = resources.Bytes(RT_GROUP_ICON, 128);
    ASSERT_GE(bytes.size(), 6u);
    WORD count = 0;
    std::memcpy(&count, &bytes[4], sizeof count);
    ASSERT_EQ(count, 2);
    ASSERT_GE(bytes.size(), 6 + 2 * sizeof(IconGroupEntry));
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        IconGroupEntry entry;
        std::memcpy(&entry, &bytes[6 + i * sizeof entry], sizeof entry);
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.colours, 16);
        sizes.push_back(entry.width);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32}));
}

}  // namespace
}  // namespace quorvel::test
