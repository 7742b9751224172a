// Fonts, rows and scroll bars of the "TreeList" control: row heights from the font's own metrics, display rows,
// joined cells, cell visibility, drag images, check-box lists and the throttled vertical scroll bar.
#include <gtest/gtest.h>

#include "image/FontCache.h"
#include "treelist/control/TreeListTestSupport.h"

#include <algorithm>

using namespace tltest;

namespace {

int UiTextHeight() {
    int height = 0;
    GetUiFontMetrics(nullptr, &height, 0);
    return height;
}

HIMAGELIST Images(int size, int count = 1) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, count, 0);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size * count, size);
    ReleaseDC(nullptr, screen);
    ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return list;
}

int VScrollMax(HWND window) {
    SCROLLINFO info = {sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
    GetScrollInfo(window, SB_VERT, &info);
    return info.nMax;
}

}  // namespace

TEST(TreeListLayout, RowHeightFollowsTheFontAndTheImages) {
    const int th = UiTextHeight();
    ASSERT_GT(th, 0);
    const struct {
        DWORD style, exStyle;
        int image;
        int expected;
    } cases[] = {
        {0, 0, 0, std::max(9, th + 3)},
        {0, TLX_GRIDLINES, 0, std::max(10, th + 3) + 1},
        {0, TLX_ALTERNATEROWS, 0, std::max(10, th + 3)},
        {0, 0, 24, std::max(25, th + 3)},
        {0x4000, 0, 24, (std::max(25, th + 3) + 1) & ~1},
        {0x4000, 0, 25, (std::max(26, th + 3) + 1) & ~1},
    };
    for (const auto& c : cases) {
        TreeListRig rig(c.style);
        if (c.exStyle) rig.Send(TVM_SETEXTENDEDSTYLE, 0, c.exStyle);
        if (c.image) rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(Images(c.image)));
        EXPECT_EQ(rig.Send(TVM_GETITEMHEIGHT), c.expected) << c.style << " " << c.exStyle << " " << c.image;
        HIMAGELIST list = reinterpret_cast<HIMAGELIST>(rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, 0));
        if (list) ImageList_Destroy(list);
    }
}

TEST(TreeListLayout, ItemHeightNeverBelowOne) {
    TreeListRig rig(0, 200, 120);
    const LRESULT derived = rig.Send(TVM_GETITEMHEIGHT);
    for (int h : {0, -7}) {
        rig.Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(h));
        EXPECT_EQ(rig.Send(TVM_GETITEMHEIGHT), 1);
        EXPECT_EQ(rig.Send(TVM_GETVISIBLECOUNT), 120);
    }
    for (int i = 0; i < 200; ++i) rig.Insert("row");
    rig.Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1));
    EXPECT_EQ(rig.Send(TVM_GETITEMHEIGHT), derived);
    // A font of twice the height: the rows keep their height until asked to follow it.
    LOGFONTA lf = {};
    GetObjectA(GetUiFont(0), sizeof lf, &lf);
    lf.lfHeight *= 2;
    HFONT big = CreateFontIndirectA(&lf);
    rig.Send(WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    EXPECT_EQ(rig.Send(TVM_GETITEMHEIGHT), derived);
    rig.Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1));
    EXPECT_GT(rig.Send(TVM_GETITEMHEIGHT), derived + 4);
    EXPECT_EQ(rig.Send(WM_GETFONT), reinterpret_cast<LRESULT>(big));
    DestroyWindow(rig.tree);
    DeleteObject(big);
}

