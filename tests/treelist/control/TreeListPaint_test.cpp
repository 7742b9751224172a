// Painting of the "TreeList" control into a 32-bit memory bitmap, with a unique colour in every entry of the
// colour table: tree lines, buttons, selection colours and boxes, cut texts, owner drawing, grid lines, and
// paint passes during which the parent deletes items.
#include <gtest/gtest.h>

#include "image/FontCache.h"
#include "treelist/control/TreeListTestSupport.h"

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "treelist/control/TreeListSeams.h"
#include "treelist/control/TreeListShared.h"

using namespace tltest;

namespace {

COLORREF Unique(int index) { return RGB(30 + 9 * index, 61 + 5 * index, 17 + 11 * index); }
const COLORREF kBack = Unique(0), kGrid = Unique(3), kInk = Unique(4);

// A control with its own colour table and a canvas of its size.
struct Painted {
    TreeListRig rig;
    Canvas canvas;
    explicit Painted(DWORD style = TVS_HASLINES | TVS_HASBUTTONS, DWORD exStyle = 0, int width = 300, int height = 200,
                     bool ownColours = true)
        : rig(style, width, height), canvas(width, height, kUnpainted) {
        for (int i = 0; i < 18 && ownColours; ++i) rig.Send(TVM_SETBKCOLOR, i, Unique(i));
        if (exStyle) rig.Send(TVM_SETEXTENDEDSTYLE, 0, exStyle);
    }
    void Paint() const { rig.Paint(canvas.dc); }
    // The pixels of a colour in the part of an item's row between two x.
    int InRow(UINT_PTR item, COLORREF colour, int left, int right) const {
        const RECT row = rig.ItemRect(item);
        return canvas.Count(RECT{left, row.top, right, row.bottom}, colour);
    }
};

int CentreY(const RECT& r) { return (r.top + r.bottom) / 2; }

}  // namespace

TEST(TreeListPaint, IndentLinesAndButtons) {
    Painted p;
    const UINT_PTR a = p.rig.Insert("A", 0, TLI_LAST, 0, TVIS_EXPANDED);
    const UINT_PTR b = p.rig.Insert("B", a, TLI_LAST, 0, TVIS_EXPANDED);
    const UINT_PTR c = p.rig.Insert("C", b);
    const UINT_PTR closed = p.rig.Insert("closed", p.rig.Insert("B2", a, TLI_LAST, 0, TVIS_EXPANDED));
    p.rig.Insert("hidden", closed);
    p.Paint();
    const int indent = static_cast<int>(p.rig.Send(TVM_GETINDENT)), s = GetSystemMetrics(SM_CYICON) / 8;
    const COLORREF frame = Unique(6), face = Unique(11), bar = Unique(5);
    const RECT rowC = p.rig.ItemRect(c);
    // A top-level item without lines at root: no indent and no button; its content starts one pixel in.
    EXPECT_EQ(p.InRow(a, frame, 0, indent), 0);
    EXPECT_EQ(p.rig.ItemRect(a, 1).left, 3);
    // Level 1, expanded: a minus whose bar reaches the frame. Level 2, collapsed with a child: one level slot,
    // then a plus in the button slot.
    const int yA = CentreY(p.rig.ItemRect(a)), yB = CentreY(p.rig.ItemRect(b)), x2 = indent + 7;
    const int y2 = CentreY(p.rig.ItemRect(closed));
    const struct { int x, y; COLORREF colour; } pixels[] = {
        {0, yA, kBack},  {7 - s, yB, bar},       {7 + s, yB, bar},  {7, yB - s, frame}, {7, yB - 1, face},
        {7 - s, yB - s, frame}, {x2, y2 - s, bar}, {x2, y2 + s, bar}, {x2 - s, y2, bar}, {x2 - 1, y2 - 1, face}};
    for (const auto& px : pixels) EXPECT_EQ(p.canvas.At(px.x, px.y), px.colour) << px.x << "," << px.y;
    // C's level slot carries the dotted line of B, which has a later sibling; the leaf C has no button.
    int dots = 0;
    for (int y = rowC.top; y < rowC.bottom; ++y) dots += p.canvas.At(7, y) != kBack;
    EXPECT_GT(dots, 2);
    EXPECT_LT(dots, rowC.bottom - rowC.top);
    EXPECT_NE(p.canvas.At(x2, CentreY(rowC) - s), frame);
    EXPECT_EQ(p.rig.ItemRect(c, 1).left, 2 * indent + 2);
}

