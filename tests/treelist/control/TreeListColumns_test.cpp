// Columns of the "TreeList" control: sharing the free width by weight, minimum widths, the 32-column limit,
// display order, collapsed columns and what moves with an inserted or deleted column.
#include <gtest/gtest.h>

#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListTestSupport.h"

#include <numeric>

using namespace tltest;

namespace {

LVCOLUMNA Weighted(int weight, int minimum = -1) {
    return {.mask = LVCF_SUBITEM | (minimum >= 0 ? LVCF_ORDER : 0u), .cx = weight, .iOrder = minimum};
}
LVCOLUMNA Fixed(int width, const char* text = nullptr) {
    return {.mask = LVCF_WIDTH | (text ? LVCF_TEXT : 0u), .cx = width, .pszText = const_cast<char*>(text)};
}

struct Columns {
    TreeListRig rig;
    explicit Columns(int width = 300) : rig(TVS_HASLINES, width, 200) {}
    LRESULT Add(LVCOLUMNA c, WPARAM at = 99) { return rig.SendWith(TLM_INSERTCOLUMN, at, &c); }
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
    const struct { int delta, client; std::vector<int> weights; } cases[] = {
        {10, 300, {1, 1, 2}}, {-7, 300, {1, 1, 2}}, {1, 17, {3, 3, 3}}, {-1, 5, {1, 2}}, {1000, 999, {255, 1, 7, 30}},
        {-999, 1, {255, 1, 7, 30}}, {5, 0, {1}}};
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
    for (int weight : {1, 1, 2}) t.Add(Weighted(weight));
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
    // The share would be 40; 30 pay back 30 of the 40 missing.
    for (auto [by, width] : {std::pair(-60, 80), {30, 80}, {30, 100}}) {
        t.Resize(by);
        EXPECT_EQ(t.Width(1), width) << by;
    }
}

TEST(TreeListColumns, ThirtyTwoColumnsAtMost) {
    Columns t;
    for (int i = 0; i < 32; ++i) ASSERT_EQ(t.Add(Fixed(10)), i);
    EXPECT_EQ(t.Add(Fixed(10)), -1);
    EXPECT_EQ(t.Widths(), std::vector<int>(32, 10));
}

TEST(TreeListColumns, OrderIsCheckedAndHandedToTheHeader) {
    Columns t;
    for (int i = 0; i < 3; ++i) t.Add(Fixed(50));
    BYTE repeated[] = {0, 2, 2}, swapped[] = {0, 2, 1};
    EXPECT_EQ(t.rig.SendWith(TLM_SETCOLUMNORDER, 3, repeated), 0);
    EXPECT_EQ(t.rig.SendWith(TLM_SETCOLUMNORDER, 2, swapped), 0);
    EXPECT_EQ(t.rig.SendWith(TLM_SETCOLUMNORDER, 40, swapped), 0);
    // Set twice: only the change is reported.
    for (int changed : {3, 0}) {
        t.rig.Clear();
        EXPECT_EQ(t.rig.SendWith(TLM_SETCOLUMNORDER, 3, swapped), 1);
        EXPECT_EQ(t.rig.CountOf(TLN_COLUMNCHANGED), changed);
        EXPECT_TRUE(changed || t.rig.log.empty());
    }
    int order[3] = {};
    EXPECT_TRUE(t.rig.SendWith(TLM_GETCOLUMNORDER, 3, order));
    EXPECT_EQ(std::vector<int>(order, order + 3), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(t.rig.ItemRect(t.rig.Insert("x"), 0x80 | (1 << 24)).left, 99);  // column 1 shows last (after 49 and 50)
}

TEST(TreeListColumns, CollapsedWidthIsRemembered) {
    Columns t;
    t.Add(Fixed(120));
    t.Add(Fixed(70));
    LVCOLUMNA collapse = {.mask = LVCF_WIDTH | 0x20000000, .fmt = 0x20000000, .cx = 0},
              restore = {.mask = LVCF_WIDTH, .cx = 0x44332211};
    t.rig.SendWith(TLM_SETCOLUMN, 1, &collapse);
    EXPECT_EQ(t.Width(1), 0);
    t.rig.SendWith(TLM_SETCOLUMN, 1, &restore);
    EXPECT_EQ(t.Width(1), 70);
}

TEST(TreeListColumns, ReferencesMoveWithInsertedAndDeletedColumns) {
    Columns t;
    t.rig.Send(TVM_SETEXTENDEDSTYLE, 0, TLX_COLUMNNOTIFY);
    for (const char* text : {"tree", "one", "two"}) t.Add(Fixed(60, text));
    EXPECT_EQ(t.rig.CountOf(TLN_COLUMNCHANGED), 3);
    const UINT_PTR item = t.rig.Insert("x");
    t.rig.Send(TLM_SETCELLBKCOLOR, item | (2 << 24), RGB(1, 2, 3));
    // An insert at 0 comes in right of the tree column; the cell of "two" moves to column 3.
    EXPECT_EQ(t.Add(Fixed(60, "new"), 0), 1);
    EXPECT_EQ(t.rig.Send(TLM_GETCELLBKCOLOR, item, 3), RGB(1, 2, 3));
    EXPECT_EQ(t.rig.Send(TLM_GETCELLBKCOLOR, item, 2), -1);
    char text[16] = {};
    LVCOLUMNA get = {.mask = LVCF_TEXT | LVCF_WIDTH, .pszText = text, .cchTextMax = sizeof text};
    EXPECT_TRUE(t.rig.SendWith(TLM_GETCOLUMN, 3, &get));
    EXPECT_EQ(std::pair(std::string(text), get.cx), std::pair(std::string("two"), 60));
    // A cell never touched reads empty with no image (and exists from then on).
    TVITEMA cell = {.mask = TVIF_TEXT | TVIF_IMAGE, .pszText = text, .cchTextMax = sizeof text};
    EXPECT_TRUE(t.rig.Item(TVM_GETITEMA, item, cell, 2));
    EXPECT_EQ(std::pair(std::string(text), cell.iImage), std::pair(std::string(), -2));
    // Deleting column 1 brings "two" and its cell back to 2; the tree column goes only when alone.
    EXPECT_TRUE(t.rig.Send(TLM_DELETECOLUMN, 1));
    EXPECT_EQ(t.rig.Send(TLM_GETCELLBKCOLOR, item, 2), RGB(1, 2, 3));
    EXPECT_FALSE(t.rig.Send(TLM_DELETECOLUMN, 0));
    EXPECT_FALSE(t.rig.Send(TLM_DELETECOLUMN, 3));
    EXPECT_EQ(t.rig.Send(TLM_GETCOLUMNCOUNT), 3);
}

TEST(TreeListColumns, TheHeaderTakesTheFormatAsGiven) {
    Columns t;
    LVCOLUMNA c = Fixed(60);
    c.mask |= LVCF_FMT;
    c.fmt = LVCFMT_RIGHT | HDF_SORTUP;
    ASSERT_EQ(t.Add(c), 0);
    auto headerFormat = [&] {
        HDITEMA hd = {.mask = HDI_FORMAT};
        SendMessageA(t.rig.Header(), HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&hd));
        return hd.fmt & ~HDF_STRING;  // the system's header may drop the string bit of an item without text
    };
    EXPECT_EQ(headerFormat(), HDF_RIGHT | HDF_SORTUP);
    c.mask = LVCF_FMT;
    c.fmt = LVCFMT_CENTER | HDF_BITMAP_ON_RIGHT;
    EXPECT_TRUE(t.rig.SendWith(TLM_SETCOLUMN, 0, &c));
    EXPECT_EQ(headerFormat(), HDF_CENTER | HDF_BITMAP_ON_RIGHT);
    // Read back through the control: the alignment.
    LVCOLUMNA got = {.mask = LVCF_FMT};
    t.rig.SendWith(TLM_GETCOLUMN, 0, &got);
    EXPECT_EQ(got.fmt, LVCFMT_CENTER);
}
