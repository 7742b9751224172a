// Columns of the "TreeList" control: sharing the free width by weight, minimum widths, the 32-column limit,
// display order, collapsed columns and what moves with an inserted or deleted column.
#include <gtest/gtest.h>

#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListTestSupport.h"

#include <numeric>

using namespace tltest;

namespace {

LVCOLUMNA Weighted(int weight, int minimum = -1) {
    LVCOLUMNA c = {};
    c.mask = LVCF_SUBITEM | (minimum >= 0 ? LVCF_ORDER : 0);
    c.cx = weight;
    c.iOrder = minimum;
    return c;
}

LVCOLUMNA Fixed(int width, const char* text = nullptr) {
    LVCOLUMNA c = {};
    c.mask = LVCF_WIDTH | (text ? LVCF_TEXT : 0);
    c.cx = width;
    c.pszText = const_cast<char*>(text);
    return c;
}

struct Columns {
    TreeListRig rig;
    explicit Columns(int width = 300) : rig(TVS_HASLINES, width, 200) {}
    LRESULT Add(LVCOLUMNA c, WPARAM at = 99) { return rig.Send(TLM_INSERTCOLUMN, at, reinterpret_cast<LPARAM>(&c)); }
    int Width(int column) const { return static_cast<int>(rig.Send(TLM_GETCOLUMNWIDTH, column)); }
    std::vector<int> Widths() const {
        std::vector<int> w;
        for (int c = 0; c < rig.Send(TLM_GETCOLUMNCOUNT); ++c) w.push_back(Width(c));
        return w;
    }
    int Client() const {
        RECT r;
        GetClientRect(rig.tree, &r);
        return r.right;
    }
    void Resize(int by) {
        RECT r;
        GetWindowRect(rig.tree, &r);
        SetWindowPos(rig.tree, nullptr, 0, 0, r.right - r.left + by, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    }
};

int Sum(const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); }

}  // namespace

TEST(TreeListColumns, SharesAddUpExactly) {
    const struct {
        int delta, client;
        std::vector<int> weights;
    } cases[] = {{10, 300, {1, 1, 2}}, {-7, 300, {1, 1, 2}}, {1, 17, {3, 3, 3}}, {-1, 5, {1, 2}},
                 {1000, 999, {255, 1, 7, 30}}, {-999, 1, {255, 1, 7, 30}}, {5, 0, {1}}};
    for (const auto& c : cases) {
        std::vector<int> shares(c.weights.size());
        ShareWidth(c.delta, c.client, c.weights.data(), static_cast<int>(c.weights.size()), shares.data());
        EXPECT_EQ(Sum(shares), c.delta) << c.delta;
        const int total = Sum(c.weights);
        for (size_t i = 0; i < shares.size(); ++i) {
            const double exact = static_cast<double>(c.delta) * c.weights[i] / total;
            EXPECT_LT(std::abs(shares[i] - exact), 1.0) << c.delta << " column " << i;
        }
    }
}

TEST(TreeListColumns, WeightedColumnsFollowTheClientWidth) {
    Columns t;
    EXPECT_EQ(t.Add(Weighted(1)), 0);
    EXPECT_EQ(t.Add(Weighted(1)), 1);
    EXPECT_EQ(t.Add(Weighted(2)), 2);
    std::vector<int> before = t.Widths();
    EXPECT_EQ(Sum(before), t.Client());
    t.Resize(10);
    std::vector<int> grown = t.Widths();
    EXPECT_EQ(Sum(grown) - Sum(before), 10);
    for (int c : {0, 1}) EXPECT_TRUE(grown[c] - before[c] == 2 || grown[c] - before[c] == 3) << c;
    EXPECT_EQ(grown[2] - before[2], 5);
    t.Resize(-7);
    EXPECT_EQ(Sum(t.Widths()), Sum(grown) - 7);
    EXPECT_EQ(Sum(t.Widths()), t.Client());
}

TEST(TreeListColumns, MinimumWidthAndItsDeficit) {
    Columns t(300);
    t.Add(Fixed(200));
    t.Add(Weighted(1, 80));
    EXPECT_EQ(t.Width(1), 100);
    t.Resize(-60);  // the share would be 40
    EXPECT_EQ(t.Width(1), 80);
    t.Resize(30);   // pays back 30 of the 40 missing
    EXPECT_EQ(t.Width(1), 80);
    t.Resize(30);
    EXPECT_EQ(t.Width(1), 100);
}

TEST(TreeListColumns, ThirtyTwoColumnsAtMost) {
    Columns t;
    for (int i = 0; i < 32; ++i) ASSERT_EQ(t.Add(Fixed(10)), i);
    EXPECT_EQ(t.Add(Fixed(10)), -1);
    EXPECT_EQ(t.rig.Send(TLM_GETCOLUMNCOUNT), 32);
    EXPECT_EQ(t.Widths().size(), 32u);
}

