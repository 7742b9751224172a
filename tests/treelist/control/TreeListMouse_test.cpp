// The mouse side of the "TreeList" control: hit testing, the wheel and the scroll bars with TLN_SCROLLED,
// clicks with their notifications, the own double click over a tip, check boxes, hot tracking, the insert
// mark, the label tooltip and the header's notifications.
#include <gtest/gtest.h>

#include "treelist/control/TreeListTestSupport.h"
#include "treelist/control/TreeListTimers.h"
#include "treelist/control/TreeListTip.h"

#include <tuple>

using namespace tltest;

namespace {

struct Tree {
    TreeListRig rig;
    int rh;
    explicit Tree(DWORD style = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, int rows = 0) : rig(style, 300, 200) {
        rh = rig.RowHeight();
        for (int i = 0; i < rows; ++i) rig.Insert(("Row " + std::to_string(i)).c_str());
    }
    // The item and the flags the hit test reports at a client point.
    std::pair<UINT_PTR, UINT> Hit(int x, int y) const {
        TVHITTESTINFO hit = {{x, y}, 0, nullptr};
        const UINT_PTR item = static_cast<UINT_PTR>(rig.SendWith(TVM_HITTEST, 0, &hit));
        EXPECT_EQ(item, reinterpret_cast<UINT_PTR>(hit.hItem));
        return {item, hit.flags};
    }
};

struct HitCase {
    int x, y;
    UINT_PTR item;
    UINT flags;
};
void ExpectHits(const Tree& t, std::initializer_list<HitCase> cases) {
    for (const HitCase& c : cases) EXPECT_EQ(t.Hit(c.x, c.y), std::pair(c.item, c.flags)) << c.x << "," << c.y;
}

// The text the label tooltip holds (its first 1,023 characters).
std::string TipText(const TreeListRig& rig) {
    char text[1024] = {};  // the tip copies up to its own limit, whatever the size given
    TTTOOLINFOA ti = {.cbSize = TTTOOLINFOA_V2_SIZE,
                      .hwnd = rig.tree,
                      .uId = reinterpret_cast<UINT_PTR>(rig.tree),
                      .lpszText = text};
    SendMessageA(reinterpret_cast<HWND>(rig.Send(TVM_GETTOOLTIPS)), TTM_GETTEXTA, sizeof text,
                 reinterpret_cast<LPARAM>(&ti));
    return text;
}

}  // namespace

TEST(TreeListMouse, HitTestFlagsForEveryPartOfARow) {
    Tree t;
    const UINT_PTR parent = t.rig.Insert("Parent");
    t.rig.Insert("Child", parent);
    const UINT_PTR leaf = t.rig.Insert("");
    const int y0 = t.rh / 2, y1 = t.rh + t.rh / 2;
    ExpectHits(t, {
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
    });
}

TEST(TreeListMouse, HitTestInCellsAndPinnedRows) {
    Tree t(TVS_HASLINES, 40);
    t.rig.AddColumns({100, 80, 60});
    const int y = t.rig.ItemRect(t.rig.RowItem(0)).top + 1;
    const UINT_PTR top = t.rig.RowItem(0);
    ExpectHits(t, {
        {100 + 5, y, top, TLHT_ONCELLLABEL | TLHT_ONCELLTEXT | 1u << 24},  // an empty cell, near where text starts
        {100 + 40, y, top, TLHT_ONCELLLABEL | 1u << 24},
        {250, y, top, TLHT_RIGHTOFCOLUMNS},
    });
    EXPECT_EQ(HitColumn(t.Hit(180 + 2, y).second), 2);
    // One pinned row: the top screen row shows row 0 whatever the first shown row is.
    t.rig.Option(TLO_PINNEDROWS, 1);
    t.rig.Send(WM_VSCROLL, 12 | 10 << 4);
    EXPECT_EQ(t.Hit(50, y).first, top);
    EXPECT_EQ(t.Hit(50, y + t.rh).first, t.rig.RowItem(11));
}