TEST(TreeListPaint, FullRowSelectionColours) {
    Painted p(TVS_HASLINES, TLX_FULLROWSELECT | TLX_ALTERNATEROWS | TLX_MULTISELECT);
    p.rig.AddColumns({100, 100});
    std::vector<UINT_PTR> items;
    for (int i = 0; i < 4; ++i)
        items.push_back(p.rig.Insert("row", 0, TLI_LAST, 0, i == 1 || i == 2 ? TVIS_SELECTED : 0));
    p.rig.Send(TLM_SETCELLBKCOLOR, items[2] | (255u << 24), RGB(1, 2, 3));
    p.rig.Send(TLM_SETCELLBKCOLOR, items[3] | (1u << 24), RGB(4, 5, 6));
    p.Paint();
    // Even row, selected odd row, selected even row over an own cell colour (also at its left), odd row.
    const struct { int row, x; COLORREF colour; } pixels[] = {
        {0, 150, Unique(2)}, {1, 150, Unique(8)}, {2, 150, Unique(9)}, {2, 1, Unique(9)}, {3, 50, Unique(1)},
        {3, 150, RGB(4, 5, 6)}};
    for (const auto& px : pixels)
        EXPECT_EQ(p.canvas.At(px.x, p.rig.ItemRect(items[px.row]).bottom - 2), px.colour) << px.row << " " << px.x;
}

TEST(TreeListPaint, SelectionBoxFollowsTheFocus) {
    Painted p(TVS_HASLINES);
    const UINT_PTR item = p.rig.Insert("selected text", 0, TLI_LAST, 0, TVIS_SELECTED);
    const RECT text = p.rig.ItemRect(item, 1);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    p.Paint();
    EXPECT_GT(p.canvas.Count(text, GetSysColor(COLOR_BTNFACE)), 10);
    EXPECT_EQ(p.canvas.Count(text, highlight), 0);
    p.rig.Send(WM_SETFOCUS);
    p.Paint();
    EXPECT_GT(p.canvas.Count(text, highlight), 10);
    EXPECT_GT(p.canvas.Count(text, GetSysColor(COLOR_HIGHLIGHTTEXT)), 0);
}

TEST(TreeListPaint, TextsAreCutWithAnEllipsis) {
    Painted p(0);
    p.rig.AddColumns({80, 12, 100});
    const UINT_PTR item = p.rig.Insert("A rather long text that cannot fit into its column");
    p.rig.Send(TLM_SETCELLBKCOLOR, item | (1u << 24), RGB(9, 9, 9));
    p.Paint();
    const int first = p.rig.ItemRect(item, 0x80).right, narrow = p.rig.ItemRect(item, 0x80 | (1 << 24)).right;
    EXPECT_GT(p.InRow(item, kInk, p.rig.ItemRect(item, 0x80).left, first), 20);
    EXPECT_EQ(p.InRow(item, kInk, first, narrow), 0);
    EXPECT_GT(p.InRow(item, kInk, first - 14, first), 0);  // just before the edge: the dots of the ellipsis
}

TEST(TreeListPaint, PaintingIntoADcLeavesTheUpdateRegion) {
    Painted p;
    p.rig.Insert("x");
    UpdateWindow(p.rig.tree);
    InvalidateRect(p.rig.tree, nullptr, FALSE);
    p.Paint();
    RECT update;
    EXPECT_TRUE(GetUpdateRect(p.rig.tree, &update, FALSE));
    EXPECT_EQ(p.canvas.At(299, 199), kBack);  // the empty area below the rows
}

TEST(TreeListPaint, OwnerDrawnCells) {
    Painted p(0);
    p.rig.AddColumns({100, 100});
    LVCOLUMNA mark = {.mask = 0x80000000, .fmt = static_cast<int>(0x80000000)};
    for (WPARAM column : {0, 1}) p.rig.SendWith(TLM_SETCOLUMN, column, &mark);
    auto fill = [](HDC dc, LPARAM context, TreeListDrawInfo* info) -> int {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(context));
        FillRect(dc, info->rect, brush);
        DeleteObject(brush);
        return info->column == 1 ? 1 : 0;
    };
    p.rig.Option(TLO_DRAWCALLBACK,
                 reinterpret_cast<LPARAM>(static_cast<int(CALLBACK*)(HDC, LPARAM, TreeListDrawInfo*)>(fill)));
    p.rig.Option(TLO_DRAWCONTEXT, RGB(7, 77, 177));
    const UINT_PTR item = p.rig.Insert("drawn as usual");
    TreeListCellColour text = {0, 1, {0, 0}, RGB(250, 1, 1)};
    p.rig.SendWith(TLM_SETCELLCOLOR, item, &text);
    p.Paint();
    // Column 1: only the call-back's fill; column 0: the call-back answered 0, the text is drawn over it.
    const RECT row = p.rig.ItemRect(item);
    EXPECT_EQ(p.InRow(item, RGB(7, 77, 177), 101, 199), 98 * (row.bottom - row.top));
    EXPECT_GT(p.InRow(item, kInk, 0, 100), 10);
}