TEST(TreeListLayout, DisplayRowsFollowExpansion) {
    TreeListRig rig;
    EXPECT_EQ(rig.Send(TLM_GETROWCOUNT), 0);
    const UINT_PTR closed = rig.Insert("closed");
    const UINT_PTR hidden = rig.Insert("hidden", closed);
    const UINT_PTR open = rig.Insert("open", 0, TLI_LAST, 0, TVIS_EXPANDED);
    const UINT_PTR shown = rig.Insert("shown", open);
    const UINT_PTR last = rig.Insert("last");
    EXPECT_EQ(rig.Send(TLM_GETITEMROW, 0, static_cast<LPARAM>(hidden)), -1);
    EXPECT_EQ(rig.Send(TLM_GETITEMROW, 0, static_cast<LPARAM>(open)), 1);
    EXPECT_EQ(rig.Send(TLM_GETITEMROW, 0, static_cast<LPARAM>(shown)), 2);
    EXPECT_EQ(rig.Send(TLM_GETITEMROW, 0, static_cast<LPARAM>(last)), 3);
    EXPECT_EQ(rig.Send(TLM_GETROWCOUNT), 4);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(rig.Send(TLM_GETITEMROW, 0, rig.Send(TLM_GETROWITEM, 0, row)), row);
    EXPECT_EQ(rig.Send(TLM_GETROWITEM, 0, 4), 0);
    EXPECT_EQ(rig.Next(open, TVGN_NEXTVISIBLE), shown);
    EXPECT_EQ(rig.Next(last, TVGN_PREVIOUSVISIBLE), shown);
    EXPECT_EQ(rig.Next(0, TVGN_LASTVISIBLE), last);
    EXPECT_EQ(rig.Next(0, TVGN_FIRSTVISIBLE), closed);
    // A child inserted under a shown, expanded parent takes its row at once; one under a closed parent not.
    const UINT_PTR second = rig.Insert("second", open);
    EXPECT_EQ(rig.Send(TLM_GETITEMROW, 0, static_cast<LPARAM>(second)), 3);
    EXPECT_EQ(rig.Send(TLM_GETITEMROW, 0, static_cast<LPARAM>(last)), 4);
    rig.Insert("more hidden", closed, reinterpret_cast<UINT_PTR>(TVI_FIRST));
    EXPECT_EQ(rig.Send(TLM_GETROWCOUNT), 5);
    rig.Delete(open);
    EXPECT_EQ(rig.Send(TLM_GETITEMROW, 0, static_cast<LPARAM>(last)), 1);
    EXPECT_EQ(rig.Send(TLM_GETROWCOUNT), 2);
}

TEST(TreeListLayout, OnlyTheFirstSixteenColumnsJoin) {
    TreeListRig rig(0, 400, 100);
    for (int i = 0; i < 18; ++i) {
        LVCOLUMNA c = {};
        c.mask = LVCF_WIDTH;
        c.cx = 10;
        rig.Send(TLM_INSERTCOLUMN, 99, reinterpret_cast<LPARAM>(&c));
    }
    const UINT_PTR item = rig.Insert("spanning", 0, TLI_LAST, 0, 0xFFFF0000);
    EXPECT_EQ(rig.ItemRect(item, 0x80).right, 9);  // no joins asked for yet; the first column is a pixel short
    rig.Send(TLM_OPTION, kTreeListSetOption | TLO_JOINCOLUMNS, 0xFFFF);
    // Columns of 10 pixels, the first one a pixel short: column 16 ends at 169.
    EXPECT_EQ(rig.ItemRect(item, 0x80).right, 169);
    EXPECT_EQ(rig.ItemRect(item, 0x80 | (16 << 24)).right, 169);
    const RECT last = rig.ItemRect(item, 0x80 | (17 << 24));
    EXPECT_EQ(last.left, 169);
    EXPECT_EQ(last.right, 179);
    // A column number past the last asks for column 0.
    EXPECT_EQ(rig.ItemRect(item, 0x80 | (40 << 24)).left, 0);
}

TEST(TreeListLayout, CellVisibilityClasses) {
    TreeListRig rig(0, 250, 200);
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA c = {};
        c.mask = LVCF_WIDTH;
        c.cx = 100;
        rig.Send(TLM_INSERTCOLUMN, 99, reinterpret_cast<LPARAM>(&c));
    }
    std::vector<UINT_PTR> items;
    for (int i = 0; i < 60; ++i) items.push_back(rig.Insert("row"));
    const UINT_PTR child = rig.Insert("child", items[0]);
    const UINT whole = static_cast<UINT>(rig.Send(TVM_GETVISIBLECOUNT));
    const UINT touched = static_cast<UINT>(rig.Send(TLM_GETROWSTOUCHED));
    ASSERT_GT(whole, 2u);
    auto visibility = [&](UINT_PTR item, int column) { return rig.Send(TLM_CELLVISIBILITY, item, column); };
    EXPECT_EQ(visibility(items[0], 0), 4);
    EXPECT_EQ(visibility(items[0], 2), 3);   // 200..300 in a client narrower than that
    EXPECT_EQ(visibility(items[0], 9), 4);   // past the last column: the row only
    EXPECT_EQ(visibility(child, 0), 0);
    EXPECT_EQ(visibility(items[59], 0), 1);
    EXPECT_EQ(visibility(999, 0), -1);
    if (touched > whole) {
        EXPECT_EQ(visibility(items[whole], 0), 2);
    }
    // The rectangle of a row below the client area only on request.
    EXPECT_EQ(rig.ItemRect(items[59]).bottom, 0);
    const RECT below = rig.ItemRect(items[59], 0x100);
    EXPECT_EQ(below.bottom - below.top, rig.Send(TVM_GETITEMHEIGHT));
    EXPECT_GT(below.top, 200);
}

