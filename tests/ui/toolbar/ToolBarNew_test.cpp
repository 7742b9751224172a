// CToolBarNew in a framework frame: loading toolbar resources, sizes for docking, the command-update
// protocol, windows on buttons, picture strips and the context menu.
#include <gtest/gtest.h>

#include "ui/toolbar/ToolBarNew.h"
#include "tests/support/ThreadWindows.h"
#include "tests/ui/toolbar/ToolbarTestSupport.h"

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace tbtest;

namespace {

constexpr DWORD kFrameBarStyle = 0x50402834;  // child, visible, gripper, top, bottom border, dynamic size

// Notification codes of a window on a button: answered by the frame (5), by the view (9), by both, by none.
constexpr UINT kFrameNote = 0x7001, kViewNote = 0x7002, kBothNote = 0x7003, kNobodysNote = 0x7004;

class TestFrame : public CFrameWnd {
public:
    CToolBarNew bar;
    int handled101 = 0;
    afx_msg void On101() { ++handled101; }
    afx_msg void OnUpdate102(CCmdUI* ui) { ui->SetCheck(2); }
    afx_msg void On102() {}
    afx_msg void OnNote(NMHDR*, LRESULT* result) { *result = 5; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_COMMAND(101, On101)
    ON_COMMAND(102, On102)
    ON_UPDATE_COMMAND_UI(102, OnUpdate102)
    ON_NOTIFY(kFrameNote, 500, OnNote)
    ON_NOTIFY(kBothNote, 500, OnNote)
END_MESSAGE_MAP()

// A view that answers notifications as window messages only (the frame's routing does not reach this).
class NoteView : public CView {
public:
    std::vector<UINT> seen;
    void OnDraw(CDC*) override {}
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
        const UINT code = ((NMHDR*)lParam)->code;
        seen.push_back(code);
        if (code != kViewNote && code != kBothNote) return FALSE;
        *result = 9;
        return TRUE;
    }
};

// A frame (the application's main window) with the bar docked at its top, loaded from toolbar resource id.
struct FrameWithBar {
    CWinApp app{"ToolBarNewTest"};
    TestFrame* frame = new TestFrame;
    CToolBarNew& bar = frame->bar;
    BOOL loaded = FALSE;

    explicit FrameWithBar(UINT id = 130, DWORD ctrlStyle = TBSTYLE_FLAT) {
        frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 60, 660, 420));
        app.m_pMainWnd = frame;
        bar.CreateEx(frame, ctrlStyle, kFrameBarStyle, CRect(2, 2, 2, 2), AFX_IDW_TOOLBAR);
        loaded = bar.LoadToolBar(id);
        bar.EnableDocking(CBRS_ALIGN_ANY);
        frame->EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&bar);
        frame->RecalcLayout();
        PumpQueued();
    }
    ~FrameWithBar() {
        app.m_pMainWnd = nullptr;
        if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();  // the frame deletes itself
        PumpQueued();
    }
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return bar.SendMessage(msg, wParam, lParam); }
    int Command(int index) { return (int)Send(TBX_INDEXTOCOMMAND, index); }
    int Image(int index) { return (int)Send(TBX_GETIMAGE, index); }
    BYTE State(int index) { return (BYTE)Send(TB_GETSTATE, index); }
    BYTE Style(int index) { return (BYTE)Send(TBX_GETSTATESTYLE, index); }
    // Every button's command and picture.
    std::vector<std::pair<int, int>> Items() {
        std::vector<std::pair<int, int>> out;
        for (int i = 0; i < (int)Send(TB_BUTTONCOUNT); ++i) out.emplace_back(Command(i), Image(i));
        return out;
    }
};

using Items = std::vector<std::pair<int, int>>;  // command, picture (-1 none, as separators)

}  // namespace

