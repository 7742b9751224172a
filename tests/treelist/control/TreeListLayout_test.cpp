// Fonts, rows and scroll bars of the "TreeList" control: row heights from the font's own metrics, display rows,
// joined cells, cell visibility, drag images, check-box lists and the throttled vertical scroll bar.
#include <gtest/gtest.h>

#include "image/FontCache.h"
#include "treelist/control/TreeListTestSupport.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

using namespace tltest;

TEST(TreeListLayout, RowHeightFollowsTheFontAndTheImages) {
    int th = 0;
    GetUiFontMetrics(nullptr, &th, 0);
    ASSERT_GT(th, 0);
    const struct { DWORD style, exStyle; int image; int expected; } cases[] = {
        {0, 0, 0, std::max(9, th + 3)},
        {0, TLX_GRIDLINES, 0, std::max(10, th + 3) + 1},
        {0, TLX_ALTERNATEROWS, 0, std::max(10, th + 3)},
        {0, 0, 24, std::max(25, th + 3)},
        {0x4000, 0, 24, (std::max(25, th + 3) + 1) & ~1},
        {0x4000, 0, 25, (std::max(26, th + 3) + 1) & ~1},
    };
    for (const auto& c : cases) {
        TreeListRig rig(c.style);
        if (c.exStyle) rig.Ex(c.exStyle);
        if (c.image) rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(SolidImages(0, 1, c.image)));
        EXPECT_EQ(rig.RowHeight(), c.expected) << c.style << " " << c.exStyle << " " << c.image;
        if (auto list = reinterpret_cast<HIMAGELIST>(rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, 0)))
            ImageList_Destroy(list);
    }
}

TEST(TreeListLayout, ItemHeightNeverBelowOne) {
    TreeListRig rig(0, 200, 120);
    const int derived = rig.RowHeight();
    for (int h : {0, -7}) {
        rig.Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(h));
        EXPECT_EQ(rig.RowHeight(), 1);
        EXPECT_EQ(rig.Send(TVM_GETVISIBLECOUNT), 120);
    }
    for (int i = 0; i < 200; ++i) rig.Insert("row");
    rig.Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1));
    EXPECT_EQ(rig.RowHeight(), derived);
    // A font of twice the height: the rows keep their height until asked to follow it.
    LOGFONTA lf = {};
    GetObjectA(GetUiFont(0), sizeof lf, &lf);
    lf.lfHeight *= 2;
    HFONT big = CreateFontIndirectA(&lf);
    rig.Send(WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    EXPECT_EQ(rig.RowHeight(), derived);
    rig.Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(-1));
    EXPECT_GT(rig.RowHeight(), derived + 4);
    EXPECT_EQ(rig.Send(WM_GETFONT), reinterpret_cast<LRESULT>(big));
    DestroyWindow(rig.tree);
    DeleteObject(big);
}

// New rows widen the tree column to the exact width of their widest text, laid out at once or left for later,
// in either font, and with characters whose widths do not simply add up (tabs, control characters, the
// code page's 0x80-0x9F range).
TEST(TreeListLayout, AutoWidenFitsTheWidestTextExactly) {
    auto measure = [](HFONT font, const char* text) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        RECT r = {0, 0, 0, 0};
        DrawTextExA(dc, const_cast<char*>(text), static_cast<int>(strlen(text)), &r,
                    DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER, nullptr);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return r.right - r.left;
    };
    const struct { std::vector<const char*> texts; UINT state; } cases[] = {
        {{"iiii", "Ordner 0001", "WWW", "m"}, 0},
        {{"Größe & Maß", "Übersicht", "ÿÀé"}, 0},
        {{"Preis \x80 \x85 \x99", "Preis E . T"}, 0},
        {{"Tab\there", "A\x01" "B", "Tab here"}, 0},
        {{"fett gedruckt", "Ordner 0001", "Größe"}, TVIS_BOLD},
    };
    for (const auto& c : cases)
        for (UINT mask : {0u, static_cast<UINT>(TLIF_NOCALLBACK)}) {
            const HFONT font = (c.state & TVIS_BOLD) && GetUiFont(1) ? GetUiFont(1) : GetUiFont(0);
            std::vector<const char*> texts = c.texts;
            // Widest first: a later text only a pixel or two wider leaves the column as it is.
            std::sort(texts.begin(), texts.end(),
                      [&](const char* x, const char* y) { return measure(font, x) > measure(font, y); });
            TreeListRig rig;
            rig.AddColumns({10});
            rig.Send(TLM_OPTION, kTreeListSetOption | TLO_AUTOWIDEN, 1);
            for (const char* text : texts) rig.Insert(text, 0, 0xFFFF0002, mask, c.state);
            PumpQueued();
            EXPECT_EQ(rig.Send(TLM_GETCOLUMNWIDTH, 0), measure(font, texts[0]) + rig.Send(TVM_GETINDENT) + 7)
                << texts[0] << " " << mask;
        }
}

