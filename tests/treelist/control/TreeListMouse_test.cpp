// The mouse side of the "TreeList" control: hit testing, the wheel and the scroll bars with TLN_SCROLLED,
// clicks with their notifications, the own double click over a tip, check boxes, hot tracking, the insert
// mark, the label tooltip and the header's notifications.
#include <gtest/gtest.h>

#include "treelist/control/TreeListMouse.h"
#include "treelist/control/TreeListTestSupport.h"

using namespace tltest;

namespace {

struct Tree {
    TreeListRig rig;
    int rh;
    explicit Tree(DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, int rows = 0, int height = 200)
        : rig(style, 300, height) {
        rh = static_cast<int>(rig.Send(TVM_GETITEMHEIGHT));
        for (int i = 0; i < rows; ++i) rig.Insert(("Row " + std::to_string(i)).c_str());
    }
    UINT_PTR Hit(int x, int y, UINT* flags) const {
        TVHITTESTINFO hit = {};
        hit.pt = POINT{x, y};
        const UINT_PTR item = static_cast<UINT_PTR>(rig.Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        *flags = hit.flags;
        EXPECT_EQ(item, reinterpret_cast<UINT_PTR>(hit.hItem));
        return item;
    }
    UINT_PTR First() const { return rig.Next(0, TVGN_FIRSTVISIBLE); }
    LRESULT Row(UINT_PTR item) const { return rig.Send(TLM_GETITEMROW, 0, static_cast<LPARAM>(item)); }
};

LRESULT Scrolled(TreeListRig& rig, LRESULT answer) {
    rig.answer = [answer](NMHDR* h) { return h->code == TLN_SCROLLED ? answer : 0; };
    return answer;
}

}  // namespace

TEST(TreeListMouse, HitTestFlagsForEveryPartOfARow) {
    Tree t;
    const UINT_PTR parent = t.rig.Insert("Parent");
    t.rig.Insert("Child", parent);
    const UINT_PTR leaf = t.rig.Insert("");
    const int y0 = t.rh / 2, y1 = t.rh + t.rh / 2;
    const struct {
        int x, y;
        UINT_PTR item;
        UINT flags;
    } cases[] = {
        {-1, y0, 0, TVHT_TOLEFT},
        {300, y0, 0, TVHT_TORIGHT},
        {10, -1, 0, TVHT_ABOVE},
        {10, 200, 0, TVHT_BELOW},
        {10, 3 * t.rh, 0, TVHT_NOWHERE},
        {7, y0, parent, TVHT_ONITEMBUTTON},
        {7 + 7, y0 + 7, parent, TVHT_ONITEMBUTTON},
        {7 + 8, y0, parent, TVHT_ONITEMINDENT},
        {7, y1, leaf, TVHT_ONITEMINDENT},
        {19 + 2, y0, parent, TVHT_ONITEMLABEL | TLHT_ONTEXT},
        {290, y0, parent, TVHT_ONITEMRIGHT},
        {19 + 19, y1, leaf, TVHT_ONITEMLABEL | TLHT_ONTEXT},
        {19 + 25, y1, leaf, TVHT_ONITEMLABEL},
    };
    for (const auto& c : cases) {
        UINT flags;
        EXPECT_EQ(t.Hit(c.x, c.y, &flags), c.item) << c.x << "," << c.y;
        EXPECT_EQ(flags, c.flags) << c.x << "," << c.y;
    }
}

TEST(TreeListMouse, HitTestInCellsAndPinnedRows) {
    Tree t(TVS_HASLINES, 40);
    t.rig.AddColumns({100, 80, 60});
    const int hh = t.rig.ItemRect(t.First()).top;
    UINT flags;
    const UINT_PTR top = t.First();
    EXPECT_EQ(t.Hit(100 + 5, hh + 1, &flags), top);
    EXPECT_EQ(flags, TLHT_ONCELLLABEL | TLHT_ONCELLTEXT | 1u << 24);  // an empty cell, near where text starts
    EXPECT_EQ(t.Hit(100 + 40, hh + 1, &flags), top);
    EXPECT_EQ(flags, TLHT_ONCELLLABEL | 1u << 24);
    EXPECT_EQ(t.Hit(180 + 2, hh + 1, &flags), top);
    EXPECT_EQ(HitColumn(flags), 2);
    EXPECT_EQ(t.Hit(250, hh + 1, &flags), top);
    EXPECT_EQ(flags, TLHT_RIGHTOFCOLUMNS);
    // One pinned row: the top screen row shows row 0 whatever the first shown row is.
    t.rig.Option(TLO_PINNEDROWS, 1);
    t.rig.Send(WM_VSCROLL, 12 | 10 << 4);
    const UINT_PTR row0 = static_cast<UINT_PTR>(t.rig.Send(TLM_GETROWITEM, 0, 0));
    EXPECT_EQ(t.Hit(50, hh + 1, &flags), row0);
    EXPECT_EQ(t.Hit(50, hh + t.rh + 1, &flags), static_cast<UINT_PTR>(t.rig.Send(TLM_GETROWITEM, 0, 11)));
}

TEST(TreeListMouse, WheelScrollsByNotchAndModifier) {
    Tree t(TVS_HASLINES, 100);
    const struct {
        WPARAM keys;
        int rows;
        LRESULT result;
    } cases[] = {{0, 2, 1}, {MK_SHIFT, 6, 1}, {MK_CONTROL, 18, 1}, {MK_LBUTTON, 0, 0}, {MK_RBUTTON, 0, 0}};
    for (const auto& c : cases) {
        t.rig.Send(WM_VSCROLL, 12 | 40 << 4);
        ASSERT_EQ(t.Row(t.First()), 40);
        EXPECT_EQ(t.rig.Send(WM_MOUSEWHEEL, MAKEWPARAM(c.keys, WHEEL_DELTA), 0), c.result) << c.keys;
        EXPECT_EQ(t.Row(t.First()), 40 - c.rows) << c.keys;
    }
    t.rig.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)), 0);
    EXPECT_EQ(t.Row(t.First()), 46);
}