TEST(TreeListPaint, GridLinesAndPinnedRowsPastTheEnd) {
    Painted p(0, TLX_GRIDLINES);
    p.rig.AddColumns({100, 100});
    const RECT row = p.rig.ItemRect(p.rig.Insert("x"));
    p.rig.Insert("y");
    p.rig.Option(TLO_PINNEDROWS, 10);
    p.Paint();
    EXPECT_EQ(p.canvas.At(150, row.bottom - 1), kGrid);
    EXPECT_EQ(p.canvas.At(99, row.top + 2), kGrid);  // the left edge of column 1
    EXPECT_EQ(p.canvas.At(150, 190), kBack);
}

TEST(TreeListPaint, ParentDeletesTheItemDuringAPaint) {
    Painted p;
    UINT_PTR victim = p.rig.Insert(LPSTR_TEXTCALLBACKA);
    const UINT_PTR after = p.rig.Insert("after");
    p.rig.answer = [&](NMHDR* h) -> LRESULT {
        if (h->code == TVN_GETDISPINFOA && victim) p.rig.Delete(std::exchange(victim, 0));
        return 0;
    };
    UpdateWindow(p.rig.tree);
    p.Paint();
    EXPECT_EQ(victim, 0u);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(p.rig.tree, &update, FALSE));  // the rest is painted again later
    Canvas second(300, 200, kUnpainted);
    p.rig.Paint(second.dc);
    EXPECT_GT(second.Count(p.rig.ItemRect(after), kInk), 5);
    p.rig.answer = nullptr;
}

TEST(TreeListPaint, CheckBoxesShowTheirState) {
    Painted p(TVS_CHECKBOXES);
    const UINT_PTR clear = p.rig.Insert("clear");
    const RECT a = p.rig.ItemRect(clear),
               b = p.rig.ItemRect(p.rig.Insert("set", 0, TLI_LAST, 0, INDEXTOSTATEIMAGEMASK(2)));
    p.Paint();
    int differ = 0;
    for (int y = 0; y < a.bottom - a.top; ++y)
        for (int x = 0; x < 16; ++x) differ += p.canvas.At(x, a.top + y) != p.canvas.At(x, b.top + y);
    EXPECT_GT(differ, 4);
    EXPECT_GE(p.rig.ItemRect(clear, 1).left, 16);
}

namespace {

// For two colours: the first and last x of their pixels along the middle of an item's row (from x on), and
// of the points where the hit test reports a flag of each.
struct RowScan {
    int ink[2][2] = {{-1, -1}, {-1, -1}}, hits[2][2] = {{-1, -1}, {-1, -1}};
};
RowScan ScanRow(const Painted& p, UINT_PTR item, const COLORREF ink[2], const UINT flags[2], int x = 0,
                UINT flagMask = 0xFFFFFFFF) {
    RowScan scan;
    auto add = [](int* span, int x) {
        if (span[0] < 0) span[0] = x;
        span[1] = x;
    };
    TVHITTESTINFO hit = {};
    hit.pt.y = CentreY(p.rig.ItemRect(item));
    for (hit.pt.x = x; hit.pt.x < p.canvas.width; ++hit.pt.x) {
        p.rig.SendWith(TVM_HITTEST, 0, &hit);
        for (int k = 0; k < 2; ++k) {
            if (p.canvas.At(hit.pt.x, hit.pt.y) == ink[k]) add(scan.ink[k], hit.pt.x);
            if ((hit.flags & flagMask) == flags[k]) add(scan.hits[k], hit.pt.x);
        }
    }
    return scan;
}

}  // namespace

