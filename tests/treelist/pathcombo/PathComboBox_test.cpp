#include "tests/treelist/pathcombo/PathComboTestSupport.h"
#include "tests/support/ClipboardTestLock.h"
#include "tests/support/ThreadWindows.h"
#include "tests/support/WaitUntil.h"
#include "treelist/pathcombo/PathComboShared.h"

#include <gtest/gtest.h>
#include <set>
#include <shlobj.h>

namespace {

using namespace pathcombotest;

constexpr UINT kId = 100;
constexpr DWORD kReadBound = 15000;

class PathComboTest : public testing::Test {
protected:
    void Make(DWORD options) {
        ASSERT_TRUE(combo.Create(0, WS_CHILD | WS_VISIBLE | options, CRect(10, 10, 610, 210), &host, kId));
        // The popups take the focus: the host must be active before, or its late activation takes it back.
        SetForegroundWindow(host.m_hWnd);
        PumpUntil([&] { return GetActiveWindow() == host.m_hWnd; }, 2000);
        PumpFor(50);
    }
    // Levels count..0 of the current path are read.
    bool AllLevelsRead() {
        return PumpUntil(
            [&] {
                for (int level = 0; level <= combo.GetSegmentCount(); ++level)
                    if (!combo.IsLevelRead(level)) return false;
                return true;
            },
            kReadBound);
    }
    int PopupCount() { return (int)SendMessageA(combo.GetPopup(), LVM_GETITEMCOUNT, 0, 0); }
    std::string PopupText(int index) {
        char text[MAX_PATH] = {};
        LVITEMA item = {};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(combo.GetPopup(), LVM_GETITEMTEXTA, (WPARAM)index, (LPARAM)&item);
        return text;
    }
    // Opens the popup of a read level by its arrow. The popup takes the focus, and a test running beside
    // this one may take it away again at any time: what needs the open popup follows without pumping.
    bool OpenLevel(int level) {
        if (!PumpUntil([&] { return combo.IsLevelRead(level); }, kReadBound)) return false;
        Click(combo, 2 * level);
        return combo.GetOpenLevel() == level && IsWindowVisible(combo.GetPopup());
    }
    int RootSegments() {
        uint32_t starts[kMaxSegments + 1];
        uint16_t lengths[kMaxSegments];
        return SplitPathSegments(root.c_str(), starts, lengths);
    }