TEST(TreeListMouse, ScrollBarCodesAndTheParentsVeto) {
    Tree t(TVS_HASLINES, 100);
    const int whole = static_cast<int>(t.rig.Send(TVM_GETVISIBLECOUNT));
    const struct {
        WPARAM code;
        int row;
    } cases[] = {
        {0x10C, 16},
        {SB_LINEDOWN, 17},
        {SB_LINEUP, 16},
        {SB_PAGEDOWN, 16 + whole - 1},
        {MAKEWPARAM(SB_THUMBPOSITION, 3), 3},
        {SB_ENDSCROLL, 3},
        {SB_LINEUP, 2},
        {12 | 1000 << 4, 100 - whole + 1},
    };
    for (const auto& c : cases) {
        t.rig.Send(WM_VSCROLL, c.code);
        EXPECT_EQ(t.Row(t.First()), c.row) << std::hex << c.code;
    }
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_SCROLLNOTIFY, TLX_SCROLLNOTIFY);
    Scrolled(t.rig, 1);
    t.rig.Send(WM_VSCROLL, 0x10C);
    EXPECT_EQ(t.Row(t.First()), 100 - whole + 1);
    ASSERT_EQ(t.rig.CountOf(TLN_SCROLLED), 1);
    const Notification& n = t.rig.log.back();
    EXPECT_EQ(n.scroll.action, 1);
    EXPECT_EQ(n.scroll.reason, 0x10C);
    EXPECT_EQ(n.scroll.firstRow, 16);
    Scrolled(t.rig, 0);
    t.rig.Send(WM_VSCROLL, 0x10C);
    EXPECT_EQ(t.Row(t.First()), 16);
}

TEST(TreeListMouse, HorizontalScrollIsClampedAndMovesTheHeader) {
    Tree t(TVS_HASLINES, 3);
    t.rig.AddColumns({200, 200, 200});
    HWND header = reinterpret_cast<HWND>(t.rig.Send(TLM_GETHEADER));
    t.rig.Send(WM_HSCROLL, SB_LINEDOWN);
    RECT r;
    GetWindowRect(header, &r);
    MapWindowPoints(nullptr, t.rig.tree, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, -16);
    t.rig.Send(WM_HSCROLL, 12 | 5000 << 4);
    RECT client;
    GetClientRect(t.rig.tree, &client);
    // The last column ends at 599 (the first column is a pixel short); the bar's last position is 599 - 2 less
    // the page plus 1.
    const int limit = std::min(599 - 2 * (static_cast<int>(client.right) / 2), 599 - 1 - static_cast<int>(client.right));
    EXPECT_EQ(GetScrollPos(t.rig.tree, SB_HORZ), limit);
    t.rig.Send(WM_HSCROLL, SB_PAGEUP);
    EXPECT_EQ(GetScrollPos(t.rig.tree, SB_HORZ), std::max(limit - static_cast<int>(client.right), 0));
}

