// Item storage of the "TreeList" control: insert positions, handle numbering and table growth, deletes with
// their notifications (also when the parent deletes from inside them), reading items back, and finding.
#include <gtest/gtest.h>

#include "treelist/control/TreeListTestSupport.h"

using namespace tltest;

namespace {

using Texts = std::vector<std::string>;

// Sign-extended as 64-bit callers pass them.
UINT_PTR Wide(UINT value) { return static_cast<UINT_PTR>(static_cast<LONG_PTR>(static_cast<int>(value))); }

// A parent "P" with the children A to E, and a second top-level item "Q" with one child.
struct Family {
    TreeListRig rig;
    UINT_PTR p, q, qChild, kids[5];
    Family() {
        p = rig.Insert("P");
        q = rig.Insert("Q");
        qChild = rig.Insert("Q1", q);
        const char* names[] = {"A", "B", "C", "D", "E"};
        for (int i = 0; i < 5; ++i) kids[i] = rig.Insert(names[i], p);
    }
};

// Counts the items reachable through the links, for checking against TVM_GETCOUNT.
int Reachable(const TreeListRig& rig) {
    int n = 0;
    for (UINT_PTR i = rig.Next(0, TVGN_ROOT); i; i = rig.Next(i, TLGN_NEXTINTREE)) ++n;
    return n;
}

}  // namespace

