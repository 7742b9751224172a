// Keys of the "TreeList" control, sent as messages with modifier keys from SetKeyboardState: caret moves over
// rows and cells, Ctrl scrolling, Shift ranges, check boxes, Return and Tab, and the parent's answers to the
// notifications keys send (refusing, deleting the caret, swallowing the next character).
#include <gtest/gtest.h>

#include "treelist/control/TreeListTestSupport.h"

using namespace tltest;

namespace {

void Key(const TreeListRig& rig, UINT key) { rig.Send(WM_KEYDOWN, key, 1); }
int CaretColumn(const TreeListRig& rig) { return static_cast<int>(rig.Send(TVM_GETNEXTITEM, TLGN_CARETCOLUMN)); }

int SelectedCount(const TreeListRig& rig) {
    int n = 0;
    for (UINT_PTR i = rig.Next(0, TVGN_ROOT); i; i = rig.Next(i, TLGN_NEXTINTREE))
        n += (rig.State(i) & TVIS_SELECTED) != 0;
    return n;
}

// R1 (R1a, R1b) collapsed, then R2 to R9, in a client that shows a few whole rows.
struct KeyTree {
    TreeListRig rig;
    UINT_PTR r1, r1a, r1b;
    // rows: a client of that many whole rows and a half; 0 for the default size.
    explicit KeyTree(DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, int rows = 0) : rig(style) {
        r1 = rig.Insert("R1");
        r1a = rig.Insert("R1a", r1);
        r1b = rig.Insert("R1b", r1);
        for (const char* s : {"R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9"}) rig.Insert(s);
        if (rows) Resize(rows);
        SetFocus(rig.tree);
    }
    void Resize(int rows) const {
        SetWindowPos(rig.tree, nullptr, 0, 0, 300, rig.RowHeight() * (2 * rows + 1) / 2, SWP_NOMOVE | SWP_NOZORDER);
    }
};

}  // namespace

TEST(TreeListKeys, CaretMovesByRows) {
    // The key, the caret afterwards, and whether TVN_SELCHANGINGA went out.
    const struct { UINT key; const char* caret; bool selChange; } steps[] = {
        {VK_UP, "R1", true},        // no caret yet: the first row
        {VK_UP, "R1", false},       // the first row cannot move up
        {VK_RIGHT, "R1", false},    // expands
        {VK_RIGHT, "R1a", true},    // into the first child
        {VK_DOWN, "R1b", true},
        {VK_BACK, "R1", true},      // the parent
        {VK_BACK, "R1", false},     // a top-level item has no parent row
        {VK_LEFT, "R1", false},     // collapses
        {VK_END, "R9", true},
        {VK_HOME, "R1", true},
        {VK_NEXT, "R5", true},      // whole rows - 1
        {VK_PRIOR, "R1", true},
        {'X', "R1", false},         // other keys only notify
    };
    KeyTree t(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 5);
    ASSERT_EQ(t.rig.Send(TVM_GETVISIBLECOUNT), 5);
    for (const auto& s : steps) {
        SCOPED_TRACE(s.key);
        t.rig.Clear();
        Key(t.rig, s.key);
        EXPECT_EQ(t.rig.CaretText(), s.caret);
        EXPECT_EQ(t.rig.CountOf(TVN_SELCHANGINGA), s.selChange ? 1 : 0);
        ASSERT_FALSE(t.rig.log.empty());
        EXPECT_EQ(t.rig.log.back().code, static_cast<UINT>(TVN_KEYDOWN));
        EXPECT_EQ(reinterpret_cast<const NMTVKEYDOWN&>(t.rig.log.back().hdr).wVKey, s.key);
    }
    EXPECT_EQ(SelectedCount(t.rig), 1);
    // A client of one whole row: Page Down moves one row.
    t.Resize(1);
    ASSERT_EQ(t.rig.Send(TVM_GETVISIBLECOUNT), 1);
    Key(t.rig, VK_NEXT);
    EXPECT_EQ(t.rig.CaretText(), "R2");
    EXPECT_EQ(t.rig.FirstRow(), 1);  // scrolled into view
}

