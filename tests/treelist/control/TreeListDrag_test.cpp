// The internal drag of the "TreeList" control: starting it by mouse and by message, the cursor and target
// feedback under the drag rules, automatic scrolling and hover expansion driven by their timers, cancelling,
// and the drop with TLN_DROP.
#include <gtest/gtest.h>

#include "treelist/control/TreeListDrag.h"
#include "treelist/control/TreeListTestSupport.h"
#include "treelist/control/TreeListTimers.h"

#include <string>
#include <tuple>

using namespace tltest;

namespace {

constexpr DWORD kInternalDrag = 0x8000;

struct Drag {
    FakeCursor cursor;
    TreeListRig rig;
    int rh;
    explicit Drag(int rows = 0, DWORD style = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT)
        : rig(style | kInternalDrag, 300, 200) {
        rh = rig.RowHeight();
        for (int i = 0; i < rows; ++i) rig.Insert(("Row " + std::to_string(i)).c_str());
        SetFocus(rig.tree);
        rig.Clear();
    }
    ~Drag() { ReleaseCapture(); }
    // Puts the cursor on a client point (the timers and TLM_STARTDRAG read the cursor).
    void Cursor(POINT p) { cursor.Put(rig.tree, p); }
    void Move(POINT p, WPARAM keys = 0) {
        Cursor(p);
        rig.Mouse(WM_MOUSEMOVE, p.x, p.y, keys);
    }
    // Starts a drag by message with the cursor on the item.
    LRESULT Start(UINT_PTR item) {
        Cursor(rig.OnText(item));
        return rig.Send(TLM_STARTDRAG, static_cast<WPARAM>(item));
    }
    int ClientHeight() const {
        RECT r;
        GetClientRect(rig.tree, &r);
        return r.bottom;
    }
    // A target past the table changes nothing and answers the current one.
    UINT_PTR Target() const { return static_cast<UINT_PTR>(rig.Send(TLM_SETDROPTARGET, 0, 0xFFFFFF)); }
};

}  // namespace

TEST(TreeListDrag, AutoScrollIntervalIsClamped) {
    for (auto [ms, clamped] : {std::pair(5u, 30u), {30u, 30u}, {100u, 100u}, {900u, 900u}, {5000u, 900u}})
        EXPECT_EQ(AutoScrollInterval(ms), clamped);
}

TEST(TreeListDrag, AutoScrollOneRowPerTwelveTicksAtTheEdgeAndEveryTickFarBelow) {
    Drag t(100);
    ASSERT_EQ(t.Start(t.rig.RowItem(0)), 1);
    // Pixels below the last pixel row, timer ticks, rows scrolled.
    const struct { int below, ticks, rows; } cases[] = {
        {0, 11, 0}, {0, 1, 1}, {0, 12, 1}, {33, 1, 1}, {33, 5, 5}, {3, 11, 1}};
    for (const auto& c : cases) {
        t.Cursor(POINT{50, t.ClientHeight() - 1 + c.below});
        const LRESULT before = t.rig.FirstRow();
        for (int i = 0; i < c.ticks; ++i) t.rig.Send(WM_TIMER, kTimerAutoScroll);
        EXPECT_EQ(t.rig.FirstRow() - before, c.rows) << c.below << " " << c.ticks;
    }
    // Above the top it scrolls back up: 20 pixels give six steps, a row every sixth tick.
    t.Cursor(POINT{50, -20});
    const int before = t.rig.FirstRow();
    for (int i = 1; i <= 6; ++i) {
        t.rig.Send(WM_TIMER, kTimerAutoScroll);
        EXPECT_EQ(t.rig.FirstRow(), before - (i == 6)) << i;
    }
}