TEST(TreeListMouse, CellTextHitsFollowTheAlignment) {
    Tree t(TVS_HASLINES);
    t.rig.AddColumns({100, 120});
    const UINT_PTR item = t.rig.Insert("Row");
    ASSERT_TRUE(t.rig.Set(item, {.mask = TVIF_TEXT, .pszText = const_cast<char*>("Cell")}, 1));
    const RECT cell = t.rig.ItemRect(item, 0x80 | 1 << 24);
    const int y = (cell.top + cell.bottom) / 2;
    const UINT onText = TLHT_ONCELLLABEL | TLHT_ONCELLTEXT | 1u << 24, beside = TLHT_ONCELLRIGHT | 1u << 24;
    ExpectHits(t, {{cell.left + 3, y, item, onText}, {cell.right - 3, y, item, beside}});
    LVCOLUMNA right = {.mask = LVCF_FMT, .fmt = LVCFMT_RIGHT};
    t.rig.SendWith(TLM_SETCOLUMN, 1, &right);
    ExpectHits(t, {{cell.left + 3, y, item, beside}, {cell.right - 3, y, item, onText}});
}

TEST(TreeListMouse, WheelScrollsByNotchAndModifier) {
    Tree t(TVS_HASLINES, 100);
    const struct { WPARAM keys; int rows; LRESULT result; } cases[] = {
        {0, 2, 1}, {MK_SHIFT, 6, 1}, {MK_CONTROL, 18, 1}, {MK_LBUTTON, 0, 0}, {MK_RBUTTON, 0, 0}};
    for (const auto& c : cases) {
        t.rig.Send(WM_VSCROLL, 12 | 40 << 4);
        ASSERT_EQ(t.rig.FirstRow(), 40);
        EXPECT_EQ(t.rig.Send(WM_MOUSEWHEEL, MAKEWPARAM(c.keys, WHEEL_DELTA), 0), c.result) << c.keys;
        EXPECT_EQ(t.rig.FirstRow(), 40 - c.rows) << c.keys;
    }
    t.rig.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)), 0);
    EXPECT_EQ(t.rig.FirstRow(), 46);
}

TEST(TreeListMouse, ScrollBarCodesAndTheParentsVeto) {
    Tree t(TVS_HASLINES, 100);
    const int whole = static_cast<int>(t.rig.Send(TVM_GETVISIBLECOUNT));
    const struct { WPARAM code; int row; } cases[] = {
        {0x10C, 16}, {SB_LINEDOWN, 17}, {SB_LINEUP, 16}, {SB_PAGEDOWN, 16 + whole - 1},
        {MAKEWPARAM(SB_THUMBPOSITION, 3), 3}, {SB_ENDSCROLL, 3}, {SB_LINEUP, 2}, {12 | 1000 << 4, 100 - whole + 1}};
    for (const auto& c : cases) {
        t.rig.Send(WM_VSCROLL, c.code);
        EXPECT_EQ(t.rig.FirstRow(), c.row) << std::hex << c.code;
    }
    t.rig.Ex(TLX_SCROLLNOTIFY);
    for (LRESULT answer : {1, 0}) {
        t.rig.answer = [answer](NMHDR* h) { return h->code == TLN_SCROLLED ? answer : 0; };
        t.rig.Clear();
        t.rig.Send(WM_VSCROLL, 0x10C);
        EXPECT_EQ(t.rig.FirstRow(), answer ? 100 - whole + 1 : 16);
        ASSERT_EQ(t.rig.CountOf(TLN_SCROLLED), 1);
        const NMTREELISTSCROLL& n = t.rig.log.back().scroll;
        EXPECT_EQ(std::tuple(n.action, n.reason, n.firstRow), std::tuple(1, 0x10C, 16));
    }
}

