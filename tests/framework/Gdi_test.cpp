// GDI wrappers: drag frames invert only what changes, the halftone brush, temporary objects.
#include <gtest/gtest.h>

#include "framework/Framework.h"
#include "tests/support/Canvas.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// The pixels of a white canvas that are no longer white.
int Changed(const Canvas& c) { return c.width * c.height - c.Count({0, 0, c.width, c.height}, kWhite); }
bool IsChanged(const Canvas& c, int x, int y) { return c.At(x, y) != kWhite; }

}  // namespace

TEST(Gdi, DragRectInvertsAFrameAndOnlyTheDifference) {
    Canvas c(100, 100);
    CDC* dc = CDC::FromHandle(c.dc);
    CBrush black(RGB(255, 255, 255));  // PATINVERT with white turns white into black
    CRect first(10, 10, 50, 40);
    dc->DrawDragRect(&first, CSize(4, 4), nullptr, CSize(0, 0), &black);
    // A 4-pixel frame: 40 x 30 minus the 32 x 22 inside.
    EXPECT_EQ(Changed(c), 40 * 30 - 32 * 22);
    EXPECT_TRUE(IsChanged(c, 10, 10));
    EXPECT_TRUE(IsChanged(c, 13, 20));
    EXPECT_FALSE(IsChanged(c, 14, 20));

    // Moving it: the old frame is erased and the new one drawn, in one pass.
    CRect second(12, 10, 52, 40);
    dc->DrawDragRect(&second, CSize(4, 4), &first, CSize(4, 4), &black);
    EXPECT_EQ(Changed(c), 40 * 30 - 32 * 22);
    EXPECT_FALSE(IsChanged(c, 10, 10));
    EXPECT_TRUE(IsChanged(c, 12, 10));

    // Erasing: the last frame given alone, no new one.
    dc->DrawDragRect(nullptr, CSize(0, 0), &second, CSize(4, 4), &black);
    EXPECT_EQ(Changed(c), 0);

    // A frame as thick as the rectangle is wide fills it.
    CRect bar(60, 0, 64, 100);
    dc->DrawDragRect(&bar, CSize(4, 4), nullptr, CSize(0, 0), &black);
    EXPECT_EQ(Changed(c), 4 * 100);

    // With a brush of its own the last frame is erased with that brush, and the new one drawn apart.
    CBrush lastBrush(RGB(255, 255, 255));
    dc->DrawDragRect(&first, CSize(4, 4), &bar, CSize(4, 4), &black, &lastBrush);
    EXPECT_EQ(Changed(c), 40 * 30 - 32 * 22);
    EXPECT_FALSE(IsChanged(c, 62, 50));
    EXPECT_TRUE(IsChanged(c, 10, 10));
}

TEST(Gdi, HalftoneBrushIsACheckerboard) {
    Canvas c(100, 100);
    CDC* dc = CDC::FromHandle(c.dc);
    CBrush* halftone = CDC::GetHalftoneBrush();
    ASSERT_NE(halftone, nullptr);
    EXPECT_EQ(CDC::GetHalftoneBrush(), halftone);
    CRect area(0, 0, 8, 8);
    dc->FillRect(&area, halftone);
    EXPECT_EQ(Changed(c), 32);
    EXPECT_NE(IsChanged(c, 0, 0), IsChanged(c, 1, 0));
    EXPECT_NE(IsChanged(c, 0, 0), IsChanged(c, 0, 1));
}

TEST(Gdi, SelectReturnsThePreviousObjectAsATemporary) {
    Canvas c(100, 100);
    CDC* dc = CDC::FromHandle(c.dc);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* previous = dc->SelectObject(&red);
    ASSERT_NE(previous, nullptr);
    EXPECT_NE(previous->m_hObject, red.m_hObject);
    EXPECT_EQ(dc->SelectObject(previous)->m_hObject, red.m_hObject);
    EXPECT_EQ(CDC::FromHandle(dc->m_hDC), CDC::FromHandle(dc->m_hDC));
}

// The menu pictures' image list: a bitmap added with a mask colour becomes images of the list's size.
TEST(Gdi, ImageListTakesMaskedBitmaps) {
    CImageList list;
    ASSERT_TRUE(list.Create(16, 15, ILC_COLOR24 | ILC_MASK, 4, 8));
    HIMAGELIST first = list.m_hImageList;
    EXPECT_FALSE(list.Create(16, 15, ILC_COLOR24, 1, 1));  // holds one list at a time
    EXPECT_EQ(list.m_hImageList, first);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(100, 100, 1, 32, nullptr));  // six whole images of 16 pixels
    EXPECT_EQ(list.Add(&bitmap, RGB(0xC0, 0xC0, 0xC0)), 0);
    EXPECT_EQ(list.GetImageCount(), 6);
    EXPECT_EQ(CImageList::FromHandle(list.m_hImageList), CImageList::FromHandle(list.m_hImageList));
    HIMAGELIST handle = list.Detach();
    EXPECT_EQ(list.m_hImageList, nullptr);
    EXPECT_TRUE(ImageList_Destroy(handle));
}

// Objects that hold one handle make no second one while they hold it (nothing is left without an owner).
TEST(Gdi, SecondCreateKeepsTheFirstHandle) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    HMENU first = menu.m_hMenu;
    EXPECT_FALSE(menu.CreateMenu());
    EXPECT_FALSE(menu.LoadMenu(1));
    EXPECT_EQ(menu.m_hMenu, first);
    EXPECT_TRUE(IsMenu(first));
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    HDC firstDC = dc.m_hDC;
    EXPECT_FALSE(dc.CreateCompatibleDC(nullptr));
    EXPECT_EQ(dc.m_hDC, firstDC);
}