TEST(TreeListLayout, DisplayRowsFollowExpansion) {
    TreeListRig rig;
    EXPECT_EQ(rig.Send(TLM_GETROWCOUNT), 0);
    const UINT_PTR closed = rig.Insert("closed"), hidden = rig.Insert("hidden", closed);
    const UINT_PTR open = rig.Insert("open", 0, TLI_LAST, 0, TVIS_EXPANDED), shown = rig.Insert("shown", open);
    const UINT_PTR last = rig.Insert("last");
    EXPECT_EQ((std::vector<int>{rig.Row(hidden), rig.Row(open), rig.Row(shown), rig.Row(last)}),
              (std::vector<int>{-1, 1, 2, 3}));
    EXPECT_EQ(rig.RowTexts(), (Texts{"closed", "open", "shown", "last"}));
    for (int row = 0; row < 4; ++row) EXPECT_EQ(rig.Row(rig.RowItem(row)), row);
    EXPECT_EQ(rig.RowItem(4), 0u);
    EXPECT_EQ((std::vector<UINT_PTR>{rig.Next(open, TVGN_NEXTVISIBLE), rig.Next(last, TVGN_PREVIOUSVISIBLE),
                                     rig.Next(0, TVGN_LASTVISIBLE), rig.Next(0, TVGN_FIRSTVISIBLE)}),
              (std::vector<UINT_PTR>{shown, shown, last, closed}));
    // A child inserted under a shown, expanded parent takes its row at once; one under a closed parent not.
    const UINT_PTR second = rig.Insert("second", open);
    EXPECT_EQ(std::pair(rig.Row(second), rig.Row(last)), std::pair(3, 4));
    rig.Insert("more hidden", closed, reinterpret_cast<UINT_PTR>(TVI_FIRST));
    EXPECT_EQ(rig.Send(TLM_GETROWCOUNT), 5);
    rig.Delete(open);
    EXPECT_EQ(std::pair(rig.Row(last), rig.Send(TLM_GETROWCOUNT)), std::pair(1, LRESULT(2)));
}

TEST(TreeListLayout, OnlyTheFirstSixteenColumnsJoin) {
    TreeListRig rig(0, 400, 100);
    rig.AddColumns({10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10});
    const UINT_PTR item = rig.Insert("spanning", 0, TLI_LAST, 0, 0xFFFF0000);
    EXPECT_EQ(rig.ItemRect(item, 0x80).right, 9);  // no joins asked for yet; the first column is a pixel short
    rig.Option(TLO_JOINCOLUMNS, 0xFFFF);
    // Columns of 10 pixels, the first one a pixel short: column 16 ends at 169; a column past the last asks
    // for column 0.
    const struct { int column, left, right; } cells[] = {
        {0, 0, 169}, {16, -1, 169}, {17, 169, 179}, {40, 0, 169}};  // -1: not checked
    for (const auto& c : cells) {
        const RECT r = rig.ItemRect(item, 0x80 | (c.column << 24));
        EXPECT_EQ(std::pair(c.left < 0 ? -1 : r.left, r.right), std::pair(LONG(c.left), LONG(c.right))) << c.column;
    }
}

TEST(TreeListLayout, CellVisibilityClasses) {
    TreeListRig rig(0, 250, 200);
    rig.AddColumns({100, 100, 100});
    std::vector<UINT_PTR> items;
    for (int i = 0; i < 60; ++i) items.push_back(rig.Insert("row"));
    const UINT_PTR child = rig.Insert("child", items[0]);
    const UINT whole = static_cast<UINT>(rig.Send(TVM_GETVISIBLECOUNT));
    ASSERT_GT(whole, 2u);
    auto visibility = [&](UINT_PTR item, int column) { return rig.Send(TLM_CELLVISIBILITY, item, column); };
    // Whole, cut on the right (200..300 in a client narrower than that), past the last column (the row only),
    // hidden, below the client area, bad.
    EXPECT_EQ((std::vector<LRESULT>{visibility(items[0], 0), visibility(items[0], 2), visibility(items[0], 9),
                                    visibility(child, 0), visibility(items[59], 0), visibility(999, 0)}),
              (std::vector<LRESULT>{4, 3, 4, 0, 1, -1}));
    if (static_cast<UINT>(rig.Send(TLM_GETROWSTOUCHED)) > whole) {
        EXPECT_EQ(visibility(items[whole], 0), 2);
    }
    // The rectangle of a row below the client area only on request.
    EXPECT_EQ(rig.ItemRect(items[59]).bottom, 0);
    const RECT below = rig.ItemRect(items[59], 0x100);
    EXPECT_EQ(below.bottom - below.top, rig.RowHeight());
    EXPECT_GT(below.top, 200);
}