TEST(TreeListKeys, CaretMovesByCells) {
    TreeListRig rig;
    rig.AddColumns({80, 60, 0, 60});
    rig.Ex(TLX_CELLDROPHILITE);
    rig.Build("A B");
    SetFocus(rig.tree);
    Key(rig, VK_DOWN);
    // The column of width 0 is skipped; the last stays.
    for (auto [key, caret, column] : {std::tuple(VK_RIGHT, "A", 1), {VK_RIGHT, "A", 3}, {VK_RIGHT, "A", 3},
                                      {VK_DOWN, "B", 3}, {VK_LEFT, "B", 1}}) {
        Key(rig, key);
        EXPECT_EQ(std::pair(rig.CaretText(), CaretColumn(rig)), std::pair(std::string(caret), column)) << key;
    }
    // Space in a column other than the tree column does not toggle a check box.
    rig.Send(TLM_SELECTCELL, static_cast<WPARAM>(-1), 1);
    SetWindowLongA(rig.tree, GWL_STYLE, GetWindowLongA(rig.tree, GWL_STYLE) | TVS_CHECKBOXES);
    const UINT before = rig.State(rig.Caret());
    rig.Clear();
    Key(rig, VK_SPACE);
    EXPECT_EQ(rig.State(rig.Caret()), before);
    EXPECT_EQ(rig.CountOf(TLN_CHECKCHANGED), 0);
}

TEST(TreeListKeys, ControlScrollsAndKeepsTheCaret) {
    KeyTree t(TVS_HASBUTTONS | TVS_LINESATROOT);
    SetWindowPos(t.rig.tree, nullptr, 0, 0, 300, t.rig.RowHeight() * 4, SWP_NOMOVE | SWP_NOZORDER);
    Key(t.rig, VK_DOWN);
    const int whole = static_cast<int>(t.rig.Send(TVM_GETVISIBLECOUNT));
    ASSERT_GE(whole, 2);
    const int last = 9 + 1 - whole;  // the first row stops where the 9 rows end
    Modifiers control({VK_CONTROL});
    Key(t.rig, VK_NEXT);
    EXPECT_EQ(t.rig.FirstRow(), whole);
    EXPECT_EQ(t.rig.CaretText(), "R1");
    for (int i = 0; i < 9; ++i) Key(t.rig, VK_DOWN);
    EXPECT_EQ(t.rig.FirstRow(), last);
    Key(t.rig, VK_HOME);
    EXPECT_EQ(t.rig.FirstRow(), 0);
    Key(t.rig, VK_SPACE);  // toggles the caret's expansion
    EXPECT_TRUE(t.rig.State(t.r1) & TVIS_EXPANDED);
    // The parent hears of the scroll first and may refuse it.
    t.rig.Ex(TLX_SCROLLNOTIFY);
    t.rig.answer = [](NMHDR* h) -> LRESULT { return h->code == TLN_SCROLLED; };
    t.rig.Clear();
    Key(t.rig, VK_END);
    EXPECT_EQ(t.rig.FirstRow(), 0);
    ASSERT_EQ(t.rig.CountOf(TLN_SCROLLED), 1);
    // The first row: the item count (R1 is expanded now) less the whole rows.
    const NMTREELISTSCROLL& nm = t.rig.log[0].scroll;
    EXPECT_EQ(std::tuple(nm.action, nm.reason, nm.firstRow), std::tuple(1, SB_BOTTOM, 11 - whole));
    t.rig.answer = nullptr;
    Key(t.rig, VK_END);
    EXPECT_EQ(t.rig.FirstRow(), 11 - whole);
    EXPECT_EQ(t.rig.CaretText(), "R1");
}