TEST(TreeListMouse, ClicksNotifyWithTheHitAndToggleAfterAZeroAnswer) {
    Tree t;
    const UINT_PTR parent = t.rig.Insert("Parent");
    t.rig.Insert("Child", parent);
    t.rig.Insert("Other");
    SetFocus(t.rig.tree);
    for (LRESULT answer : {1, 0}) {
        t.rig.Clear();
        t.rig.answer = [answer](NMHDR* h) { return h->code == NM_CLICK ? answer : 0; };
        t.rig.Mouse(WM_LBUTTONDOWN, 7, t.rh / 2);
        t.rig.Mouse(WM_LBUTTONUP, 7, t.rh / 2);
        const std::vector<UINT> toggled = {NM_CLICK, TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, TLN_LBUTTONUP};
        ASSERT_EQ(t.rig.Codes(), answer ? (std::vector<UINT>{NM_CLICK, TLN_LBUTTONUP}) : toggled);
        const Notification& n = t.rig.log[0];
        EXPECT_EQ(n.tree.action, static_cast<UINT>(TVHT_ONITEMBUTTON));
        EXPECT_EQ(n.newItem(), parent);
        EXPECT_EQ(n.tree.itemNew.mask, 0x401Cu);
        EXPECT_EQ(n.tree.ptDrag.x, 7);
        const bool expanded = t.rig.Send(TVM_GETITEMSTATE, parent) & TVIS_EXPANDED;
        EXPECT_EQ(expanded, answer == 0);
    }
    // A double click on the label toggles unless the parent answers NM_DBLCLK.
    for (LRESULT answer : {1, 0}) {
        t.rig.answer = [answer](NMHDR* h) { return h->code == NM_DBLCLK ? answer : 0; };
        const LRESULT before = t.rig.Send(TVM_GETITEMSTATE, parent) & TVIS_EXPANDED;
        const POINT p = t.rig.OnText(parent);
        t.rig.Mouse(WM_LBUTTONDBLCLK, p.x, p.y);
        EXPECT_EQ((t.rig.Send(TVM_GETITEMSTATE, parent) & TVIS_EXPANDED) != before, answer == 0);
        EXPECT_EQ(t.rig.Next(0, TVGN_CARET), parent);
    }
    // On a cell the double click toggles only after a zero answer, also a partly expanded item.
    t.rig.AddColumns({150, 100});
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_CELLDROPHILITE, TLX_CELLDROPHILITE);
    t.rig.Send(TVM_EXPAND, TVE_COLLAPSE, static_cast<LPARAM>(parent));
    t.rig.Send(TVM_EXPAND, TVE_EXPAND | TVE_EXPANDPARTIAL, static_cast<LPARAM>(parent));
    t.rig.answer = [](NMHDR* h) -> LRESULT { return h->code == NM_DBLCLK; };
    const POINT cell = t.rig.InCell(parent, 1);
    t.rig.Mouse(WM_LBUTTONDBLCLK, cell.x, cell.y);
    EXPECT_EQ(t.rig.State(parent) & (TVIS_EXPANDED | TVIS_EXPANDPARTIAL), UINT{TVIS_EXPANDED | TVIS_EXPANDPARTIAL});
    // Nothing under the mouse still notifies, with an empty item.
    t.rig.Clear();
    t.rig.Mouse(WM_RBUTTONDOWN, 10, 150);
    ASSERT_EQ(t.rig.Codes(), std::vector<UINT>{NM_RCLICK});
    EXPECT_EQ(t.rig.log[0].newItem(), 0u);
    EXPECT_EQ(t.rig.log[0].tree.action, static_cast<UINT>(TVHT_NOWHERE));
}

TEST(TreeListMouse, PressesOverAShownTipMakeADoubleClickWithin700Ms) {
    FakeClock clock;
    Tree t(TVS_HASLINES | TVS_INFOTIP);
    const UINT_PTR item = t.rig.Insert("A label that is shown as its own tip");
    const POINT p = t.rig.OnText(item);
    const struct {
        DWORD gap;
        int dx;
        bool dbl;
    } cases[] = {{699, 6, true}, {700, 0, false}, {10, 7, false}};
    t.rig.Clear();
    t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);
    EXPECT_EQ(t.rig.CountOf(TVN_GETINFOTIPA), 1);  // the parent hears of the info tip before it shows
    for (const auto& c : cases) {
        t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);  // the info tip shows at once
        t.rig.Mouse(WM_LBUTTONDOWN, p.x, p.y);
        t.rig.Mouse(WM_LBUTTONUP, p.x, p.y);
        t.rig.Clear();
        clock.Advance(c.gap);
        t.rig.Mouse(WM_LBUTTONDOWN, p.x + c.dx, p.y);
        t.rig.Mouse(WM_LBUTTONUP, p.x + c.dx, p.y);
        EXPECT_EQ(t.rig.CountOf(NM_DBLCLK), c.dbl ? 1 : 0) << c.gap << " " << c.dx;
        clock.Advance(5000);
    }
}

