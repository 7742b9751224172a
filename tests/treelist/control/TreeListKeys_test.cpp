// Keys of the "TreeList" control, sent as messages with modifier keys from SetKeyboardState: caret moves over
// rows and cells, Ctrl scrolling, Shift ranges, check boxes, Return and Tab, and the parent's answers to the
// notifications keys send (refusing, deleting the caret, swallowing the next character).
#include <gtest/gtest.h>

#include "treelist/control/TreeListTestSupport.h"

using namespace tltest;

namespace {

using Texts = std::vector<std::string>;

void Key(const TreeListRig& rig, UINT key) { rig.Send(WM_KEYDOWN, key, 1); }
int CaretColumn(const TreeListRig& rig) { return static_cast<int>(rig.Send(TVM_GETNEXTITEM, TLGN_CARETCOLUMN)); }
int FirstRow(const TreeListRig& rig) {
    return static_cast<int>(rig.Send(TLM_GETITEMROW, 0, static_cast<LPARAM>(rig.Next(0, TVGN_FIRSTVISIBLE))));
}

int SelectedCount(const TreeListRig& rig) {
    int n = 0;
    for (UINT_PTR i = rig.Next(0, TVGN_ROOT); i; i = rig.Next(i, TLGN_NEXTINTREE)) n += (rig.State(i) & TVIS_SELECTED) != 0;
    return n;
}

// R1 (R1a, R1b) collapsed, then R2 to R9, in a client that shows a few whole rows.
struct KeyTree {
    TreeListRig rig;
    UINT_PTR r1, r1a, r1b;
    explicit KeyTree(DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, int height = 200)
        : rig(style, 300, height) {
        r1 = rig.Insert("R1");
        r1a = rig.Insert("R1a", r1);
        r1b = rig.Insert("R1b", r1);
        for (const char* s : {"R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9"}) rig.Insert(s);
        SetFocus(rig.tree);
    }
};

}  // namespace

