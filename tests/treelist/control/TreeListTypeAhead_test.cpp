// Type-ahead: the buffer's timing rules and the search in-process, then typed characters in real controls on
// the replaceable clock, including a search that continues from a larger control in a smaller one.
#include <gtest/gtest.h>

#include "treelist/control/TreeListTestSupport.h"
#include "treelist/control/TreeListTypeAhead.h"

#include <memory>
#include <tuple>

using namespace tltest;

namespace {

long Search(const TreeListTypeAhead& state, const Texts& rows) {
    return TypeAheadSearch(state, static_cast<UINT>(rows.size()), [&](UINT r) { return rows[r].c_str(); });
}

TreeListTypeAhead Typed(const char* text, UINT start) {
    TreeListTypeAhead s = {};
    for (const char* p = text; *p; ++p) TypeAheadAdd(&s, static_cast<unsigned char>(*p), 100, start);
    return s;
}

void Type(const TreeListRig& rig, FakeClock& clock, const char* text, DWORD gap = 100) {
    for (const char* p = text; *p; ++p) {
        clock.Advance(gap);
        rig.Send(WM_CHAR, static_cast<unsigned char>(*p), 1);
    }
}

const Texts kFruit = {"Apple", "Banana", "avocado", "Berry", "Apricot", "Cherry", "\xe4pfel", "ab"};

}  // namespace

TEST(TreeListTypeAhead, BufferRules) {
    // Ms since the character before, the character, the characters held afterwards. Two characters, a third
    // 900 ms later starts anew (gap 750); three, a fourth 900 ms later goes on (1000).
    const struct { DWORD after; char c; int held; } steps[] = {
        {0, 'a', 1}, {400, 'b', 2}, {900, 'c', 1}, {100, 'd', 2},
        {100, 'e', 3}, {900, 'f', 4}, {1001, 'g', 1}, {499, 'h', 2}};
    TreeListTypeAhead s = {};
    DWORD now = 5000;
    for (const auto& step : steps) {
        now += step.after;
        TypeAheadAdd(&s, static_cast<unsigned char>(step.c), now, 7);
        EXPECT_EQ(s.count, step.held) << step.c;
    }
    EXPECT_STREQ(s.text, "GH");
    EXPECT_EQ(std::pair(TypeAheadHeld(s, now + 750), TypeAheadHeld(s, now + 751)), std::pair(2, 0));
    // Sixteen characters fill the buffer; the seventeenth starts a new one.
    TreeListTypeAhead full = Typed("abcdefghijklmnop", 0);
    EXPECT_EQ(full.count, 16);
    TypeAheadAdd(&full, 'q', 100, 0);
    EXPECT_STREQ(full.text, "Q");
    EXPECT_EQ(std::tuple(TypeAheadUpper(0xE4), TypeAheadUpper(0xFF)), std::tuple(0xC4, 0xFF));
}

TEST(TreeListTypeAhead, Search) {
    const struct { const char* typed; UINT start; long row; } cases[] = {
        {"a", 0, 2},         // the rows after the start first: "avocado"
        {"a", 4, 7},
        {"ap", 0, 4},        // "Apricot" comes before "Apple" (the start row itself is last)
        {"aa", 0, 4},        // no text begins with "AA": the second "A" row after the first one
        {"aaa", 0, 7},       // and the third
        {"bb", 0, 3},        // the "B" row after the first "B" row
        {"bx", 0, 1},        // no row begins with "X": the first "B" row
        {"\xc4", 0, 6},      // upper-cased 224-254
        {"zz", 0, -1},
        {"ch", 13, 5},       // a start row past the rows (from a larger control) wraps
    };
    for (const auto& c : cases) EXPECT_EQ(Search(Typed(c.typed, c.start), kFruit), c.row) << c.typed << " " << c.start;
    EXPECT_EQ(Search(Typed("a", 0), Texts{}), -1);
}

