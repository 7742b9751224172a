#include "ui/popup/PopupList.h"

#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using uitest::TestParent;

namespace {

struct Popup {
    HWND frame = nullptr;
    HWND list = nullptr;
    HWND scrollBar = nullptr;
    explicit Popup(HWND owner, RECT rect = {100, 100, 300, 260}, UINT id = 1408) {
        frame = CreatePopupList(0, WS_BORDER | WS_VISIBLE, &rect, owner, id);
        list = GetDlgItem(frame, POPUPLIST_LIST_ID);
        scrollBar = FindWindowExA(frame, nullptr, "ScrollBar", nullptr);
        PumpQueued();
    }
    ~Popup() {
        if (IsWindow(frame)) DestroyWindow(frame);
    }
    std::vector<std::string> Items() const { return uitest::ListEntries(list); }
    SIZE Client() const {
        RECT r;
        GetClientRect(frame, &r);
        return {r.right, r.bottom};
    }
    int Top() const { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); }
    void Fill(int n) {
        for (int i = 0; i < n; ++i) {
            char text[16];
            wsprintfA(text, "n%03d", i);
            SendMessageA(frame, PLM_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
    }
};

char* NewTextBlock(const char* text) {
    char* block = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, strlen(text) + 1));
    strcpy(block, text);
    return block;
}

// While it lives, records the blocks the popup frees (and frees them); Take() hands over the
// record since the last call.
class FreedBlocks {
public:
    FreedBlocks() : m_previous(SetPopupListBlockFree(Record)) { m_freed.clear(); }
    ~FreedBlocks() { SetPopupListBlockFree(m_previous); }
    std::vector<void*> Take() { return std::move(m_freed); }

private:
    static void Record(void* block) {
        m_freed.push_back(block);
        HeapFree(GetProcessHeap(), 0, block);
    }
    static inline std::vector<void*> m_freed;  // the popups free on the test's thread only
    PopupListBlockFree m_previous;
};

}  // namespace