TEST(TreeListPaint, TreeColumnMatchesTheHitTest) {
    // A state image and an item image, each drawn where the hit test finds it: one pixel after the indent
    // stays free with grid lines and for a top-level item without lines at root.
    const COLORREF ink[2] = {RGB(250, 0, 0), RGB(0, 0, 250)};
    const UINT flags[2] = {TVHT_ONITEMSTATEICON, TVHT_ONITEMICON};
    HIMAGELIST state = SolidImages(ink[0], 3), images = SolidImages(ink[1], 2);
    const struct { DWORD style, exStyle; int level; } layouts[] = {
        {TVS_HASLINES | TVS_HASBUTTONS, 0, 0}, {TVS_HASLINES | TVS_HASBUTTONS, TLX_GRIDLINES, 1},
        {TVS_HASLINES | TVS_LINESATROOT, TLX_GRIDLINES, 0}, {0, 0, 2}};
    for (const auto& l : layouts) {
        SCOPED_TRACE(testing::Message() << "style " << l.style << " ex " << l.exStyle << " level " << l.level);
        Painted p(l.style, l.exStyle);
        p.rig.Send(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(state));
        p.rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
        UINT_PTR item = 0;
        for (int level = 0; level <= l.level; ++level)
            item = p.rig.Insert("text", item, TLI_LAST, 0, TVIS_EXPANDED | INDEXTOSTATEIMAGEMASK(1));
        p.Paint();
        const RowScan s = ScanRow(p, item, ink, flags);
        EXPECT_EQ(s.ink[0][1] - s.ink[0][0], 15);
        EXPECT_EQ(s.ink[1][1] - s.ink[1][0], 15);
        EXPECT_GE(s.ink[0][0], s.hits[0][0]);  // the state image ends where its hits end
        EXPECT_EQ(s.ink[0][1], s.hits[0][1]);
        EXPECT_EQ(s.ink[1][0], s.hits[1][0]);  // the item image starts where its hits start
        EXPECT_LE(s.ink[1][1], s.hits[1][1]);
        EXPECT_GT(p.rig.ItemRect(item, 1).left, s.ink[1][1]);
    }
    ImageList_Destroy(state);
    ImageList_Destroy(images);
}

TEST(TreeListPaint, CellImagesMatchTheHitTest) {
    // A cell image without a cell list comes from the item list; a check box with state bit 0x80 sits at the
    // cell's right edge; painting and hit test agree to the pixel the image is set in by. A collapsed (empty)
    // column draws nothing, not even beside it.
    const COLORREF ink[2] = {RGB(0, 0, 250), RGB(250, 0, 0)};
    const UINT flags[2] = {TLHT_ONCELLIMAGE | 1u << 24, TLHT_ONCELLIMAGE | 2u << 24};
    HIMAGELIST images = SolidImages(ink[0], 1), checks = SolidImages(ink[1], 3);
    Painted p(0, TLX_GRIDLINES);
    p.rig.AddColumns({100, 80, 80, 0});
    p.rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    p.rig.Send(TLM_SETCOLUMNEDIT, TreeListColumnEdit(2, TLEM_CHECK, 0));
    p.rig.Send(TVM_SETIMAGELIST, 3, reinterpret_cast<LPARAM>(checks));
    const UINT_PTR item = p.rig.Insert("x");
    for (int column : {1, 3}) p.rig.Set(item, {.mask = TVIF_IMAGE, .stateMask = 0xF080}, column);
    p.rig.Set(item, {.mask = TVIF_STATE, .state = 0x80 | INDEXTOSTATEIMAGEMASK(1), .stateMask = 0xF080}, 2);
    p.Paint();
    const RowScan s = ScanRow(p, item, ink, flags, 100, 0xFF000000 | TLHT_ONCELLIMAGE);
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(s.ink[k][1] - s.ink[k][0], 15);
        EXPECT_NEAR(s.ink[k][0], s.hits[k][0], 1);
        EXPECT_NEAR(s.ink[k][1], s.hits[k][1], 1);
    }
    EXPECT_EQ(p.InRow(item, ink[0], 259, 300), 0);
    EXPECT_EQ(p.InRow(item, kGrid, 260, 300), 0);
    ImageList_Destroy(images);
    ImageList_Destroy(checks);
}