TEST(TreeListMouse, HorizontalScrollIsClampedAndMovesTheHeader) {
    Tree t(TVS_HASLINES, 3);
    t.rig.AddColumns({200, 200, 200});
    t.rig.Send(WM_HSCROLL, SB_LINEDOWN);
    RECT r;
    GetWindowRect(t.rig.Header(), &r);
    MapWindowPoints(nullptr, t.rig.tree, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, -16);
    t.rig.Send(WM_HSCROLL, 12 | 5000 << 4);
    RECT client;
    GetClientRect(t.rig.tree, &client);
    // The last column ends at 599 (the first column is a pixel short); the bar's last position is 599 - 2 less
    // the page plus 1.
    const int limit =
        std::min(599 - 2 * (static_cast<int>(client.right) / 2), 599 - 1 - static_cast<int>(client.right));
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
    auto expanded = [&] { return (t.rig.State(parent) & TVIS_EXPANDED) != 0; };
    for (LRESULT answer : {1, 0}) {
        t.rig.Clear();
        t.rig.answer = [answer](NMHDR* h) { return h->code == NM_CLICK ? answer : 0; };
        t.rig.Click({7, t.rh / 2});
        const std::vector<UINT> toggled = {NM_CLICK, TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA, TLN_LBUTTONUP};
        ASSERT_EQ(t.rig.Codes(), answer ? (std::vector<UINT>{NM_CLICK, TLN_LBUTTONUP}) : toggled);
        const Notification& n = t.rig.log[0];
        EXPECT_EQ(std::tuple(n.tree.action, n.newItem(), n.tree.itemNew.mask, n.tree.ptDrag.x),
                  std::tuple(UINT(TVHT_ONITEMBUTTON), parent, 0x401Cu, 7L));
        EXPECT_EQ(expanded(), answer == 0);
    }
    // A double click on the label toggles unless the parent answers NM_DBLCLK.
    for (LRESULT answer : {1, 0}) {
        t.rig.answer = [answer](NMHDR* h) { return h->code == NM_DBLCLK ? answer : 0; };
        const bool before = expanded();
        const POINT p = t.rig.OnText(parent);
        t.rig.Mouse(WM_LBUTTONDBLCLK, p.x, p.y);
        EXPECT_EQ(expanded() != before, answer == 0);
        EXPECT_EQ(t.rig.Caret(), parent);
    }
    // On a cell the double click toggles only after a zero answer, also a partly expanded item.
    t.rig.AddColumns({150, 100});
    t.rig.Ex(TLX_CELLDROPHILITE);
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
    EXPECT_EQ(std::pair(t.rig.log[0].newItem(), t.rig.log[0].tree.action), std::pair(UINT_PTR(0), UINT(TVHT_NOWHERE)));
}

TEST(TreeListMouse, PressesOverAShownTipMakeADoubleClickWithin700Ms) {
    FakeClock clock;
    Tree t(TVS_HASLINES | TVS_INFOTIP);
    const POINT p = t.rig.OnText(t.rig.Insert("A label that is shown as its own tip"));
    const struct { DWORD gap; int dx; bool dbl; } cases[] = {{699, 6, true}, {700, 0, false}, {10, 7, false}};
    t.rig.Clear();
    t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);
    EXPECT_EQ(t.rig.CountOf(TVN_GETINFOTIPA), 1);  // the parent hears of the info tip before it shows
    for (const auto& c : cases) {
        t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);  // the info tip shows at once
        t.rig.Click(p);
        t.rig.Clear();
        clock.Advance(c.gap);
        t.rig.Click({p.x + c.dx, p.y});
        EXPECT_EQ(t.rig.CountOf(NM_DBLCLK), c.dbl ? 1 : 0) << c.gap << " " << c.dx;
        clock.Advance(5000);
    }
}