    std::string root = TreeRoot();
    Host host;
    CPathComboBox combo;
};

TEST_F(PathComboTest, ShowsSegmentsAndNotifiesEveryNewPath) {
    Make(0);
    const std::string path = root + "\\Umlaute\\\xc4rger";
    ASSERT_EQ(combo.SetPath(path.c_str(), -1), 1);
    EXPECT_EQ(std::tuple(combo.GetSegmentCount(), ComboText(combo.m_hWnd), combo.GetPathKind()),
              std::tuple(RootSegments() + 2, path, 1));
    ASSERT_EQ(host.notes.size(), 1u);
    EXPECT_EQ(host.notes[0].Fields(), std::tuple(PCN_PATHCHANGED, 0u, 1u, path));
    // The same path in other letters changes nothing.
    std::string upper = path;
    CharUpperA(upper.data());
    EXPECT_EQ(combo.SetPath(upper.c_str(), -1), 1);
    EXPECT_EQ(host.notes.size(), 1u);
    // The window text goes through SetPath.
    combo.SendMessage(WM_SETTEXT, 0, (LPARAM)(root + "\\Umlaute\\").c_str());
    EXPECT_EQ(std::pair(ComboText(combo.m_hWnd), host.notes.size()), std::pair(root + "\\Umlaute", size_t(2)));
    // Of 33 components the first 32 show; a missing path is of kind 3.
    std::string deep = "C:";
    for (int i = 1; i < 33; ++i) deep += "\\t" + std::to_string(i);
    ASSERT_EQ(combo.SetPath(deep.c_str(), -1), 1);
    EXPECT_EQ(std::tuple(combo.GetSegmentCount(), combo.GetPathKind(), combo.HitTest(XOfHit(combo, 63), 5)),
              std::tuple(32, 3, 63));
}

TEST_F(PathComboTest, LevelListsFillAndAPopupChoosesAnEntry) {
    Make(0);
    ASSERT_EQ(combo.SetPath((root + "\\Umlaute").c_str(), -1), 1);
    ASSERT_TRUE(AllLevelsRead());
    const int last = combo.GetSegmentCount();
    ASSERT_TRUE(OpenLevel(last));
    ASSERT_EQ(PopupCount(), 5);
    std::set<std::string> names;
    for (int i = 0; i < 5; ++i) names.insert(PopupText(i));
    EXPECT_EQ(names, (std::set<std::string>{"\xe4hnlich", "\xc4rger", "\xd6l", "\xdc" "bung", "Zebra"}));

    // Type-ahead finds the entry, Enter goes there.
    HWND popup = combo.GetPopup();
    SendMessageA(popup, WM_CHAR, (WPARAM)(unsigned char)'\xfc', 0);
    SendMessageA(popup, WM_CHAR, 'b', 0);
    EXPECT_EQ(PopupText((int)SendMessageA(popup, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED)), "\xdc" "bung");
    SendMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(std::pair(std::string(combo.GetPath()), host.notes.back().path), std::pair(root + "\\Umlaute\\\xdc"
                                                                                                "bung",
                                                                                         root + "\\Umlaute\\\xdc"
                                                                                                "bung"));
    EXPECT_FALSE(IsWindowVisible(popup));

    // The arrow before a segment lists its siblings; a click on a segment's text goes there.
    ASSERT_TRUE(OpenLevel(last));
    EXPECT_EQ(PopupCount(), 5);
    SendMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(combo.GetOpenLevel(), -1);
    Click(combo, 2 * (combo.GetSegmentCount() - 2) + 1);
    EXPECT_EQ(combo.GetPath(), root + "\\Umlaute");

    // Keys: Right from nothing focuses the root arrow, Down opens it.
    ASSERT_TRUE(PumpUntil([&] { return combo.IsLevelRead(0); }, kReadBound));
    combo.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    combo.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(combo.GetOpenLevel(), 0);
    EXPECT_GE(PopupCount(), 1);
    EXPECT_EQ(PopupText(0).substr(1), ":");
}

TEST_F(PathComboTest, ThousandsOfFoldersFillTheirLevel) {
    Make(0);
    ASSERT_EQ(combo.SetPath((root + "\\Viele").c_str(), -1), 1);
    // Clicked before the level is read, the popup waits for the worker and then shows.
    Click(combo, 2 * combo.GetSegmentCount());
    EXPECT_TRUE(combo.IsWaitingForLevel());
    ASSERT_TRUE(PumpUntil([&] { return !combo.IsWaitingForLevel(); }, kReadBound));
    ASSERT_EQ(PopupCount(), 5000);
    EXPECT_EQ(PopupText(4999), "Ordner 4999");
    RECT r;
    GetWindowRect(combo.GetPopup(), &r);
    EXPECT_LE(r.bottom - r.top, 453);
}

TEST_F(PathComboTest, EmptyAndUnreadableLevels) {
    Make(0);
    // A folder with files only has nothing below it.
    ASSERT_EQ(combo.SetPath((root + "\\NurDateien").c_str(), -1), 1);
    ASSERT_TRUE(OpenLevel(combo.GetSegmentCount()));
    EXPECT_EQ(PopupCount(), 0);
    // A level that cannot be read shows the path's own component there.
    ASSERT_EQ(combo.SetPath((root + "\\Fehlt\\Tiefer").c_str(), -1), 1);
    EXPECT_EQ(combo.GetPathKind(), 3);
    ASSERT_TRUE(OpenLevel(combo.GetSegmentCount() - 1));
    ASSERT_EQ(PopupCount(), 1);
    EXPECT_EQ(PopupText(0), "Tiefer");
}

TEST_F(PathComboTest, BackAndForwardWalkTheHistory) {
    Make(PCO_HISTORY);
    const std::string a = root + "\\Umlaute", b = a + "\\\xd6l", c = root + "\\Viele";
    for (const std::string& p : {a, b, c}) ASSERT_EQ(combo.SetPath(p.c_str(), -1), 1);
    // Back twice to a, no further; forward twice to c, no further.
    for (auto [forward, moved, shown] :
         {std::tuple(false, 1, b), {false, 1, a}, {false, 0, a}, {true, 1, b}, {true, 1, c}, {true, 0, c}}) {
        EXPECT_EQ(forward ? combo.GoForward() : combo.GoBack(), moved);
        EXPECT_EQ(std::string(combo.GetPath()), shown) << forward << moved;
    }
    // A new path after going back drops what lay ahead.
    combo.GoBack();
    ASSERT_EQ(combo.SetPath(root.c_str(), -1), 1);
    EXPECT_EQ(combo.GoForward(), 0);
    EXPECT_EQ(combo.GetHistoryCount(), 3);
    // At most 50 entries: the oldest go.
    for (int i = 0; i < 60; ++i) combo.SetPath((root + "\\Viele\\Ordner 00" + std::to_string(10 + i)).c_str(), -1);
    EXPECT_EQ(std::pair(combo.GetHistoryCount(), combo.GetHistoryIndex()), std::pair(50, 49));
}

TEST_F(PathComboTest, RefusedPathsLeaveTheControlWorking) {
    Make(PCO_MUST_EXIST | PCO_NO_NETWORK);
    const std::string longText(300, 'x'), missing = root + "\\Fehlt";
    for (auto [path, form] : {std::pair(missing.c_str(), -1),
                              {"\\\\server\\share", -1},
                              {longText.c_str(), (int)(PATHFORM_UNCHANGED | 300)},
                              {longText.c_str(), -1}})
        EXPECT_EQ(combo.SetPath(path, form), 0) << path;
    EXPECT_TRUE(host.notes.empty());
    EXPECT_STREQ(combo.GetPath(), "");
    // The next path shows and its levels are read; the worker fills a level while this thread takes no
    // messages at all (it never waits for this thread).
    ASSERT_EQ(combo.SetPath((root + "\\Umlaute").c_str(), -1), 1);
    EXPECT_TRUE(WaitUntil([&] { return combo.IsLevelRead(combo.GetSegmentCount()); }, kReadBound));
    EXPECT_TRUE(AllLevelsRead());
}

TEST_F(PathComboTest, DestroyingWhileTheWorkerReadsReturnsAtOnce) {
    const int threadsBefore = CountProcessThreads();
    for (int round = 0; round < 3; ++round) {
        auto* early = new CPathComboBox;
        ASSERT_TRUE(early->Create(0, WS_CHILD | WS_VISIBLE, CRect(10, 10, 610, 210), &host, kId + 1));
        if (round > 0) {
            ASSERT_EQ(early->SetPath((root + "\\Viele").c_str(), -1), 1);
        }
        // Round 1 destroys as the worker wakes, round 2 once it is reading the 5,000 folders (or, on a
        // fast machine, has read them).
        if (round == 2) {
            ASSERT_TRUE(WaitUntil(
                [&] { return early->IsWorkerReading() || early->IsLevelRead(early->GetSegmentCount()); }, 5000, 1));
        }
        const DWORD start = GetTickCount();
        delete early;
        EXPECT_LT(GetTickCount() - start, Bound(1000)) << round;
    }
    PumpFor(50);
    // Every worker ended; nothing it used was freed under it.
    EXPECT_TRUE(PumpUntil([&] { return CountProcessThreads() <= threadsBefore; }, 5000));
}

TEST_F(PathComboTest, DroppedFilesShowTheirFolderAndEveryDropIsFinished) {
    Make(PCO_ACCEPT_DROP);
    const struct { std::string file; bool accept; std::string shown; } cases[] = {
        {root + "\\NurDateien\\a.txt", true, root + "\\NurDateien"},
        {root + "\\Umlaute\\\xc4rger", true, root + "\\Umlaute\\\xc4rger"},
        {root + "\\Viele\\x.txt", false, root + "\\Umlaute\\\xc4rger"},
        {std::string(300, 'y'), true, root + "\\Umlaute\\\xc4rger"},
        {"", true, root + "\\Umlaute\\\xc4rger"},
    };
    for (const auto& c : cases) {
        combo.SetAcceptDrop(c.accept);
        HGLOBAL block = DropBlock(c.file);
        combo.SendMessage(WM_DROPFILES, (WPARAM)block, 0);
        EXPECT_EQ(combo.GetPath(), c.shown) << c.file;
        EXPECT_EQ(GlobalFlags(block), (UINT)GMEM_INVALID_HANDLE) << c.file;
    }
}

TEST_F(PathComboTest, DraggedPathBlockAndTheParentsRefusal) {
    const std::string path = root + "\\Umlaute";
    HGLOBAL block = CPathComboBox::BuildDropBlock(path.c_str());
    ASSERT_TRUE(block);
    EXPECT_EQ(GlobalSize(block), 284u);
    const auto* files = static_cast<const DROPFILES*>(block);
    const char* text = reinterpret_cast<const char*>(block) + sizeof(DROPFILES);
    EXPECT_EQ(std::tuple(files->pFiles, files->fWide, std::string(text), text[path.size() + 1]),
              std::tuple(DWORD(sizeof(DROPFILES)), FALSE, path, '\0'));
    GlobalFree(block);
    // 284 bytes hold the header, 262 characters and two NULs.
    EXPECT_EQ(CPathComboBox::BuildDropBlock(std::string(263, 'z').c_str()), nullptr);
    EXPECT_TRUE(block = CPathComboBox::BuildDropBlock(std::string(262, 'z').c_str()));
    GlobalFree(block);

    Make(PCO_DRAG_OUT);
    ASSERT_EQ(combo.SetPath(path.c_str(), -1), 1);
    host.notes.clear();
    host.dragAnswer = 1;
    combo.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 8));
    combo.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 8));
    combo.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(12, 8));
    ASSERT_EQ(host.notes.size(), 1u);
    EXPECT_EQ(host.notes[0].Fields(), std::tuple(PCN_PATHDRAG, 0u, 1u, path));
}

