// Mouse input of the toolbar control: hot tracking, clicks and the commands they post, drop-down buttons,
// hit testing and the insert mark.
#include <gtest/gtest.h>

#include "tests/ui/toolbar/ToolbarTestSupport.h"

using namespace tbtest;

namespace {

int Look(Toolbar& tb, int i) { return tb.State()->buttons[i]->look & kLookMask; }

// A bar of four image buttons (ids 100-103) laid out and painted.
struct Bar4 : Toolbar {
    explicit Bar4(std::initializer_list<TBBUTTON> buttons, DWORD style = TBSTYLE_FLAT) : Toolbar(style) {
        AddImages(4);
        Add(buttons);
        Prepare();
    }
    POINT Of(int i) { return Centre(Rect(i)); }
};

}  // namespace

TEST(ToolbarMouse, ClickPostsTheCommandToTheParent) {
    Bar4 tb({Button(0, 100), Button(1, 0x10065)});
    tb.Click(tb.Of(0));
    tb.Click(tb.Of(1));
    EXPECT_EQ(tb.Commands(), (std::vector<WORD>{100, 0x65}));  // the low 16 bits of the id
    auto posted = tb.parent.Commands(100);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].from, tb.hwnd);
    // A press without a release, or a release outside every button, posts nothing.
    tb.parent.log.clear();
    tb.Move(tb.Of(0));
    tb.Send(WM_LBUTTONDOWN, MK_LBUTTON, Toolbar::At(tb.Of(0)));
    PumpQueued();
    tb.Move({300, 5}, MK_LBUTTON);
    tb.Send(WM_LBUTTONUP, 0, Toolbar::At({300, 5}));
    PumpQueued();
    EXPECT_TRUE(tb.Commands().empty());
}

TEST(ToolbarMouse, CheckButtonsToggleAndGroupsKeepOneChecked) {
    Bar4 tb({Button(0, 100, BTNS_CHECK), Button(1, 101, BTNS_CHECKGROUP), Button(2, 102, BTNS_CHECKGROUP)});
    tb.Click(tb.Of(0));
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 0), 1);
    tb.Click(tb.Of(0));
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 0), 0);
    tb.Click(tb.Of(1));
    tb.Click(tb.Of(2));
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 1), 0);
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 2), 1);
    tb.Click(tb.Of(2));  // clicking the checked one keeps it checked
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 2), 1);
    EXPECT_EQ(tb.Commands(), (std::vector<WORD>{100, 100, 101, 102, 102}));
}

TEST(ToolbarMouse, DisabledButtonsTakeNoClick) {
    Bar4 tb({Button(0, 100, BTNS_CHECK, 0), Button(1, 101, BTNS_BUTTON, 0, -1, TBXF_SPLIT)});
    tb.Move(tb.Of(0));
    EXPECT_EQ(Look(tb, 0), kLookDisabled);
    tb.Click(tb.Of(0));
    tb.RightClick(tb.Of(1));
    tb.Click(tb.Of(1));
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 0), 0);
    EXPECT_TRUE(tb.Commands().empty());
    // Enabled again, the same clicks work.
    tb.Send(TB_ENABLEBUTTON, 100, TRUE);
    tb.Click(tb.Of(0));
    EXPECT_EQ(tb.Send(TB_ISBUTTONCHECKED, 0), 1);
    EXPECT_EQ(tb.Commands(), (std::vector<WORD>{100}));
}

TEST(ToolbarMouse, RightClickOnASplitButtonPostsTheNextCommand) {
    Bar4 tb({Button(0, 100, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_SPLIT), Button(1, 200)});
    int menus = 0;
    tb.parent.answer = [&](UINT msg, WPARAM, LPARAM, LRESULT*) {
        menus += msg == WM_CONTEXTMENU;
        return false;
    };
    tb.RightClick(tb.Of(0));
    EXPECT_EQ(tb.Commands(), (std::vector<WORD>{101}));
    EXPECT_EQ(menus, 0);
    // Other buttons and the empty bar: nothing posted, default processing (a context menu request).
    tb.RightClick(tb.Of(1));
    tb.RightClick({390, 50});
    EXPECT_EQ(tb.Commands(), (std::vector<WORD>{101}));
    EXPECT_EQ(menus, 1);
}