TEST(TreeListMouse, CheckBoxClicksAndTheOneCheckedMode) {
    Tree t(TVS_HASLINES | TVS_CHECKBOXES);
    const UINT_PTR a = t.rig.Insert("A", 0, 0xFFFF0002, 0, 0x1000), b = t.rig.Insert("B", 0, 0xFFFF0002, 0, 0x1000);
    SetFocus(t.rig.tree);
    t.rig.Clear();
    auto image = [&](UINT_PTR item) { return (t.rig.State(item) >> 12) & 0xF; };
    auto click = [&](UINT_PTR item) { t.rig.Click({5, (t.rig.ItemRect(item).top + t.rig.ItemRect(item).bottom) / 2}); };
    click(a);
    EXPECT_EQ(image(a), 2u);
    ASSERT_EQ(t.rig.CountOf(TLN_CHECKCHANGED), 1);
    const Notification& n = t.rig.log[0];
    EXPECT_EQ(std::tuple(n.code, n.tree.action, n.newItem(), (n.tree.itemNew.state >> 12) & 0xF, n.text),
              std::tuple(UINT(TLN_CHECKCHANGED), 0x10000u, a, 2u, std::string("A")));
    click(a);
    EXPECT_EQ(image(a), 1u);
    // One checked item: checking B unchecks A and names it as the old item.
    t.rig.Ex(TLX_ONECHECKED);
    click(a);
    t.rig.Clear();
    click(b);
    EXPECT_EQ(std::pair(image(a), image(b)), std::pair(1u, 2u));
    ASSERT_EQ(t.rig.CountOf(TLN_CHECKCHANGED), 1);
    EXPECT_EQ(t.rig.log[0].oldItem(), a);
    click(b);  // the checked one stays checked
    EXPECT_EQ(image(b), 2u);
    // Option 12 locks items with those state bits.
    t.rig.Option(TLO_OPTION12, TVIS_BOLD);
    t.rig.Ex(TLX_ONECHECKED, false);
    const UINT_PTR c = t.rig.Insert("C", 0, 0xFFFF0002, 0, TVIS_BOLD | 0x1000);
    click(c);
    EXPECT_EQ(image(c), 1u);
}

TEST(TreeListMouse, HotTrackingHighlightsTheItemUnderTheMouse) {
    Tree t(TVS_HASLINES | TVS_TRACKSELECT);
    const UINT_PTR a = t.rig.Insert("Alpha"), b = t.rig.Insert("Beta");
    const POINT pa = t.rig.OnText(a), pb = t.rig.OnText(b);
    for (auto [p, hot] : {std::pair(pa, a), std::pair(pb, b), std::pair(POINT{10, 180}, UINT_PTR(0))}) {
        t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);
        EXPECT_EQ(t.rig.Next(0, TVGN_DROPHILITE), hot) << p.y;
    }
    // The messages: a bad item clears and gives 0; without cell highlighting the column is 0. TLM_SETDROPHILITE
    // takes the cell of any column.
    EXPECT_EQ(t.rig.Send(TLM_SETHOTHILITE, 3, static_cast<LPARAM>(b)), 1);
    EXPECT_EQ(t.rig.Send(TVM_GETNEXTITEM, TLGN_DROPCOLUMN), 0);
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
    const UINT_PTR first = t.rig.RowItem(0), second = t.rig.Next(first);
    EXPECT_EQ(t.rig.Send(TVM_SETINSERTMARK, 0, 0), 0);
    const UINT_PTR mark = static_cast<UINT_PTR>(t.rig.Send(TVM_SETINSERTMARK, 1, static_cast<LPARAM>(first)));
    ASSERT_NE(mark, 0u);
    EXPECT_EQ(std::pair(t.rig.Count(), t.rig.Next(first)), std::pair(4, mark));
    EXPECT_EQ(t.rig.Send(TLM_GETCELLBKCOLOR, static_cast<WPARAM>(mark), 0), t.rig.Send(TVM_GETINSERTMARKCOLOR));
    const UINT_PTR before = static_cast<UINT_PTR>(t.rig.Send(TVM_SETINSERTMARK, 0, static_cast<LPARAM>(first)));
    EXPECT_EQ((std::vector<UINT_PTR>{t.rig.Next(0, TVGN_ROOT), t.rig.Next(before), t.rig.Next(first)}),
              (std::vector<UINT_PTR>{before, first, second}));
    EXPECT_EQ(t.rig.Count(), 4);
    t.rig.Clear();
    EXPECT_EQ(t.rig.Send(TVM_SETINSERTMARK, 0, 0), 1);
    EXPECT_EQ(std::pair(t.rig.Count(), t.rig.CountOf(TVN_DELETEITEMA)), std::pair(3, 1));
    EXPECT_EQ(t.rig.Send(TVM_SETINSERTMARK, 0, 9999), 0);
}

