// The main frame in this process: the program's menu and strings (MainFrameTest.rc), the game's document and
// a stand-in view, created through a document template as the application does.
#include <gtest/gtest.h>

#include "framework/Framework.h"
#include "game/MainFrame.h"
#include "game/MainFrameSettings.h"
#include "game/WertlaufApp.h"
#include "game/WertlaufDoc.h"
#include "res/AppCommands.h"
#include "system/Registry.h"
#include "tests/support/MessagePump.h"

namespace {

class CFrameTestView : public CView {
    DECLARE_DYNCREATE(CFrameTestView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CFrameTestView, CView)

// A view that receives another program's request to open a file as it is made and as it is torn down: a window
// gets sent messages whenever its thread waits in a call of its own (opening or stopping the sound device).
class COpenRequestView : public CView {
    DECLARE_DYNCREATE(COpenRequestView)
public:
    static LRESULT atCreate, atDestroy;
    static int initialUpdates;
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { ++initialUpdates; }

protected:
    LRESULT RequestOpen() {
        const char path[] = "Anderes Spiel";
        COPYDATASTRUCT block = {0x27F50001, sizeof(path), const_cast<char*>(path)};
        return GetParent()->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block));
    }
    int OnCreate(LPCREATESTRUCT create) {
        if (CView::OnCreate(create) == -1) return -1;
        atCreate = RequestOpen();
        return 0;
    }
    void OnDestroy() {
        atDestroy = RequestOpen();
        CView::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(COpenRequestView, CView)
BEGIN_MESSAGE_MAP(COpenRequestView, CView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
LRESULT COpenRequestView::atCreate = -1;
LRESULT COpenRequestView::atDestroy = -1;
int COpenRequestView::initialUpdates = 0;

// The application object, a template and one frame with its document, as the program has them.
struct RunningFrame {
    CWertlaufApp app;
    CMainFrame* frame = nullptr;
    char keyName[64];

    explicit RunningFrame(CRuntimeClass* viewClass = RUNTIME_CLASS(CFrameTestView)) {
        wsprintfA(keyName, "WertlaufFrame%lu", GetCurrentProcessId());
        app.SetCurrentHandles(GetModuleHandleA(nullptr), const_cast<char*>(""), SW_SHOWNORMAL);
        app.SetRegistryKey("VQ");
        SetRegistryAppKey("VQ", keyName);
        auto* tpl = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CWertlaufDoc), RUNTIME_CLASS(CMainFrame),
                                           viewClass);
        app.AddDocTemplate(tpl);
        tpl->OpenDocumentFile(nullptr);
        frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        PumpFor(25, kAppPump);
    }
    ~RunningFrame() {
        if (frame && ::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
        char path[128];
        wsprintfA(path, "Software\\VQ\\%s", keyName);
        RegDeleteTreeA(HKEY_CURRENT_USER, path);
    }
    HWND Handle() const { return frame->m_hWnd; }
    LRESULT Command(UINT id) {
        LRESULT r = frame->SendMessage(WM_COMMAND, id);
        PumpFor(25, kAppPump);
        return r;
    }
    // Opens popup i as the menu loop would (update handlers, then owner-draw conversion).
    HMENU OpenPopup(int i) {
        HMENU popup = GetSubMenu(frame->m_hMenuDefault, i);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);
        return popup;
    }
};

DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)); }

}  // namespace