TEST(ToolbarMouse, DropPartPressNotifiesTheParentWithTheIndex) {
    Bar4 tb({Button(0, 100), Button(1, 300, BTNS_DROPDOWN, TBSTATE_ENABLED, -1, TBXF_SPLIT, 55)});
    RECT r = tb.Rect(1);
    EXPECT_EQ(Width(r), 25 + 13);
    POINT arrow = {r.right - 5, (r.top + r.bottom) / 2};
    POINT main = {r.left + 8, (r.top + r.bottom) / 2};
    EXPECT_EQ(tb.Send(TB_HITTEST, 0x12345678, (LPARAM)&arrow), 1 | kHitDropPart);
    EXPECT_EQ(tb.Send(TB_HITTEST, 0, (LPARAM)&arrow), 1);
    EXPECT_EQ(tb.Send(TB_HITTEST, 0x12345678, (LPARAM)&main), 1);

    NMTOOLBARA seen = {};
    tb.parent.answer = [&](UINT msg, WPARAM, LPARAM lParam, LRESULT*) {
        if (msg == WM_NOTIFY && ((NMHDR*)lParam)->code == (UINT)TBN_DROPDOWN) seen = *(NMTOOLBARA*)lParam;
        return false;
    };
    tb.Move(arrow);
    EXPECT_EQ(Look(tb, 1), kLookDropHot);
    tb.Send(WM_LBUTTONDOWN, MK_LBUTTON, Toolbar::At(arrow));
    tb.Send(WM_LBUTTONUP, 0, Toolbar::At(arrow));
    PumpQueued();
    EXPECT_EQ(seen.hdr.code, (UINT)TBN_DROPDOWN);
    EXPECT_EQ(seen.hdr.hwndFrom, tb.hwnd);
    EXPECT_EQ(seen.iItem, 1);  // the index, not the command id
    EXPECT_EQ(seen.tbButton.idCommand, 300);
    EXPECT_EQ(seen.tbButton.dwData, 55u);
    EXPECT_EQ(seen.pszText, nullptr);
    EXPECT_TRUE(tb.Commands().empty());  // a release on the drop part posts nothing
    tb.Click(main);
    EXPECT_EQ(tb.Commands(), (std::vector<WORD>{300}));
}

TEST(ToolbarMouse, ButtonsRemovedWhileTheParentHandlesTheDropDownAreNotUsed) {
    Bar4 tb({Button(0, 100, BTNS_DROPDOWN, TBSTATE_ENABLED, -1, TBXF_SPLIT)});
    RECT r = tb.Rect(0);
    POINT arrow = {r.right - 4, (r.top + r.bottom) / 2};
    tb.parent.answer = [&](UINT msg, WPARAM, LPARAM lParam, LRESULT*) {
        if (msg == WM_NOTIFY && ((NMHDR*)lParam)->code == (UINT)TBN_DROPDOWN)
            SendMessageA(tb.hwnd, TBX_DELETEBUTTONS, 0, 100);
        return false;
    };
    tb.Move(arrow);
    tb.Send(WM_LBUTTONDOWN, MK_LBUTTON, Toolbar::At(arrow));
    EXPECT_EQ(tb.Send(TB_BUTTONCOUNT), 0);
    EXPECT_EQ(tb.State()->hot, -1);
    tb.Send(WM_LBUTTONUP, 0, Toolbar::At(arrow));
    PumpQueued();
    EXPECT_TRUE(tb.Commands().empty());
}

