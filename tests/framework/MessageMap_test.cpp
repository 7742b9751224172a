// Message maps: every kind of entry reaches its handler with the parameters unpacked, commands are
// routed by id and code, and runtime classes answer for their bases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Framework.h"
#include "tests/support/MessagePump.h"

namespace {

UINT g_registeredMessage = RegisterWindowMessageA("WertlaufFrameworkTest");

class CProbeWnd : public CWnd {
    DECLARE_DYNCREATE(CProbeWnd)
public:
    std::vector<std::string> log;
    CSize size;
    UINT_PTR timer = 0;
    CPoint click;
    UINT keyChar = 0, keyRepeat = 0;
    short wheel = 0;
    UINT commandRange = 0;
    UINT clickedId = 0;
    LRESULT customResult = 0;

    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        log.push_back(std::string("create:") + (cs->lpszName ? cs->lpszName : ""));
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnSize(UINT, int cx, int cy) {
        size = CSize(cx, cy);
        Default();
    }
    afx_msg void OnTimer(UINT_PTR id) {
        timer = id;
        KillTimer(id);
    }
    afx_msg void OnLButtonDown(UINT, CPoint point) { click = point; }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT) {
        keyChar = nChar;
        keyRepeat = nRepCnt;
    }
    afx_msg BOOL OnMouseWheel(UINT, short zDelta, CPoint) {
        wheel = zDelta;
        return TRUE;
    }
    afx_msg LRESULT OnCustom(WPARAM wParam, LPARAM lParam) { return (LRESULT)(wParam + lParam); }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) { return (LRESULT)wParam * 2; }
    afx_msg void OnCommandOne() { log.push_back("one"); }
    afx_msg void OnCommandRange(UINT id) { commandRange = id; }
    afx_msg BOOL OnCommandDeclined(UINT) { return FALSE; }
    afx_msg void OnCommandFallback() { log.push_back("fallback"); }
    afx_msg void OnButtons(UINT id) { clickedId = id; }
    afx_msg void OnNotifyFromChild(NMHDR* header, LRESULT* result) {
        log.push_back("notify:" + std::to_string((int)header->code));
        *result = 77;
    }
    afx_msg void OnUpdateOne(CCmdUI* ui) { ui->Enable(FALSE); }

    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CProbeWnd, CWnd)

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_MOUSEWHEEL()
    ON_MESSAGE(WM_APP + 5, OnCustom)
    ON_REGISTERED_MESSAGE(g_registeredMessage, OnRegistered)
    ON_COMMAND(100, OnCommandOne)
    ON_UPDATE_COMMAND_UI(100, OnUpdateOne)
    ON_COMMAND_RANGE(200, 209, OnCommandRange)
    ON_COMMAND_EX(300, OnCommandDeclined)
    ON_COMMAND(300, OnCommandFallback)
    ON_CONTROL_RANGE(BN_CLICKED, 400, 401, OnButtons)
    ON_NOTIFY(1234, 500, OnNotifyFromChild)
END_MESSAGE_MAP()

// A child that handles some of its own notifications (reflected by the parent).
class CReflectingButton : public CButton {
public:
    int clicked = 0;
    int notified = 0;
    afx_msg void OnReflectedClick() { ++clicked; }
    afx_msg void OnReflectedNotify(NMHDR*, LRESULT* result) {
        ++notified;
        *result = 5;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnReflectedClick)
    ON_NOTIFY_REFLECT(4321, OnReflectedNotify)
END_MESSAGE_MAP()

struct ProbeWindow {
    CProbeWnd wnd;
    ProbeWindow() {
        wnd.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "probe", WS_OVERLAPPEDWINDOW, CRect(10, 10, 310, 210),
                     nullptr, 0);
    }
};

LRESULT Notify(HWND to, HWND from, UINT_PTR id, int code) {
    NMHDR header = {from, id, (UINT)code};
    return SendMessageA(to, WM_NOTIFY, id, (LPARAM)&header);
}

}  // namespace

TEST(RuntimeClass, KnowsNamesBasesAndFactories) {
    CObject* made = RUNTIME_CLASS(CProbeWnd)->CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_FALSE(made->IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_STREQ(made->GetRuntimeClass()->m_lpszClassName, "CProbeWnd");
    delete made;
    // Classes that are not dynamically creatable give no object.
    EXPECT_EQ(RUNTIME_CLASS(CDialog)->CreateObject(), nullptr);
    // A factory asked for a kind its class is not of makes nothing (a document template given a wrong class).
    EXPECT_EQ(fw::CreateObjectOf(RUNTIME_CLASS(CProbeWnd), RUNTIME_CLASS(CDocument)), nullptr);
    EXPECT_EQ(fw::CreateObjectOf(nullptr, RUNTIME_CLASS(CWnd)), nullptr);
    CObject* view = fw::CreateObjectOf(RUNTIME_CLASS(CProbeWnd), RUNTIME_CLASS(CWnd));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CProbeWnd)));
    delete view;
}