TEST(MainFrame, CreatesStatusBarAndOwnerDrawnMenuWithPictures) {
    RunningFrame r;
    ASSERT_NE(r.frame, nullptr);
    auto* status = dynamic_cast<CStatusBar*>(r.frame->GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->GetCount(), 4);
    EXPECT_EQ(status->GetItemID(1), static_cast<UINT>(ID_INDICATOR_CAPS));
    EXPECT_EQ(status->GetItemID(3), static_cast<UINT>(ID_INDICATOR_SCRL));

    HMENU bar = r.frame->m_hMenuDefault;
    ASSERT_EQ(GetMenu(r.Handle()), bar);
    ASSERT_EQ(GetMenuItemCount(bar), 4);
    for (int p = 0; p < 4; ++p) {
        HMENU popup = GetSubMenu(bar, p);
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE;
            GetMenuItemInfoA(popup, i, TRUE, &info);
            EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << p << " " << i;
        }
    }
    // Toolbar order: 32802, 32771, 32810, 32811, 32809, 57664.
    EXPECT_EQ(r.frame->GetItemImage(ID_VIEW_ON_TOP), 1);
    EXPECT_EQ(r.frame->GetItemImage(32809), 4);
    EXPECT_EQ(r.frame->GetItemImage(ID_APP_ABOUT), 5);
    EXPECT_EQ(r.frame->GetItemImage(ID_HELP_KEYS), -1);
    EXPECT_EQ(r.frame->SendMessage(kMsgMenuImagesProbe), kMenuImagesAnswer);
    // The About command has a handler and stays enabled.
    HMENU help = r.OpenPopup(3);
    EXPECT_FALSE(GetMenuState(help, ID_APP_ABOUT, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(help, ID_HELP_KEYS, MF_BYCOMMAND) & MF_GRAYED);
}