TEST(TreeListMouse, TipsStayOnTheWorkArea) {
    const RECT work = {0, 0, 1000, 700};
    const struct { RECT tip, placed; } cases[] = {
        {{100, 100, 300, 120}, {100, 100, 300, 120}},
        {{900, 100, 1100, 120}, {800, 100, 1000, 120}},
        {{50, 690, 150, 720}, {50, 670, 150, 700}},
        {{300, 10, 1500, 30}, {0, 10, 1200, 30}},    // wider than the work area: its left edge on the area's
        {{-50, 10, 1500, 30}, {-50, 10, 1500, 30}},  // never moved to the right
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
    const UINT_PTR longer = t.rig.Insert("A label much wider than its column"), shorter = t.rig.Insert("Ab");
    HWND tip = reinterpret_cast<HWND>(t.rig.Send(TVM_GETTOOLTIPS));
    ASSERT_TRUE(tip);
    for (auto [item, shown] : {std::pair(longer, true), std::pair(shorter, false)}) {
        const POINT p = t.rig.OnText(item);
        t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);
        EXPECT_EQ(IsWindowVisible(tip) != 0, shown);
    }
    // Cell tips: the parent's text, shown only after its delay of 1,200 ms (three ticks of the tip timer).
    t.rig.Ex(TLX_CELLTIPS);
    static char own[] = "from the parent";
    t.rig.answer = [](NMHDR* h) -> LRESULT {
        if (h->code != TLN_CELLTIP) return 0;
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(h);
        nm->itemNew.pszText = own;
        nm->itemNew.mask |= 0x40000000;
        nm->itemNew.lParam = 1200;
        return 1;
    };
    const POINT p = t.rig.OnText(shorter);
    t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);
    ASSERT_EQ(t.rig.CountOf(TLN_CELLTIP), 1);
    const Notification& n = t.rig.log.back();
    EXPECT_EQ(std::tuple(n.newItem(), n.text, n.tree.itemNew.mask), std::tuple(shorter, std::string("Ab"), 0x801Cu));
    cursor.Put(t.rig.tree, p);
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_FALSE(IsWindowVisible(tip)) << tick;
        t.rig.Send(WM_TIMER, kTimerTip);
    }
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(TipText(t.rig), "from the parent");
}

TEST(TreeListMouse, ACellTipShowsTheTextItWasAskedWithWhenTheParentSetsAnother) {
    Tree t(TVS_HASLINES);
    t.rig.Ex(TLX_CELLTIPS);
    // Texts of a few megabytes lie in blocks of their own, which go back to the system when freed.
    static const std::string big(2 << 20, 'z'), bigger(4 << 20, 'b');
    const UINT_PTR item = t.rig.Insert("x");
    t.rig.Set(item, {.mask = TVIF_TEXT, .pszText = const_cast<char*>(big.c_str())});
    t.rig.answer = [&t, item](NMHDR* h) -> LRESULT {
        if (h->code != TLN_CELLTIP) return 0;
        t.rig.Set(item, {.mask = TVIF_TEXT, .pszText = const_cast<char*>(bigger.c_str())});
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(h);
        nm->itemNew.mask |= 0x40000000;  // after a delay, with the text of the record
        nm->itemNew.lParam = 1200;
        return 1;
    };
    const POINT p = t.rig.OnText(item);
    t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y);
    ASSERT_EQ(t.rig.CountOf(TLN_CELLTIP), 1);
    EXPECT_EQ(TipText(t.rig).substr(0, 16), std::string(16, 'z'));
}

TEST(TreeListMouse, EnsureVisibleScrollsAndFirstVisibleMakesTheTopRow) {
    Tree t(TVS_HASLINES, 60);
    const int whole = static_cast<int>(t.rig.Send(TVM_GETVISIBLECOUNT));
    const UINT_PTR row30 = t.rig.RowItem(30);
    EXPECT_EQ(t.rig.Send(TVM_ENSUREVISIBLE, 0, static_cast<LPARAM>(row30)), 1);
    EXPECT_EQ(t.rig.FirstRow(), 30 - whole + 1);
    EXPECT_EQ(t.rig.Send(TVM_ENSUREVISIBLE, 0, static_cast<LPARAM>(t.rig.RowItem(2))), 1);
    EXPECT_EQ(t.rig.FirstRow(), 2);
    EXPECT_EQ(t.rig.Send(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, static_cast<LPARAM>(row30)), 1);
    EXPECT_EQ(t.rig.FirstRow(), 30);
    EXPECT_EQ(t.rig.Send(TVM_ENSUREVISIBLE, 0, 9999), -1);
    // A collapsed ancestor opens.
    const UINT_PTR child = t.rig.Insert("Hidden", row30);
    EXPECT_EQ(t.rig.Row(child), -1);
    t.rig.Send(TVM_ENSUREVISIBLE, 0, static_cast<LPARAM>(child));
    EXPECT_EQ(t.rig.Row(child), 31);
}