TEST(TreeListMouse, CheckBoxClicksAndTheOneCheckedMode) {
    Tree t(TVS_HASLINES | TVS_CHECKBOXES);
    const UINT_PTR a = t.rig.Insert("A", 0, 0xFFFF0002, 0, 0x1000);
    const UINT_PTR b = t.rig.Insert("B", 0, 0xFFFF0002, 0, 0x1000);
    SetFocus(t.rig.tree);
    t.rig.Clear();
    auto image = [&](UINT_PTR item) { return (t.rig.Send(TVM_GETITEMSTATE, item) >> 12) & 0xF; };
    auto click = [&](UINT_PTR item) {
        const RECT r = t.rig.ItemRect(item);
        t.rig.Mouse(WM_LBUTTONDOWN, 5, (r.top + r.bottom) / 2);
        t.rig.Mouse(WM_LBUTTONUP, 5, (r.top + r.bottom) / 2);
    };
    click(a);
    EXPECT_EQ(image(a), 2);
    ASSERT_EQ(t.rig.CountOf(TLN_CHECKCHANGED), 1);
    const Notification& n = t.rig.log[0];
    EXPECT_EQ(n.code, TLN_CHECKCHANGED);
    EXPECT_EQ(n.tree.action, 0x10000u);
    EXPECT_EQ(n.newItem(), a);
    EXPECT_EQ((n.tree.itemNew.state >> 12) & 0xF, 2u);
    EXPECT_EQ(n.text, "A");
    click(a);
    EXPECT_EQ(image(a), 1);
    // One checked item: checking B unchecks A and names it as the old item.
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_ONECHECKED, TLX_ONECHECKED);
    click(a);
    t.rig.Clear();
    click(b);
    EXPECT_EQ(image(a), 1);
    EXPECT_EQ(image(b), 2);
    ASSERT_EQ(t.rig.CountOf(TLN_CHECKCHANGED), 1);
    EXPECT_EQ(t.rig.log[0].oldItem(), a);
    click(b);  // the checked one stays checked
    EXPECT_EQ(image(b), 2);
    // Option 12 locks items with those state bits.
    t.rig.Option(TLO_OPTION12, TVIS_BOLD);
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_ONECHECKED, 0);
    const UINT_PTR c = t.rig.Insert("C", 0, 0xFFFF0002, 0, TVIS_BOLD | 0x1000);
    click(c);
    EXPECT_EQ(image(c), 1);
}

TEST(TreeListMouse, HotTrackingHighlightsTheItemUnderTheMouse) {
    Tree t(TVS_HASLINES | TVS_TRACKSELECT);
    const UINT_PTR a = t.rig.Insert("Alpha");
    const UINT_PTR b = t.rig.Insert("Beta");
    const POINT pa = t.rig.OnText(a), pb = t.rig.OnText(b);
    t.rig.Mouse(WM_MOUSEMOVE, pa.x, pa.y);
    EXPECT_EQ(t.rig.Next(0, TVGN_DROPHILITE), a);
    t.rig.Mouse(WM_MOUSEMOVE, pb.x, pb.y);
    EXPECT_EQ(t.rig.Next(0, TVGN_DROPHILITE), b);
    t.rig.Mouse(WM_MOUSEMOVE, 10, 180);
    EXPECT_EQ(t.rig.Next(0, TVGN_DROPHILITE), 0u);
    // The messages: a bad item clears and gives 0; without cell highlighting the column is 0.
    EXPECT_EQ(t.rig.Send(TLM_SETHOTHILITE, 3, static_cast<LPARAM>(b)), 1);
    EXPECT_EQ(t.rig.Send(TVM_GETNEXTITEM, TLGN_DROPCOLUMN), 0);
    // TLM_SETDROPHILITE takes the cell of any column.
    EXPECT_EQ(t.rig.Send(TLM_SETDROPHILITE, 3, static_cast<LPARAM>(b)), 0);
    t.rig.AddColumns({100, 100});
    t.rig.Send(TLM_SETCELLTEXTCOLOR, b | 1 << 24, RGB(1, 2, 3));  // makes the cell
    EXPECT_EQ(t.rig.Send(TLM_SETDROPHILITE, 1, static_cast<LPARAM>(b)), 1);
    EXPECT_EQ(t.rig.Send(TVM_GETNEXTITEM, TLGN_DROPCOLUMN), 1);
    EXPECT_EQ(t.rig.Send(TLM_SETHOTHILITE, 0, 999), 0);
    EXPECT_EQ(t.rig.Next(0, TVGN_DROPHILITE), 0u);
    EXPECT_EQ(t.rig.Send(TVM_SELECTITEM, TVGN_DROPHILITE, static_cast<LPARAM>(a)), 1);
    EXPECT_EQ(t.rig.Next(0, TVGN_DROPHILITE), a);
}