TEST(MainFrame, FullScreenFromNormalAndFromMaximised) {
    RunningFrame r;
    ASSERT_NE(r.frame, nullptr);
    r.frame->ShowWindow(SW_SHOWNORMAL);
    HWND view = r.frame->GetActiveView()->m_hWnd;
    ASSERT_TRUE(GetWindowLongPtrA(view, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    r.Command(ID_VIEW_FULL_SCREEN);
    EXPECT_EQ(r.frame->GetFullScreenState(), 1);
    EXPECT_EQ(Style(r.Handle()) & 0xC70000, 0u);
    EXPECT_EQ(GetMenu(r.Handle()), nullptr);
    EXPECT_TRUE(IsZoomed(r.Handle()));
    EXPECT_FALSE(GetWindowLongPtrA(view, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    CWnd* status = r.frame->GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE);
    CWnd* toolBar = r.frame->GetDescendantWindow(AFX_IDW_TOOLBAR, TRUE);
    ASSERT_NE(toolBar, nullptr);
    EXPECT_FALSE(status->IsWindowVisible());
    EXPECT_FALSE(toolBar->IsWindowVisible());

    r.Command(ID_VIEW_FULL_SCREEN);
    EXPECT_EQ(r.frame->GetFullScreenState(), 0);
    EXPECT_EQ(Style(r.Handle()) & 0xC70000, 0xC70000u);
    EXPECT_EQ(GetMenu(r.Handle()), r.frame->m_hMenuDefault);
    EXPECT_FALSE(IsZoomed(r.Handle()));
    EXPECT_TRUE(status->IsWindowVisible());
    EXPECT_TRUE(toolBar->IsWindowVisible());
    EXPECT_TRUE(GetWindowLongPtrA(view, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    r.frame->ShowWindow(SW_MAXIMIZE);
    r.Command(ID_VIEW_FULL_SCREEN);
    EXPECT_EQ(r.frame->GetFullScreenState(), 2);
    r.Command(ID_VIEW_FULL_SCREEN);
    EXPECT_TRUE(IsZoomed(r.Handle()));
    EXPECT_EQ(Style(r.Handle()) & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
}

TEST(MainFrame, FlatToolbarAndAlwaysOnTopAreCheckedToggles) {
    RunningFrame r;
    ASSERT_NE(r.frame, nullptr);
    HMENU view = r.OpenPopup(2);
    EXPECT_TRUE(GetMenuState(view, ID_VIEW_FLAT_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(view, ID_VIEW_ON_TOP, MF_BYCOMMAND) & MF_CHECKED);
    CWnd* toolBar = r.frame->GetDescendantWindow(AFX_IDW_TOOLBAR, TRUE);
    ASSERT_NE(toolBar, nullptr);
    EXPECT_TRUE(Style(toolBar->m_hWnd) & TBSTYLE_FLAT);
    r.Command(ID_VIEW_FLAT_TOOLBAR);
    EXPECT_FALSE(Style(toolBar->m_hWnd) & TBSTYLE_FLAT);
    r.Command(ID_VIEW_ON_TOP);
    EXPECT_TRUE(GetWindowLongPtrA(r.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    r.OpenPopup(2);
    EXPECT_FALSE(GetMenuState(view, ID_VIEW_FLAT_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(view, ID_VIEW_ON_TOP, MF_BYCOMMAND) & MF_CHECKED);
    r.Command(ID_VIEW_ON_TOP);
    EXPECT_FALSE(GetWindowLongPtrA(r.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The flat mode is kept when the frame goes.
    r.frame->DestroyWindow();
    EXPECT_EQ(ReadFrameSetting("FlatMode", 7), 0u);
    EXPECT_EQ(ReadFrameSetting("ShowGamerBar", 7), 0u);
}

TEST(MainFrame, StatusTextOnlyFromItsOwnThread) {
    RunningFrame r;
    ASSERT_NE(r.frame, nullptr);
    auto* status = dynamic_cast<CStatusBar*>(r.frame->GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE));
    static const char kSent[] = "Runde 3";
    EXPECT_EQ(r.frame->SendMessage(kMsgSetStatusText, 0, reinterpret_cast<LPARAM>(kSent)), 0);
    EXPECT_STREQ(status->GetPaneText(0), kSent);
    // Posted, the same message is not followed.
    static const char kPosted[] = "gepostet";
    r.frame->PostMessage(kMsgSetStatusText, 0, reinterpret_cast<LPARAM>(kPosted));
    PumpFor(25, kAppPump);
    EXPECT_STREQ(status->GetPaneText(0), kSent);
    // From another thread neither.
    struct Call {
        HWND frame;
        const char* text;
    } call = {r.Handle(), kPosted};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            auto* c = static_cast<Call*>(p);
            DWORD_PTR ignored;
            SendMessageTimeoutA(c->frame, kMsgSetStatusText, 0, reinterpret_cast<LPARAM>(c->text), SMTO_NORMAL, 3000,
                                &ignored);
            return 0;
        },
        &call, 0, nullptr);
    PumpUntil([thread] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 3000, kAppPump);
    CloseHandle(thread);
    EXPECT_STREQ(status->GetPaneText(0), kSent);
    // A pane that does not exist is ignored.
    EXPECT_EQ(r.frame->SendMessage(kMsgSetStatusText, 9, reinterpret_cast<LPARAM>(kSent)), 0);
}

TEST(MainFrame, CopyDataTextAndPrivateMessage) {
    RunningFrame r;
    ASSERT_NE(r.frame, nullptr);
    const char text[] = "Hallo";
    COPYDATASTRUCT block = {0x27F50002, sizeof(text), const_cast<char*>(text)};
    EXPECT_EQ(r.frame->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block)), 1);
    EXPECT_STREQ(r.frame->GetReceivedText(), "Hallo");
    auto* received = reinterpret_cast<const char*>(r.frame->SendMessage(kMsgFramePrivate, 4));
    EXPECT_STREQ(received, "Hallo");
    EXPECT_EQ(r.frame->SendMessage(kMsgFramePrivate, 3), 0);
    EXPECT_EQ(r.frame->SendMessage(kMsgFramePrivate, 2, 0), 0);  // no receiver window

    // The document is "Das Spiel" in the working folder; a relative name compares as a full path.
    EXPECT_STREQ(r.frame->GetActiveDocument()->GetTitle(), "Das Spiel");
    const char same[] = "Das Spiel";
    block = {0x27F50003, sizeof(same), const_cast<char*>(same)};
    EXPECT_EQ(r.frame->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block)), 1);
    const char other[] = "Anderes Spiel";
    block = {0x27F50003, sizeof(other), const_cast<char*>(other)};
    EXPECT_EQ(r.frame->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&block)), 0);
    EXPECT_EQ(r.frame->SendMessage(r.frame->ProbeMessage(), 0x12345678), 0x12345678);
    EXPECT_EQ(r.frame->SendMessage(r.frame->ProbeMessage(), 0x12345679), 0);
}

// A request to open a file is refused while the start builds the frame, its view and its new document (it
// would run inside the start and be undone by its new document) and while the frame is torn down (it would
// show the closing frame again).
TEST(MainFrame, RefusesToOpenAFileWhileTheFrameIsBuiltOrTornDown) {
    RunningFrame r(RUNTIME_CLASS(COpenRequestView));
    ASSERT_NE(r.frame, nullptr);
    EXPECT_EQ(COpenRequestView::atCreate, 0);
    EXPECT_EQ(COpenRequestView::initialUpdates, 1);
    EXPECT_STREQ(r.frame->GetActiveDocument()->GetTitle(), "Das Spiel");
    r.frame->DestroyWindow();
    EXPECT_EQ(COpenRequestView::atDestroy, 0);
    EXPECT_EQ(COpenRequestView::initialUpdates, 1);
}

TEST(MainFrame, FreeingMenuItemsThroughTheMessage) {
    RunningFrame r;
    ASSERT_NE(r.frame, nullptr);
    HMENU file = GetSubMenu(r.frame->m_hMenuDefault, 0);
    EXPECT_TRUE(r.frame->SendMessage(kMsgFreeMenuItem, 0, reinterpret_cast<LPARAM>(CMenu::FromHandle(file))));
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    GetMenuItemInfoA(file, 0, TRUE, &info);
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(info.dwItemData, 0u);
    EXPECT_EQ(r.frame->SendMessage(kMsgFreeMenuItem, 0, 0), 0);

    // A popup inserted and removed again by its id.
    HMENU extra = CreatePopupMenu();
    AppendMenuA(extra, MF_STRING, 32809, "Starte\tF5");
    EXPECT_TRUE(r.frame->InsertMenuPopup(4711, CMenu::FromHandle(extra), "&Extra", 4));
    EXPECT_EQ(GetMenuItemCount(r.frame->m_hMenuDefault), 5);
    HMENU copy = r.OpenPopup(4);
    EXPECT_EQ(r.frame->GetItemImage(32809), 4);
    EXPECT_TRUE(r.frame->RemoveMenuPopup(4711));
    EXPECT_FALSE(IsMenu(copy));
    EXPECT_EQ(GetMenuItemCount(r.frame->m_hMenuDefault), 4);
    DestroyMenu(extra);
}

TEST(MainFrame, ClosingSavesThePlacement) {
    RunningFrame r;
    ASSERT_NE(r.frame, nullptr);
    r.frame->SetWindowPos(nullptr, 30, 40, 500, 350, SWP_NOZORDER);
    r.frame->DestroyWindow();
    FramePlacement saved = ReadFramePlacement();
    ASSERT_TRUE(saved.haveZoomed);
    EXPECT_EQ(saved.isZoomed, 0u);
    EXPECT_EQ(saved.x, 30);
    EXPECT_EQ(saved.y, 40);
    EXPECT_EQ(saved.cx, 500);
    EXPECT_EQ(saved.cy, 350);
}

TEST(WertlaufApp, DocumentIsNeverModifiedAndLookupsFindIt) {
    RunningFrame r;
    ASSERT_NE(r.frame, nullptr);
    CDocument* document = r.frame->GetActiveDocument();
    ASSERT_NE(document, nullptr);
    document->SetModifiedFlag(TRUE);
    EXPECT_FALSE(document->IsModified());
    EXPECT_FALSE(document->OnSaveDocument("x"));
    EXPECT_TRUE(document->OnOpenDocument("x"));
    EXPECT_EQ(r.app.GetFirstDocument(), nullptr);  // the template was not made by InitInstance
    EXPECT_EQ(r.app.GetRecentFile(0), nullptr);
}