TEST(TreeListTypeAhead, TypedIntoControls) {
    FakeClock clock;
    clock.Advance(5000);
    TreeListRig rig;
    for (const std::string& s : kFruit) rig.Insert(s.c_str());
    Type(rig, clock, "aaa");
    EXPECT_EQ(rig.CaretText(), "ab");  // the third "A" row after the start
    char text[32] = {};
    EXPECT_EQ(rig.SendWith(TVM_GETISEARCHSTRINGA, 0, text), 3);
    EXPECT_STREQ(text, "AAA");
    clock.Advance(751);
    EXPECT_EQ(rig.Send(TVM_GETISEARCHSTRINGA), 0);
    Type(rig, clock, "ch", 1000);  // a new buffer after the pause: "C", then "H" 1000 ms later starts again
    EXPECT_EQ(rig.CaretText(), "Cherry");
    Type(rig, clock, "b", 1000);
    EXPECT_EQ(rig.CaretText(), "Banana");  // the rows after the caret's, wrapping

    // Switched off by the extended style.
    rig.Ex(TLX_NOTYPEAHEAD);
    Type(rig, clock, "a", 1000);
    EXPECT_EQ(rig.CaretText(), "Banana");

    // A buffer begun in a control of many rows goes on in one of three rows.
    auto big = std::make_unique<TreeListRig>();
    for (int i = 0; i < 100; ++i) big->Insert(i == 60 ? "Mango" : "x");
    big->Send(TVM_SELECTITEM, TVGN_CARET, big->RowItem(80));
    Type(*big, clock, "m", 1000);
    EXPECT_EQ(big->CaretText(), "Mango");
    TreeListRig small;
    for (const char* s : {"Melon", "Mandarin", "Lime"}) small.Insert(s);
    Type(small, clock, "a");  // "MA" within the gap: the start row 60 is taken modulo 3
    EXPECT_EQ(small.CaretText(), "Mandarin");
}

TEST(TreeListTypeAhead, TheFoundItemTakesTheSelectedCellMark) {
    FakeClock clock;
    clock.Advance(5000);
    TreeListRig rig;
    rig.Ex(TLX_MULTISELECT);
    auto items = rig.Build("Alpha Beta Gamma");
    const UINT_PTR alpha = items["Alpha"];
    SetFocus(rig.tree);
    rig.Send(TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(items["Gamma"]));
    Canvas before(300, 200, kUnpainted), after(300, 200, kUnpainted);
    rig.Paint(before.dc);
    // A Ctrl-click unselects Alpha and marks it; the item found by typing takes the mark over.
    for (WPARAM keys : {0, MK_CONTROL}) rig.Click(rig.OnText(alpha), keys);
    Type(rig, clock, "g", 1000);
    ASSERT_EQ(rig.Caret(), items["Gamma"]);
    rig.Paint(after.dc);
    const RECT row = rig.ItemRect(alpha);
    int changed = 0;
    for (int y = row.top; y < row.bottom; ++y)
        for (int x = row.left; x < row.right; ++x) changed += before.At(x, y) != after.At(x, y);
    EXPECT_EQ(changed, 0);  // no frame is left behind on Alpha
}

TEST(TreeListTypeAhead, SearchesTheCaretColumnSetByMessage) {
    FakeClock clock;
    clock.Advance(5000);
    TreeListRig rig;
    rig.AddColumns({100, 100});
    for (auto [name, cell] : {std::pair("Kiwi", "Lemon"), {"Lime", "Kale"}}) {
        const UINT_PTR item = rig.Insert(name);
        rig.Set(item, {.mask = TVIF_TEXT, .pszText = const_cast<char*>(cell)}, 1);
    }
    rig.Send(TLM_SELECTCELL, static_cast<WPARAM>(rig.RowItem(0)), 1);  // no cell navigation: only the message
    Type(rig, clock, "k", 1000);
    EXPECT_EQ(rig.CaretText(), "Lime");
}