TEST(TreeListItems, InsertPositions) {
    struct Case {
        const char* name;
        UINT_PTR after;   // 0: the handle of kids[afterKid]
        int afterKid;
        bool underB;      // hParent = B instead of P
        Texts children;   // of P afterwards
    };
    const Case cases[] = {
        {"first", Wide(0xFFFF0001), 0, false, {"N", "A", "B", "C", "D", "E"}},
        {"last", Wide(0xFFFF0002), 0, false, {"A", "B", "C", "D", "E", "N"}},
        {"own last", Wide(0xFFFF0004), 0, false, {"A", "B", "C", "D", "E", "N"}},
        {"after B", 0, 1, false, {"A", "B", "N", "C", "D", "E"}},
        {"after E", 0, 4, false, {"A", "B", "C", "D", "E", "N"}},
        {"third child", Wide(0xFFE00002), 0, false, {"A", "B", "N", "C", "D", "E"}},
        {"child 0", Wide(0xFFE00000), 0, false, {"N", "A", "B", "C", "D", "E"}},
        {"child 9 of 5", Wide(0xFFE00009), 0, false, {"A", "B", "C", "D", "E", "N"}},
        {"next to parent B", Wide(0xFFFF0005), 0, true, {"A", "B", "N", "C", "D", "E"}},
        {"before parent B", Wide(0xFFFF0006), 0, true, {"A", "N", "B", "C", "D", "E"}},
        {"unknown value", Wide(0xFFFF0042), 0, false, {"A", "B", "C", "D", "E", "N"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Family f;
        const UINT_PTR after = c.after ? c.after : f.kids[c.afterKid];
        const UINT_PTR n = f.rig.Insert("N", c.underB ? f.kids[1] : f.p, after);
        EXPECT_NE(n, 0u);
        EXPECT_EQ(f.rig.Children(f.p), c.children);
        EXPECT_EQ(f.rig.Next(n, TVGN_PARENT), f.p);
    }
    Family f;
    // A sibling of another parent, and TVI_ROOT (which ignores the parent), both append.
    f.rig.Insert("X", f.p, f.qChild);
    EXPECT_EQ(f.rig.Children(f.p).back(), "X");
    const UINT_PTR top = f.rig.Insert("T", f.p, reinterpret_cast<UINT_PTR>(TVI_ROOT));
    EXPECT_EQ(f.rig.Children(), (Texts{"P", "Q", "T"}));
    EXPECT_EQ(f.rig.Next(top, TVGN_PARENT), 0u);
    // Under a parent of one child the third position is the last.
    f.rig.Insert("Q2", f.q, Wide(0xFFE00002));
    EXPECT_EQ(f.rig.Children(f.q), (Texts{"Q1", "Q2"}));
    EXPECT_EQ(f.rig.Insert("bad parent", 999), 0u);
}

TEST(TreeListItems, SortedInsertOrdersWithoutRegardToCase) {
    TreeListRig rig;
    for (const char* t : {"delta", "Alpha", "charlie", "Echo", "bravo", "alpha", "Foxtrot"})
        rig.Insert(t, 0, Wide(0xFFFF0003));
    const Texts got = rig.Children();
    ASSERT_EQ(got.size(), 7u);
    for (size_t i = 1; i < got.size(); ++i) EXPECT_LE(_stricmp(got[i - 1].c_str(), got[i].c_str()), 0) << i;
    // Equal texts: the new one goes directly before the one it met.
    EXPECT_EQ(got[0], "alpha");
}

TEST(TreeListItems, HandlesStartAtOneContinueAfterDeletesAndSurviveGrowth) {
    TreeListRig rig;
    EXPECT_EQ(rig.Insert("first"), 1u);
    for (int i = 2; i <= 10; ++i) rig.Insert(std::to_string(i).c_str());
    EXPECT_TRUE(rig.Delete(5));
    EXPECT_EQ(rig.Insert("11"), 11u);
    for (int i = 12; i <= 64; ++i) ASSERT_EQ(rig.Insert(std::to_string(i).c_str()), UINT_PTR(i));
    // The table of 64 has one free entry: the search wraps from the table's end to it.
    EXPECT_EQ(rig.Insert("5 again"), 5u);
    // 500 items cross the table sizes 64, 160 and 304; every text reads back.
    for (int i = 65; i <= 500; ++i) ASSERT_EQ(rig.Insert(std::to_string(i).c_str()), UINT_PTR(i));
    EXPECT_EQ(rig.Count(), 500);
    for (int i = 6; i <= 500; ++i) ASSERT_EQ(rig.Text(i), std::to_string(i));
    EXPECT_EQ(rig.Text(5), "5 again");
    EXPECT_EQ(rig.Text(501), "<bad>");
    EXPECT_EQ(rig.Send(TLM_GETROWCOUNT), 500);
}

TEST(TreeListItems, StoredStateChildrenAndImages) {
    TreeListRig single(TVS_HASBUTTONS | TVS_SINGLEEXPAND);
    const UINT_PTR e = single.Insert("e", 0, Wide(0xFFFF0002), 0, TVIS_EXPANDED | TVIS_BOLD);
    EXPECT_EQ(single.Send(TVM_GETITEMSTATE, e), TVIS_BOLD);
    // Also when the state is held back for the window's thread (as inserts from worker threads do).
    const UINT_PTR held = single.Insert("held", 0, Wide(0xFFFF0002), TLIF_NOCALLBACK, TVIS_EXPANDED);
    single.Insert("child", held);
    Pump();
    EXPECT_EQ(single.Send(TVM_GETITEMSTATE, held) & TVIS_EXPANDED, 0);

    TreeListRig rig(TVS_CHECKBOXES);
    const UINT_PTR plain = rig.Insert("plain");
    EXPECT_EQ(rig.Send(TVM_GETITEMSTATE, plain), INDEXTOSTATEIMAGEMASK(1));  // check box clear
    TreeListInsertRecord r = {};
    r.hInsertAfter = TVI_LAST;
    r.item.mask = TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    r.item.cChildren = 1;
    r.item.iImage = I_IMAGECALLBACK;
    r.item.iSelectedImage = 4;
    const UINT_PTR item = rig.Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&r));
    TVITEMA got = {};
    got.mask = TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_TEXT;
    got.hItem = reinterpret_cast<HTREEITEM>(item);
    char text[8] = "guard";
    got.pszText = text;
    got.cchTextMax = sizeof text;
    ASSERT_TRUE(rig.Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&got)));
    EXPECT_EQ(got.cChildren, 1);
    EXPECT_EQ(got.iImage, I_IMAGECALLBACK);
    EXPECT_EQ(got.iSelectedImage, 4);
    EXPECT_STREQ(text, "");
}