TEST(TreeListDrag, HoveringExpandsACollapsedItemAtTheFifthTick) {
    Drag t(2);
    const UINT_PTR folder = t.rig.Insert("Folder");
    t.rig.Insert("Inside", folder);
    const POINT p = t.rig.OnText(folder);
    ASSERT_EQ(t.Start(t.rig.RowItem(0)), 1);
    t.Move(p);
    EXPECT_NE(t.Target(), 0u);
    for (int tick = 1; tick <= 5; ++tick) {
        t.rig.Send(WM_TIMER, kTimerHover);
        EXPECT_EQ((t.rig.State(folder) & TVIS_EXPANDED) != 0, tick == 5) << tick;
    }
    // A move of more than two pixels starts the count again.
    const UINT_PTR other = t.rig.Insert("Other");
    t.rig.Insert("Inside", other);
    const POINT q = t.rig.OnText(other);
    t.Move(q);
    for (int tick = 1; tick <= 4; ++tick) t.rig.Send(WM_TIMER, kTimerHover);
    t.Move(POINT{q.x + 3, q.y});
    t.rig.Send(WM_TIMER, kTimerHover);
    EXPECT_FALSE(t.rig.State(other) & TVIS_EXPANDED);
}

TEST(TreeListDrag, MouseDragStartsAfterMoreThanTwoPixels) {
    for (LRESULT answer : {0, 1}) {
        Drag t(3);
        const UINT_PTR item = t.rig.Next(0, TVGN_ROOT);
        t.rig.answer = [answer](NMHDR* h) { return h->code == TVN_BEGINDRAGA ? answer : 0; };
        const POINT p = t.rig.OnText(item);
        t.rig.Mouse(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
        t.rig.Mouse(WM_MOUSEMOVE, p.x + 2, p.y + 2, MK_LBUTTON);
        EXPECT_EQ(t.rig.CountOf(TVN_BEGINDRAGA), 0);
        t.rig.Mouse(WM_MOUSEMOVE, p.x, p.y + 3, MK_LBUTTON);
        ASSERT_EQ(t.rig.CountOf(TVN_BEGINDRAGA), 1);
        const Notification& n = *t.rig.Last(TVN_BEGINDRAGA);
        EXPECT_EQ(std::pair(n.newItem(), n.tree.itemNew.mask), std::pair(item, 0x401Cu));
        EXPECT_EQ(GetCapture() == t.rig.tree, answer == 0) << answer;
        t.rig.Mouse(WM_LBUTTONUP, p.x, p.y + 3);
        EXPECT_NE(GetCapture(), t.rig.tree);
    }
}

TEST(TreeListDrag, FeedbackCursorFollowsTheRules) {
    Drag t;
    auto h = t.rig.Build("A(A1 A2) B(B1 B2)");
    t.rig.Send(TVM_EXPAND, TVE_EXPAND | 0x10000000, kRoot);
    const struct { int rules; const char *dragged, *over; int dy; LPCSTR cursor; } cases[] = {
        {0, "A1", "B2", 0, IDC_HAND},
        {0, "B", "B1", 0, IDC_NO},                  // onto its own child
        {0x4, "A1", "B2", -t.rh / 2 + 1, IDC_NO},   // keep the parent
        {0x4, "B1", "B2", 1, IDC_HAND},
        {0x2, "A1", "B", -t.rh / 2 + 2, IDC_HAND},  // between rows at the end of a branch: the level it keeps
    };
    for (const auto& c : cases) {
        t.rig.Option(TLO_DRAGRULES, c.rules);
        t.Start(h[c.dragged]);
        const POINT p = {t.rig.OnText(h[c.over]).x, t.rig.OnText(h[c.over]).y + c.dy};
        t.Move(p);
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, c.cursor)) << c.dragged << " " << c.over;
        t.rig.Mouse(WM_RBUTTONDOWN, p.x, p.y);  // cancels
    }
    EXPECT_EQ(t.rig.CountOf(TLN_DROP), 0);
}

