// Window objects: attached before the first message for any window class, found again through the
// handle maps, subclassing and its removal, owner-draw reflection during creation.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Framework.h"
#include "framework/HandleMap.h"
#include "tests/support/MessagePump.h"

namespace {

// Records the first messages of its window.
class CFirstMessages : public CWnd {
public:
    std::vector<UINT> seen;
    CSize sizeDuringCreate;
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs) {
        seen.push_back(WM_NCCREATE);
        return CWnd::OnNcCreate(cs);
    }
    afx_msg int OnCreate(LPCREATESTRUCT cs) {
        seen.push_back(WM_CREATE);
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnSize(UINT, int cx, int cy) {
        seen.push_back(WM_SIZE);
        sizeDuringCreate = CSize(cx, cy);
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFirstMessages, CWnd)
    ON_WM_NCCREATE()
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

class CMeasuringCombo : public CComboBox {
public:
    int measured = 0;
    int drawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
        ++measured;
        mis->itemHeight = 31;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }
};

class CCharCounter : public CWnd {
public:
    int chars = 0;
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
        ++chars;
        CWnd::OnChar(nChar, nRepCnt, nFlags);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCharCounter, CWnd)
    ON_WM_CHAR()
END_MESSAGE_MAP()

class CParent : public CWnd {
public:
    CParent() { CreateEx(0, AfxRegisterWndClass(0), "parent", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0); }
    ~CParent() override { DestroyWindow(); }
};

WNDPROC g_chained;
int g_outerNcDestroy;
LRESULT CALLBACK OuterProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCDESTROY) ++g_outerNcDestroy;
    return CallWindowProcA(g_chained, h, m, w, l);
}

}  // namespace

TEST(WndCreation, ObjectOverSystemClassSeesItsFirstMessages) {
    CParent parent;
    CFirstMessages label;
    ASSERT_TRUE(label.Create("STATIC", "Text", WS_CHILD | WS_VISIBLE, CRect(5, 5, 105, 45), &parent, 7));
    ASSERT_GE(label.seen.size(), 2u);
    EXPECT_EQ(label.seen[0], (UINT)WM_NCCREATE);
    EXPECT_EQ(label.seen[1], (UINT)WM_CREATE);
    // The first size message comes during creation and reaches the object too.
    EXPECT_NE(std::find(label.seen.begin(), label.seen.end(), (UINT)WM_SIZE), label.seen.end());
    EXPECT_EQ(label.sizeDuringCreate, CSize(100, 40));
    EXPECT_EQ(CWnd::FromHandlePermanent(label.m_hWnd), &label);
    // Unhandled messages still reach the class's own procedure.
    CString text;
    label.GetWindowText(text);
    EXPECT_STREQ(text, "Text");
    EXPECT_EQ(label.GetDlgCtrlID(), 7);
}

TEST(WndCreation, OwnerDrawnComboIsMeasuredDuringItsCreation) {
    CParent parent;
    CMeasuringCombo combo;
    ASSERT_TRUE(combo.CreateEx(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                               CRect(0, 0, 200, 200), &parent, 31));
    // WM_MEASUREITEM reached the parent while the combo was inside CreateWindowEx.
    EXPECT_GE(combo.measured, 1);
    EXPECT_EQ(combo.SendMessage(CB_GETITEMHEIGHT, 0), 31);
    combo.AddString("eins");
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_COMBOBOX;
    dis.CtlID = 31;
    dis.hwndItem = combo.m_hWnd;
    parent.SendMessage(WM_DRAWITEM, 31, (LPARAM)&dis);
    EXPECT_EQ(combo.drawn, 1);
}

TEST(WndHandleMaps, PermanentAndTemporaryObjects) {
    CParent parent;
    EXPECT_EQ(CWnd::FromHandle(parent.m_hWnd), &parent);
    HWND raw = CreateWindowExA(0, "STATIC", "raw", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd, nullptr, nullptr, nullptr);
    CWnd* temp = CWnd::FromHandle(raw);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    EXPECT_EQ(temp->m_hWnd, raw);
    // A temporary stays valid, and the same, while its window lives, idle purges included.
    fw::PurgeTemps();
    EXPECT_EQ(CWnd::FromHandle(raw), temp);
    EXPECT_EQ(temp->m_hWnd, raw);
    // Typed temporaries are objects of their class.
    CComboBox* asCombo = CComboBox::FromHandle(raw);
    EXPECT_TRUE(asCombo->IsKindOf(RUNTIME_CLASS(CComboBox)));
    EXPECT_EQ(CComboBox::FromHandle(raw), asCombo);
    DestroyWindow(raw);
    fw::PurgeTemps();
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

// A typed lookup never hands out an object of another class, even for classes that cannot be made
// from a handle.
TEST(WndHandleMaps, TypedLookupKeepsToItsClass) {
    CParent parent;
    EXPECT_EQ(CWnd::FromHandleAs(parent.m_hWnd, RUNTIME_CLASS(CDialog)), nullptr);
    EXPECT_EQ(CWnd::FromHandleAs(parent.m_hWnd, RUNTIME_CLASS(CWnd)), &parent);
}

TEST(WndSubclass, SubclassingRoutesAndRemovalRestores) {
    CParent parent;
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, parent.m_hWnd, nullptr, nullptr, nullptr);
    LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    CCharCounter counter;
    ASSERT_TRUE(counter.SubclassWindow(edit));
    SendMessageA(edit, WM_CHAR, 'a', 1);
    EXPECT_EQ(counter.chars, 1);
    char text[8] = {};
    GetWindowTextA(edit, text, 8);
    EXPECT_STREQ(text, "a");  // default processing reached the edit control

    // Another object takes the window over (detach, attach): the edit's own procedure still runs.
    HWND handle = counter.Detach();
    CCharCounter other;
    ASSERT_TRUE(other.Attach(handle));
    SendMessageA(edit, WM_CHAR, 'b', 1);
    EXPECT_EQ(other.chars, 1);
    GetWindowTextA(edit, text, 8);
    EXPECT_STREQ(text, "ab");

    EXPECT_EQ(other.UnsubclassWindow(), edit);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    DestroyWindow(edit);
}

TEST(WndSubclass, ForeignSubclassOnTopSurvivesTheEnd) {
    CParent parent;
    CCharCounter counter;
    ASSERT_TRUE(counter.CreateEx(0, "EDIT", "", WS_CHILD, CRect(0, 0, 50, 20), &parent, 3));
    // Someone subclasses on top of the framework and never removes it.
    g_chained = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(counter.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
    g_outerNcDestroy = 0;
    HWND h = counter.m_hWnd;
    DestroyWindow(h);
    EXPECT_EQ(g_outerNcDestroy, 1);
    EXPECT_EQ(counter.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(WndLifetime, ObjectDestroysItsWindowAndWrappersTolerateNoWindow) {
    HWND h;
    {
        CParent parent;
        h = parent.m_hWnd;
        ASSERT_TRUE(IsWindow(h));
    }
    EXPECT_FALSE(IsWindow(h));
    CWnd nothing;
    nothing.Invalidate();
    nothing.SetWindowPos(nullptr, 0, 0, 10, 10, SWP_NOZORDER);
    EXPECT_EQ(nothing.GetSafeHwnd(), nullptr);
}

TEST(Menu, TemporaryMenuObjects) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 10, "&Eins");
    CMenu* a = CMenu::FromHandle(menu);
    EXPECT_EQ(CMenu::FromHandle(menu), a);
    CString text;
    a->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Eins");
    DestroyMenu(menu);
    fw::PurgeTemps();
}
