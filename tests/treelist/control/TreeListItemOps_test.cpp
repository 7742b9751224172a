// Item operations of the "TreeList" control: expanding with the own walk bits, setting items and cells, and a
// parent that deletes the item from inside the notifications these operations send.
#include <gtest/gtest.h>

#include "treelist/control/TreeListTestSupport.h"

#include <thread>
#include <tuple>

using namespace tltest;

namespace {

constexpr UINT kSubtree = 0x10000000, kSiblings = 0x8000000, kParent = 0x20000000, kAncestors = 0x80000000;

LRESULT Expand(const TreeListRig& rig, UINT code, UINT_PTR item) { return rig.Send(TVM_EXPAND, code, item); }
int Rows(const TreeListRig& rig) { return static_cast<int>(rig.Send(TLM_GETROWCOUNT)); }
BOOL SetState(const TreeListRig& rig, UINT_PTR item, UINT state, UINT stateMask) {
    return rig.Set(item, {.mask = TVIF_HANDLE | TVIF_STATE, .state = state, .stateMask = stateMask});
}

// Two top-level items A and B; A has A1 (with A1a, A1b) and A2; B has B1.
struct Tree {
    TreeListRig rig;
    UINT_PTR a, a1, a1a, a1b, a2, b, b1;
    explicit Tree(DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT) : rig(style) {
        a = rig.Insert("A");
        a1 = rig.Insert("A1", a);
        a1a = rig.Insert("A1a", a1);
        a1b = rig.Insert("A1b", a1);
        a2 = rig.Insert("A2", a);
        b = rig.Insert("B");
        b1 = rig.Insert("B1", b);
    }
    std::vector<UINT_PTR> All() const { return {a, a1, a1a, a1b, a2, b, b1}; }
    int ExpandedCount() const {
        int n = 0;
        for (UINT_PTR i : All()) n += (rig.State(i) & TVIS_EXPANDED) != 0;
        return n;
    }
};

}  // namespace

TEST(TreeListExpand, TogglePartlyExpandedExpandsFullyAndNotifies) {
    Tree t;
    const UINT bits = TVIS_EXPANDED | TVIS_EXPANDPARTIAL | TVIS_EXPANDEDONCE;
    EXPECT_EQ(Expand(t.rig, TVE_EXPAND | TVE_EXPANDPARTIAL, t.a), 1);
    EXPECT_EQ(t.rig.State(t.a) & (TVIS_EXPANDED | TVIS_EXPANDPARTIAL), UINT(TVIS_EXPANDED | TVIS_EXPANDPARTIAL));
    t.rig.Clear();
    EXPECT_EQ(Expand(t.rig, TVE_TOGGLE, t.a), 1);
    EXPECT_EQ(t.rig.State(t.a) & bits, UINT(TVIS_EXPANDED | TVIS_EXPANDEDONCE));
    ASSERT_EQ(t.rig.Codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}));
    const NMTREEVIEWA& n = t.rig.log[0].tree;
    EXPECT_EQ(std::tuple(n.action, t.rig.log[0].newItem(), n.itemOld.mask, n.itemNew.mask),
              std::tuple(UINT(TVE_EXPAND), t.a, 0u, UINT(TVIF_HANDLE | TVIF_STATE | TVIF_PARAM)));
    EXPECT_EQ(t.rig.RowTexts(), (Texts{"A", "A1", "A2", "B"}));
    EXPECT_EQ(Expand(t.rig, TVE_TOGGLE, t.a), 1);
    EXPECT_EQ(Rows(t.rig), 2);
}