TEST(TreeListMouse, HeaderTrackingRules) {
    Tree t(TVS_HASLINES, 3);
    t.rig.AddColumns({100, 80, 60});
    HWND header = t.rig.Header();
    auto notify = [&](UINT code, int column, int order = 0, int width = 0) {
        HDITEMA item = {.mask = HDI_WIDTH | HDI_ORDER, .cxy = width, .iOrder = order};
        NMHEADERA nm = {{header, 1, code}, column, 0, &item};
        return t.rig.SendWith(WM_NOTIFY, 1, &nm);
    };
    EXPECT_EQ(notify(HDN_BEGINTRACKA, 1), 1);  // fixed width
    EXPECT_EQ(notify(HDN_TRACKA, 1, 0, 120), 0);
    EXPECT_EQ(t.rig.Send(TLM_GETCOLUMNWIDTH, 1), 120);
    // Columns are dragged only with the style, never the tree column, and never in front of it.
    const struct { DWORD ex; UINT code; int column, order; LRESULT refused; } rules[] = {
        {0, HDN_BEGINDRAG, 1, 0, 1},                  {TLX_HEADERDRAGDROP, HDN_BEGINDRAG, 1, 0, 0},
        {TLX_HEADERDRAGDROP, HDN_BEGINDRAG, 0, 0, 1}, {TLX_HEADERDRAGDROP, HDN_ENDDRAG, 2, 0, 1},
        {TLX_HEADERDRAGDROP, HDN_ENDDRAG, 2, 1, 0},   {TLX_FIXEDCOLUMNWIDTHS, HDN_BEGINTRACKA, 0, 0, 1}};
    for (const auto& r : rules) {
        if (r.ex) t.rig.Ex(r.ex);
        EXPECT_EQ(notify(r.code, r.column, r.order), r.refused) << r.ex << " " << r.code << " " << r.column;
    }
    t.rig.Ex(TLX_FIXEDCOLUMNWIDTHS, false);
    // A divider double click fits a weighted column to its widest text.
    LVCOLUMNA weighted = {.mask = 0x40000000 | LVCF_WIDTH, .fmt = 0x40000000, .cx = 100};
    t.rig.SendWith(TLM_SETCOLUMN, 0, &weighted);
    const RECT text = t.rig.ItemRect(t.rig.Insert("A rather long label for the tree column"), 1);
    notify(HDN_DIVIDERDBLCLICKA, 0);
    EXPECT_EQ(t.rig.Send(TLM_GETCOLUMNWIDTH, 0), text.right - text.left + 4);  // text width + 8
    // The parent sees header clicks from the control, and a right click over a column as TLN_HEADERRCLICK.
    t.rig.Clear();
    t.rig.answer = [](NMHDR* h) { return h->code == static_cast<UINT>(HDN_ITEMCLICKA) ? 7 : 0; };
    EXPECT_EQ(notify(HDN_ITEMCLICKA, 2), 7);
    ASSERT_EQ(t.rig.Codes(), std::vector<UINT>{static_cast<UINT>(HDN_ITEMCLICKA)});
    EXPECT_EQ(std::pair(t.rig.log[0].hdr.hwndFrom, t.rig.log[0].header.iItem), std::pair(t.rig.tree, 2));
    FakeCursor cursor;
    RECT second = {};
    SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    const int middle = (second.left + second.right) / 2;
    cursor.Put(header, POINT{middle, 3});
    t.rig.Clear();
    t.rig.answer = nullptr;
    NMHDR rclick = {header, 1, static_cast<UINT>(NM_RCLICK)};
    t.rig.SendWith(WM_NOTIFY, 1, &rclick);
    ASSERT_EQ(t.rig.Codes(), std::vector<UINT>{TLN_HEADERRCLICK});
    EXPECT_EQ(std::pair(t.rig.log[0].headerClick.hit.iItem, t.rig.log[0].headerClick.hit.pt.x),
              std::pair(1, LONG(middle)));
}