TEST(TreeListItems, GetItemWritesNothingWithoutRoomAndChecksTheColumn) {
    TreeListRig rig;
    const UINT_PTR item = rig.Insert("some text");
    for (int room : {0, -1, -100}) {
        char buffer[16];
        memset(buffer, '#', sizeof buffer);
        TVITEMA r = {};
        r.mask = TVIF_TEXT;
        r.hItem = reinterpret_cast<HTREEITEM>(item);
        r.pszText = buffer + 4;
        r.cchTextMax = room;
        rig.Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&r));
        for (char c : buffer) ASSERT_EQ(c, '#') << room;
    }
    char one[2] = {'#', '#'};
    TVITEMA r = {};
    r.mask = TVIF_TEXT;
    r.hItem = reinterpret_cast<HTREEITEM>(item);
    r.pszText = one;
    r.cchTextMax = 1;
    EXPECT_TRUE(rig.Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(one[0], 0);
    EXPECT_EQ(one[1], '#');
    // Cell columns are checked on reading too.
    for (int column : {-1, 1, 31, 40}) {
        r.mask = TVIF_TEXT | TLIF_CELL;
        r.cChildren = column;
        EXPECT_FALSE(rig.Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&r))) << column;
    }
    // The own-storage form hands out a pointer and the length + 1.
    r = {};
    r.mask = TVIF_TEXT | TLIF_TEXTPOINTER;
    r.hItem = reinterpret_cast<HTREEITEM>(item);
    EXPECT_TRUE(rig.Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&r)));
    EXPECT_STREQ(r.pszText, "some text");
    EXPECT_EQ(r.cchTextMax, 10);
}