// Ends the context menu that the combo shows, after noting whether "Abschnitt kopieren" was enabled.
UINT g_segmentItemState = 0xFFFF;
void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menuWindow = VisibleThreadWindow("#32768");
    HMENU menu = menuWindow ? (HMENU)SendMessageA(menuWindow, MN_GETHMENU, 0, 0) : nullptr;
    if (menu) g_segmentItemState = GetMenuState(menu, ID_PATHCOMBO_COPY_SEGMENT, MF_BYCOMMAND);
    KillTimer(nullptr, id);
    EndMenu();
}

TEST_F(PathComboTest, ContextMenuCopiesPathAndSegment) {
    Make(0);
    const std::string path = root + "\\Umlaute\\\xc4rger";
    ASSERT_EQ(combo.SetPath(path.c_str(), -1), 1);
    const int last = combo.GetSegmentCount();
    const struct { int hit; bool segmentEnabled; } clicks[] = {{2 * last - 1, true}, {2 * last, false}};
    for (const auto& c : clicks) {
        g_segmentItemState = 0xFFFF;
        SetTimer(nullptr, 0, 100, EndMenuSoon);
        combo.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(XOfHit(combo, c.hit), 8));
        ASSERT_NE(g_segmentItemState, 0xFFFFu) << c.hit;
        EXPECT_EQ((g_segmentItemState & MF_GRAYED) == 0, c.segmentEnabled) << c.hit;
    }
    ClipboardTestLock lock;
    auto clipboard = [&] {
        std::string text;
        if (!OpenClipboard(host.m_hWnd)) return text;
        if (HANDLE data = GetClipboardData(CF_TEXT))
            text = static_cast<const char*>(GlobalLock(data)), GlobalUnlock(data);
        CloseClipboard();
        return text;
    };
    combo.SendMessage(WM_COMMAND, ID_PATHCOMBO_COPY_PATH, 0);
    EXPECT_EQ(clipboard(), path);
    // The last right click was on an arrow: no segment to copy.
    combo.SendMessage(WM_COMMAND, ID_PATHCOMBO_COPY_SEGMENT, 0);
    EXPECT_EQ(clipboard(), path);
    SetTimer(nullptr, 0, 100, EndMenuSoon);
    combo.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(XOfHit(combo, 2 * last - 1), 8));
    combo.SendMessage(WM_COMMAND, ID_PATHCOMBO_COPY_SEGMENT, 0);
    EXPECT_EQ(clipboard(), "\xc4rger");
}

