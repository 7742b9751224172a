// Item storage of the "TreeList" control: insert positions, handle numbering and table growth, deletes with
// their notifications (also when the parent deletes from inside them), reading items back, and finding.
#include <gtest/gtest.h>

#include "treelist/control/TreeListTestSupport.h"

#include <cstring>
#include <tuple>
#include <utility>

using namespace tltest;

namespace {

// A parent "P" with the children A to E, and a second top-level item "Q" with one child.
struct Family {
    TreeListRig rig;
    UINT_PTR p = rig.Insert("P"), q = rig.Insert("Q"), qChild = rig.Insert("Q1", q), kids[5];
    Family() {
        for (int i = 0; i < 5; ++i) kids[i] = rig.Insert(std::string(1, static_cast<char>('A' + i)).c_str(), p);
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
    // After: 0 for the handle of kids[afterKid]; underB: hParent B instead of P; the children of P afterwards.
    const struct { const char* name; UINT_PTR after; int afterKid; bool underB; const char* children; } cases[] = {
        {"first", Wide(0xFFFF0001), 0, false, "N A B C D E"},
        {"last", Wide(0xFFFF0002), 0, false, "A B C D E N"},
        {"own last", Wide(0xFFFF0004), 0, false, "A B C D E N"},
        {"after B", 0, 1, false, "A B N C D E"},
        {"after E", 0, 4, false, "A B C D E N"},
        {"third child", Wide(0xFFE00002), 0, false, "A B N C D E"},
        {"child 0", Wide(0xFFE00000), 0, false, "N A B C D E"},
        {"child 9 of 5", Wide(0xFFE00009), 0, false, "A B C D E N"},
        {"next to parent B", Wide(0xFFFF0005), 0, true, "A B N C D E"},
        {"before parent B", Wide(0xFFFF0006), 0, true, "A N B C D E"},
        {"unknown value", Wide(0xFFFF0042), 0, false, "A B C D E N"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Family f;
        const UINT_PTR n = f.rig.Insert("N", c.underB ? f.kids[1] : f.p, c.after ? c.after : f.kids[c.afterKid]);
        EXPECT_NE(n, 0u);
        EXPECT_EQ(f.rig.Shape(f.p), c.children);
        EXPECT_EQ(f.rig.Next(n, TVGN_PARENT), f.p);
    }
    Family f;
    // A sibling of another parent, and TVI_ROOT (which ignores the parent), both append.
    f.rig.Insert("X", f.p, f.qChild);
    const UINT_PTR top = f.rig.Insert("T", f.p, kRoot);
    EXPECT_EQ(f.rig.Shape(), "P(A B C D E X) Q(Q1) T");
    EXPECT_EQ(f.rig.Next(top, TVGN_PARENT), 0u);
    // Under a parent of one child the third position is the last.
    f.rig.Insert("Q2", f.q, Wide(0xFFE00002));
    EXPECT_EQ(f.rig.Shape(f.q), "Q1 Q2");
    EXPECT_EQ(f.rig.Insert("bad parent", 999), 0u);
}

TEST(TreeListItems, SortedInsertOrdersWithoutRegardToCase) {
    TreeListRig rig;
    for (const char* t : {"delta", "Alpha", "charlie", "Echo", "bravo", "alpha", "Foxtrot"})
        rig.Insert(t, 0, Wide(0xFFFF0003));
    const Texts got = rig.Children();
    ASSERT_EQ(got.size(), 7u);
    for (size_t i = 1; i < got.size(); ++i) EXPECT_LE(_stricmp(got[i - 1].c_str(), got[i].c_str()), 0) << i;
    EXPECT_EQ(got[0], "alpha");  // equal texts: the new one goes directly before the one it met
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
    for (int i = 6; i <= 500; ++i) ASSERT_EQ(rig.Text(i), std::to_string(i));
    EXPECT_EQ(std::tuple(rig.Count(), rig.Text(5), rig.Text(501), rig.Send(TLM_GETROWCOUNT)),
              std::tuple(500, std::string("5 again"), std::string("<bad>"), LRESULT(500)));
}

TEST(TreeListItems, StoredStateChildrenAndImages) {
    TreeListRig single(TVS_HASBUTTONS | TVS_SINGLEEXPAND);
    EXPECT_EQ(single.State(single.Insert("e", 0, Wide(0xFFFF0002), 0, TVIS_EXPANDED | TVIS_BOLD)), UINT(TVIS_BOLD));
    // Also when the state is held back for the window's thread (as inserts from worker threads do).
    const UINT_PTR held = single.Insert("held", 0, Wide(0xFFFF0002), TLIF_NOCALLBACK, TVIS_EXPANDED);
    single.Insert("child", held);
    PumpQueued();
    EXPECT_EQ(single.State(held) & TVIS_EXPANDED, 0u);

    TreeListRig rig(TVS_CHECKBOXES);
    EXPECT_EQ(rig.State(rig.Insert("plain")), UINT(INDEXTOSTATEIMAGEMASK(1)));  // check box clear
    TreeListInsertRecord r = {nullptr, TVI_LAST, {.mask = TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE,
                                                  .iImage = I_IMAGECALLBACK, .iSelectedImage = 4, .cChildren = 1}, 0};
    char text[8] = "guard";
    TVITEMA got = {
        .mask = TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_TEXT, .pszText = text, .cchTextMax = 8};
    ASSERT_TRUE(rig.Item(TVM_GETITEMA, static_cast<UINT_PTR>(rig.SendWith(TVM_INSERTITEMA, 0, &r)), got));
    EXPECT_EQ(std::tuple(got.cChildren, got.iImage, got.iSelectedImage, std::string(text)),
              std::tuple(1, I_IMAGECALLBACK, 4, std::string()));
}

TEST(TreeListItems, GetItemWritesNothingWithoutRoomAndChecksTheColumn) {
    TreeListRig rig;
    const UINT_PTR item = rig.Insert("some text");
    for (int room : {0, -1, -100, 1}) {
        char buffer[16];
        memset(buffer, '#', sizeof buffer);
        TVITEMA r = {.mask = TVIF_TEXT, .pszText = buffer + 4, .cchTextMax = room};
        const BOOL read = rig.Item(TVM_GETITEMA, item, r);
        EXPECT_TRUE(read || room <= 0);
        for (int i = 0; i < 16; ++i) ASSERT_EQ(buffer[i], room > 0 && i == 4 ? 0 : '#') << room << " at " << i;
    }
    // Cell columns are checked on reading too.
    for (int column : {-1, 1, 31, 40}) {
        char one[2];
        TVITEMA r = {.mask = TVIF_TEXT, .pszText = one, .cchTextMax = 2};
        EXPECT_FALSE(rig.Item(TVM_GETITEMA, item, r, column)) << column;
    }
    // The own-storage form hands out a pointer and the length + 1.
    TVITEMA r = {.mask = TVIF_TEXT | TLIF_TEXTPOINTER};
    EXPECT_TRUE(rig.Item(TVM_GETITEMA, item, r));
    EXPECT_STREQ(r.pszText, "some text");
    EXPECT_EQ(r.cchTextMax, 10);
}

TEST(TreeListItems, TextsPast65535CharactersKeepTheirLength) {
    TreeListRig rig;
    std::string big(70000, 'x');
    big[65536] = 'y';
    const UINT_PTR item = rig.Insert(big.c_str());
    std::vector<char> buffer(80000, '#');
    TVITEMA r = {.mask = TVIF_TEXT, .pszText = buffer.data(), .cchTextMax = 80000};
    ASSERT_TRUE(rig.Item(TVM_GETITEMA, item, r));
    EXPECT_EQ(std::string(buffer.data()), big);
}

// A text is kept in its item's record behind the user data: filling the user data leaves it, and every later
// text (shorter, longer, the call-back mark, empty) replaces it.
TEST(TreeListItems, TextsKeptWithTheRecordBehindTheUserData) {
    TreeListRig rig;
    ASSERT_TRUE(rig.Send(TLM_SETUSERDATASIZE, 0, 8));
    const UINT_PTR item = rig.Insert("abc"), other = rig.Insert("def");
    memset(reinterpret_cast<void*>(rig.Send(TLM_GETUSERDATA, 0, item)), 0xFF, 8);
    EXPECT_EQ(rig.Text(item), "abc");
    const char* callback = LPSTR_TEXTCALLBACKA;
    for (const char* text : {"x", "a text longer than the first", callback, "", "again"}) {
        EXPECT_TRUE(rig.Set(item, {.mask = TVIF_TEXT, .pszText = const_cast<char*>(text)}));
        EXPECT_EQ(rig.Text(item), text == callback ? "<callback>" : text);
    }
    EXPECT_TRUE(rig.Send(TVM_DELETEITEM, 0, item));
    EXPECT_TRUE(rig.Send(TVM_DELETEITEM, 0, other));
}

TEST(TreeListItems, NullRecordsAreRefused) {
    TreeListRig rig;
    rig.Insert("a");
    const struct { UINT msg; WPARAM wp; LRESULT result; } cases[] = {
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
    const UINT_PTR a1 = rig.Insert("a1", a, Wide(0xFFFF0002), 0, TVIS_SELECTED), a2 = rig.Insert("a2", a);
    EXPECT_EQ(rig.Caret(), a1);
    rig.Clear();
    EXPECT_TRUE(rig.Delete(r1));
    std::vector<UINT_PTR> deleted;
    for (const Notification& n : rig.log)
        if (n.code == TVN_DELETEITEMA) deleted.push_back(n.oldItem());
    EXPECT_EQ(deleted, (std::vector<UINT_PTR>{b, a2, a1, a, r1}));
    // The selected item reports its selection going before its deletion, with lParam and state.
    ASSERT_EQ(rig.Codes()[2], TVN_SELCHANGEDA);
    const Notification& n = rig.log[2];
    EXPECT_EQ(std::tuple(n.oldItem(), n.newItem(), n.tree.itemOld.state & TVIS_SELECTED),
              std::tuple(a1, 0u, UINT(TVIS_SELECTED)));
    EXPECT_EQ(std::tuple(rig.Caret(), rig.Shape(), rig.Send(TLM_GETROWCOUNT)),
              std::tuple(0u, std::string("R2"), LRESULT(1)));
    // Children only: refused for a leaf, which stays.
    EXPECT_FALSE(rig.Delete(r2, TLD_CHILDREN));
    rig.Insert("c", r2);
    EXPECT_TRUE(rig.Delete(r2, TLD_CHILDREN));
    EXPECT_EQ(rig.Shape(), "R2");
    // Everything, and the top-level items after the pinned ones.
    for (int i = 0; i < 4; ++i) rig.Insert("t");
    rig.Option(TLO_PINNEDROWS, 2);
    EXPECT_TRUE(rig.Delete(Wide(0xFFFF0009)));
    EXPECT_EQ(rig.Count(), 2);
    rig.Clear();
    EXPECT_TRUE(rig.Delete(kRoot));
    EXPECT_EQ(std::tuple(rig.Count(), rig.CountOf(TVN_DELETEITEMA), rig.Send(TLM_GETROWCOUNT)),
              std::tuple(0, 2, LRESULT(0)));
}

TEST(TreeListItems, DeletesWithNothingToDelete) {
    TreeListRig rig;
    EXPECT_TRUE(rig.Delete(kRoot));  // an empty tree: nothing left to delete is success
    rig.Insert("a");
    rig.Insert("b");
    // More top-level items kept than there are: none goes.
    for (int pinned : {2, 3, 10}) {
        rig.Option(TLO_PINNEDROWS, pinned);
        EXPECT_FALSE(rig.Delete(Wide(0xFFFF0009))) << pinned;
        EXPECT_EQ(rig.Count(), 2) << pinned;
    }
}

TEST(TreeListItems, ParentDeletingInsideDeleteNotification) {
    // Which item the parent deletes while it hears of the deletion of another one: an unrelated one, the next
    // in line, an ancestor being deleted, itself.
    for (int victimIndex = 0; victimIndex < 4; ++victimIndex) {
        SCOPED_TRACE(victimIndex);
        TreeListRig rig;
        const UINT_PTR r1 = rig.Insert("R1"), r2 = rig.Insert("R2");
        const UINT_PTR a = rig.Insert("a", r1), a1 = rig.Insert("a1", a), a2 = rig.Insert("a2", a);
        rig.Insert("r2 child", r2);
        UINT_PTR victim = std::vector<UINT_PTR>{r2, a1, r1, a2}[victimIndex];
        rig.answer = [&](NMHDR* h) -> LRESULT {
            if (h->code == static_cast<UINT>(TVN_DELETEITEMA) && victim) rig.Delete(std::exchange(victim, 0));
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
    const UINT_PTR deep = f.rig.Insert("c", f.kids[2], Wide(0xFFFF0002), 0, 0, 7);
    f.rig.Insert("C", f.kids[2]);
    const struct { UINT_PTR start; UINT mask; const char* text; UINT_PTR found; } cases[] = {
        {f.kids[0], TVIF_TEXT, "C", f.kids[2]},  // among the siblings from the start
        {f.kids[0], TVIF_TEXT, "c", 0},          // case counts
        {f.kids[0], TVIF_TEXT | TLF_CASELESS, "c", f.kids[2]},
        {f.kids[2], TVIF_TEXT | TLF_AFTERSTART, "C", 0},
        {f.p, TVIF_TEXT | TLF_CHILDREN, "E", f.kids[4]},
        {f.kids[0], TVIF_TEXT | TLF_CHILDREN, "E", 0},  // A has no children
        {kRoot, TVIF_TEXT, "Q", f.q},
        {kRoot, TVIF_TEXT | TLF_SUBTREE, "c", deep},
        {kRoot, TVIF_TEXT | TLF_SUBTREE | (2 << 8), "c", 0},  // level limit 1 below the root: out of reach
        {kRoot, TVIF_TEXT | TLF_SUBTREE | (3 << 8), "c", deep},
        {kRoot, TVIF_TEXT | TLF_SUBTREE | TLF_EXPANDEDONLY, "c", 0},
        {kRoot, TVIF_PARAM | TLF_SUBTREE, nullptr, deep},  // lParam 7
        {999, TVIF_TEXT, "A", 0},
    };
    for (const auto& c : cases) {
        TVITEMA key = {.mask = c.mask, .pszText = const_cast<char*>(c.text), .lParam = 7};
        EXPECT_EQ(static_cast<UINT_PTR>(f.rig.SendWith(TLM_FINDITEM, c.start, &key)), c.found)
            << std::hex << c.mask << " " << (c.text ? c.text : "-");
    }
}

TEST(TreeListItems, CountRangesAndNextItemCodes) {
    Family f;
    auto count = [&](UINT_PTR item, UINT mask, UINT state = 0) {
        TVITEMA r = {.mask = mask, .hItem = Handle(item), .state = state, .stateMask = state};
        return f.rig.SendWith(TLM_COUNTRANGE, 0, &r);
    };
    EXPECT_EQ(count(f.kids[2], TLR_SIBLINGS | TLR_ANY), 4);
    EXPECT_EQ(count(f.kids[2], TLR_SIBLINGS | TLR_ITEM | TLR_ANCESTORS | TLR_ANY), 6);
    EXPECT_EQ(count(kRoot, TLR_DESCENDANTS | TLR_ANY), 8);
    EXPECT_EQ(count(f.p, TLR_DESCENDANTS | TVIF_STATE, TVIS_SELECTED), 0);
    EXPECT_EQ(count(999, TLR_ITEM | TLR_ANY), -1);
    EXPECT_EQ((std::vector<UINT_PTR>{f.rig.Next(f.p, TLGN_LASTCHILD), f.rig.Next(f.kids[4], TLGN_NEXTINTREE),
                                     f.rig.Next(f.q, TLGN_PREVIOUSINTREE), f.rig.Next(kRoot, TLGN_PREVIOUSINTREE)}),
              (std::vector<UINT_PTR>{f.kids[4], f.q, f.kids[4], f.qChild}));
}

TEST(TreeListItems, SetRangeCutsToTheLowHalfOnlyUnderACondition) {
    Family f;
    auto set = [&](UINT mask, UINT state, UINT stateMask) {
        TVITEMA r = {.mask = TLR_ITEM | TVIF_STATE | mask, .hItem = Handle(f.q), .state = state, .stateMask = stateMask};
        return f.rig.SendWith(TLM_SETRANGE, 0, &r);
    };
    EXPECT_EQ(set(0, 0x80000 | TVIS_BOLD, 0x80000 | TVIS_BOLD), 1);  // span bits too
    EXPECT_EQ(f.rig.State(f.q) & 0x80010, 0x80010u);
    // With a condition bit the high halves are the condition (bold) and only the low halves are set.
    const UINT ifBold = TVIS_BOLD << 16;
    EXPECT_EQ(set(0x20000, ifBold, ifBold | TVIS_BOLD), 1);
    EXPECT_EQ(f.rig.State(f.q) & 0x80010, 0x80000u);
    EXPECT_EQ(set(0x20000, ifBold, ifBold | TVIS_BOLD), 0);
}