TEST(TreeListDrag, ARightPressCancelsAndReportsWithRule0x80) {
    Drag t(3);
    t.rig.Option(TLO_DRAGRULES, 0x80);
    const UINT_PTR item = t.rig.RowItem(0);
    const POINT p = t.rig.OnText(item);
    t.Start(item);
    // A drag started by message ignores the left button.
    t.rig.Mouse(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    EXPECT_EQ(t.rig.CountOf(NM_CLICK), 0);
    t.rig.Mouse(WM_RBUTTONDOWN, p.x, p.y);
    ASSERT_EQ(t.rig.CountOf(TLN_DROP), 1);
    EXPECT_EQ(std::pair(t.rig.log.back().tree.action, t.rig.log.back().newItem()),
              std::pair(TLDROP_CANCELLED | TLDROP_BYMESSAGE | 1u, item));
    EXPECT_EQ(t.rig.CountOf(NM_RCLICK), 0);
    EXPECT_NE(GetCapture(), t.rig.tree);
    // Escape does the same; the dialog code asks for it while the drag runs.
    t.rig.Send(TLM_STARTDRAG, static_cast<WPARAM>(item));
    MSG escape = {t.rig.tree, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_EQ(t.rig.Send(WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&escape)), DLGC_WANTALLKEYS);
    t.rig.Send(WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_EQ(t.rig.CountOf(TLN_DROP), 2);
    for (const Notification& n : t.rig.log) {
        if (n.code != TLN_DROP) continue;
        EXPECT_EQ(n.tree.action, TLDROP_CANCELLED | TLDROP_BYMESSAGE | 1u);
    }
    EXPECT_NE(GetCapture(), t.rig.tree);
    EXPECT_NE(t.rig.Send(WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&escape)), DLGC_WANTALLKEYS);
}

TEST(TreeListDrag, ADragWhoseItemIsDeletedRunsOnRefusedUntilItEnds) {
    // How the drag ends, and whether TLN_DROP (the cancel report of rule 0x80) goes out.
    const struct { const char* name; UINT msg; WPARAM wp; int drops; } endings[] = {
        {"Escape", WM_KEYDOWN, VK_ESCAPE, 1}, {"right press", WM_RBUTTONDOWN, 0, 1}, {"button-up", WM_LBUTTONUP, 0, 0}};
    for (const auto& e : endings) {
        Drag t(3);
        t.rig.Option(TLO_DRAGRULES, 0x80);
        const UINT_PTR dragged = t.rig.RowItem(0), over = t.rig.RowItem(2);
        ASSERT_EQ(t.Start(dragged), 1);
        t.rig.Delete(dragged);
        const POINT p = t.rig.OnText(over);
        t.Move(p);
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_NO)) << e.name;
        EXPECT_EQ(GetCapture(), t.rig.tree) << e.name;
        t.rig.Send(e.msg, e.wp, e.msg == WM_KEYDOWN ? 1 : MAKELPARAM(p.x, p.y));
        EXPECT_NE(GetCapture(), t.rig.tree) << e.name;
        // Both timers were stopped (killing one again fails).
        EXPECT_FALSE(KillTimer(t.rig.tree, kTimerAutoScroll)) << e.name;
        EXPECT_FALSE(KillTimer(t.rig.tree, kTimerHover)) << e.name;
        ASSERT_EQ(t.rig.CountOf(TLN_DROP), e.drops) << e.name;
        if (e.drops) {
            EXPECT_EQ(t.rig.Last(TLN_DROP)->newItem(), 0u);
        }
        EXPECT_EQ(t.rig.RowTexts(), (Texts{"Row 1", "Row 2"})) << e.name;  // nothing moved
    }
}