TEST(TreeListLayout, DragImagesAreLimited) {
    TreeListRig rig(0, 300, 100);
    const UINT_PTR wide = rig.Insert(std::string(200, 'W').c_str());
    const UINT_PTR empty = rig.Insert("");
    HIMAGELIST drag = reinterpret_cast<HIMAGELIST>(rig.Send(TVM_CREATEDRAGIMAGE, 0, static_cast<LPARAM>(wide)));
    int cx = 0, cy = 0;
    ASSERT_TRUE(drag);
    ImageList_GetIconSize(drag, &cx, &cy);
    EXPECT_EQ(cx, 240);
    ImageList_Destroy(drag);
    drag = reinterpret_cast<HIMAGELIST>(rig.Send(TVM_CREATEDRAGIMAGE, 0, static_cast<LPARAM>(empty)));
    ASSERT_TRUE(drag);
    ImageList_GetIconSize(drag, &cx, &cy);
    EXPECT_GE(cx, 1);
    ImageList_Destroy(drag);
    HIMAGELIST icons = Images(40);
    rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(icons));
    drag = reinterpret_cast<HIMAGELIST>(rig.Send(TVM_CREATEDRAGIMAGE, 0, static_cast<LPARAM>(empty)));
    ASSERT_TRUE(drag);
    ImageList_GetIconSize(drag, &cx, &cy);
    EXPECT_EQ(cy, 32);
    EXPECT_EQ(cx, 42);
    ImageList_Destroy(drag);
    EXPECT_EQ(rig.Send(TVM_CREATEDRAGIMAGE, 0, 999), 0);
    EXPECT_EQ(rig.Send(TVM_CREATEDRAGIMAGE, 3, static_cast<LPARAM>(wide)), 0);
    DestroyWindow(rig.tree);
    ImageList_Destroy(icons);
}

TEST(TreeListLayout, CheckBoxListIsNeverTheMarker) {
    TreeListRig rig(TVS_CHECKBOXES);
    const LRESULT list = rig.Send(TVM_GETIMAGELIST, TVSIL_STATE);
    EXPECT_NE(list, 1);
    if (list) {
        // Drawn by the control: empty, clear and set box.
        EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(list)), 3);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(list), &cx, &cy);
        EXPECT_EQ(cx, 16);
        EXPECT_EQ(cy, 16);
    }
    EXPECT_GE(rig.Send(TVM_GETITEMHEIGHT), 17);
    rig.Send(WM_SYSCOLORCHANGE);
    EXPECT_NE(rig.Send(TVM_GETIMAGELIST, TVSIL_STATE), 1);
    // Replacing it hands back no handle of the control's own list.
    EXPECT_EQ(rig.Send(TVM_SETIMAGELIST, TVSIL_STATE, 0), 0);
}

TEST(TreeListLayout, BurstOfInsertsRedrawsTheScrollBarLater) {
    FakeClock clock;
    TreeListRig rig(TVS_HASLINES, 200, 100);
    rig.Insert("first");
    Pump();
    for (int i = 0; i < 2000; ++i) rig.Insert("burst");
    EXPECT_LT(VScrollMax(rig.tree), 100);  // no redraw within the gap
    Pump();
    EXPECT_EQ(VScrollMax(rig.tree), 2001);
    clock.Advance(201);
    rig.Insert("later");
    EXPECT_EQ(VScrollMax(rig.tree), 2002);  // the gap has passed: redrawn at once
}