TEST(TreeListMouse, InsertMarkIsAnItemThatEachCallReplaces) {
    Tree t(TVS_HASLINES, 3);
    const UINT_PTR first = t.First(), second = t.rig.Next(first);
    EXPECT_EQ(t.rig.Send(TVM_SETINSERTMARK, 0, 0), 0);
    const UINT_PTR mark = static_cast<UINT_PTR>(t.rig.Send(TVM_SETINSERTMARK, 1, static_cast<LPARAM>(first)));
    ASSERT_NE(mark, 0u);
    EXPECT_EQ(t.rig.Count(), 4);
    EXPECT_EQ(t.rig.Next(first), mark);
    EXPECT_EQ(t.rig.Send(TLM_GETCELLBKCOLOR, static_cast<WPARAM>(mark), 0), t.rig.Send(TVM_GETINSERTMARKCOLOR));
    const UINT_PTR before = static_cast<UINT_PTR>(t.rig.Send(TVM_SETINSERTMARK, 0, static_cast<LPARAM>(first)));
    EXPECT_EQ(t.rig.Count(), 4);
    EXPECT_EQ(t.rig.Next(0, TVGN_ROOT), before);
    EXPECT_EQ(t.rig.Next(before), first);
    EXPECT_EQ(t.rig.Next(first), second);
    t.rig.Clear();
    EXPECT_EQ(t.rig.Send(TVM_SETINSERTMARK, 0, 0), 1);
    EXPECT_EQ(t.rig.Count(), 3);
    ASSERT_EQ(t.rig.CountOf(TVN_DELETEITEMA), 1);
    EXPECT_EQ(t.rig.Send(TVM_SETINSERTMARK, 0, 9999), 0);
}

TEST(TreeListMouse, TipsStayOnTheWorkArea) {
    const RECT work = {0, 0, 1000, 700};
    const struct {
        RECT tip, placed;
    } cases[] = {
        {{100, 100, 300, 120}, {100, 100, 300, 120}},
        {{900, 100, 1100, 120}, {800, 100, 1000, 120}},
        {{50, 690, 150, 720}, {50, 670, 150, 700}},
        {{300, 10, 1500, 30}, {0, 10, 1200, 30}},     // wider than the work area: its left edge on the area's
        {{-50, 10, 1500, 30}, {-50, 10, 1500, 30}},   // never moved to the right
    };
    for (const auto& c : cases) {
        RECT r = c.tip;
        EXPECT_EQ(KeepRectOnArea(&r, work), !EqualRect(&c.tip, &c.placed));
        EXPECT_TRUE(EqualRect(&r, &c.placed)) << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    }
}

