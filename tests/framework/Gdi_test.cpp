// GDI wrappers: drag frames invert only what changes, the halftone brush, temporary objects.
#include <gtest/gtest.h>

#include "framework/Framework.h"

namespace {

// A 100 x 100 white 32-bit bitmap in a memory DC.
struct Canvas {
    CDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD* bits = nullptr;
    Canvas() {
        dc.CreateCompatibleDC(nullptr);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = 100;
        bmi.bmiHeader.biHeight = -100;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<DWORD*>(p);
        old = SelectObject(dc, bitmap);
        for (int i = 0; i < 100 * 100; ++i) bits[i] = 0xFFFFFF;
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    int Changed() const {
        GdiFlush();
        int n = 0;
        for (int i = 0; i < 100 * 100; ++i) n += (bits[i] & 0xFFFFFF) != 0xFFFFFF;
        return n;
    }
    bool IsChanged(int x, int y) const {
        GdiFlush();
        return (bits[y * 100 + x] & 0xFFFFFF) != 0xFFFFFF;
    }
};

}  // namespace

TEST(Gdi, DragRectInvertsAFrameAndOnlyTheDifference) {
    Canvas c;
    CBrush black(RGB(255, 255, 255));  // PATINVERT with white turns white into black
    CRect first(10, 10, 50, 40);
    c.dc.DrawDragRect(&first, CSize(4, 4), nullptr, CSize(0, 0), &black);
    // A 4-pixel frame: 40 x 30 minus the 32 x 22 inside.
    EXPECT_EQ(c.Changed(), 40 * 30 - 32 * 22);
    EXPECT_TRUE(c.IsChanged(10, 10));
    EXPECT_TRUE(c.IsChanged(13, 20));
    EXPECT_FALSE(c.IsChanged(14, 20));

    // Moving it: the old frame is erased and the new one drawn, in one pass.
    CRect second(12, 10, 52, 40);
    c.dc.DrawDragRect(&second, CSize(4, 4), &first, CSize(4, 4), &black);
    EXPECT_EQ(c.Changed(), 40 * 30 - 32 * 22);
    EXPECT_FALSE(c.IsChanged(10, 10));
    EXPECT_TRUE(c.IsChanged(12, 10));

    // Erasing: the last frame given alone, no new one.
    c.dc.DrawDragRect(nullptr, CSize(0, 0), &second, CSize(4, 4), &black);
    EXPECT_EQ(c.Changed(), 0);

    // A frame as thick as the rectangle is wide fills it.
    CRect bar(60, 0, 64, 100);
    c.dc.DrawDragRect(&bar, CSize(4, 4), nullptr, CSize(0, 0), &black);
    EXPECT_EQ(c.Changed(), 4 * 100);

    // With a brush of its own the last frame is erased with that brush, and the new one drawn apart.
    CBrush lastBrush(RGB(255, 255, 255));
    c.dc.DrawDragRect(&first, CSize(4, 4), &bar, CSize(4, 4), &black, &lastBrush);
    EXPECT_EQ(c.Changed(), 40 * 30 - 32 * 22);
    EXPECT_FALSE(c.IsChanged(62, 50));
    EXPECT_TRUE(c.IsChanged(10, 10));
}

TEST(Gdi, HalftoneBrushIsACheckerboard) {
    Canvas c;
    CBrush* halftone = CDC::GetHalftoneBrush();
    ASSERT_NE(halftone, nullptr);
    EXPECT_EQ(CDC::GetHalftoneBrush(), halftone);
    CRect area(0, 0, 8, 8);
    c.dc.FillRect(&area, halftone);
    EXPECT_EQ(c.Changed(), 32);
    EXPECT_NE(c.IsChanged(0, 0), c.IsChanged(1, 0));
    EXPECT_NE(c.IsChanged(0, 0), c.IsChanged(0, 1));
}

TEST(Gdi, SelectReturnsThePreviousObjectAsATemporary) {
    Canvas c;
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* previous = c.dc.SelectObject(&red);
    ASSERT_NE(previous, nullptr);
    EXPECT_NE(previous->m_hObject, red.m_hObject);
    EXPECT_EQ(c.dc.SelectObject(previous)->m_hObject, red.m_hObject);
    EXPECT_EQ(CDC::FromHandle(c.dc.m_hDC), CDC::FromHandle(c.dc.m_hDC));
}

// The menu pictures' image list: a bitmap added with a mask colour becomes images of the list's size.
TEST(Gdi, ImageListTakesMaskedBitmaps) {
    CImageList list;
    ASSERT_TRUE(list.Create(16, 15, ILC_COLOR24 | ILC_MASK, 4, 8));
    HIMAGELIST first = list.m_hImageList;
    EXPECT_FALSE(list.Create(16, 15, ILC_COLOR24, 1, 1));  // holds one list at a time
    EXPECT_EQ(list.m_hImageList, first);
    Canvas strip;  // 100 x 100: six whole images of 16 pixels
    CBitmap bitmap;
    SelectObject(strip.dc, strip.old);
    bitmap.Attach(strip.bitmap);
    EXPECT_EQ(list.Add(&bitmap, RGB(0xC0, 0xC0, 0xC0)), 0);
    EXPECT_EQ(list.GetImageCount(), 6);
    bitmap.Detach();
    SelectObject(strip.dc, strip.bitmap);
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