TEST(TreeListItems, TextsPast65535CharactersKeepTheirLength) {
    TreeListRig rig;
    std::string big(70000, 'x');
    big[65536] = 'y';
    const UINT_PTR item = rig.Insert(big.c_str());
    std::vector<char> buffer(80000, '#');
    TVITEMA r = {};
    r.mask = TVIF_TEXT;
    r.hItem = reinterpret_cast<HTREEITEM>(item);
    r.pszText = buffer.data();
    r.cchTextMax = static_cast<int>(buffer.size());
    ASSERT_TRUE(rig.Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(std::string(buffer.data()), big);
}

TEST(TreeListItems, NullRecordsAreRefused) {
    TreeListRig rig;
    rig.Insert("a");
    const struct {
        UINT msg;
        WPARAM wp;
        LRESULT result;
    } cases[] = {
        {TVM_INSERTITEMA, 0, 0},   {TVM_GETITEMA, 0, 0},       {TVM_GETITEMRECT, 0, 0},
        {TLM_COUNTRANGE, 0, -1},   {TLM_SETRANGE, 0, -1},      {TLM_FINDITEM, 1, 0},
        {TLM_SETCELLCOLOR, 1, 0},  {TLM_SETCOLUMNORDER, 1, 0}, {TLM_GETCOLUMNORDER, 1, 0},
        {TLM_GETCOLUMN, 0, 0},     {TLM_SETCOLUMN, 0, 0},      {TLM_INSERTCOLUMN, 0, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(rig.Send(c.msg, c.wp, 0), c.result) << std::hex << c.msg;
    EXPECT_EQ(rig.Count(), 1);
}

TEST(TreeListItems, DeleteSendsNotificationsChildrenFirst) {
    TreeListRig rig;
    const UINT_PTR r1 = rig.Insert("R1"), r2 = rig.Insert("R2");
    const UINT_PTR a = rig.Insert("a", r1), b = rig.Insert("b", r1);
    const UINT_PTR a1 = rig.Insert("a1", a, Wide(0xFFFF0002), 0, TVIS_SELECTED);
    const UINT_PTR a2 = rig.Insert("a2", a);
    EXPECT_EQ(rig.Next(0, TVGN_CARET), a1);
    rig.Clear();
    EXPECT_TRUE(rig.Delete(r1));
    std::vector<UINT_PTR> deleted;
    for (const Notification& n : rig.log)
        if (n.code == TVN_DELETEITEMA) deleted.push_back(n.oldItem());
    EXPECT_EQ(deleted, (std::vector<UINT_PTR>{b, a2, a1, a, r1}));
    // The selected item reports its selection going before its deletion, with lParam and state.
    ASSERT_EQ(rig.Codes()[2], TVN_SELCHANGEDA);
    EXPECT_EQ(rig.log[2].oldItem(), a1);
    EXPECT_EQ(rig.log[2].newItem(), 0u);
    EXPECT_TRUE(rig.log[2].tree.itemOld.state & TVIS_SELECTED);
    EXPECT_EQ(rig.Next(0, TVGN_CARET), 0u);
    EXPECT_EQ(rig.Count(), 1);
    EXPECT_EQ(rig.Children(), Texts{"R2"});
    EXPECT_EQ(rig.Send(TLM_GETROWCOUNT), 1);
    // Children only: refused for a leaf, which stays.
    EXPECT_FALSE(rig.Delete(r2, TLD_CHILDREN));
    EXPECT_EQ(rig.Count(), 1);
    rig.Insert("c", r2);
    EXPECT_TRUE(rig.Delete(r2, TLD_CHILDREN));
    EXPECT_EQ(rig.Count(), 1);
    // Everything, and the top-level items after the pinned ones.
    for (int i = 0; i < 4; ++i) rig.Insert("t");
    rig.Send(TLM_OPTION, kTreeListSetOption | TLO_PINNEDROWS, 2);
    EXPECT_TRUE(rig.Delete(Wide(0xFFFF0009)));
    EXPECT_EQ(rig.Count(), 2);
    rig.Clear();
    EXPECT_TRUE(rig.Delete(reinterpret_cast<UINT_PTR>(TVI_ROOT)));
    EXPECT_EQ(rig.Count(), 0);
    EXPECT_EQ(rig.CountOf(TVN_DELETEITEMA), 2);
    EXPECT_EQ(rig.Send(TLM_GETROWCOUNT), 0);
}

TEST(TreeListItems, ParentDeletingInsideDeleteNotification) {
    // Which item the parent deletes while it hears of the deletion of another one.
    enum Victim { kUnrelated, kNextInLine, kAncestorBeingDeleted, kItself };
    for (Victim v : {kUnrelated, kNextInLine, kAncestorBeingDeleted, kItself}) {
        SCOPED_TRACE(v);
        TreeListRig rig;
        const UINT_PTR r1 = rig.Insert("R1"), r2 = rig.Insert("R2");
        const UINT_PTR a = rig.Insert("a", r1);
        const UINT_PTR a1 = rig.Insert("a1", a), a2 = rig.Insert("a2", a);
        rig.Insert("r2 child", r2);
        bool done = false;
        rig.answer = [&](NMHDR* h) -> LRESULT {
            if (h->code != static_cast<UINT>(TVN_DELETEITEMA) || done) return 0;
            done = true;
            const UINT_PTR victim = v == kUnrelated ? r2 : v == kNextInLine ? a1 : v == kAncestorBeingDeleted ? r1 : a2;
            rig.Delete(victim);
            return 0;
        };
        rig.Delete(a);
        rig.answer = nullptr;
        EXPECT_EQ(rig.Count(), Reachable(rig));
        EXPECT_EQ(rig.Next(a, TVGN_PARENT), 0u);
        EXPECT_EQ(rig.Text(a2), "<bad>");
        rig.Insert("after");  // still usable
        EXPECT_EQ(rig.Count(), Reachable(rig));
    }
}

TEST(TreeListItems, FindByKey) {
    Family f;
    TreeListRig& rig = f.rig;
    const UINT_PTR deep = rig.Insert("c", f.kids[2], Wide(0xFFFF0002), 0, 0, 7);
    rig.Insert("C", f.kids[2]);
    auto find = [&](UINT_PTR start, UINT mask, const char* text, LPARAM param = 0, UINT state = 0) {
        TVITEMA key = {};
        key.mask = mask;
        key.pszText = const_cast<char*>(text);
        key.lParam = param;
        key.state = state;
        key.stateMask = state;
        return static_cast<UINT_PTR>(rig.Send(TLM_FINDITEM, start, reinterpret_cast<LPARAM>(&key)));
    };
    EXPECT_EQ(find(f.kids[0], TVIF_TEXT, "C"), f.kids[2]);          // among the siblings from the start
    EXPECT_EQ(find(f.kids[0], TVIF_TEXT, "c"), 0u);                 // case counts
    EXPECT_EQ(find(f.kids[0], TVIF_TEXT | TLF_CASELESS, "c"), f.kids[2]);
    EXPECT_EQ(find(f.kids[2], TVIF_TEXT | TLF_AFTERSTART, "C"), 0u);
    EXPECT_EQ(find(f.p, TVIF_TEXT | TLF_CHILDREN, "E"), f.kids[4]);
    EXPECT_EQ(find(f.kids[0], TVIF_TEXT | TLF_CHILDREN, "E"), 0u);  // A has no children
    EXPECT_EQ(find(reinterpret_cast<UINT_PTR>(TVI_ROOT), TVIF_TEXT, "Q"), f.q);
    EXPECT_EQ(find(reinterpret_cast<UINT_PTR>(TVI_ROOT), TVIF_TEXT | TLF_SUBTREE, "c"), deep);
    // Level limit 1 below the root: P's grandchildren are out of reach; 3 reaches them.
    EXPECT_EQ(find(reinterpret_cast<UINT_PTR>(TVI_ROOT), TVIF_TEXT | TLF_SUBTREE | (2 << 8), "c"), 0u);
    EXPECT_EQ(find(reinterpret_cast<UINT_PTR>(TVI_ROOT), TVIF_TEXT | TLF_SUBTREE | (3 << 8), "c"), deep);
    EXPECT_EQ(find(reinterpret_cast<UINT_PTR>(TVI_ROOT), TVIF_TEXT | TLF_SUBTREE | TLF_EXPANDEDONLY, "c"), 0u);
    EXPECT_EQ(find(reinterpret_cast<UINT_PTR>(TVI_ROOT), TVIF_PARAM | TLF_SUBTREE, nullptr, 7), deep);
    EXPECT_EQ(find(999, TVIF_TEXT, "A"), 0u);
}

TEST(TreeListItems, CountRangesAndNextItemCodes) {
    Family f;
    TreeListRig& rig = f.rig;
    auto count = [&](UINT_PTR item, UINT mask, UINT state = 0) {
        TVITEMA r = {};
        r.mask = mask;
        r.hItem = reinterpret_cast<HTREEITEM>(item);
        r.state = state;
        r.stateMask = state;
        return rig.Send(TLM_COUNTRANGE, 0, reinterpret_cast<LPARAM>(&r));
    };
    EXPECT_EQ(count(f.kids[2], TLR_SIBLINGS | TLR_ANY), 4);
    EXPECT_EQ(count(f.kids[2], TLR_SIBLINGS | TLR_ITEM | TLR_ANCESTORS | TLR_ANY), 6);
    EXPECT_EQ(count(reinterpret_cast<UINT_PTR>(TVI_ROOT), TLR_DESCENDANTS | TLR_ANY), 8);
    EXPECT_EQ(count(f.p, TLR_DESCENDANTS | TVIF_STATE, TVIS_SELECTED), 0);
    EXPECT_EQ(count(999, TLR_ITEM | TLR_ANY), -1);
    EXPECT_EQ(rig.Next(f.p, TLGN_LASTCHILD), f.kids[4]);
    EXPECT_EQ(rig.Next(f.kids[4], TLGN_NEXTINTREE), f.q);
    EXPECT_EQ(rig.Next(f.q, TLGN_PREVIOUSINTREE), f.kids[4]);
    EXPECT_EQ(rig.Next(reinterpret_cast<UINT_PTR>(TVI_ROOT), TLGN_PREVIOUSINTREE), f.qChild);
}