TEST(TreeListColumns, OrderIsCheckedAndHandedToTheHeader) {
    Columns t;
    for (int i = 0; i < 3; ++i) t.Add(Fixed(50));
    const BYTE repeated[] = {0, 2, 2}, swapped[] = {0, 2, 1};
    EXPECT_EQ(t.rig.Send(TLM_SETCOLUMNORDER, 3, reinterpret_cast<LPARAM>(repeated)), 0);
    EXPECT_EQ(t.rig.Send(TLM_SETCOLUMNORDER, 2, reinterpret_cast<LPARAM>(swapped)), 0);
    EXPECT_EQ(t.rig.Send(TLM_SETCOLUMNORDER, 40, reinterpret_cast<LPARAM>(swapped)), 0);
    t.rig.Clear();
    EXPECT_EQ(t.rig.Send(TLM_SETCOLUMNORDER, 3, reinterpret_cast<LPARAM>(swapped)), 1);
    EXPECT_EQ(t.rig.CountOf(TLN_COLUMNCHANGED), 3);
    int order[3] = {};
    EXPECT_TRUE(t.rig.Send(TLM_GETCOLUMNORDER, 3, reinterpret_cast<LPARAM>(order)));
    EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{0, 2, 1}));
    const UINT_PTR item = t.rig.Insert("x");
    RECT r = t.rig.ItemRect(item, 0x80 | (1 << 24));
    EXPECT_EQ(r.left, 99);  // column 1 now shows last (after 50 - 1 and 50)
    t.rig.Clear();
    EXPECT_EQ(t.rig.Send(TLM_SETCOLUMNORDER, 3, reinterpret_cast<LPARAM>(swapped)), 1);
    EXPECT_TRUE(t.rig.log.empty());
}

TEST(TreeListColumns, CollapsedWidthIsRemembered) {
    Columns t;
    t.Add(Fixed(120));
    t.Add(Fixed(70));
    LVCOLUMNA collapse = {};
    collapse.mask = LVCF_WIDTH | 0x20000000;
    collapse.fmt = 0x20000000;
    collapse.cx = 0;
    t.rig.Send(TLM_SETCOLUMN, 1, reinterpret_cast<LPARAM>(&collapse));
    EXPECT_EQ(t.Width(1), 0);
    LVCOLUMNA restore = {};
    restore.mask = LVCF_WIDTH;
    restore.cx = 0x44332211;
    t.rig.Send(TLM_SETCOLUMN, 1, reinterpret_cast<LPARAM>(&restore));
    EXPECT_EQ(t.Width(1), 70);
}

TEST(TreeListColumns, ReferencesMoveWithInsertedAndDeletedColumns) {
    Columns t;
    t.rig.Send(TVM_SETEXTENDEDSTYLE, 0, TLX_COLUMNNOTIFY);
    t.Add(Fixed(60, "tree"));
    t.Add(Fixed(60, "one"));
    t.Add(Fixed(60, "two"));
    EXPECT_EQ(t.rig.CountOf(TLN_COLUMNCHANGED), 3);
    const UINT_PTR item = t.rig.Insert("x");
    t.rig.Send(TLM_SETCELLBKCOLOR, item | (2 << 24), RGB(1, 2, 3));
    // An insert at 0 comes in right of the tree column; the cell of "two" moves to column 3.
    EXPECT_EQ(t.Add(Fixed(60, "new"), 0), 1);
    EXPECT_EQ(t.rig.Send(TLM_GETCELLBKCOLOR, item, 3), RGB(1, 2, 3));
    EXPECT_EQ(t.rig.Send(TLM_GETCELLBKCOLOR, item, 2), -1);
    char text[16] = {};
    LVCOLUMNA get = {};
    get.mask = LVCF_TEXT | LVCF_WIDTH;
    get.pszText = text;
    get.cchTextMax = sizeof text;
    EXPECT_TRUE(t.rig.Send(TLM_GETCOLUMN, 3, reinterpret_cast<LPARAM>(&get)));
    EXPECT_STREQ(text, "two");
    EXPECT_EQ(get.cx, 60);
    // A cell never touched reads empty with no image (and exists from then on).
    TVITEMA cell = {};
    cell.mask = TVIF_TEXT | TVIF_IMAGE | TLIF_CELL;
    cell.hItem = reinterpret_cast<HTREEITEM>(item);
    cell.cChildren = 2;
    cell.pszText = text;
    cell.cchTextMax = sizeof text;
    EXPECT_TRUE(t.rig.Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&cell)));
    EXPECT_STREQ(text, "");
    EXPECT_EQ(cell.iImage, -2);
    // Deleting column 1 brings "two" and its cell back to 2; the tree column goes only when alone.
    EXPECT_TRUE(t.rig.Send(TLM_DELETECOLUMN, 1));
    EXPECT_EQ(t.rig.Send(TLM_GETCELLBKCOLOR, item, 2), RGB(1, 2, 3));
    EXPECT_FALSE(t.rig.Send(TLM_DELETECOLUMN, 0));
    EXPECT_FALSE(t.rig.Send(TLM_DELETECOLUMN, 3));
    EXPECT_EQ(t.rig.Send(TLM_GETCOLUMNCOUNT), 3);
}