TEST(TreeListExpand, WalkBitsReachTheRightItems) {
    // The item as an index into All(), -1 for TVI_ROOT; the items with TVIS_EXPANDED afterwards.
    const struct { const char* name; UINT code; int item; LRESULT result; int expanded; } cases[] = {
        {"root without descendants bit", TVE_EXPAND, -1, 0, 0},
        {"root, whole tree", TVE_EXPAND | kSubtree, -1, 1, 7},
        {"item and its subtree", TVE_EXPAND | kSubtree, 0, 1, 5},
        {"item and following siblings", TVE_EXPAND | kSiblings, 1, 1, 2},
        {"siblings with their subtrees", TVE_EXPAND | kSiblings | kSubtree, 1, 1, 4},
        {"the parent instead", TVE_EXPAND | kParent, 2, 1, 1},
        {"a top-level item's parent", TVE_EXPAND | kParent, 0, 0, 0},
        {"top-level parent with descendants", TVE_EXPAND | kParent | kSubtree, 5, 1, 7},
        {"every ancestor", TVE_EXPAND | kAncestors, 2, 1, 3},
        {"unknown action", 7, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tree t;
        EXPECT_EQ(Expand(t.rig, c.code, c.item < 0 ? kRoot : t.All()[c.item]), c.result);
        EXPECT_EQ(t.ExpandedCount(), c.expanded);
    }
    Tree t;
    EXPECT_EQ(Expand(t.rig, TVE_EXPAND | kSubtree, Wide(0xFFFF0000)), 1);  // sign-extended TVI_ROOT
    EXPECT_EQ(Rows(t.rig), 7);
    t.rig.Clear();
    EXPECT_EQ(Expand(t.rig, TVE_COLLAPSE | kSubtree | 0x4000000, kRoot), 1);
    EXPECT_EQ(t.ExpandedCount(), 0);
    EXPECT_TRUE(t.rig.log.empty());  // silent
    EXPECT_EQ(Rows(t.rig), 2);
    EXPECT_EQ(Expand(t.rig, TVE_EXPAND, 999), 0);
}

TEST(TreeListExpand, CollapseResetQueueAndCaret) {
    Tree t;
    Expand(t.rig, TVE_EXPAND | kSubtree, kRoot);
    ASSERT_TRUE(t.rig.Send(TVM_SELECTITEM, TVGN_CARET, t.a1b));
    // Collapsing an ancestor of the caret moves the caret to it.
    EXPECT_EQ(Expand(t.rig, TVE_COLLAPSE, t.a), 1);
    EXPECT_EQ(t.rig.Caret(), t.a);
    EXPECT_EQ(std::pair(t.rig.State(t.a) & TVIS_SELECTED, t.rig.State(t.a1b) & TVIS_SELECTED),
              std::pair(UINT(TVIS_SELECTED), 0u));
    // Reset deletes the children and forgets that the item was expanded once.
    EXPECT_EQ(Expand(t.rig, TVE_COLLAPSE | TVE_COLLAPSERESET, t.a1), 1);
    EXPECT_EQ(t.rig.Shape(), "A(A1 A2) B(B1)");
    EXPECT_FALSE(t.rig.State(t.a1) & TVIS_EXPANDEDONCE);
    // Queued: done by the window's thread when it gets to its messages.
    t.rig.Clear();
    EXPECT_EQ(Expand(t.rig, TVE_COLLAPSE | 0x2000000, t.b), 1);
    EXPECT_TRUE(t.rig.State(t.b) & TVIS_EXPANDED);
    PumpQueued();
    EXPECT_FALSE(t.rig.State(t.b) & TVIS_EXPANDED);
    EXPECT_EQ(t.rig.CountOf(TVN_ITEMEXPANDEDA), 1);
}

TEST(TreeListExpand, ParentRefusesOrDeletesInsideTheNotification) {
    Tree t;
    t.rig.answer = [](NMHDR* h) -> LRESULT { return h->code == static_cast<UINT>(TVN_ITEMEXPANDINGA); };
    EXPECT_EQ(Expand(t.rig, TVE_EXPAND, t.a), 0);
    EXPECT_FALSE(t.rig.State(t.a) & TVIS_EXPANDED);
    for (UINT code : {static_cast<UINT>(TVN_ITEMEXPANDINGA), static_cast<UINT>(TVN_ITEMEXPANDEDA)}) {
        Tree u;
        u.rig.answer = [&](NMHDR* h) -> LRESULT {
            if (h->code == code) u.rig.Delete(u.a);
            return 0;
        };
        EXPECT_EQ(Expand(u.rig, TVE_EXPAND | kSubtree, u.a), 0);
        EXPECT_EQ(u.rig.Count(), 2);
        EXPECT_EQ(Rows(u.rig), 1);
    }
}

TEST(TreeListSetItem, ItemsAndCells) {
    TreeListRig rig;
    rig.AddColumns({80, 80, 80});
    const UINT_PTR a = rig.Insert("A");
    auto image = [&](int column) { return rig.Get(a, TVIF_IMAGE, column).iImage; };
    EXPECT_TRUE(rig.Set(a, {.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE, .pszText = const_cast<char*>("a longer text"),
                            .iImage = I_IMAGECALLBACK, .lParam = 77}));
    EXPECT_EQ(std::tuple(rig.Text(a), rig.Send(TLM_GETITEMPARAM, 0, a), image(0)),
              std::tuple(std::string("a longer text"), LRESULT(77), I_IMAGECALLBACK));
    // A cell is made on demand; an image other than -1 clears only the cell's call-back flag.
    EXPECT_TRUE(rig.Set(a, {.mask = TVIF_TEXT | TVIF_IMAGE, .pszText = const_cast<char*>("cell"), .iImage = 3}, 2));
    EXPECT_EQ(std::tuple(rig.Text(a, 2), image(2), image(0)), std::tuple(std::string("cell"), 3, I_IMAGECALLBACK));
    EXPECT_TRUE(rig.Set(a, {.mask = TVIF_TEXT, .pszText = LPSTR_TEXTCALLBACKA}, 2));
    EXPECT_EQ(rig.Text(a, 2), "<callback>");
    EXPECT_FALSE(rig.Set(a, {.mask = TVIF_TEXT, .pszText = const_cast<char*>("past the columns")}, 3));
    EXPECT_FALSE(rig.Set(999, {.mask = TVIF_TEXT, .pszText = const_cast<char*>("bad item")}, 1));
}

TEST(TreeListSetItem, SelectionAndExpansionGoThroughTheirOperations) {
    Tree t;
    EXPECT_TRUE(SetState(t.rig, t.a, TVIS_SELECTED, TVIS_SELECTED));
    EXPECT_EQ(t.rig.Caret(), t.a);
    EXPECT_EQ(t.rig.Codes(), (std::vector<UINT>{TVN_SELCHANGINGA, TVN_SELCHANGEDA}));
    t.rig.Clear();
    EXPECT_TRUE(SetState(t.rig, t.a, TVIS_EXPANDED, TVIS_EXPANDED));
    EXPECT_EQ(t.rig.Codes(), (std::vector<UINT>{TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}));
    EXPECT_EQ(Rows(t.rig), 4);
    // A leaf only stores the bit.
    t.rig.Clear();
    EXPECT_TRUE(SetState(t.rig, t.a2, TVIS_EXPANDED | TVIS_BOLD, TVIS_EXPANDED | TVIS_BOLD));
    EXPECT_TRUE(t.rig.log.empty());
    EXPECT_EQ(t.rig.State(t.a2) & (TVIS_EXPANDED | TVIS_BOLD), UINT(TVIS_EXPANDED | TVIS_BOLD));
    // Unselecting the caret clears the caret.
    EXPECT_TRUE(SetState(t.rig, t.a, 0, TVIS_SELECTED));
    EXPECT_EQ(t.rig.Caret(), 0u);
    EXPECT_FALSE(t.rig.State(t.a) & TVIS_SELECTED);

    // With TVS_SINGLEEXPAND the expanded bit is not set through TVM_SETITEMA.
    Tree single(TVS_HASBUTTONS | TVS_SINGLEEXPAND);
    SetState(single.rig, single.a, TVIS_EXPANDED, TVIS_EXPANDED);
    EXPECT_FALSE(single.rig.State(single.a) & TVIS_EXPANDED);

    // From another thread with TLIF_NOCALLBACK: selection and expansion wait for the window's thread.
    Tree w;
    std::thread worker([&] {
        TVITEMA r = {.mask = TVIF_HANDLE | TVIF_STATE | TLIF_NOCALLBACK,
                     .hItem = Handle(w.b),
                     .state = TVIS_SELECTED | TVIS_EXPANDED | TVIS_BOLD,
                     .stateMask = TVIS_SELECTED | TVIS_EXPANDED | TVIS_BOLD};
        w.rig.Direct(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&r));
    });
    worker.join();
    EXPECT_EQ(w.rig.State(w.b) & (TVIS_SELECTED | TVIS_EXPANDED | TVIS_BOLD), UINT(TVIS_BOLD));
    EXPECT_TRUE(w.rig.log.empty());
    PumpQueued();
    EXPECT_EQ(w.rig.Caret(), w.b);
    EXPECT_TRUE(w.rig.State(w.b) & TVIS_EXPANDED);
    for (const Notification& n : w.rig.log) EXPECT_EQ(n.thread, GetCurrentThreadId());
}