TEST(ToolBarNew, StandardButtonSizeFollowsTheIconSize) {
    // 48 gives 60, clamped.
    EXPECT_EQ((std::vector<int>{ToolbarStandardButtonSize(32), ToolbarStandardButtonSize(48),
                                ToolbarStandardButtonSize(16)}), (std::vector<int>{28, 48, 16}));
    FrameWithBar f;
    EXPECT_EQ(f.bar.m_nStandardSize, ToolbarStandardButtonSize(GetSystemMetrics(SM_CYICON)));
}

TEST(ToolBarNew, LoadsButtonsAndPicturesFromAToolbarResource) {
    FrameWithBar f;
    ASSERT_TRUE(f.loaded);
    EXPECT_EQ(f.Items(), (Items{{100, 0}, {0, -1}, {101, 1}}));
    EXPECT_EQ(f.Style(1) & BTNS_SEP, BTNS_SEP);
    EXPECT_EQ(f.bar.m_nImageWidth, 16);
    TBXBITMAPINFO info = {};
    ASSERT_EQ(f.Send(TBX_GETBITMAPINFO, MAKEWPARAM(0, 1), (LPARAM)&info), 1);
    EXPECT_EQ(std::tuple(info.count, info.imageWidth, info.height), std::tuple(6, 16, 15));

    // The game's toolbar: its eight items; then the same commands kept while another toolbar is loaded.
    LPCSTR game[2] = {MAKEINTRESOURCEA(128), nullptr};
    ASSERT_TRUE(f.bar.LoadToolBar(game));
    EXPECT_EQ(f.Items(), (Items{{32802, 0}, {32771, 1}, {0, -1}, {32810, 2}, {32811, 3}, {32809, 4}, {0, -1},
                                {57664, 5}}));
    LPCSTR small[2] = {MAKEINTRESOURCEA(130), nullptr};
    ASSERT_TRUE(f.bar.LoadToolBar(small, nullptr, nullptr, 17767));
    ASSERT_EQ(f.Send(TB_BUTTONCOUNT), 8);
    EXPECT_EQ(std::pair(f.Command(3), f.Image(3)), std::pair(32810, -1));  // not among the items of toolbar 130
    // A damaged or missing resource fails without reading past its end.
    LPCSTR damaged[2] = {MAKEINTRESOURCEA(131), nullptr};
    EXPECT_FALSE(f.bar.LoadToolBar(damaged));
    EXPECT_FALSE(f.bar.LoadToolBar(999));
}

TEST(ToolBarNew, SizesComeFromTheFitPlusTheBorders) {
    FrameWithBar f;
    CRect inside(0, 0, 0, 0);
    f.bar.CalcInsideRect(inside, TRUE);
    CSize borders(inside.left - inside.right, inside.top - inside.bottom);
    LRESULT row = f.Send(TBX_FITTOSIZE, 17000, 0);
    CSize fixed = f.bar.CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(std::pair(LOWORD(row), HIWORD(row)), (std::pair<WORD, WORD>(25 + 8 + 25, 15 + 4 + 7)));
    EXPECT_EQ(std::pair(fixed.cx, fixed.cy), std::pair(LOWORD(row) + borders.cx, HIWORD(row) + borders.cy));
    LRESULT column = f.Send(TBX_FITTOSIZE, 0, 0);
    CSize vertical = f.bar.CalcFixedLayout(TRUE, FALSE);
    CRect vInside(0, 0, 0, 0);
    f.bar.CalcInsideRect(vInside, FALSE);
    EXPECT_EQ(vertical.cy, HIWORD(column) + vInside.top - vInside.bottom);
    // Docked at the top of the frame: as high as one row plus the borders, as wide as the frame.
    CRect bar, client;
    f.bar.GetWindowRect(&bar);
    f.frame->GetClientRect(&client);
    EXPECT_EQ(bar.Height(), fixed.cy);
    EXPECT_EQ(bar.Width(), client.Width());
    EXPECT_EQ(f.bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK).cy, fixed.cy);

    // Floating sizes: at least the standard button wide; a commit keeps the width.
    CSize narrow = f.bar.CalcDynamicLayout(1, LM_COMMIT);
    EXPECT_EQ(narrow.cx, std::max<int>(f.bar.m_nStandardSize, 25 + borders.cx));
    EXPECT_EQ(f.bar.m_nMRUWidth, narrow.cx);
    EXPECT_EQ(f.bar.CalcDynamicLayout(0, LM_MRUWIDTH).cx, narrow.cx);
    CSize flat = f.bar.CalcDynamicLayout(40 + borders.cy, LM_LENGTHY);
    EXPECT_LT(flat.cy, 40 + borders.cy);
}