TEST(TreeListKeys, ShiftRangesWithAnAnchor) {
    KeyTree t;
    t.rig.Ex(TLX_MULTISELECT);
    t.rig.Send(TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(t.rig.Next(t.r1)));  // R2
    Key(t.rig, VK_UP);
    {
        Modifiers shift({VK_SHIFT});
        Key(t.rig, VK_DOWN);
        Key(t.rig, VK_DOWN);
    }
    EXPECT_EQ(t.rig.CaretText(), "R3");
    EXPECT_EQ(SelectedCount(t.rig), 5);  // R1 (the anchor) to R3, with the hidden children of R1
    // A refused selection change keeps caret, anchor and the selection.
    t.rig.answer = [](NMHDR* h) -> LRESULT { return h->code == static_cast<UINT>(TVN_SELCHANGINGA); };
    Key(t.rig, VK_DOWN);
    EXPECT_EQ(t.rig.CaretText(), "R3");
    EXPECT_EQ(SelectedCount(t.rig), 5);
    t.rig.answer = nullptr;
    // Shift+End: every row to the end, and the hidden children of the collapsed R1 from the anchor.
    Key(t.rig, VK_HOME);
    EXPECT_EQ(SelectedCount(t.rig), 1);
    {
        Modifiers shift({VK_SHIFT});
        Key(t.rig, VK_END);
    }
    EXPECT_EQ(SelectedCount(t.rig), 11);
    EXPECT_TRUE(t.rig.State(t.r1a) & TVIS_SELECTED);
    Key(t.rig, VK_UP);  // without Shift the caret is the only selected item again
    EXPECT_EQ(SelectedCount(t.rig), 1);
    EXPECT_EQ(t.rig.CaretText(), "R8");
}

TEST(TreeListKeys, SpaceReturnTabAndTheParentsAnswers) {
    KeyTree t(TVS_HASBUTTONS | TVS_LINESATROOT | TVS_CHECKBOXES);
    Key(t.rig, VK_DOWN);
    t.rig.Clear();
    Key(t.rig, VK_SPACE);
    EXPECT_EQ(t.rig.State(t.r1) & 0xF000, 0x2000u);
    ASSERT_EQ(t.rig.CountOf(TLN_CHECKCHANGED), 1);
    EXPECT_EQ(std::pair(t.rig.log[0].tree.action, t.rig.log[0].newItem()), std::pair(0x10000u, t.r1));
    Key(t.rig, VK_SPACE);
    EXPECT_EQ(t.rig.State(t.r1) & 0xF000, 0x1000u);
    EXPECT_EQ(t.rig.CaretText(), "R1");
    t.rig.Clear();
    Key(t.rig, VK_RETURN);
    EXPECT_EQ(t.rig.Codes(), std::vector<UINT>{static_cast<UINT>(NM_RETURN)});
    t.rig.Ex(TLX_TABTOPARENT);
    Key(t.rig, VK_TAB);
    EXPECT_EQ(GetFocus(), t.rig.parent);
    // A non-zero answer to TVN_KEYDOWN swallows the next character.
    t.rig.answer = [](NMHDR* h) -> LRESULT { return h->code == static_cast<UINT>(TVN_KEYDOWN); };
    Key(t.rig, 'R');
    EXPECT_EQ(GetFocus(), t.rig.tree);  // a key takes the focus back
    t.rig.Send(WM_CHAR, 'R', 1);
    EXPECT_EQ(t.rig.CaretText(), "R1");
    EXPECT_EQ(t.rig.Send(TVM_GETISEARCHSTRINGA), 0);
    // The parent deletes the caret item while a key is handled.
    for (UINT code : {static_cast<UINT>(TVN_SELCHANGINGA), static_cast<UINT>(TVN_SELCHANGEDA),
                      static_cast<UINT>(TVN_KEYDOWN)}) {
        KeyTree u;
        Key(u.rig, VK_DOWN);
        u.rig.answer = [&](NMHDR* h) -> LRESULT {
            if (h->code == code && u.rig.Caret()) u.rig.Delete(u.rig.Caret());
            return 0;
        };
        Key(u.rig, VK_DOWN);
        Key(u.rig, VK_RIGHT);
        EXPECT_LT(u.rig.Count(), 11);
    }
}
