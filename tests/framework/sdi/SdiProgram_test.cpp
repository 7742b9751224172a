// The single-document program: start-up, layout, routing, menus, keys, dialogs, profile and the end.
#include <gtest/gtest.h>

#include "tests/framework/sdi/SdiTest.h"
#include "tests/support/MessagePump.h"

namespace {

CRect ChildRect(CWnd* child) {
    CRect r;
    child->GetWindowRect(&r);
    child->GetParent()->ScreenToClient(&r);
    return r;
}

void Close() { MainFrame()->PostMessage(WM_COMMAND, ID_APP_EXIT); }

std::vector<std::string> Tail(size_t n) {
    return std::vector<std::string>(g_events.end() - (std::ptrdiff_t)std::min(n, g_events.size()), g_events.end());
}

LPARAM KeyData(UINT vk, bool up) {
    LPARAM data = 1 | ((LPARAM)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16);
    if (up) data |= (LPARAM)0xC0000000;
    return data;
}

}  // namespace

TEST(SdiProgram, StartsMaximisedWithBarsAroundTheView) {
    CTestApp app;
    bool ran = false;
    int exitCode = RunTestApp(app, SW_SHOWMAXIMIZED, [&](CTestApp& a) {
        ran = true;
        CTestFrame* frame = MainFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->IsZoomed());
        EXPECT_EQ(a.m_nCmdShow, -1);  // used up by the first show
        EXPECT_TRUE(Logged("doc new"));
        EXPECT_TRUE(Logged("view initial update"));
        CString title;
        frame->GetWindowText(title);
        EXPECT_STREQ(title, "Testdok - Testspiel");

        CRect client;
        frame->GetClientRect(&client);
        CRect bar = ChildRect(&frame->m_wndToolBar), status = ChildRect(&frame->m_wndStatusBar);
        CRect view = ChildRect(MainView());
        EXPECT_EQ(bar.top, 0);
        EXPECT_EQ(bar.Width(), client.Width());
        EXPECT_GT(bar.Height(), 0);
        EXPECT_EQ(status.bottom, client.bottom);
        EXPECT_GT(status.Height(), 0);
        EXPECT_EQ(view.top, bar.bottom);
        EXPECT_EQ(view.bottom, status.top);
        EXPECT_TRUE(MainView()->GetExStyle() & WS_EX_CLIENTEDGE);
        // Focusing the frame gives the focus to its active view.
        ::SetFocus(frame->m_hWnd);
        EXPECT_EQ(CWnd::GetFocus(), MainView());

        // The built-in toggle hides the toolbar; the view takes its place.
        frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
        EXPECT_FALSE(frame->m_wndToolBar.IsWindowVisible());
        EXPECT_EQ(ChildRect(MainView()).top, 0);
        frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
        EXPECT_EQ(ChildRect(MainView()).top, bar.bottom);
        Close();
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(exitCode, 0);
}

TEST(SdiProgram, RoutesCommandsThroughViewDocumentFrameAndApplication) {
    CTestApp app;
    RunTestApp(app, SW_SHOWNORMAL, [](CTestApp&) {
        CTestFrame* frame = MainFrame();
        for (UINT id : {ID_TEST_VIEW, ID_TEST_DOC, ID_TEST_FRAME, ID_TEST_APP, ID_TEST_SHARED})
            frame->SendMessage(WM_COMMAND, id);
        std::vector<std::string> expected = {"view command", "doc command", "frame command", "app command",
                                             "view shared"};
        EXPECT_EQ(Tail(5), expected);
        // A command sent to the view goes to the view and its document only.
        size_t before = g_events.size();
        MainView()->SendMessage(WM_COMMAND, ID_TEST_FRAME);
        MainView()->SendMessage(WM_COMMAND, ID_TEST_DOC);
        EXPECT_EQ(g_events.size(), before + 1);
        EXPECT_EQ(g_events.back(), "doc command");
        Close();
    });
}

TEST(SdiProgram, MenuPopupDisablesCommandsWithoutHandler) {
    CTestApp app;
    RunTestApp(app, SW_SHOWNORMAL, [](CTestApp& a) {
        CTestFrame* frame = MainFrame();
        HMENU test = GetSubMenu(GetMenu(frame->m_hWnd), 1);
        frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)test, MAKELPARAM(1, FALSE));
        auto state = [&](UINT id) { return GetMenuState(test, id, MF_BYCOMMAND); };
        EXPECT_FALSE(state(ID_TEST_VIEW) & MF_GRAYED);
        EXPECT_TRUE(state(ID_TEST_VIEW) & MF_CHECKED);
        EXPECT_FALSE(state(ID_TEST_DOC) & MF_GRAYED);
        EXPECT_FALSE(state(ID_TEST_APP) & MF_GRAYED);
        EXPECT_TRUE(state(ID_TEST_NOHANDLER) & MF_GRAYED);
        EXPECT_TRUE(state(ID_VIEW_TOOLBAR) & MF_CHECKED);
        EXPECT_TRUE(state(ID_VIEW_STATUS_BAR) & MF_CHECKED);
        frame->ShowControlBar(&frame->m_wndStatusBar, FALSE, FALSE);
        frame->SendMessage(WM_INITMENUPOPUP, (WPARAM)test, MAKELPARAM(1, FALSE));
        EXPECT_FALSE(state(ID_VIEW_STATUS_BAR) & MF_CHECKED);
        // The toolbar's buttons are brought up to date when the thread is idle.
        a.OnIdle(0);
        EXPECT_TRUE(frame->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, ID_TEST_VIEW));
        EXPECT_FALSE(frame->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, ID_TEST_NOHANDLER));
        EXPECT_TRUE(frame->m_wndToolBar.SendMessage(TB_ISBUTTONCHECKED, ID_TEST_VIEW));
        Close();
    });
}

