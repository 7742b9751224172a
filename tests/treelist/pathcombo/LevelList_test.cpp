#include "text/TextList.h"
#include "treelist/pathcombo/LevelList.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(LevelList, PopupShowsWholeRowsUpTo450Pixels) {
    const struct { int rowHeight, count, widest; PopupSize size; } cases[] = {
        {18, 0, 0, {32, 3, 0}},
        {18, 25, 100, {132, 453, 0}},      // 450 pixels of rows still show whole
        {18, 26, 100, {149, 453, 17}},     // 450 mod 18 = 0
        {20, 30, 280, {329, 443, 17}},     // 453 - 450 mod 20
    };
    for (const auto& c : cases) {
        PopupSize size = MeasurePopup(c.rowHeight, c.count, c.widest, 16, 17);
        EXPECT_EQ(std::tie(size.width, size.height, size.scroll), std::tie(c.size.width, c.size.height, c.size.scroll))
            << c.count;
    }
}

TEST(LevelList, PopupStaysOnTheWorkArea) {
    const PopupPlaceRect area = {0, 0, 1024, 768};
    const struct { int x, top, bottom, width, height; PopupPlaceRect placed; } cases[] = {
        {100, 50, 72, 200, 300, {100, 72, 300, 372}},     // under the arrow
        {900, 50, 72, 200, 300, {824, 72, 1024, 372}},    // pushed in from the right
        {100, 500, 522, 200, 453, {100, 522, 300, 759}},  // cut to whole rows: (246 - 3) / 18 = 13
        {100, 640, 662, 200, 453, {100, 187, 300, 640}},  // 106 pixels below: above the combo
        {100, 300, 322, 200, 453, {100, 322, 300, 757}},  // rows cut below: (446 - 3) / 18 = 24
    };
    for (const auto& c : cases) {
        PopupPlaceRect r = PlaceLevelPopup(c.x, c.top, c.bottom, c.width, c.height, 18, area);
        EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom),
                  std::tie(c.placed.left, c.placed.top, c.placed.right, c.placed.bottom))
            << c.x << "," << c.top;
    }
}

LevelEntryData Describe(const char*, void* calls) {
    ++*static_cast<int*>(calls);
    return {7, LevelEntryInfo(300, LEVEL_ENTRY_FOLDER)};
}

std::vector<std::string> Texts(const CTextList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.GetItemText(i));
    return out;
}

TEST(LevelList, DrivesFollowTheMaskBeforeOtherRoots) {
    CTextList level(sizeof(LevelEntryData));
    for (const char* text : {"C:", "E:", "Netzwerk"}) level.InsertItem(text);
    int calls = 0;
    MergeDriveEntries(level, 1u << 0 | 1u << 2 | 1u << 3 | 1u << 25, Describe, &calls);
    EXPECT_EQ(Texts(level), (std::vector<std::string>{"A:", "C:", "D:", "Z:", "Netzwerk"}));
    LevelEntryData data;
    level.GetItemData(3, &data);
    EXPECT_EQ(std::tuple(calls, data.icon, LevelEntryWidth(data)), std::tuple(3, 7, kLevelTextWidthMax));
    MergeDriveEntries(level, 1u << 3, Describe, &calls);
    EXPECT_EQ(Texts(level), (std::vector<std::string>{"D:", "Netzwerk"}));
}

TEST(LevelList, LevelWordsCarryLevelAndGeneration) {
    const uint32_t word = MakeLevelWord(32, 0x1234567);
    EXPECT_EQ(std::tuple(word, LevelOfWord(word), GenerationOfWord(word)), std::tuple(0x21234567u, 32, 0x234567u));
    EXPECT_NE(MakeLevelWord(0, 0), kLevelWordNone);
    EXPECT_EQ(LevelOfWord(kLevelWordEnd), 254);
}

}  // namespace