TEST(TreeListMouse, TipShowsForACutLabelAndHidesWhereTheTextFits) {
    FakeCursor cursor;
    FakeClock clock;
    Tree t(TVS_HASLINES);
    // The tip timer asks which window is under the cursor: away from where other tests put their windows.
    SetWindowPos(t.rig.parent, nullptr, 1500, 700, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    t.rig.AddColumns({60, 200});
    const UINT_PTR longer = t.rig.Insert("A label much wider than its column");
    const UINT_PTR shorter = t.rig.Insert("Ab");
    HWND tip = reinterpret_cast<HWND>(t.rig.Send(TVM_GETTOOLTIPS));
    ASSERT_TRUE(tip);
    POINT p = t.rig.OnText(longer);
    t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);
    EXPECT_TRUE(IsWindowVisible(tip));
    p = t.rig.OnText(shorter);
    t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);
    EXPECT_FALSE(IsWindowVisible(tip));
    // Cell tips: the parent's text, shown only after its delay of 1,200 ms (three ticks of the tip timer).
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_CELLTIPS, TLX_CELLTIPS);
    static char own[] = "from the parent";
    t.rig.answer = [](NMHDR* h) -> LRESULT {
        if (h->code != TLN_CELLTIP) return 0;
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(h);
        nm->itemNew.pszText = own;
        nm->itemNew.mask |= 0x40000000;
        nm->itemNew.lParam = 1200;
        return 1;
    };
    t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);
    ASSERT_EQ(t.rig.CountOf(TLN_CELLTIP), 1);
    EXPECT_EQ(t.rig.log.back().newItem(), shorter);
    EXPECT_EQ(t.rig.log.back().text, "Ab");
    EXPECT_EQ(t.rig.log.back().tree.itemNew.mask, 0x801Cu);
    EXPECT_FALSE(IsWindowVisible(tip));
    cursor.Put(t.rig.tree, p);
    for (int tick = 0; tick < 2; ++tick) t.rig.Send(WM_TIMER, kTimerTip);
    EXPECT_FALSE(IsWindowVisible(tip));
    t.rig.Send(WM_TIMER, kTimerTip);
    EXPECT_TRUE(IsWindowVisible(tip));
    char text[64] = {};
    TTTOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = t.rig.tree;
    ti.uId = reinterpret_cast<UINT_PTR>(t.rig.tree);
    ti.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, 64, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(text, "from the parent");
}

TEST(TreeListMouse, EnsureVisibleScrollsAndFirstVisibleMakesTheTopRow) {
    Tree t(TVS_HASLINES, 60);
    const int whole = static_cast<int>(t.rig.Send(TVM_GETVISIBLECOUNT));
    const UINT_PTR row30 = static_cast<UINT_PTR>(t.rig.Send(TLM_GETROWITEM, 0, 30));
    EXPECT_EQ(t.rig.Send(TVM_ENSUREVISIBLE, 0, static_cast<LPARAM>(row30)), 1);
    EXPECT_EQ(t.Row(t.First()), 30 - whole + 1);
    EXPECT_EQ(t.rig.Send(TVM_ENSUREVISIBLE, 0, static_cast<LPARAM>(t.rig.Send(TLM_GETROWITEM, 0, 2))), 1);
    EXPECT_EQ(t.Row(t.First()), 2);
    EXPECT_EQ(t.rig.Send(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, static_cast<LPARAM>(row30)), 1);
    EXPECT_EQ(t.First(), row30);
    EXPECT_EQ(t.rig.Send(TVM_ENSUREVISIBLE, 0, 9999), -1);
    // A collapsed ancestor opens.
    const UINT_PTR child = t.rig.Insert("Hidden", row30);
    EXPECT_EQ(t.Row(child), -1);
    t.rig.Send(TVM_ENSUREVISIBLE, 0, static_cast<LPARAM>(child));
    EXPECT_EQ(t.Row(child), 31);
}