TEST(TreeListMouse, CtrlAndShiftClicksInAMultiSelection) {
    Tree t(TVS_HASLINES, 6);
    t.rig.Ex(TLX_MULTISELECT);
    SetFocus(t.rig.tree);
    auto selected = [&] {
        std::vector<int> rows;
        for (UINT_PTR i = t.rig.Next(0, TLGN_NEXTSELECTED); i; i = t.rig.Next(i, TLGN_NEXTSELECTED))
            rows.push_back(t.rig.Row(i));
        return rows;
    };
    const struct { int row; WPARAM keys; std::vector<int> rows; } steps[] = {
        {1, 0, {1}},
        {3, MK_CONTROL, {1, 3}},
        {1, MK_CONTROL, {3}},            // a selected item leaves the selection
        {5, MK_SHIFT, {1, 2, 3, 4, 5}},  // from the Ctrl anchor
        {2, 0, {2}},                     // a selected item: the selection is made at the button-up
        {5, MK_SHIFT, {2, 3, 4, 5}},     // ranges run from the anchor (row 2) ...
        {0, MK_SHIFT, {0, 1, 2}},        // ... past it, back over it,
        {4, MK_SHIFT, {2, 3, 4}},
        {1, MK_SHIFT, {1, 2}},
        {0, MK_SHIFT, {0, 1, 2}},  // ... and on from a start between it and the item
        {0, 0, {0}},
        {3, MK_SHIFT, {0, 1, 2, 3}},
    };
    for (const auto& s : steps) {
        t.rig.Click(t.rig.OnText(t.rig.RowItem(s.row)), s.keys);
        EXPECT_EQ(selected(), s.rows) << s.row << " " << s.keys;
    }
    EXPECT_EQ(t.rig.Caret(), t.rig.RowItem(3));
    // A right click on a selected item of a multi-selection keeps it.
    const POINT p = t.rig.OnText(t.rig.RowItem(1));
    t.rig.Mouse(WM_RBUTTONDOWN, p.x, p.y);
    EXPECT_EQ(selected(), (std::vector<int>{0, 1, 2, 3}));
}

TEST(TreeListMouse, TheParentMayDeleteTheItemInAnyMouseNotification) {
    for (UINT code :
         {UINT(NM_CLICK), UINT(NM_DBLCLK), UINT(TLN_CHECKCHANGED), UINT(TVN_BEGINDRAGA), UINT(TLN_CELLTIP)}) {
        FakeCursor cursor;
        Tree t(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_CHECKBOXES | 0x8000);
        t.rig.Ex(TLX_CELLTIPS);
        const UINT_PTR parent = t.rig.Insert("Parent with a long label that the tip shows", 0, 0xFFFF0002, 0, 0x1000);
        t.rig.Insert("Child", parent);
        t.rig.answer = [&t, code, parent](NMHDR* h) -> LRESULT {
            if (h->code == code) t.rig.Delete(parent);
            return 0;
        };
        const POINT button = {7, t.rh / 2}, check = {19 + 5, t.rh / 2}, text = t.rig.OnText(parent);
        cursor.Put(t.rig.tree, text);
        t.rig.Click(button);                                          // toggles after NM_CLICK
        t.rig.Mouse(WM_LBUTTONDBLCLK, text.x, text.y, MK_LBUTTON);   // toggles after NM_DBLCLK
        t.rig.Mouse(WM_LBUTTONUP, text.x, text.y);
        t.rig.Click(check);
        t.rig.Mouse(WM_LBUTTONDOWN, text.x, text.y, MK_LBUTTON);
        t.rig.Mouse(WM_MOUSEMOVE, text.x + 5, text.y + 5, MK_LBUTTON);  // a drag starts
        t.rig.Mouse(WM_LBUTTONUP, text.x + 5, text.y + 5);
        t.rig.Mouse(WM_MOUSEMOVE, text.x, text.y);                     // the cell tip is asked for
        EXPECT_EQ(t.rig.Count(), 0) << code;
        EXPECT_EQ(t.rig.Caret(), 0u);
        EXPECT_NE(GetCapture(), t.rig.tree);
    }
}

