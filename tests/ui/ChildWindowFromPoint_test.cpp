#include "ui/ChildWindowFromPoint.h"

#include "framework/Wnd.h"

#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

using uitest::TestParent;

TEST(ChildWindowFromPoint, DescendsToTheDeepestChild) {
    TestParent parent(400, 300);
    HWND outer = parent.AddChild("STATIC", 1, 0, 0, 10, 10, 200, 150);
    HWND inner = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 20, 20, 50, 50, outer, nullptr, nullptr,
                                 nullptr);
    HWND hidden = CreateWindowExA(0, "STATIC", "", WS_CHILD, 20, 20, 10, 10, inner, nullptr, nullptr, nullptr);
    RECT r;
    GetWindowRect(inner, &r);
    POINT inInner = {r.left + 5, r.top + 5};
    EXPECT_EQ(ChildWindowFromPointDeep(inInner, parent.hwnd, TRUE), inner);
    EXPECT_EQ(ChildWindowFromPointDeep(inInner, parent.hwnd, FALSE), inner);
    POINT inHidden = {r.left + 25, r.top + 25};
    EXPECT_EQ(ChildWindowFromPointDeep(inHidden, parent.hwnd, TRUE), inner);
    EXPECT_EQ(ChildWindowFromPointDeep(inHidden, parent.hwnd, FALSE), hidden);
    GetWindowRect(outer, &r);
    POINT inOuter = {r.right - 2, r.bottom - 2};
    EXPECT_EQ(ChildWindowFromPointDeep(inOuter, parent.hwnd, TRUE), outer);
    GetWindowRect(parent.hwnd, &r);
    POINT overNone = {r.right - 3, r.bottom - 3};
    EXPECT_EQ(ChildWindowFromPointDeep(overNone, parent.hwnd, TRUE), parent.hwnd);
}

TEST(ChildWindowFromPoint, FrameworkFormAnswersWithTheWindowsObject) {
    TestParent parent(300, 200);
    HWND child = parent.AddChild("STATIC", 1, 0, 0, 10, 10, 100, 100);
    RECT r;
    GetWindowRect(child, &r);
    CWnd* found = ChildWindowFromPointDeep(POINT{r.left + 3, r.top + 3}, CWnd::FromHandle(parent.hwnd), TRUE);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->m_hWnd, child);
    EXPECT_EQ(ChildWindowFromPointDeep(POINT{r.left + 3, r.top + 3}, static_cast<CWnd*>(nullptr), TRUE) != nullptr,
              ChildWindowFromPointDeep(POINT{r.left + 3, r.top + 3}, static_cast<HWND>(nullptr), TRUE) != nullptr);
}