TEST(TreeListLayout, DragImagesAreLimited) {
    TreeListRig rig(0, 300, 100);
    const UINT_PTR wide = rig.Insert(std::string(200, 'W').c_str()), empty = rig.Insert("");
    auto size = [&](UINT_PTR item) {
        std::pair<int, int> s = {-1, -1};
        if (auto drag = reinterpret_cast<HIMAGELIST>(rig.Send(TVM_CREATEDRAGIMAGE, 0, static_cast<LPARAM>(item)))) {
            ImageList_GetIconSize(drag, &s.first, &s.second);
            ImageList_Destroy(drag);
        }
        return s;
    };
    EXPECT_EQ(size(wide).first, 240);
    EXPECT_GE(size(empty).first, 1);
    HIMAGELIST icons = SolidImages(0, 1, 40);
    rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(icons));
    EXPECT_EQ(size(empty), std::pair(42, 32));
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
        int cx = 0, cy = 0;
        ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(list), &cx, &cy);
        EXPECT_EQ(std::tuple(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(list)), cx, cy),
                  std::tuple(3, 16, 16));
    }
    EXPECT_GE(rig.RowHeight(), 17);
    rig.Send(WM_SYSCOLORCHANGE);
    EXPECT_NE(rig.Send(TVM_GETIMAGELIST, TVSIL_STATE), 1);
    // Replacing it hands back no handle of the control's own list.
    EXPECT_EQ(rig.Send(TVM_SETIMAGELIST, TVSIL_STATE, 0), 0);
}

TEST(TreeListLayout, BurstOfInsertsRedrawsTheScrollBarLater) {
    FakeClock clock;
    TreeListRig rig(TVS_HASLINES, 200, 100);
    rig.Insert("first");
    PumpQueued();
    for (int i = 0; i < 2000; ++i) rig.Insert("burst");
    // The range is set at once; the bar's redraw waits on the window's thread.
    EXPECT_EQ(VScrollMax(rig.tree), 2001);
    MSG waiting;
    EXPECT_TRUE(PeekMessageA(&waiting, rig.tree, TLM_DEFERRED, TLM_DEFERRED, PM_NOREMOVE));
    PumpQueued();
    EXPECT_EQ(VScrollMax(rig.tree), 2001);
    // Working off the queue within the gap leaves the redraw to one timer, which fires once.
    MSG timer;
    Sleep(250);
    EXPECT_TRUE(PeekMessageA(&timer, rig.tree, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    PumpQueued();
    Sleep(250);
    EXPECT_FALSE(PeekMessageA(&timer, rig.tree, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    clock.Advance(201);
    rig.Insert("later");
    EXPECT_EQ(VScrollMax(rig.tree), 2002);  // the gap has passed: redrawn at once
}

TEST(TreeListLayout, DragImageKeepsAnOwnTextBesideACallBackImage) {
    TreeListRig rig(0, 300, 100);
    const UINT_PTR item = rig.Insert("Own text");
    rig.Set(item, {.mask = TVIF_IMAGE, .iImage = I_IMAGECALLBACK});
    rig.Clear();
    auto drag = reinterpret_cast<HIMAGELIST>(rig.Send(TVM_CREATEDRAGIMAGE, 0, static_cast<LPARAM>(item)));
    ASSERT_TRUE(drag);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(drag, &cx, &cy);
    ImageList_Destroy(drag);
    EXPECT_GT(cx, 20);  // the width of "Own text", not of an empty answer
    ASSERT_EQ(rig.CountOf(TVN_GETDISPINFOA), 1);
    EXPECT_EQ(rig.Last(TVN_GETDISPINFOA)->disp.item.mask & (TVIF_TEXT | TVIF_IMAGE), UINT(TVIF_IMAGE));
}

TEST(TreeListLayout, OddItemHeightsAreRoundedDownUnlessTheStyleAllowsThem) {
    for (auto [style, height, expected] : {std::tuple(0ul, 9, 8), {0ul, 3, 2}, {0ul, 1, 1}, {0ul, 18, 18},
                                           {static_cast<DWORD>(TVS_NONEVENHEIGHT), 9, 9}}) {
        TreeListRig rig(style, 200, 100);
        rig.Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(height));
        EXPECT_EQ(rig.RowHeight(), expected) << style << " " << height;
    }
}
