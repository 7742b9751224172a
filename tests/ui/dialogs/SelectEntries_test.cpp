#include "ui/dialogs/SelectDialogGeometry.h"
#include "ui/dialogs/SelectEntries.h"

#include "ui/RectTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const SelectEntries& e) {
    std::vector<std::string> out;
    for (int i = 0; i < e.Count(); ++i) out.push_back(e.Text(i));
    return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(SelectEntries, InsertsByIndexTextOrValueAndFindsTexts) {
    SelectEntries byText;
    for (const char* t : {"b", "A", "c", "B"}) byText.Add(kInsertByText, 0, t);
    EXPECT_EQ(Texts(byText), (V{"A", "b", "B", "c"}));  // equal texts keep their order
    SelectEntries byValue;
    EXPECT_EQ(byValue.Add(kInsertByValue, 5, "5 first"), 0);
    EXPECT_EQ(byValue.Add(kInsertByValue, 3, "3"), 0);
    EXPECT_EQ(byValue.Add(kInsertByValue, 5, "5 second"), 2);
    EXPECT_EQ(Texts(byValue), (V{"3", "5 first", "5 second"}));
    EXPECT_EQ(byValue.Add(1, 9, "at 1", true), 1);
    EXPECT_EQ(byValue.Add(99, 9, "appended"), 4);
    EXPECT_EQ(byValue.Add(-1, 9, nullptr), 5);
    EXPECT_STREQ(byValue.Text(5), "");
    EXPECT_TRUE(byValue.Check(1));
    EXPECT_EQ((std::vector<int>{byValue.Find("5 SECOND", false), byValue.Find("5 SECOND", true),
                                byValue.Find("at 1", false)}), (std::vector<int>{-1, 3, 1}));
    // Out of range: nothing changes.
    EXPECT_EQ(byValue.Value(6), 0u);
    EXPECT_EQ(byValue.SetValue(-1, 7), 0u);
    EXPECT_EQ(byValue.Text(6), nullptr);
    byValue.SetCheck(6, true);
    EXPECT_FALSE(byValue.Check(6));
    EXPECT_EQ(byValue.SetValue(0, 7), 3u);
    byValue.Sort(SelectSortOrder::ByValue);
    EXPECT_EQ(Texts(byValue), (V{"5 first", "5 second", "3", "at 1", "appended", ""}));
    byValue.Sort(SelectSortOrder::ByText);
    EXPECT_EQ(Texts(byValue), (V{"", "3", "5 first", "5 second", "appended", "at 1"}));
}

TEST(SelectTypeAhead, RepeatedLettersStepAndPrefixesSearchFromTheCurrentEntry) {
    const V list = {"Anna", "Bach", "berlin", "Brot", "Cäsar", "Bruno"};
    auto text = [&](int i) { return list[i].c_str(); };
    struct Key {
        char ch;
        DWORD at;
        int current, expected;
    };
    auto run = [&](std::vector<Key> keys) {
        SelectTypeAhead t;
        for (const Key& k : keys) EXPECT_EQ(t.Type(k.ch, k.at, k.current, 6, text), k.expected) << k.ch << '@' << k.at;
    };
    run({{'b', 1000, 0, 1}, {'b', 1100, 1, 2}, {'b', 1200, 2, 3}, {'b', 1300, 3, 5}, {'b', 1400, 5, 1}});
    run({{'b', 1000, 0, 1}, {'r', 1100, 1, 3}, {'u', 1200, 3, 5}});
    run({{'B', 1000, 0, 1}, {'R', 1800, 1, -1}});  // after the pause only "R" remains: no entry
    run({{'c', 1000, 0, 4}, {'\xE4', 1100, 4, 4}, {'x', 1200, 4, -1}});
    run({{'b', 1000, -1, 1}, {'e', 1100, 1, 2}});
}

TEST(SelectDialogGeometry, SizesLayoutAndSavedPositions) {
    EXPECT_EQ((std::vector<int>{DesignSizeDelta(347, 100, 347), DesignSizeDelta(694, 100, 347),
                                DesignSizeDelta(347, 0x12340000 | 500, 347), DesignSizeDelta(301, -10, 301)}),
              (std::vector<int>{100, 200, 153, -10}));
    const ListSelectMeasures m = {75, 23, 22, 35, 8, 30, 45};  // button size, gap, top; list margins
    ListSelectPlacement p = LayOutListSelect(m, 400, 300, true);
    EXPECT_EQ(p.list, (RECT{8, 30, 392, 255}));
    EXPECT_EQ(p.ok, (RECT{114, 265, 189, 288}));
    EXPECT_EQ(p.cancel, (RECT{211, 265, 286, 288}));
    p = LayOutListSelect(m, 400, 300, false);
    EXPECT_EQ(p.ok.left, (400 - 75) / 2);
    RECT r = {100, 100, 150, 120};
    KeepMinimumSize(&r, WMSZ_LEFT, 200, 100);
    EXPECT_EQ(r, (RECT{-50, 100, 150, 200}));
    r = {100, 100, 150, 120};
    KeepMinimumSize(&r, WMSZ_TOPRIGHT, 200, 100);
    EXPECT_EQ(r, (RECT{100, 20, 300, 120}));
    for (POINT at : {POINT{-30, 10}, POINT{-19, 10}, POINT{750, 10}, POINT{10, 550}})
        EXPECT_EQ(UsableSavedPosition(at, 800, 600), at.x == -19) << at.x << "," << at.y;
}