TEST_F(PathComboTest, TypedPathsGoThroughTheEditIntoTheList) {
    Make(PCO_KEEP_TYPED);
    ASSERT_EQ(combo.SetPath(root.c_str(), -1), 1);
    HWND edit = combo.GetEdit();
    ASSERT_TRUE(edit);
    EXPECT_FALSE(IsWindowVisible(edit));
    for (int round = 0; round < 2; ++round) {
        Click(combo, HIT_EMPTY);
        ASSERT_TRUE(IsWindowVisible(edit));
        EXPECT_EQ(GetFocus(), edit);
        SetWindowTextA(edit, (root + "/Umlaute/").c_str());
        SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_FALSE(IsWindowVisible(edit));
        ASSERT_EQ(combo.GetCount(), 1) << round;
        CString entry;
        combo.GetLBText(0, entry);
        EXPECT_EQ(std::pair(std::string(combo.GetPath()), std::string(entry)),
                  std::pair(root + "\\Umlaute", root + "\\Umlaute"));
        ASSERT_EQ(combo.SetPath(root.c_str(), -1), 1);
    }
    // Esc restores the path.
    Click(combo, HIT_EMPTY);
    SetWindowTextA(edit, "C:\\anders");
    SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindowVisible(edit));
    EXPECT_EQ(combo.GetPath(), root);
    // Choosing the list entry shows it.
    combo.SetCurSel(0);
    EXPECT_EQ(combo.GetPath(), root + "\\Umlaute");
}

}  // namespace