TEST(TreeListDrag, NoDropBelowTheLastRowWithRule0x200) {
    Drag t(3);
    const UINT_PTR first = t.rig.RowItem(0);
    const POINT below = {40, 5 * t.rh};
    t.Start(first);
    t.rig.Option(TLO_DRAGRULES, 0x200);
    t.Move(below);
    EXPECT_EQ(t.Target(), static_cast<UINT_PTR>(0xFFFF0002));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_NO));
    t.rig.Mouse(WM_LBUTTONUP, below.x, below.y);
    EXPECT_EQ(t.rig.CountOf(TLN_DROP), 0);
    EXPECT_EQ(t.rig.Next(0, TVGN_ROOT), first);
    EXPECT_EQ(t.Target(), 0u);
    // Without the rule the item goes to the end of the top level.
    t.rig.Option(TLO_DRAGRULES, 0);
    t.rig.Send(TLM_STARTDRAG, static_cast<WPARAM>(first));
    t.Move(below);
    t.rig.Mouse(WM_LBUTTONUP, below.x, below.y);
    EXPECT_EQ(t.rig.Next(0, TVGN_LASTVISIBLE), first);
    EXPECT_EQ(t.rig.CountOf(TLN_DROP), 1);
    // The last item is at the end already: nothing moves and nothing is reported.
    t.rig.Send(TLM_STARTDRAG, static_cast<WPARAM>(first));
    t.Move(below);
    t.rig.Mouse(WM_LBUTTONUP, below.x, below.y);
    EXPECT_EQ(t.rig.CountOf(TLN_DROP), 1);
    // The auto-scroll message answers with the timer; 0 stops it.
    EXPECT_NE(t.rig.Send(TLM_AUTOSCROLL, 0, 100), 0);
    EXPECT_NE(t.rig.Send(TLM_AUTOSCROLL, 0, 0), 0);
}

namespace {

// Points of a row: in its upper quarter (a drop before it) and in its lower quarter (before the next row).
POINT Upper(const TreeListRig& rig, UINT_PTR item) {
    const RECT r = rig.ItemRect(item);
    return POINT{40, r.top + 1};
}

}  // namespace

TEST(TreeListDrag, DropsMoveAndReport) {
    // The drop's action; 0: no TLN_DROP.
    const struct { const char *name, *drag, *over; WPARAM keys; const char* shape; UINT action; } cases[] = {
        {"before", "C", "A", 0, "C A(a1) B", 2u << 30 | 1},
        {"onto, last child", "C", "A", MK_CONTROL, "A(a1 C) B", 3u << 24 | 2u << 30 | 1},
        {"onto, first child", "C", "A", MK_CONTROL | MK_SHIFT, "A(C a1) B", 2u << 24 | 2u << 30 | 1},
        {"into its own subtree", "A", "a1", MK_CONTROL, "A(a1) B C", 0},
        {"where it is", "B", "B", 0, "A(a1) B C", 1u << 30 | 1},
    };
    for (const auto& c : cases) {
        Drag t;
        auto items = t.rig.Build("A(a1) B C");
        t.rig.Send(TVM_EXPAND, TVE_EXPAND, static_cast<LPARAM>(items["A"]));
        t.rig.Clear();
        t.Start(items[c.drag]);
        const POINT p = (c.keys & MK_CONTROL) ? t.rig.OnText(items[c.over]) : Upper(t.rig, items[c.over]);
        t.Move(p, c.keys);
        t.rig.Mouse(WM_LBUTTONUP, p.x, p.y, c.keys);
        EXPECT_EQ(t.rig.Shape(), c.shape) << c.name;
        if (!c.action) {
            EXPECT_EQ(t.rig.CountOf(TLN_DROP), 0) << c.name;
            continue;
        }
        ASSERT_EQ(t.rig.CountOf(TLN_DROP), 1) << c.name;
        const Notification& n = *t.rig.Last(TLN_DROP);
        EXPECT_EQ(std::tuple(n.tree.action, n.oldItem(), n.newItem()),
                  std::tuple(c.action, items[c.over], items[c.drag]))
            << c.name;
        EXPECT_NE(GetCapture(), t.rig.tree);
    }
}