TEST(ToolBarNew, CommandUpdateDisablesCommandsWithoutHandlerAndChecks) {
    FrameWithBar f;
    f.Send(TBX_SETCOMMAND, 0, 102);
    f.Send(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(f.State(2) & TBSTATE_ENABLED, TBSTATE_ENABLED);   // 101 has a handler
    EXPECT_EQ(f.Style(0) & BTNS_CHECK, BTNS_CHECK);              // 102: SetCheck(2)
    EXPECT_EQ(f.State(0) & TBSTATE_INDETERMINATE, TBSTATE_INDETERMINATE);
    f.Send(TBX_SETCOMMAND, 0, 100);
    f.Send(TB_PRESSBUTTON, 100, TRUE);
    f.Send(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(f.State(0) & (TBSTATE_ENABLED | TBSTATE_PRESSED), 0);  // 100: no handler, disabled and released
    // Without disabling, nothing changes for it.
    f.Send(TB_ENABLEBUTTON, 100, TRUE);
    f.Send(WM_IDLEUPDATECMDUI, FALSE);
    EXPECT_EQ(f.State(0) & TBSTATE_ENABLED, TBSTATE_ENABLED);
}

TEST(ToolBarNew, CmdUIObjectChangesOnlyItsButton) {
    FrameWithBar f;
    CToolBarNewCmdUI ui;
    ui.m_pOther = &f.bar;
    ui.m_nIndex = 2;
    ui.Enable(FALSE);
    EXPECT_TRUE(ui.m_bEnableChanged);
    constexpr BYTE kBits = TBSTATE_ENABLED | TBSTATE_CHECKED;
    EXPECT_EQ(std::pair(f.State(0) & kBits, f.State(2) & kBits), std::pair(TBSTATE_ENABLED, 0));
    ui.SetCheck(1);
    EXPECT_EQ(f.State(2) & kBits, TBSTATE_CHECKED);  // the enabled bit is kept
    ui.SetRadio(FALSE);
    EXPECT_EQ(f.State(2) & kBits, 0);
    ui.SetText("x");
    EXPECT_EQ(f.Style(2), BTNS_CHECK);
}

TEST(ToolBarNew, ClicksReachTheFrameCommandHandler) {
    FrameWithBar f;
    RECT r = {};
    f.Send(TB_GETITEMRECT, 2, (LPARAM)&r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2 - 3);
    f.Send(WM_MOUSEMOVE, 0, at);
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
    f.Send(WM_LBUTTONUP, 0, at);
    PumpQueued();
    EXPECT_EQ(f.frame->handled101, 1);
}

TEST(ToolBarNew, ButtonsThroughTheBar) {
    FrameWithBar f;
    EXPECT_TRUE(f.bar.SetButton(ToolbarIndex(0), 7, (TBSTATE_CHECKED << 16) | BTNS_CHECK, 1));
    int id, image;
    DWORD stateStyle;
    WORD extra;
    ASSERT_TRUE(f.bar.GetButton(0, &id, &stateStyle, &image));
    // Read back, the enabled bit means disabled.
    EXPECT_EQ(std::tuple(id, image, stateStyle),
              std::tuple(7, 1, ((DWORD)(TBSTATE_CHECKED | TBSTATE_ENABLED) << 16) | BTNS_CHECK));
    EXPECT_TRUE(f.bar.SetButtonEx(ToolbarIndex(0), -1, (TBSTATE_ENABLED << 16) | BTNS_BUTTON, -1, 0x0400, 0x0400));
    ASSERT_TRUE(f.bar.GetButtonEx(0, &id, &stateStyle, &image, &extra));
    EXPECT_EQ(f.State(0), 0);
    EXPECT_EQ(std::tuple(stateStyle >> 16, extra, id), std::tuple((DWORD)TBSTATE_ENABLED, (WORD)0x0400, 7));
    EXPECT_FALSE(f.bar.GetButton(3, &id, &stateStyle, &image));

    const UINT ids[2] = {7, 101};
    const DWORD_PTR values[2] = {11, 22};
    f.bar.SetButtonData(ids, values, 2);
    EXPECT_EQ(std::pair(f.Send(TBX_GETDATA, 0), f.Send(TBX_GETDATA, 2)), (std::pair<LRESULT, LRESULT>(11, 22)));
    f.bar.SetButtonColor(ToolbarIndex(2), RGB(255, 0, 0), -1);
    EXPECT_EQ((DWORD)f.Send(TBX_GETDATA, 2), 0xF800u - 0x10000u);
    f.bar.SetKeyColors(RGB(1, 2, 3), RGB(4, 5, 6));
    EXPECT_EQ(f.Send(TBX_KEYCOLOR, 1), RGB(4, 5, 6));
    EXPECT_TRUE(f.bar.AddLabel("Rot", 0, 1, 2, TBXL_SHORTKEY, 9));
    EXPECT_EQ(f.Send(TBX_REMOVELABEL, 0x12220009), 1);
    EXPECT_EQ(f.bar.SetImageScale(512), 256);
    EXPECT_EQ(f.bar.SetImageScale(-1), 512);

    const UINT layout[4] = {5, 0, 6, 7};
    ASSERT_TRUE(f.bar.SetButtons(layout, 4));
    EXPECT_EQ(f.Items(), (Items{{5, 0}, {0, -1}, {6, 1}, {7, 2}}));
    EXPECT_EQ(f.Style(1) & BTNS_SEP, BTNS_SEP);
    ASSERT_TRUE(f.bar.SetButtons(nullptr, 2));
    EXPECT_EQ(f.Items(), (Items{{0, 0}, {0, 0}}));
}

TEST(ToolBarNew, WindowsOnButtons) {
    FrameWithBar f;
    HWND comboWnd = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 60, 120, f.bar.m_hWnd,
                                    (HMENU)500, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(comboWnd, CB_ADDSTRING, 0, (LPARAM) "a");
    SendMessageA(comboWnd, CB_ADDSTRING, 0, (LPARAM) "b");
    SendMessageA(comboWnd, CB_SETITEMDATA, 1, 77);
    SendMessageA(comboWnd, CB_SETCURSEL, 1, 0);
    CWnd* combo = CWnd::FromHandle(comboWnd);
    EXPECT_EQ(f.bar.SetButtonWindow(combo, 101), 0);
    EXPECT_EQ((std::vector<CWnd*>{f.bar.GetButtonWindow(0), f.bar.GetButtonWindow(1), f.bar.FindButtonWindow(500),
                                  f.bar.FindButtonWindow(501)}),
              (std::vector<CWnd*>{combo, nullptr, combo, nullptr}));
    EXPECT_EQ((HFONT)SendMessageA(comboWnd, WM_GETFONT, 0, 0), (HFONT)GetStockObject(ANSI_VAR_FONT));
    // No other button with the id and no window: -1.
    for (UINT id : {101u, 999u}) EXPECT_EQ(f.bar.SetButtonWindow(combo, id), -1) << id;
    // Laid out, the window stands on its button.
    f.bar.SendMessage(TBX_GETIDEALSIZE);
    RECT button = {}, window = {};
    f.Send(TB_GETITEMRECT, 2, (LPARAM)&button);
    GetWindowRect(comboWnd, &window);
    MapWindowPoints(nullptr, f.bar.m_hWnd, (POINT*)&window, 2);
    EXPECT_TRUE(IsWindowVisible(comboWnd));
    EXPECT_TRUE(window.left >= button.left && window.right <= button.right);

    // A selection change reaches the frame once, then as the item's data.
    std::vector<std::pair<WPARAM, LPARAM>> seen;
    f.bar.SendMessage(WM_COMMAND, MAKEWPARAM(500, CBN_SELCHANGE), (LPARAM)comboWnd);
    for (const MSG& msg : TakeQueued(f.frame->m_hWnd, WM_COMMAND, WM_COMMAND))
        seen.emplace_back(msg.wParam, msg.lParam);
    EXPECT_EQ(seen, (std::vector<std::pair<WPARAM, LPARAM>>{{MAKEWPARAM(500, CBN_SELCHANGE), (LPARAM)comboWnd},
                                                            {77, (LPARAM)comboWnd}}));
}

TEST(ToolBarNew, NotificationsOfButtonWindowsGoToTheMainWindowThenItsView) {
    FrameWithBar f;
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 60, 20, f.bar.m_hWnd, (HMENU)500,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_EQ(f.bar.SetButtonWindow(CWnd::FromHandle(edit), 101), 0);
    NoteView* view = new NoteView;  // deletes itself with its window
    ASSERT_TRUE(view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 40, 100, 100), f.frame, AFX_IDW_PANE_FIRST));
    f.frame->SetActiveView(view);
    const struct {
        UINT code;
        LRESULT result;  // the last non-zero answer
    } cases[] = {{kFrameNote, 5}, {kViewNote, 9}, {kBothNote, 9}, {kNobodysNote, 0}};
    for (const auto& c : cases) {
        NMHDR note = {edit, 500, c.code};
        EXPECT_EQ(f.Send(WM_NOTIFY, 500, (LPARAM)&note), c.result) << std::hex << c.code;
    }
    EXPECT_EQ(view->seen, (std::vector<UINT>{kFrameNote, kViewNote, kBothNote, kNobodysNote}));
}