TEST(PathComboAttach, TakesOverAComboAndSwitchesModes) {
    const std::string root = TreeRoot();
    Host host;
    HWND placeholder = CreateWindowExA(0, "STATIC", "", WS_CHILD, 20, 100, 400, 24, host.m_hWnd, (HMENU)7,
                                       nullptr, nullptr);
    HWND plain = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 20, 20, 400, 200,
                                 host.m_hWnd, (HMENU)8, nullptr, nullptr);
    CPathComboBox attached, placed;
    ASSERT_TRUE(attached.Attach(PCO_HISTORY, plain));
    ASSERT_TRUE(placed.CreateAtControl(0, 0, 7, &host, 9));
    EXPECT_EQ(GetWindow(placed.m_hWnd, GW_HWNDPREV), placeholder);
    RECT r;
    GetWindowRect(placed.m_hWnd, &r);
    MapWindowPoints(nullptr, host.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(std::pair(r.left, r.top), std::pair(20L, 100L));
    PumpFor(50);
    ASSERT_EQ(attached.SetPath((root + "\\Umlaute").c_str(), -1), 1);
    EXPECT_FALSE(IsWindowVisible(attached.GetEdit()));
    EXPECT_EQ(ComboText(attached.m_hWnd), root + "\\Umlaute");
    EXPECT_GT(attached.HitTest(XOfHit(attached, 2 * attached.GetSegmentCount()), 5), 0);
    UpdateWindow(attached.m_hWnd);
    // Plain mode shows the edit, whose text is the window text.
    attached.SetBreadcrumbMode(FALSE);
    EXPECT_TRUE(IsWindowVisible(attached.GetEdit()));
    SetWindowTextA(attached.GetEdit(), "getippt");
    EXPECT_EQ(ComboText(attached.m_hWnd), "getippt");
    attached.SetBreadcrumbMode(TRUE);
    EXPECT_FALSE(IsWindowVisible(attached.GetEdit()));
    EXPECT_EQ(std::pair(ComboText(attached.m_hWnd), attached.GetHistoryCount()), std::pair(root + "\\Umlaute", 1));
}

namespace {

// Themed painting through stand-in theme functions that record each background's part, state and top.
struct ThemeCall {
    int part, state, top;
};
std::vector<ThemeCall> g_themeCalls;
HTHEME WINAPI FakeOpenTheme(HWND, LPCWSTR) { return reinterpret_cast<HTHEME>(0x1234); }
HRESULT WINAPI FakeCloseTheme(HTHEME) { return S_OK; }
HRESULT WINAPI FakeDrawBackground(HTHEME, HDC, int part, int state, const RECT* r, const RECT*) {
    g_themeCalls.push_back({part, state, r->top});
    return S_OK;
}

}  // namespace

TEST(PathComboTheme, EveryPositionGetsItsThemedBackground) {
    struct Restore {
        PathComboShared saved = GetPathComboShared();
        ~Restore() { GetPathComboShared() = saved; }
    } restore;
    PathComboShared& shared = GetPathComboShared();
    shared.openThemeData = FakeOpenTheme;
    shared.closeThemeData = FakeCloseTheme;
    shared.drawThemeBackground = FakeDrawBackground;
    Host host;
    CPathComboBox combo;
    ASSERT_TRUE(combo.Create(0, WS_CHILD | WS_VISIBLE, CRect(10, 10, 610, 210), &host, kId));
    ASSERT_EQ(combo.SetPath("C:\\windows", -1), 1);
    g_themeCalls.clear();
    combo.Invalidate();
    combo.UpdateWindow();
    // Positions (rows from 1) as header items: texts part 1, arrows part 2, state 1 unless under the mouse.
    int texts = 0, arrows = 0, normal = 0;
    for (const ThemeCall& c : g_themeCalls) {
        if (c.top != 1) continue;
        texts += c.part == 1, arrows += c.part == 2, normal += c.state == 1;
    }
    EXPECT_EQ(std::pair(texts, arrows), std::pair(2, 3));
    EXPECT_GE(normal, 4);
}