TEST(ToolbarMouse, HotTrackingLooks) {
    Bar4 tb({Button(0, 100), Button(1, 101, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_CHECKED),
             Button(2, 102, BTNS_BUTTON, TBSTATE_ENABLED, -1, TBXF_CHECK)});
    EXPECT_EQ(Look(tb, 1), kLookChecked);
    // Away from where other tests put their windows and the mouse.
    SetWindowPos(tb.parent.hwnd, nullptr, 1400, 900, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    tb.Move(tb.Of(0));
    EXPECT_EQ(tb.State()->hot, 0);
    EXPECT_EQ(Look(tb, 0), kLookHot);
    tb.Move(tb.Of(0), MK_LBUTTON);
    EXPECT_EQ(Look(tb, 0), kLookHotChecked);
    tb.Move(tb.Of(1));
    EXPECT_EQ(Look(tb, 0), kLookNormal);
    EXPECT_EQ(Look(tb, 1), kLookHotChecked);
    // A glyph button shows no pressed look.
    tb.Move(tb.Of(2), MK_LBUTTON);
    EXPECT_EQ(Look(tb, 2), kLookHot);
    // The one-second timer changes nothing; the mouse leaving clears the hot button.
    SetCursorPos(0, 0);
    tb.Send(WM_TIMER, 6527);
    EXPECT_EQ(tb.State()->hot, 2);
    tb.Send(WM_MOUSELEAVE);
    EXPECT_EQ(tb.State()->hot, -1);
    EXPECT_EQ(Look(tb, 2), kLookNormal);
    // Any other timer checks the hot button against the cursor.
    tb.Move(tb.Of(0));
    tb.Send(WM_TIMER, 1);
    EXPECT_EQ(tb.State()->hot, -1);
}

TEST(ToolbarMouse, DeletingButtonsMovesTheHotIndex) {
    Bar4 tb({Button(0, 100), Button(1, 101), Button(2, 102)});
    tb.Move(tb.Of(2));
    tb.Send(TB_DELETEBUTTON, 0);
    EXPECT_EQ(tb.State()->hot, 1);
    tb.Send(TB_DELETEBUTTON, 1);
    EXPECT_EQ(tb.State()->hot, -1);
    TBBUTTON b = Button(3, 103);
    tb.Move(tb.Of(0));
    tb.Send(TB_INSERTBUTTONA, 0, (LPARAM)&b);
    EXPECT_EQ(tb.State()->hot, 1);
}

TEST(ToolbarMouse, HitTestNeedsTheInnerRectangle) {
    Bar4 tb({Button(0, 100), Separator(), Button(1, 101)});
    RECT r = tb.Rect(0);
    POINT inside = {r.left + 5, r.top + 5}, edge = {r.left, r.top}, bottom = {r.left + 5, r.bottom - 1};
    POINT separator = Toolbar::Centre(tb.Rect(1)), empty = {300, 5};
    EXPECT_EQ(tb.Send(TB_HITTEST, 0, (LPARAM)&inside), 0);
    EXPECT_EQ(tb.Send(TB_HITTEST, 0, (LPARAM)&edge), -1);
    EXPECT_EQ(tb.Send(TB_HITTEST, 0, (LPARAM)&bottom), -1);
    EXPECT_EQ(tb.Send(TB_HITTEST, 0, (LPARAM)&separator), -1);
    EXPECT_EQ(tb.Send(TB_HITTEST, 0, (LPARAM)&empty), -1);
}

TEST(ToolbarMouse, InsertMarkAndItsHitTest) {
    Bar4 tb({Button(0, 100), Button(1, 101), Button(2, 102, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_HIDDEN)});
    RECT r = tb.Rect(1);
    TBINSERTMARK mark = {};
    POINT left = {r.left + 4, r.top + 5}, right = {r.right - 4, r.top + 5}, none = {300, 5};
    EXPECT_EQ(tb.Send(TB_INSERTMARKHITTEST, (WPARAM)&left, (LPARAM)&mark), 1);
    EXPECT_EQ(mark.iButton, 1);
    EXPECT_EQ(mark.dwFlags, 0u);
    tb.Send(TB_INSERTMARKHITTEST, (WPARAM)&right, (LPARAM)&mark);
    EXPECT_EQ(mark.dwFlags, (DWORD)TBIMHT_AFTER);
    EXPECT_EQ(tb.Send(TB_INSERTMARKHITTEST, (WPARAM)&none, (LPARAM)&mark), 0);
    EXPECT_EQ(mark.iButton, -1);
    EXPECT_EQ(mark.dwFlags, (DWORD)TBIMHT_BACKGROUND);

    TBINSERTMARK set = {1, TBIMHT_AFTER};
    EXPECT_EQ(tb.Send(TB_SETINSERTMARK, 0, (LPARAM)&set), 1);
    EXPECT_EQ(tb.State()->markRect.left, r.right - 3);
    set = {(int)ToolbarCommand(100), 0};
    EXPECT_EQ(tb.Send(TB_SETINSERTMARK, 0, (LPARAM)&set), 1);
    EXPECT_EQ(tb.State()->markIndex, 0);
    set = {2, 0};  // hidden: the mark goes
    EXPECT_EQ(tb.Send(TB_SETINSERTMARK, 0, (LPARAM)&set), 0);
    EXPECT_EQ(tb.State()->markIndex, -1);
}

TEST(ToolbarMouse, ClickPostedThroughTheMessageQueue) {
    // Mouse messages queued like input (global input would disturb other tests sharing the display).
    Bar4 tb({Button(0, 100), Button(1, 101)});
    LPARAM at = Toolbar::At(tb.Of(1));
    PostMessageA(tb.hwnd, WM_MOUSEMOVE, 0, at);
    PostMessageA(tb.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tb.hwnd, WM_LBUTTONUP, 0, at);
    PumpUntil([&] { return !tb.Commands().empty(); }, 250);
    EXPECT_EQ(tb.Commands(), (std::vector<WORD>{101}));
}