// The button is hit where painting draws it: for a call-back children count by the parent's answer, for any
// other item by the has-children flag (TVIF_CHILDREN 0 hides it while the children stay).
TEST(TreeListMouse, ButtonHitsFollowTheShownButton) {
    Tree t;
    int children = 1;
    t.rig.answer = AnswerChildren(&children);
    const UINT_PTR asked = t.rig.InsertCounted("Asked", I_CHILDRENCALLBACK), hidden = t.rig.Insert("Hidden");
    t.rig.Insert("Inside", hidden);
    t.rig.Set(hidden, {.mask = TVIF_CHILDREN, .cChildren = 0});
    EXPECT_EQ(t.rig.Get(hidden, TVIF_CHILDREN).cChildren, 1);  // read back: it has a first child
    const int y0 = t.rh / 2, y1 = t.rh + t.rh / 2;
    ExpectHits(t, {{7, y0, asked, TVHT_ONITEMBUTTON}, {7, y1, hidden, TVHT_ONITEMINDENT}});
    t.rig.Click({7, y0});
    EXPECT_EQ(t.rig.CountOf(TVN_ITEMEXPANDINGA), 1);
    children = 0;
    ExpectHits(t, {{7, y0, asked, TVHT_ONITEMINDENT}});
}

TEST(TreeListMouse, EditOnReleaseOpensTheCaretsLabel) {
    Tree t(TVS_HASLINES | TVS_EDITLABELS);
    const UINT_PTR a = t.rig.Insert("Alpha"), b = t.rig.Insert("Beta");
    t.rig.Ex(TLX_EDITONCLICK);
    SetFocus(t.rig.tree);
    t.rig.Send(TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(a));
    t.rig.Clear();
    const POINT pa = t.rig.OnText(a), pb = t.rig.OnText(b);
    t.rig.Mouse(WM_LBUTTONDOWN, pa.x, pa.y, MK_LBUTTON);  // on the caret's text: edit on release
    t.rig.Mouse(WM_LBUTTONUP, pb.x, pb.y);
    ASSERT_EQ(t.rig.CountOf(TLN_EDITREQUEST), 1);
    EXPECT_EQ(t.rig.Last(TLN_EDITREQUEST)->newItem(), a);
}

TEST(TreeListMouse, OneCheckedModeRemembersAnItemJustUnchecked) {
    Tree t(TVS_HASLINES | TVS_CHECKBOXES);
    const UINT_PTR a = t.rig.Insert("A", 0, TLI_LAST, 0, INDEXTOSTATEIMAGEMASK(2));
    const UINT_PTR c = t.rig.Insert("C", 0, TLI_LAST, 0, INDEXTOSTATEIMAGEMASK(1));
    t.rig.Ex(TLX_ONECHECKED);
    SetFocus(t.rig.tree);
    auto click = [&](UINT_PTR item) { t.rig.Click({5, (t.rig.ItemRect(item).top + t.rig.ItemRect(item).bottom) / 2}); };
    click(a);  // A, checked before any click, is cleared by it and is the item toggled last
    EXPECT_EQ((t.rig.State(a) >> 12) & 0xF, 1u);
    t.rig.Clear();
    click(c);
    ASSERT_EQ(t.rig.CountOf(TLN_CHECKCHANGED), 1);
    EXPECT_EQ(t.rig.Last(TLN_CHECKCHANGED)->oldItem(), a);
}

TEST(TreeListMouse, DropHighlightMessagesMakeAMissingCell) {
    Tree t(TVS_HASLINES, 2);
    t.rig.AddColumns({100, 100});
    const UINT_PTR a = t.rig.RowItem(0), b = t.rig.RowItem(1);
    EXPECT_EQ(t.rig.Send(TLM_SETDROPHILITE, 1, static_cast<LPARAM>(a)), 1);
    EXPECT_EQ(t.rig.Send(TLM_SETDROPHILITE, 1, static_cast<LPARAM>(b)), 1);
    EXPECT_EQ(t.rig.Next(0, TVGN_DROPHILITE), b);
    EXPECT_EQ(t.rig.Send(TVM_GETNEXTITEM, TLGN_DROPCOLUMN), 1);
}