TEST(TreeListMouse, HeaderTrackingRules) {
    Tree t(TVS_HASLINES, 3);
    t.rig.AddColumns({100, 80, 60});
    HWND header = reinterpret_cast<HWND>(t.rig.Send(TLM_GETHEADER));
    auto notify = [&](UINT code, int column, int width = 0, int order = 0) {
        HDITEMA item = {};
        item.mask = HDI_WIDTH | HDI_ORDER;
        item.cxy = width;
        item.iOrder = order;
        NMHEADERA nm = {};
        nm.hdr = {header, 1, code};
        nm.iItem = column;
        nm.pitem = &item;
        return t.rig.Send(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&nm));
    };
    auto width = [&](int c) { return t.rig.Send(TLM_GETCOLUMNWIDTH, c); };
    EXPECT_EQ(notify(HDN_BEGINTRACKA, 1), 1);  // fixed width
    EXPECT_EQ(notify(HDN_TRACKA, 1, 120), 0);
    EXPECT_EQ(width(1), 120);
    EXPECT_EQ(notify(HDN_BEGINDRAG, 1), 1);
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_HEADERDRAGDROP, TLX_HEADERDRAGDROP);
    EXPECT_EQ(notify(HDN_BEGINDRAG, 1), 0);
    EXPECT_EQ(notify(HDN_BEGINDRAG, 0), 1);
    EXPECT_EQ(notify(HDN_ENDDRAG, 2, 0, 0), 1);
    EXPECT_EQ(notify(HDN_ENDDRAG, 2, 0, 1), 0);
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_FIXEDCOLUMNWIDTHS, TLX_FIXEDCOLUMNWIDTHS);
    EXPECT_EQ(notify(HDN_BEGINTRACKA, 0), 1);
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_FIXEDCOLUMNWIDTHS, 0);
    // A divider double click fits a weighted column to its widest text.
    LVCOLUMNA weighted = {};
    weighted.mask = 0x40000000 | LVCF_WIDTH;
    weighted.fmt = 0x40000000;
    weighted.cx = 100;
    t.rig.Send(TLM_SETCOLUMN, 0, reinterpret_cast<LPARAM>(&weighted));
    const UINT_PTR wide = t.rig.Insert("A rather long label for the tree column");
    const RECT text = t.rig.ItemRect(wide, 1);
    notify(HDN_DIVIDERDBLCLICKA, 0);
    EXPECT_EQ(width(0), text.right - text.left + 4);  // text width + 8
    // The parent sees header clicks from the control, and a right click over a column as TLN_HEADERRCLICK.
    t.rig.Clear();
    t.rig.answer = [](NMHDR* h) { return h->code == static_cast<UINT>(HDN_ITEMCLICKA) ? 7 : 0; };
    EXPECT_EQ(notify(HDN_ITEMCLICKA, 2), 7);
    ASSERT_EQ(t.rig.Codes(), std::vector<UINT>{static_cast<UINT>(HDN_ITEMCLICKA)});
    EXPECT_EQ(t.rig.log[0].hdr.hwndFrom, t.rig.tree);
    EXPECT_EQ(t.rig.log[0].header.iItem, 2);
    // A right click on the header: over a column the parent learns which one.
    FakeCursor cursor;
    RECT second = {};
    SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    const int middle = (second.left + second.right) / 2;
    cursor.Put(header, POINT{middle, 3});
    t.rig.Clear();
    t.rig.answer = nullptr;
    NMHDR rclick = {header, 1, static_cast<UINT>(NM_RCLICK)};
    t.rig.Send(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&rclick));
    ASSERT_EQ(t.rig.Codes(), std::vector<UINT>{TLN_HEADERRCLICK});
    EXPECT_EQ(t.rig.log[0].headerClick.hit.iItem, 1);
    EXPECT_EQ(t.rig.log[0].headerClick.hit.pt.x, middle);
}

TEST(TreeListMouse, CtrlAndShiftClicksInAMultiSelection) {
    Tree t(TVS_HASLINES, 6);
    t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_MULTISELECT, TLX_MULTISELECT);
    SetFocus(t.rig.tree);
    auto row = [&](int r) { return static_cast<UINT_PTR>(t.rig.Send(TLM_GETROWITEM, 0, r)); };
    auto selected = [&] {
        std::vector<LRESULT> rows;
        for (UINT_PTR i = t.rig.Next(0, TLGN_NEXTSELECTED); i; i = t.rig.Next(i, TLGN_NEXTSELECTED))
            rows.push_back(t.Row(i));
        return rows;
    };
    auto click = [&](int r, WPARAM keys) {
        const POINT p = t.rig.OnText(row(r));
        t.rig.Mouse(WM_LBUTTONDOWN, p.x, p.y, keys | MK_LBUTTON);
        t.rig.Mouse(WM_LBUTTONUP, p.x, p.y, keys);
    };
    const struct {
        int row;
        WPARAM keys;
        std::vector<LRESULT> rows;
    } steps[] = {
        {1, 0, {1}},
        {3, MK_CONTROL, {1, 3}},
        {1, MK_CONTROL, {3}},                       // a selected item leaves the selection
        {5, MK_SHIFT, {1, 2, 3, 4, 5}},             // from the Ctrl anchor
        {2, 0, {2}},                                // a selected item: the selection is made at the button-up
        {5, MK_SHIFT, {2, 3, 4, 5}},                // ranges run from the anchor (row 2) ...
        {0, MK_SHIFT, {0, 1, 2}},                   // ... past it, back over it,
        {4, MK_SHIFT, {2, 3, 4}},
        {1, MK_SHIFT, {1, 2}},
        {0, MK_SHIFT, {0, 1, 2}},                   // ... and on from a start between it and the item
        {0, 0, {0}},
        {3, MK_SHIFT, {0, 1, 2, 3}},
    };
    for (const auto& s : steps) {
        click(s.row, s.keys);
        EXPECT_EQ(selected(), s.rows) << s.row << " " << s.keys;
    }
    EXPECT_EQ(t.rig.Next(0, TVGN_CARET), row(3));
    // A right click on a selected item of a multi-selection keeps it.
    const POINT p = t.rig.OnText(row(1));
    t.rig.Mouse(WM_RBUTTONDOWN, p.x, p.y);
    EXPECT_EQ(selected(), (std::vector<LRESULT>{0, 1, 2, 3}));
}