TEST(MessageMap, WindowMessagesReachTypedHandlers) {
    ProbeWindow p;
    CProbeWnd& w = p.wnd;
    ASSERT_TRUE(w.m_hWnd);
    ASSERT_FALSE(w.log.empty());
    EXPECT_EQ(w.log.front(), "create:probe");

    w.SetWindowPos(nullptr, 0, 0, 250, 120, SWP_NOMOVE | SWP_NOZORDER);
    CRect client;
    w.GetClientRect(&client);
    EXPECT_EQ(w.size, client.Size());

    w.SetTimer(77, 1);
    EXPECT_TRUE(PumpUntil([&] { return w.timer == 77; }));

    w.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, (WORD)-3));
    EXPECT_EQ(w.click, CPoint(12, -3));
    w.SendMessage(WM_KEYDOWN, VK_F5, MAKELPARAM(3, 0));
    EXPECT_EQ(w.keyChar, (UINT)VK_F5);
    EXPECT_EQ(w.keyRepeat, 3u);
    w.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), 0);
    EXPECT_EQ(w.wheel, -120);

    EXPECT_EQ(w.SendMessage(WM_APP + 5, 40, 2), 42);
    EXPECT_EQ(w.SendMessage(g_registeredMessage, 21), 42);
    // A message without an entry goes to default processing.
    EXPECT_EQ(w.SendMessage(WM_APP + 6, 1, 1), 0);
    w.DestroyWindow();
}

TEST(MessageMap, CommandsAreMatchedByIdRangeAndCode) {
    ProbeWindow p;
    CProbeWnd& w = p.wnd;
    // A control notification carries the code; BN_CLICKED is the plain command code.
    w.SendMessage(WM_COMMAND, MAKEWPARAM(205, 0), 0);
    EXPECT_EQ(w.commandRange, 205u);
    w.SendMessage(WM_COMMAND, MAKEWPARAM(210, 0), 0);
    EXPECT_EQ(w.commandRange, 205u);
    // An _EX handler that declines lets the search go on to the next entry.
    w.SendMessage(WM_COMMAND, MAKEWPARAM(300, 0), 0);
    EXPECT_EQ(w.log.back(), "fallback");
    // Its update handler disables command 100: a menu or accelerator command is not carried out...
    size_t before = w.log.size();
    w.SendMessage(WM_COMMAND, MAKEWPARAM(100, 1), 0);
    EXPECT_EQ(w.log.size(), before);
    // ...but routing it directly still finds the handler.
    EXPECT_TRUE(w.OnCmdMsg(100, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(w.log.back(), "one");
    AFX_CMDHANDLERINFO info = {nullptr};
    EXPECT_TRUE(w.OnCmdMsg(205, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &w);
    EXPECT_FALSE(w.OnCmdMsg(999, CN_COMMAND, nullptr, nullptr));
    w.DestroyWindow();
}

TEST(MessageMap, ChildNotificationsAreReflectedFirst) {
    ProbeWindow p;
    CProbeWnd& w = p.wnd;
    CReflectingButton own;
    ASSERT_TRUE(own.Create("own", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 50, 20), &w, 400));
    CButton plain;
    ASSERT_TRUE(plain.Create("plain", WS_CHILD | BS_PUSHBUTTON, CRect(0, 30, 50, 50), &w, 401));

    // The button with a reflected handler takes its click; the parent never sees it.
    own.SendMessage(BM_CLICK);
    EXPECT_EQ(own.clicked, 1);
    EXPECT_EQ(w.clickedId, 0u);
    plain.SendMessage(BM_CLICK);
    EXPECT_EQ(w.clickedId, 401u);

    EXPECT_EQ(Notify(w.m_hWnd, own.m_hWnd, 400, 4321), 5);
    EXPECT_EQ(own.notified, 1);
    EXPECT_EQ(Notify(w.m_hWnd, plain.m_hWnd, 500, 1234), 77);
    EXPECT_EQ(w.log.back(), "notify:1234");
    w.DestroyWindow();
}

TEST(CmdUI, UpdateDisablesCommandsWithoutHandler) {
    ProbeWindow p;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 205, "handled");
    AppendMenuA(menu, MF_STRING, 777, "no handler");
    AppendMenuA(menu, MF_STRING, 100, "disabled by its update handler");
    CCmdUI state;
    state.m_pMenu = CMenu::FromHandle(menu);
    for (state.m_nIndex = 0; state.m_nIndex < 3; ++state.m_nIndex) {
        state.m_nID = GetMenuItemID(menu, (int)state.m_nIndex);
        state.DoUpdate(&p.wnd, TRUE);
    }
    EXPECT_FALSE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED);
    DestroyMenu(menu);
    p.wnd.DestroyWindow();
}