TEST(PopupList, PostedStringsStandSortedAndTheirBlocksAreFreed) {
    TestParent owner;
    Popup popup(owner.hwnd);
    ASSERT_NE(popup.frame, nullptr);
    ASSERT_NE(popup.list, nullptr);
    ASSERT_NE(popup.scrollBar, nullptr);

    FreedBlocks freed;
    char* b = NewTextBlock("beta");
    char* a = NewTextBlock("alpha");
    std::thread worker([&] {
        PostMessageA(popup.frame, PLM_ADDSTRING, POPUPLIST_TEXT_TAG, reinterpret_cast<LPARAM>(b));
        PostMessageA(popup.frame, PLM_ADDSTRING, POPUPLIST_TEXT_TAG, reinterpret_cast<LPARAM>(a));
        EXPECT_TRUE(PostPopupListText(popup.frame, "gamma und mehr", 5));
    });
    worker.join();
    PumpQueued();
    EXPECT_EQ(popup.Items(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    std::vector<void*> handed = freed.Take();
    ASSERT_EQ(handed.size(), 3u);
    EXPECT_EQ(handed[0], b);
    EXPECT_EQ(handed[1], a);

    // An untagged string is the caller's; a tagged insert keeps its index.
    char own[] = "zulu";
    SendMessageA(popup.frame, PLM_ADDSTRING, 0, reinterpret_cast<LPARAM>(own));
    EXPECT_STREQ(own, "zulu");
    EXPECT_TRUE(freed.Take().empty());
    char* first = NewTextBlock("zzz vorne");
    EXPECT_EQ(SendMessageA(popup.frame, PLM_INSERTSTRING, POPUPLIST_TEXT_TAG | 0, reinterpret_cast<LPARAM>(first)), 0);
    EXPECT_EQ(popup.Items().front(), "zzz vorne");
    EXPECT_EQ(freed.Take(), std::vector<void*>{first});
    char* last = NewTextBlock("ende");
    SendMessageA(popup.frame, PLM_INSERTSTRING, static_cast<WPARAM>(POPUPLIST_TEXT_TAG | 0x8000FFFFu),
                 reinterpret_cast<LPARAM>(last));
    EXPECT_EQ(popup.Items().back(), "ende");
    EXPECT_EQ(freed.Take(), std::vector<void*>{last});

    // List messages pass through, and the scroll range follows the count.
    EXPECT_EQ(SendMessageA(popup.frame, LB_GETCOUNT, 0, 0), 6);
    SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(popup.scrollBar, SB_CTL, &info);
    EXPECT_EQ(info.nMax, 6);
    SendMessageA(popup.frame, LB_RESETCONTENT, 0, 0);
    GetScrollInfo(popup.scrollBar, SB_CTL, &info);
    EXPECT_EQ(info.nMax, 0);
}

TEST(PopupList, BlocksStillQueuedWhenThePopupDiesAreFreed) {
    TestParent owner;
    Popup popup(owner.hwnd);
    FreedBlocks freed;
    char* pending = NewTextBlock("unterwegs");
    ASSERT_TRUE(PostMessageA(popup.frame, PLM_ADDSTRING, POPUPLIST_TEXT_TAG, reinterpret_cast<LPARAM>(pending)));
    DestroyWindow(popup.frame);
    EXPECT_EQ(freed.Take(), std::vector<void*>{pending});
    // Posting to a popup that is gone fails and frees the copy.
    EXPECT_FALSE(PostPopupListText(popup.frame, "zu spät", -1));
    EXPECT_EQ(freed.Take().size(), 1u);
}

TEST(PopupList, WheelScrollsWholeNotchesOnly) {
    TestParent owner;
    Popup popup(owner.hwnd);
    popup.Fill(60);
    ASSERT_EQ(popup.Top(), 0);
    SendMessageA(popup.frame, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(popup.Top(), 0);
    SendMessageA(popup.frame, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
    EXPECT_EQ(popup.Top(), 2);
    EXPECT_EQ(GetScrollPos(popup.scrollBar, SB_CTL), 2);
    SendMessageA(popup.frame, WM_MOUSEWHEEL, MAKEWPARAM(0, 360), 0);
    EXPECT_EQ(popup.Top(), 0);  // never above the first entry
    // The list hands its wheel to the frame.
    SendMessageA(popup.list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(popup.Top(), 1);

    SendMessageA(popup.frame, WM_VSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(popup.scrollBar));
    int page = popup.Top() - 1;
    EXPECT_GT(page, 2);
    SendMessageA(popup.frame, WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(popup.scrollBar));
    EXPECT_EQ(popup.Top(), page);
    SendMessageA(popup.frame, WM_VSCROLL, SB_TOP, reinterpret_cast<LPARAM>(popup.scrollBar));
    EXPECT_EQ(popup.Top(), 0);
    SendMessageA(popup.frame, WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(popup.scrollBar));
    EXPECT_EQ(popup.Top(), 0);

    // New content starts at the top, and a line step goes on from there.
    SendMessageA(popup.frame, WM_VSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(popup.scrollBar));
    SendMessageA(popup.frame, WM_VSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(popup.scrollBar));
    ASSERT_GT(popup.Top(), 4);
    SendMessageA(popup.frame, LB_RESETCONTENT, 0, 0);
    popup.Fill(60);
    ASSERT_EQ(popup.Top(), 0);
    SendMessageA(popup.frame, WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(popup.scrollBar));
    EXPECT_EQ(popup.Top(), 1);
}

TEST(PopupList, GripDragResizesWithinLimits) {
    TestParent owner;
    Popup popup(owner.hwnd);
    int bar = GetSystemMetrics(SM_CXVSCROLL);
    SIZE start = popup.Client();
    // A press outside the grip starts nothing.
    SendMessageA(popup.frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(popup.frame, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_EQ(popup.Client().cx, start.cx);

    int gx = start.cx - 2, gy = start.cy - 2;
    SendMessageA(popup.frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(gx, gy));
    EXPECT_EQ(GetCapture(), popup.frame);
    SendMessageA(popup.frame, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(gx + 40, gy + 30));
    EXPECT_EQ(popup.Client().cx, start.cx + 40);
    EXPECT_EQ(popup.Client().cy, start.cy + 30);
    SendMessageA(popup.frame, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-500), static_cast<WORD>(-500)));
    EXPECT_EQ(popup.Client().cx, 2 * bar);
    EXPECT_EQ(popup.Client().cy, 2 * bar);
    // The children follow: the list beside the bar, the bar above the grip.
    RECT listRect, barRect;
    GetClientRect(popup.list, &listRect);
    GetWindowRect(popup.scrollBar, &barRect);
    EXPECT_EQ(listRect.bottom, 2 * bar);
    EXPECT_EQ(barRect.bottom - barRect.top, bar + 1);
    SendMessageA(popup.frame, WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
    EXPECT_NE(GetCapture(), popup.frame);
    SendMessageA(popup.frame, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 300));
    EXPECT_EQ(popup.Client().cx, 2 * bar);
}

TEST(PopupList, SelectionReachesTheOwnerAndTheMouseTracksItems) {
    TestParent owner;
    Popup popup(owner.hwnd);
    popup.Fill(10);
    int itemHeight = static_cast<int>(SendMessageA(popup.list, LB_GETITEMHEIGHT, 0, 0));
    SendMessageA(popup.list, WM_MOUSEMOVE, 0, MAKELPARAM(10, itemHeight * 2 + 2));
    EXPECT_EQ(SendMessageA(popup.list, LB_GETCURSEL, 0, 0), 2);
    owner.log.clear();
    SendMessageA(popup.list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, itemHeight * 4 + 2));
    SendMessageA(popup.list, WM_LBUTTONUP, 0, MAKELPARAM(10, itemHeight * 4 + 2));
    PumpQueued();
    auto codes = owner.CommandCodes(1408);
    EXPECT_NE(std::find(codes.begin(), codes.end(), LBN_SELCHANGE), codes.end());
    EXPECT_EQ(SendMessageA(popup.list, LB_GETCURSEL, 0, 0), 4);
}

TEST(PopupList, PaintsItsGripAndLeavesNothingInvalid) {
    TestParent owner;
    Popup popup(owner.hwnd);
    InvalidateRect(popup.frame, nullptr, FALSE);
    SendMessageA(popup.frame, WM_PAINT, 0, 0);
    EXPECT_FALSE(GetUpdateRect(popup.frame, nullptr, FALSE));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, popup.frame, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST(PopupList, LookIsTheFramesOwnNotEveryStatics) {
    TestParent owner;
    HWND before = owner.AddChild("STATIC", 5, SS_LEFT);
    ULONG_PTR cursor = GetClassLongPtrA(before, GCLP_HCURSOR);
    ULONG_PTR brush = GetClassLongPtrA(before, GCLP_HBRBACKGROUND);
    Popup popup(owner.hwnd);
    HWND after = owner.AddChild("STATIC", 6, SS_LEFT, 0, 10, 50);
    EXPECT_EQ(GetClassLongPtrA(after, GCLP_HCURSOR), cursor);
    EXPECT_EQ(GetClassLongPtrA(after, GCLP_HBRBACKGROUND), brush);
    EXPECT_EQ(SendMessageA(popup.frame, WM_SETCURSOR, reinterpret_cast<WPARAM>(popup.frame), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZENWSE));
    EXPECT_EQ(SendMessageA(popup.frame, WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(SendMessageA(popup.frame, WM_ACTIVATE, WA_ACTIVE, 0), 0);
}