TEST(TreeListSetItem, ParentDeletesTheItemWhileItIsSelected) {
    for (UINT code : {static_cast<UINT>(TVN_SELCHANGINGA), static_cast<UINT>(TVN_SELCHANGEDA)}) {
        Tree t(TVS_HASBUTTONS | TVS_SINGLEEXPAND);
        t.rig.answer = [&](NMHDR* h) -> LRESULT {
            if (h->code == code) t.rig.Delete(t.a);
            return 0;
        };
        SetState(t.rig, t.a1, TVIS_SELECTED, TVIS_SELECTED);
        EXPECT_EQ(t.rig.Count(), 2);
        EXPECT_EQ(t.rig.Caret(), 0u);
        t.rig.answer = nullptr;
        EXPECT_TRUE(t.rig.Send(TVM_SELECTITEM, TVGN_CARET, t.b1));  // handles still work afterwards
    }
}

TEST(TreeListSetItem, SingleExpandFollowsTheCaret) {
    Tree t(TVS_HASBUTTONS | TVS_SINGLEEXPAND);
    auto select = [&](UINT_PTR item) { return t.rig.Send(TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(item)); };
    EXPECT_TRUE(select(t.a1));  // the new caret's branch opens (A1), the old one (none) has nothing to close
    EXPECT_EQ(t.rig.CountOf(TVN_SINGLEEXPAND), 1);
    EXPECT_TRUE(t.rig.State(t.a1) & TVIS_EXPANDED);
    EXPECT_TRUE(select(t.b));  // A1 closes up to the ancestor it shares with B (none): A1 and A
    EXPECT_EQ(t.ExpandedCount(), 1);
    EXPECT_TRUE(t.rig.State(t.b) & TVIS_EXPANDED);
    t.rig.answer = [](NMHDR* h) -> LRESULT { return h->code == static_cast<UINT>(TVN_SINGLEEXPAND) ? 3 : 0; };
    EXPECT_TRUE(select(t.a));  // the parent keeps both as they are
    EXPECT_EQ(t.ExpandedCount(), 1);
    EXPECT_TRUE(t.rig.State(t.b) & TVIS_EXPANDED);
    // From B to an item inside the closed A: B closes, and the caret stays on the new item (it had no row to
    // lose), not on its shown ancestor.
    t.rig.answer = nullptr;
    EXPECT_TRUE(select(t.b));
    EXPECT_TRUE(select(t.a1));
    EXPECT_EQ(std::tuple(t.rig.Caret(), t.rig.State(t.a1) & TVIS_EXPANDED, t.rig.State(t.b) & TVIS_EXPANDED),
              std::tuple(t.a1, UINT(TVIS_EXPANDED), 0u));
}