TEST(SdiProgram, AcceleratorsReachCommandsAndF10OpensNoMenu) {
    CTestApp app;
    RunTestApp(app, SW_SHOWNORMAL, [](CTestApp&) {
        // Keys go to the view, as when it has the focus (other programs may hold the display's focus).
        HWND focus = MainView()->m_hWnd;
        PostMessageA(focus, WM_KEYDOWN, VK_F5, KeyData(VK_F5, false));
        PostMessageA(focus, WM_KEYUP, VK_F5, KeyData(VK_F5, true));
        PostMessageA(focus, WM_SYSKEYDOWN, VK_F10, KeyData(VK_F10, false));
        PostMessageA(focus, WM_SYSKEYUP, VK_F10, KeyData(VK_F10, true));
        PostMessageA(focus, WM_KEYDOWN, VK_F7, KeyData(VK_F7, false));
        EXPECT_TRUE(PumpUntil([] { return Logged("view key " + std::to_string(VK_F7)); }, 3000, kAppPumpToQuit));
        EXPECT_TRUE(Logged("view command"));
        EXPECT_TRUE(Logged("frame command"));
        EXPECT_FALSE(Logged("view key " + std::to_string(VK_F5)));  // an accelerator's key goes no further
        EXPECT_FALSE(Logged("menu loop"));
        Close();
    });
}

TEST(SdiProgram, ClosingDestroysInOrderAndDeletesEverything) {
    CTestApp app;
    int exitCode = RunTestApp(app, SW_SHOWNORMAL, [](CTestApp&) { MainFrame()->PostMessage(WM_CLOSE); });
    EXPECT_EQ(exitCode, 0);
    std::vector<std::string> expected = {"frame OnDestroy", "view OnDestroy", "view deleted", "frame deleted",
                                         "doc deleted"};
    EXPECT_EQ(Tail(5), expected);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    POSITION pos = app.GetFirstDocTemplatePosition();
    CDocTemplate* tmpl = app.GetNextDocTemplate(pos);
    ASSERT_NE(tmpl, nullptr);
    EXPECT_EQ(tmpl->GetFirstDocPosition(), nullptr);
}