TEST(TreeListMouse, CellTextHitsFollowTheAlignment) {
    Tree t(TVS_HASLINES);
    t.rig.AddColumns({100, 120});
    const UINT_PTR item = t.rig.Insert("Row");
    TVITEMA r = {};
    r.mask = TVIF_TEXT | TLIF_CELL;
    r.hItem = reinterpret_cast<HTREEITEM>(item);
    r.pszText = const_cast<char*>("Cell");
    r.cChildren = 1;
    ASSERT_TRUE(t.rig.Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&r)));
    const RECT cell = t.rig.ItemRect(item, 0x80 | 1 << 24);
    const int y = (cell.top + cell.bottom) / 2;
    UINT flags;
    const UINT onText = TLHT_ONCELLLABEL | TLHT_ONCELLTEXT | 1u << 24, beside = TLHT_ONCELLRIGHT | 1u << 24;
    t.Hit(cell.left + 3, y, &flags);
    EXPECT_EQ(flags, onText);
    t.Hit(cell.right - 3, y, &flags);
    EXPECT_EQ(flags, beside);
    LVCOLUMNA right = {};
    right.mask = LVCF_FMT;
    right.fmt = LVCFMT_RIGHT;
    t.rig.Send(TLM_SETCOLUMN, 1, reinterpret_cast<LPARAM>(&right));
    t.Hit(cell.right - 3, y, &flags);
    EXPECT_EQ(flags, onText);
    t.Hit(cell.left + 3, y, &flags);
    EXPECT_EQ(flags, beside);
}

TEST(TreeListMouse, TheParentMayDeleteTheItemInAnyMouseNotification) {
    const UINT codes[] = {NM_CLICK, NM_DBLCLK, TLN_CHECKCHANGED, TVN_BEGINDRAGA, TLN_CELLTIP};
    for (UINT code : codes) {
        FakeCursor cursor;
        Tree t(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_CHECKBOXES | 0x8000);
        t.rig.Send(TVM_SETEXTENDEDSTYLE, TLX_CELLTIPS, TLX_CELLTIPS);
        const UINT_PTR parent = t.rig.Insert("Parent with a long label that the tip shows", 0, 0xFFFF0002, 0, 0x1000);
        t.rig.Insert("Child", parent);
        t.rig.answer = [&t, code, parent](NMHDR* h) -> LRESULT {
            if (h->code == code) t.rig.Delete(parent);
            return 0;
        };
        const POINT button = {7, t.rh / 2}, check = {19 + 5, t.rh / 2}, text = t.rig.OnText(parent);
        cursor.Put(t.rig.tree, text);
        t.rig.Mouse(WM_LBUTTONDOWN, button.x, button.y, MK_LBUTTON);  // toggles after NM_CLICK
        t.rig.Mouse(WM_LBUTTONUP, button.x, button.y);
        t.rig.Mouse(WM_LBUTTONDBLCLK, text.x, text.y, MK_LBUTTON);   // toggles after NM_DBLCLK
        t.rig.Mouse(WM_LBUTTONUP, text.x, text.y);
        t.rig.Mouse(WM_LBUTTONDOWN, check.x, check.y, MK_LBUTTON);
        t.rig.Mouse(WM_LBUTTONUP, check.x, check.y);
        t.rig.Mouse(WM_LBUTTONDOWN, text.x, text.y, MK_LBUTTON);
        t.rig.Mouse(WM_MOUSEMOVE, text.x + 5, text.y + 5, MK_LBUTTON);  // a drag starts
        t.rig.Mouse(WM_LBUTTONUP, text.x + 5, text.y + 5);
        t.rig.Mouse(WM_MOUSEMOVE, text.x, text.y);                     // the cell tip is asked for
        EXPECT_EQ(t.rig.Count(), 0) << static_cast<int>(code);
        EXPECT_EQ(t.rig.Next(0, TVGN_CARET), 0u);
        EXPECT_NE(GetCapture(), t.rig.tree);
    }
}