TEST(TreeListPaint, ACutHighlightedTextKeepsAtMost253Characters) {
    Painted p(0, 0, 1000, 100);
    p.rig.AddColumns({980});
    const std::string text(1000, 'i');
    const UINT_PTR item = p.rig.Insert(text.c_str(), 0, TLI_LAST, 0, TVIS_SELECTED);
    p.Paint();
    SIZE some = {};
    HGDIOBJ old = SelectObject(p.canvas.dc, GetUiFont(0));
    GetTextExtentPoint32A(p.canvas.dc, text.c_str(), 260, &some);
    SelectObject(p.canvas.dc, old);
    ASSERT_LT(some.cx, 900);  // more than 253 characters would fit
    // Each "i" is a run of ink on every pixel row it covers; the dots of "..." add runs only on their own
    // rows, so the fewest runs on an inked row count the characters kept.
    const RECT row = p.rig.ItemRect(item);
    int fewest = INT_MAX;
    for (int y = row.top; y < row.bottom; ++y) {
        int runs = 0;
        for (int x = 1; x < 1000; ++x) runs += p.canvas.At(x, y) == kInk && p.canvas.At(x - 1, y) != kInk;
        if (runs) fewest = std::min(fewest, runs);
    }
    EXPECT_EQ(fewest, 253);
}

namespace {

// 16 x 16 images of shades of a tint, each with a transparent corner (mask) and a half-transparent band.
struct MaskedImages {
    HBITMAP colour = nullptr, mask = nullptr;
    MaskedImages(int count, int tint) {
        BITMAPINFO bi = {};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16 * count, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* p = nullptr;
        colour = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        std::vector<BYTE> maskBits(static_cast<size_t>(2 * count) * 16, 0);  // rows of 16 * count bits, words
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16 * count; ++x) {
                const DWORD alpha = y >= 6 && y < 9 ? 0x80u : 0xFFu;
                static_cast<DWORD*>(p)[y * 16 * count + x] = alpha << 24 | RGB(x * 5 + tint, y * 13, 200 - tint);
                if (x % 16 < 4 && y < 4) maskBits[static_cast<size_t>(y) * 2 * count + x / 8] |= 0x80 >> (x % 8);
            }
        mask = CreateBitmap(16 * count, 16, 1, 1, maskBits.data());
    }
    ~MaskedImages() {
        DeleteObject(colour);
        DeleteObject(mask);
    }
};

// The canvas's pixels after a paint pass, with repeated item images copied or each drawn.
std::vector<DWORD> PaintedPixels(const Painted& p, bool copies, const std::function<void()>& before) {
    const bool was = SetTreeListPaintCopies(copies);
    memset(p.canvas.bits, 0x11, static_cast<size_t>(p.canvas.width) * p.canvas.height * 4);
    before();
    p.Paint();
    SetTreeListPaintCopies(was);
    return std::vector<DWORD>(p.canvas.bits, p.canvas.bits + p.canvas.width * p.canvas.height);
}

}  // namespace

// Repeated item images are drawn once per paint pass and copied: the pixels are those of drawing each one, for
// masked and half-transparent images, selected, cut, overlaid and open items, alternating row colours, and
// an image the parent replaces while it answers a call-back during the pass.
TEST(TreeListPaint, CopiedItemImagesMatchDrawingEachOne) {
    MaskedImages original(3, 0), replacement(1, 90);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
    ImageList_Add(images, original.colour, original.mask);
    ImageList_SetOverlayImage(images, 2, 1);
    for (DWORD exStyle : {0ul, static_cast<DWORD>(TLX_ALTERNATEROWS | TLX_GRIDLINES)}) {
        Painted p(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, exStyle, 300, 400);
        p.rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
        UINT_PTR parent = 0;
        for (int i = 0; i < 16; ++i) {
            const UINT state = (i == 3 ? TVIS_SELECTED : 0u) | (i % 5 == 1 ? TVIS_CUT : 0u) |
                               (i == 6 ? INDEXTOOVERLAYMASK(1) : 0u) | (i == 0 || i == 8 ? TVIS_EXPANDED : 0u);
            TreeListInsertRecord r = {Handle(i == 1 || i == 9 ? parent : 0), TVI_LAST,
                                      {.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE,
                                       .state = state, .stateMask = 0xFFFF, .pszText = const_cast<char*>("row"),
                                       .iImage = i == 10 ? I_IMAGECALLBACK : i % 2, .iSelectedImage = 2}, 0};
            const auto item = static_cast<UINT_PTR>(p.rig.SendWith(TVM_INSERTITEMA, 0, &r));
            if (i == 0 || i == 8) parent = item;
        }
        p.rig.answer = [&](NMHDR* h) -> LRESULT {
            if (h->code != static_cast<UINT>(TVN_GETDISPINFOA)) return 0;
            reinterpret_cast<NMTVDISPINFOA*>(h)->item.iImage = 0;
            ImageList_Replace(images, 0, replacement.colour, replacement.mask);
            return 0;
        };
        auto restore = [&] { ImageList_Replace(images, 0, original.colour, original.mask); };
        // Both passes start from the original image 0; rows after the call-back show the replacement.
        const std::vector<DWORD> copied = PaintedPixels(p, true, restore), drawn = PaintedPixels(p, false, restore);
        int differing = 0;
        for (size_t i = 0; i < copied.size(); ++i) differing += copied[i] != drawn[i];
        EXPECT_EQ(differing, 0) << exStyle;
        EXPECT_EQ(p.rig.CountOf(TVN_GETDISPINFOA), 2);
    }
    ImageList_Destroy(images);
}