TEST(TreeListDrag, ASelectionDropsInItsOrder) {
    Drag t;
    t.rig.Ex(TLX_MULTISELECT);
    auto rows = t.rig.Build("A B C D E");
    t.rig.Click(t.rig.OnText(rows["A"]));
    t.rig.Click(t.rig.OnText(rows["C"]), MK_CONTROL);
    t.rig.Clear();
    const POINT from = t.rig.OnText(rows["C"]), to = Upper(t.rig, rows["E"]);
    t.Cursor(from);
    t.rig.Mouse(WM_LBUTTONDOWN, from.x, from.y, MK_LBUTTON);
    t.Move(POINT{from.x, from.y + 5}, MK_LBUTTON);
    ASSERT_EQ(t.rig.CountOf(TVN_BEGINDRAGA), 1);
    t.Move(to, MK_LBUTTON);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    t.rig.Mouse(WM_LBUTTONUP, to.x, to.y);
    EXPECT_EQ(t.rig.Shape(), "B D A C E");
    ASSERT_EQ(t.rig.CountOf(TLN_DROP), 1);
    // Before, with bit 24 once moved.
    EXPECT_EQ(std::pair(t.rig.log.back().tree.action, t.rig.log.back().newItem()),
              std::pair(1u << 24 | 2u << 30 | 2, rows["A"]));
}

TEST(TreeListDrag, KeepParentRuleRefusesOtherParentsAndOutsideDropsAreReported) {
    Drag t;
    auto h = t.rig.Build("P(a1 a2) Q(b1 b2)");
    const UINT_PTR a1 = h["a1"];
    t.rig.Send(TVM_EXPAND, TVE_EXPAND | 0x10000000, kRoot);
    t.rig.Option(TLO_DRAGRULES, 0x4 | 0x40);
    t.rig.Clear();
    t.Start(a1);
    const POINT between = Upper(t.rig, h["b2"]);
    t.Move(between);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_NO));
    t.rig.Mouse(WM_LBUTTONUP, between.x, between.y);
    EXPECT_EQ(t.rig.Shape(), "P(a1 a2) Q(b1 b2)");
    EXPECT_EQ(t.rig.CountOf(TLN_DROP), 0);
    // Released outside the control: reported with the outside flag, nothing moves.
    t.rig.Send(TLM_STARTDRAG, static_cast<WPARAM>(a1));
    const POINT outside = {40, t.ClientHeight() + 20};
    t.Move(outside);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
    t.rig.Mouse(WM_LBUTTONUP, outside.x, outside.y);
    ASSERT_EQ(t.rig.CountOf(TLN_DROP), 1);
    EXPECT_EQ(std::pair(t.rig.log.back().tree.action, t.rig.log.back().newItem()),
              std::pair(TLDROP_OUTSIDE | TLDROP_BYMESSAGE | 1u, a1));
    EXPECT_EQ(t.rig.Shape(), "P(a1 a2) Q(b1 b2)");
}

TEST(TreeListDrag, HoverExpandsWhereAButtonIsShown) {
    Drag t(1);
    const UINT_PTR asked = t.rig.InsertCounted("Asked", I_CHILDRENCALLBACK), hidden = t.rig.Insert("Hidden");
    t.rig.Insert("Inside", hidden);
    t.rig.Set(hidden, {.mask = TVIF_CHILDREN, .cChildren = 0});
    static const int one = 1;
    t.rig.answer = AnswerChildren(&one);
    ASSERT_EQ(t.Start(t.rig.RowItem(0)), 1);
    for (auto [item, expands] : {std::pair(asked, true), {hidden, false}}) {
        t.Move(t.rig.OnText(item));
        for (int tick = 1; tick <= 5; ++tick) t.rig.Send(WM_TIMER, kTimerHover);
        EXPECT_EQ((t.rig.State(item) & TVIS_EXPANDED) != 0, expands) << item;
    }
}