TEST(ToolBarNew, GroupButtonsTakesCountAsAnEndIndex) {
    FrameWithBar f;
    const UINT ids[6] = {1, 2, 0, 3, 4, 5};
    ASSERT_TRUE(f.bar.SetButtons(ids, 6));
    const struct {
        int button, count, visited;
        std::vector<int> grouped;
    } cases[] = {
        {0, 5, 2, {1, 3}},  // [1, 4): the separator is skipped
        {3, 100, 2, {4, 5}},
        {3, 4, 0, {}},      // empty range
        {-1, 3, 0, {}},
    };
    for (const auto& c : cases) {
        f.Send(TBX_MODIFYSTYLE, MAKEWPARAM(0, 6), MAKELPARAM(0, BTNS_GROUP));
        EXPECT_EQ(f.bar.GroupButtons(c.button, c.count), c.visited) << c.button << ", " << c.count;
        std::vector<int> grouped;
        for (int i = 0; i < 6; ++i)
            if (f.Style(i) & BTNS_GROUP) grouped.push_back(i);
        EXPECT_EQ(grouped, c.grouped) << c.button << ", " << c.count;
    }
}

TEST(ToolBarNew, NewPictureStrips) {
    FrameWithBar f;
    // With a strip already there it is replaced; the buttons stay.
    HBITMAP strip = MakeStrip(6, 16, 15, {RGB(0, 200, 0)});
    EXPECT_TRUE(f.bar.SetBitmap(strip, 0, TRUE));
    EXPECT_EQ(f.Send(TB_BUTTONCOUNT), 3);
    TBXBITMAPINFO info = {};
    f.Send(TBX_GETBITMAPINFO, MAKEWPARAM(0, 1), (LPARAM)&info);
    EXPECT_EQ(info.id, (UINT_PTR)strip);
    EXPECT_EQ(GetObjectType(strip), (DWORD)OBJ_BITMAP);  // kept by the bar while in use
    // Without one, a data block loads it with the buttons' commands.
    f.Send(TBX_REMOVEBITMAPS);
    HBITMAP second = MakeStrip(2, 20, 20);
    EXPECT_TRUE(f.bar.SetBitmap(second, 20, TRUE));
    EXPECT_EQ(f.Items(), (Items{{100, 0}, {0, -1}, {101, 1}}));
    f.Send(TBX_GETBITMAPINFO, MAKEWPARAM(0, 1), (LPARAM)&info);
    EXPECT_EQ(info.imageWidth, 20);
    // From a resource, and the failures.
    EXPECT_TRUE(f.bar.LoadBitmap(128, 16));
    f.Send(TBX_GETBITMAPINFO, MAKEWPARAM(0, 1), (LPARAM)&info);
    EXPECT_EQ(info.id, 128u);
    EXPECT_FALSE(f.bar.LoadBitmap(999, 16));
    HBITMAP tooSmall = MakeStrip(1, 8, 8);
    EXPECT_FALSE(f.bar.SetBitmap(tooSmall, 16, TRUE));
    EXPECT_EQ(GetObjectType(tooSmall), 0u);  // given to the bar and not usable: deleted
}