// Themed buttons are drawn once per paint pass and copied: the pixels are those of drawing each one, for odd and
// even row tops, open and closed items, items with and without a later sibling, and indent row colours.
TEST(TreeListPaint, CopiedThemedButtonsMatchDrawingEachOne) {
    for (int height : {17, 18})
        for (DWORD exStyle : {0ul, static_cast<DWORD>(TLX_ALTERNATEROWS | TLX_INDENTROWCOLOUR)}) {
            Painted p(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_NONEVENHEIGHT, exStyle, 300, 600, false);
            const HTHEME theme = GetTreeListShared().OpenThemeData(p.rig.tree, L"TREEVIEW");
            if (!theme) GTEST_SKIP() << "no theme to draw buttons with";
            GetTreeListShared().CloseThemeData(theme);
            p.rig.Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(height));
            for (int i = 0; i < 6; ++i) {
                const UINT_PTR top = p.rig.Insert("top", 0, TLI_LAST, 0, i % 2 ? TVIS_EXPANDED : 0u);
                for (int k = 0; k < 3; ++k) p.rig.Insert("leaf", p.rig.Insert("inner", top), TLI_LAST);
            }
            const std::vector<DWORD> copied = PaintedPixels(p, true, [] {}), drawn = PaintedPixels(p, false, [] {});
            int differing = 0;
            for (size_t i = 0; i < copied.size(); ++i) differing += copied[i] != drawn[i];
            EXPECT_EQ(differing, 0) << height << " " << exStyle;
        }
}

// The owner-draw record: the item's TVIS_* bits and its flag byte, span bits left out; no text pointer for a
// cell without a record.
TEST(TreeListPaint, OwnerDrawRecordHasTheLowStateAndNoTextForAMissingCell) {
    Painted p(0);
    p.rig.AddColumns({100, 100, 90});
    LVCOLUMNA mark = {.mask = 0x80000000, .fmt = static_cast<int>(0x80000000)};
    for (WPARAM column : {0, 1, 2}) p.rig.SendWith(TLM_SETCOLUMN, column, &mark);
    static std::vector<std::pair<UINT, const char*>> seen;
    seen.clear();
    auto record = [](HDC, LPARAM, TreeListDrawInfo* info) -> int {
        seen.emplace_back(info->state, info->text);
        return 1;
    };
    p.rig.Option(TLO_DRAWCALLBACK,
                 reinterpret_cast<LPARAM>(static_cast<int(CALLBACK*)(HDC, LPARAM, TreeListDrawInfo*)>(record)));
    const UINT_PTR item = p.rig.Insert("x");
    p.rig.Set(item, {.mask = TVIF_STATE, .state = 0x580000, .stateMask = 0x580000});  // span bits 19, 20, 22
    p.rig.Set(item, {.mask = TVIF_TEXT | TVIF_STATE, .state = 0x580000, .stateMask = 0x580000,
                     .pszText = const_cast<char*>("cell")}, 1);
    p.Paint();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].first, 0x10000u);  // flag byte B: the children count follows the children
    EXPECT_EQ(seen[1].first, 0u);
    EXPECT_STREQ(seen[1].second, "cell");
    EXPECT_EQ(seen[2].second, nullptr);
}

TEST(TreeListPaint, CheckBoxColumnsDrawBoxesWithoutAGivenList) {
    Painted p(0);
    p.rig.AddColumns({100, 80});
    p.rig.Send(TLM_SETCOLUMNEDIT, TreeListColumnEdit(1, TLEM_CHECK, 0));
    const UINT_PTR item = p.rig.Insert("x");
    p.rig.Set(item, {.mask = TVIF_STATE, .state = INDEXTOSTATEIMAGEMASK(2), .stateMask = 0xF000}, 1);
    p.Paint();
    const RECT row = p.rig.ItemRect(item);
    EXPECT_GT(16 * (row.bottom - row.top) - p.InRow(item, kBack, 101, 117), 20);
}
