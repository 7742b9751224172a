// Type-ahead: the buffer's timing rules and the search in-process, then typed characters in real controls on
// the replaceable clock, including a search that continues from a larger control in a smaller one.
#include <gtest/gtest.h>

#include "treelist/control/TreeListTestSupport.h"
#include "treelist/control/TreeListTypeAhead.h"

#include <memory>

using namespace tltest;

namespace {

using Texts = std::vector<std::string>;

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
    struct Step {
        DWORD after;     // ms since the character before
        char c;
        int held;        // characters held afterwards
    };
    // Two characters, a third 900 ms later starts anew (gap 750); three, a fourth 900 ms later goes on (1000).
    const Step steps[] = {{0, 'a', 1}, {400, 'b', 2}, {900, 'c', 1}, {100, 'd', 2}, {100, 'e', 3},
                          {900, 'f', 4}, {1001, 'g', 1}, {499, 'h', 2}};
    TreeListTypeAhead s = {};
    DWORD now = 5000;
    for (const Step& step : steps) {
        now += step.after;
        TypeAheadAdd(&s, static_cast<unsigned char>(step.c), now, 7);
        EXPECT_EQ(s.count, step.held) << step.c;
    }
    EXPECT_STREQ(s.text, "GH");
    EXPECT_EQ(TypeAheadHeld(s, now + 750), 2);
    EXPECT_EQ(TypeAheadHeld(s, now + 751), 0);
    // Sixteen characters fill the buffer; the seventeenth starts a new one.
    TreeListTypeAhead full = Typed("abcdefghijklmnop", 0);
    EXPECT_EQ(full.count, 16);
    TypeAheadAdd(&full, 'q', 100, 0);
    EXPECT_STREQ(full.text, "Q");
    EXPECT_EQ(TypeAheadUpper(0xE4), 0xC4);
    EXPECT_EQ(TypeAheadUpper(0xFF), 0xFF);
}

TEST(TreeListTypeAhead, Search) {
    struct Case {
        const char* typed;
        UINT start;
        long row;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(Search(Typed(c.typed, c.start), kFruit), c.row);
    }
    EXPECT_EQ(Search(Typed("a", 0), Texts{}), -1);
}

TEST(TreeListTypeAhead, TypedIntoControls) {
    FakeClock clock;
    clock.Advance(5000);
    TreeListRig rig;
    for (const std::string& s : kFruit) rig.Insert(s.c_str());
    Type(rig, clock, "aaa");
    EXPECT_EQ(rig.CaretText(), "ab");  // the third "A" row after the start
    EXPECT_EQ(rig.Send(TVM_GETISEARCHSTRINGA), 3);
    char text[32] = {};
    rig.Send(TVM_GETISEARCHSTRINGA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "AAA");
    clock.Advance(751);
    EXPECT_EQ(rig.Send(TVM_GETISEARCHSTRINGA), 0);
    Type(rig, clock, "ch", 1000);  // a new buffer after the pause: "C", then "H" 1000 ms later starts again
    EXPECT_EQ(rig.CaretText(), "Cherry");
    Type(rig, clock, "b", 1000);
    EXPECT_EQ(rig.CaretText(), "Banana");  // the rows after the caret's, wrapping

    // Switched off by the extended style.
    rig.Send(TVM_SETEXTENDEDSTYLE, TLX_NOTYPEAHEAD, TLX_NOTYPEAHEAD);
    Type(rig, clock, "a", 1000);
    EXPECT_EQ(rig.CaretText(), "Banana");
    rig.Send(TVM_SETEXTENDEDSTYLE, TLX_NOTYPEAHEAD, 0);

    // A buffer begun in a control of many rows goes on in one of three rows.
    auto big = std::make_unique<TreeListRig>();
    for (int i = 0; i < 100; ++i) big->Insert(i == 60 ? "Mango" : "x");
    big->Send(TVM_SELECTITEM, TVGN_CARET, big->Send(TLM_GETROWITEM, 0, 80));
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
    rig.Send(TVM_SETEXTENDEDSTYLE, TLX_MULTISELECT, TLX_MULTISELECT);
    const UINT_PTR alpha = rig.Insert("Alpha");
    rig.Insert("Beta");
    const UINT_PTR gamma = rig.Insert("Gamma");
    SetFocus(rig.tree);
    rig.Send(TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(gamma));
    Canvas before(300, 200), after(300, 200);
    rig.Send(WM_PAINT, reinterpret_cast<WPARAM>(before.dc));
    // A Ctrl-click unselects Alpha and marks it; the item found by typing takes the mark over.
    const POINT p = rig.OnText(alpha);
    for (WPARAM keys : {0, MK_CONTROL}) {
        rig.Mouse(WM_LBUTTONDOWN, p.x, p.y, keys | MK_LBUTTON);
        rig.Mouse(WM_LBUTTONUP, p.x, p.y, keys);
    }
    Type(rig, clock, "g", 1000);
    ASSERT_EQ(rig.Caret(), gamma);
    rig.Send(WM_PAINT, reinterpret_cast<WPARAM>(after.dc));
    const RECT row = rig.ItemRect(alpha);
    int changed = 0;
    for (int y = row.top; y < row.bottom; ++y)
        for (int x = row.left; x < row.right; ++x) changed += before.At(x, y) != after.At(x, y);
    EXPECT_EQ(changed, 0);  // no frame is left behind on Alpha
}