// A document that cannot be made ends the start: no loop runs and nothing of the program is left.
TEST(SdiProgram, FailedStartLeavesNothingBehind) {
    CTestApp app;
    bool ran = false;
    g_failNewDocument = true;
    RunTestApp(app, SW_SHOWNORMAL, [&](CTestApp&) { ran = true; });
    g_failNewDocument = false;
    EXPECT_FALSE(ran);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    for (const char* gone : {"view deleted", "frame deleted", "doc deleted"}) EXPECT_TRUE(Logged(gone)) << gone;
    POSITION pos = app.GetFirstDocTemplatePosition();
    CDocTemplate* tmpl = app.GetNextDocTemplate(pos);
    ASSERT_NE(tmpl, nullptr);
    EXPECT_EQ(tmpl->GetFirstDocPosition(), nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST(SdiProgram, ProfileAndRecentFilesPersist) {
    const char* root = "Software\\WertlaufTestProfile";
    RegDeleteTreeA(HKEY_CURRENT_USER, root);
    CString stored;
    {
        CTestApp app;
        app.registryKey = "WertlaufTestProfile";
        RunTestApp(app, SW_SHOWNORMAL, [&](CTestApp& a) {
            EXPECT_STREQ(AfxGetAppName(), "WlSdiTest");  // from AFX_IDS_APP_TITLE, not the exe name
            EXPECT_STREQ(a.m_pszRegistryKey, "WertlaufTestProfile");
            EXPECT_STREQ(a.m_pszProfileName, "WlSdiTest");
            EXPECT_TRUE(a.WriteProfileInt("Settings", "Wert", 5));
            EXPECT_TRUE(a.WriteProfileString("Settings", "Text", "Größe"));
            MainView()->GetDocument()->SetPathName("Das Spiel");
            MainView()->GetDocument()->SetPathName("Anderes");
            MainView()->GetDocument()->SetPathName("Das Spiel");
            stored = (*a.m_pRecentFileList)[0];
            Close();
        });
    }
    EXPECT_EQ(stored.Right(10), "\\Das Spiel");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\WertlaufTestProfile\\WlSdiTest\\Recent File List", 0, KEY_READ,
                            &key),
              ERROR_SUCCESS);
    char value[MAX_PATH] = {};
    DWORD size = sizeof(value);
    EXPECT_EQ(RegQueryValueExA(key, "File1", nullptr, nullptr, (BYTE*)value, &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, stored);
    RegCloseKey(key);
    {
        CTestApp app;
        app.registryKey = "WertlaufTestProfile";
        RunTestApp(app, SW_SHOWNORMAL, [&](CTestApp& a) {
            ASSERT_NE(a.m_pRecentFileList, nullptr);
            EXPECT_EQ(a.m_pRecentFileList->GetSize(), 4);
            EXPECT_STREQ((*a.m_pRecentFileList)[0], stored);
            EXPECT_EQ((*a.m_pRecentFileList)[1].Right(8), "\\Anderes");
            EXPECT_TRUE((*a.m_pRecentFileList)[2].IsEmpty());
            EXPECT_EQ(a.GetProfileInt("Settings", "Wert", 0), 5u);
            EXPECT_STREQ(a.GetProfileString("Settings", "Text"), "Größe");
            EXPECT_EQ(a.GetProfileInt("Settings", "Fehlt", -3), (UINT)-3);
            Close();
        });
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, root);
}

// A recent file chosen while another open is under way (a command sent from elsewhere meanwhile) is refused
// and keeps its entry; only a file that cannot be opened leaves the list.
TEST(SdiProgram, ARecentFileRefusedDuringAnOpenKeepsItsEntry) {
    const char* root = "Software\\WertlaufTestRefused";
    CTestApp app;
    app.registryKey = "WertlaufTestRefused";
    RunTestApp(app, SW_SHOWNORMAL, [&](CTestApp& a) {
        MainView()->GetDocument()->SetPathName("Das Spiel");
        g_duringNewDocument = [] { MainFrame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1); };
        EXPECT_NE(a.OpenDocumentFile(nullptr), nullptr);
        g_duringNewDocument = nullptr;
        EXPECT_EQ((*a.m_pRecentFileList)[0].Right(10), "\\Das Spiel");
        Close();
    });
    RegDeleteTreeA(HKEY_CURRENT_USER, root);
}

namespace {
HWND FindTestDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM p) -> BOOL {
            if (GetDlgItem(h, IDC_TESTEDIT) && IsWindowVisible(h)) {
                *reinterpret_cast<HWND*>(p) = h;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&found);
    return found;
}
bool g_frameDisabled;
void CALLBACK DriveDialog(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindTestDialog();
    if (!dialog) return;
    KillTimer(nullptr, id);
    g_frameDisabled = !IsWindowEnabled(MainFrame()->m_hWnd);
    HWND edit = GetDlgItem(dialog, IDC_TESTEDIT);
    // The frame's accelerators do not reach a modal dialog.
    PostMessageA(edit, WM_KEYDOWN, VK_F5, KeyData(VK_F5, false));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST(SdiProgram, ResourceDialogRunsModallyOverTheFrame) {
    CTestApp app;
    RunTestApp(app, SW_SHOWNORMAL, [](CTestApp&) {
        g_frameDisabled = false;
        SetTimer(nullptr, 0, 10, &DriveDialog);
        MainFrame()->SendMessage(WM_COMMAND, ID_APP_ABOUT);
        EXPECT_TRUE(Logged("about 1"));
        EXPECT_TRUE(g_frameDisabled);
        EXPECT_TRUE(MainFrame()->IsWindowEnabled());
        EXPECT_FALSE(Logged("view command"));
        Close();
    });
}

TEST(SdiProgram, MenuPromptsAndIndicatorsInTheStatusBar) {
    CTestApp app;
    RunTestApp(app, SW_SHOWNORMAL, [](CTestApp& a) {
        CTestFrame* frame = MainFrame();
        CStatusBar& bar = frame->m_wndStatusBar;
        HMENU menu = GetMenu(frame->m_hWnd);
        EXPECT_STREQ(bar.GetPaneText(0), "Fertig");  // the idle message
        frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_VIEW, MF_STRING), (LPARAM)menu);
        EXPECT_STREQ(bar.GetPaneText(0), "Befehl der Ansicht");
        frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        EXPECT_STREQ(bar.GetPaneText(0), "Fertig");
        frame->SetMessageText("Seite geladen");
        EXPECT_STREQ(bar.GetPaneText(0), "Seite geladen");
        // Key indicators show their text only while their key is locked.
        EXPECT_EQ(bar.CommandToIndex(ID_INDICATOR_NUM), 2);
        a.OnIdle(0);
        bool capsOn = (GetKeyState(VK_CAPITAL) & 1) != 0;
        LRESULT length = bar.SendMessage(SB_GETTEXTLENGTHA, 1);
        EXPECT_EQ(LOWORD(length), capsOn ? 2 : 0);
        Close();
    });
}