TEST(TreeListKeys, CaretMovesByRows) {
    struct Step {
        UINT key;
        const char* caret;  // afterwards
        bool selChange;     // TVN_SELCHANGINGA went out
    };
    const Step steps[] = {
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
    KeyTree t(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0);
    const int rowHeight = static_cast<int>(t.rig.Send(TVM_GETITEMHEIGHT));
    SetWindowPos(t.rig.tree, nullptr, 0, 0, 300, rowHeight * 5 + rowHeight / 2, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(t.rig.Send(TVM_GETVISIBLECOUNT), 5);
    for (const Step& s : steps) {
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
    SetWindowPos(t.rig.tree, nullptr, 0, 0, 300, rowHeight * 3 / 2, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(t.rig.Send(TVM_GETVISIBLECOUNT), 1);
    Key(t.rig, VK_NEXT);
    EXPECT_EQ(t.rig.CaretText(), "R2");
    EXPECT_EQ(FirstRow(t.rig), 1);  // scrolled into view
}

TEST(TreeListKeys, CaretMovesByCells) {
    TreeListRig rig;
    rig.AddColumns({80, 60, 0, 60});
    rig.Send(TVM_SETEXTENDEDSTYLE, TLX_CELLDROPHILITE, TLX_CELLDROPHILITE);
    rig.Insert("A");
    rig.Insert("B");
    SetFocus(rig.tree);
    Key(rig, VK_DOWN);
    const int expected[] = {1, 3, 3};  // the column of width 0 is skipped; the last stays
    for (int column : expected) {
        Key(rig, VK_RIGHT);
        EXPECT_EQ(CaretColumn(rig), column);
    }
    Key(rig, VK_DOWN);
    EXPECT_EQ(rig.CaretText(), "B");
    EXPECT_EQ(CaretColumn(rig), 3);
    Key(rig, VK_LEFT);
    EXPECT_EQ(CaretColumn(rig), 1);
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
    KeyTree t(TVS_HASBUTTONS | TVS_LINESATROOT, 0);
    const int rowHeight = static_cast<int>(t.rig.Send(TVM_GETITEMHEIGHT));
    SetWindowPos(t.rig.tree, nullptr, 0, 0, 300, rowHeight * 4, SWP_NOMOVE | SWP_NOZORDER);
    Key(t.rig, VK_DOWN);
    const int whole = static_cast<int>(t.rig.Send(TVM_GETVISIBLECOUNT));
    ASSERT_GE(whole, 2);
    const int last = 9 + 1 - whole;  // the first row stops where the 9 rows end
    Modifiers control({VK_CONTROL});
    Key(t.rig, VK_NEXT);
    EXPECT_EQ(FirstRow(t.rig), whole);
    EXPECT_EQ(t.rig.CaretText(), "R1");
    for (int i = 0; i < 9; ++i) Key(t.rig, VK_DOWN);
    EXPECT_EQ(FirstRow(t.rig), last);
    Key(t.rig, VK_HOME);
    EXPECT_EQ(FirstRow(t.rig), 0);
    Key(t.rig, VK_SPACE);  // toggles the caret's expansion
    EXPECT_TRUE(t.rig.State(t.r1) & TVIS_EXPANDED);
    // The parent hears of the scroll first and may refuse it.
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_SCROLLNOTIFY, TLX_SCROLLNOTIFY);
    t.rig.answer = [](NMHDR* h) -> LRESULT { return h->code == TLN_SCROLLED; };
    t.rig.Clear();
    Key(t.rig, VK_END);
    EXPECT_EQ(FirstRow(t.rig), 0);
    ASSERT_EQ(t.rig.CountOf(TLN_SCROLLED), 1);
    const NMTREELISTSCROLL& nm = reinterpret_cast<const NMTREELISTSCROLL&>(t.rig.log[0].hdr);
    EXPECT_EQ(nm.action, 1);
    EXPECT_EQ(nm.reason, SB_BOTTOM);
    EXPECT_EQ(nm.firstRow, 11 - whole);  // the item count (R1 is expanded now) less the whole rows
    t.rig.answer = nullptr;
    Key(t.rig, VK_END);
    EXPECT_EQ(FirstRow(t.rig), 11 - whole);
    EXPECT_EQ(t.rig.CaretText(), "R1");
}

TEST(TreeListKeys, ShiftRangesWithAnAnchor) {
    KeyTree t;
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_MULTISELECT, TLX_MULTISELECT);
    t.rig.Send(TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(t.rig.Next(t.r1)));  // R2
    Key(t.rig, VK_UP);
    {
        Modifiers shift({VK_SHIFT});
        Key(t.rig, VK_DOWN);
        Key(t.rig, VK_DOWN);
    }
    EXPECT_EQ(t.rig.CaretText(), "R3");
    EXPECT_EQ(SelectedCount(t.rig), 5);  // R1 (the anchor) to R3, with the hidden children of R1
    // A refused selection change keeps caret and anchor.
    t.rig.answer = [](NMHDR* h) -> LRESULT { return h->code == static_cast<UINT>(TVN_SELCHANGINGA); };
    Key(t.rig, VK_DOWN);
    EXPECT_EQ(t.rig.CaretText(), "R3");
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
    EXPECT_EQ(t.rig.log[0].tree.action, 0x10000u);
    EXPECT_EQ(t.rig.log[0].newItem(), t.r1);
    Key(t.rig, VK_SPACE);
    EXPECT_EQ(t.rig.State(t.r1) & 0xF000, 0x1000u);
    EXPECT_EQ(t.rig.CaretText(), "R1");

    t.rig.Clear();
    Key(t.rig, VK_RETURN);
    EXPECT_EQ(t.rig.Codes(), std::vector<UINT>{static_cast<UINT>(NM_RETURN)});

    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_TABTOPARENT, TLX_TABTOPARENT);
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