namespace {

std::vector<std::string> g_menuItems;
std::vector<UINT> g_menuStates;
int g_menusSeen;

// Runs inside the menu's own loop: records the items and closes the menu.
void CALLBACK ReadAndCloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menuWnd = VisibleThreadWindow("#32768");
    if (!menuWnd) return;
    KillTimer(nullptr, id);
    ++g_menusSeen;
    HMENU menu = (HMENU)SendMessageA(menuWnd, MN_GETHMENU, 0, 0);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
        g_menuItems.push_back(text);
        g_menuStates.push_back(GetMenuState(menu, i, MF_BYPOSITION));
    }
    EndMenu();
}

// Shows the bar's context menu and records it (the menu seen, its items and their states).
void ShowContextMenu(FrameWithBar& f) {
    g_menuItems.clear();
    g_menuStates.clear();
    g_menusSeen = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadAndCloseMenu);
    f.Send(WM_CONTEXTMENU, (WPARAM)f.bar.m_hWnd, MAKELPARAM(100, 100));
    KillTimer(nullptr, timer);
}

}  // namespace

TEST(ToolBarNew, ContextMenuEntriesAndTheHideEntry) {
    {
        // Without extended style bits 16-20 there is no menu.
        FrameWithBar f;
        ShowContextMenu(f);
        EXPECT_EQ(g_menusSeen, 0);
    }
    FrameWithBar f(130, TBSTYLE_FLAT | 0x000D0000);  // entries 0, 2 and 3
    f.bar.m_nCheckedSize = 2;
    f.bar.m_pszMenuTexts[2] = "Riesig";
    ShowContextMenu(f);
    EXPECT_EQ(g_menusSeen, 1);
    EXPECT_EQ(g_menuItems, (std::vector<std::string>{"Kleine Icons", "Riesig", "", "Flache Symbolleiste"}));
    std::vector<UINT> marks;  // the last entry is checked: the bar is flat
    for (UINT state : g_menuStates) marks.push_back(state & (MF_CHECKED | MF_SEPARATOR));
    EXPECT_EQ(marks, (std::vector<UINT>{0, MF_CHECKED, MF_SEPARATOR, MF_CHECKED}));

    // The hide entry hides the bar through the frame.
    ASSERT_TRUE(f.bar.IsWindowVisible());
    f.Send(WM_COMMAND, 0xD004, 0);
    EXPECT_FALSE(f.bar.IsWindowVisible());
}

TEST(ToolBarNew, ContextMenuTextsFromTheStringTable) {
    // String 0x4001 is "Kleine Icons\n\nRiesen Icons": the second text is empty, the last two take the defaults.
    FrameWithBar f(130, TBSTYLE_FLAT | 0x001F0000);
    ShowContextMenu(f);
    ASSERT_EQ(g_menusSeen, 1);
    EXPECT_EQ(g_menuItems, (std::vector<std::string>{"Kleine Icons", "", "Riesen Icons", "", "Flache Symbolleiste",
                                                     "", "ausblenden"}));
    EXPECT_FALSE(g_menuStates[1] & MF_SEPARATOR);
    EXPECT_TRUE(g_menuStates[3] & MF_SEPARATOR);
}
