// Painting of the "TreeList" control into a 32-bit memory bitmap, with a unique colour in every entry of the
// colour table: tree lines, buttons, selection colours and boxes, cut texts, owner drawing, grid lines, and
// paint passes during which the parent deletes items.
#include <gtest/gtest.h>

#include "image/FontCache.h"
#include "treelist/control/TreeListTestSupport.h"

#include <algorithm>
#include <climits>
#include <string>

using namespace tltest;

namespace {

COLORREF Unique(int index) { return RGB(30 + 9 * index, 61 + 5 * index, 17 + 11 * index); }

struct Painted {
    TreeListRig rig;
    explicit Painted(DWORD style = TVS_HASLINES | TVS_HASBUTTONS, DWORD exStyle = 0, int width = 300, int height = 200)
        : rig(style, width, height) {
        for (int i = 0; i < 18; ++i) rig.Send(TVM_SETBKCOLOR, i, Unique(i));
        if (exStyle) rig.Send(TVM_SETEXTENDEDSTYLE, 0, exStyle);
    }
    void Paint(Canvas& canvas) const { rig.Send(WM_PAINT, reinterpret_cast<WPARAM>(canvas.dc)); }
    int RowHeight() const { return static_cast<int>(rig.Send(TVM_GETITEMHEIGHT)); }
    int Indent() const { return static_cast<int>(rig.Send(TVM_GETINDENT)); }
    void AddColumns(std::initializer_list<int> widths) {
        for (int w : widths) {
            LVCOLUMNA c = {};
            c.mask = LVCF_WIDTH;
            c.cx = w;
            rig.Send(TLM_INSERTCOLUMN, 99, reinterpret_cast<LPARAM>(&c));
        }
    }
};

int CentreY(const RECT& r) { return (r.top + r.bottom) / 2; }

}  // namespace

TEST(TreeListPaint, IndentLinesAndButtons) {
    Painted p;
    const UINT_PTR a = p.rig.Insert("A", 0, TLI_LAST, 0, TVIS_EXPANDED);
    const UINT_PTR b = p.rig.Insert("B", a, TLI_LAST, 0, TVIS_EXPANDED);
    const UINT_PTR c = p.rig.Insert("C", b);
    const UINT_PTR b2 = p.rig.Insert("B2", a, TLI_LAST, 0, TVIS_EXPANDED);
    const UINT_PTR closed = p.rig.Insert("closed", b2);
    p.rig.Insert("hidden", closed);
    Canvas canvas(300, 200);
    p.Paint(canvas);
    const int indent = p.Indent(), s = GetSystemMetrics(SM_CYICON) / 8;
    const COLORREF frame = Unique(6), face = Unique(11), bar = Unique(5), back = Unique(0);
    const RECT rowA = p.rig.ItemRect(a), rowB = p.rig.ItemRect(b), rowC = p.rig.ItemRect(c);
    const RECT rowClosed = p.rig.ItemRect(closed);
    // A top-level item without lines at root: no indent and no button; its content starts one pixel in.
    EXPECT_EQ(canvas.CountInRect(frame, RECT{0, rowA.top, indent, rowA.bottom}), 0);
    EXPECT_EQ(canvas.At(0, CentreY(rowA)), back);
    EXPECT_EQ(p.rig.ItemRect(a, 1).left, 3);
    // Level 1, expanded: a minus whose bar reaches the frame.
    const int cx = 7, cyB = rowB.top + (rowB.bottom - rowB.top) / 2;
    EXPECT_EQ(canvas.At(cx - s, cyB), bar);
    EXPECT_EQ(canvas.At(cx + s, cyB), bar);
    EXPECT_EQ(canvas.At(cx, cyB - s), frame);
    EXPECT_EQ(canvas.At(cx, cyB - 1), face);
    EXPECT_EQ(canvas.At(cx - s, cyB - s), frame);
    // Level 2, collapsed with a child: one level slot, then a plus in the button slot.
    const int cxClosed = indent + 7, cyClosed = rowClosed.top + (rowClosed.bottom - rowClosed.top) / 2;
    EXPECT_EQ(canvas.At(cxClosed, cyClosed - s), bar);
    EXPECT_EQ(canvas.At(cxClosed, cyClosed + s), bar);
    EXPECT_EQ(canvas.At(cxClosed - s, cyClosed), bar);
    EXPECT_EQ(canvas.At(cxClosed - 1, cyClosed - 1), face);
    // C's level slot carries the dotted line of B, which has a later sibling; the leaf C has no button.
    int dots = 0;
    for (int y = rowC.top; y < rowC.bottom; ++y) dots += canvas.At(7, y) != back;
    EXPECT_GT(dots, 2);
    EXPECT_LT(dots, rowC.bottom - rowC.top);
    EXPECT_NE(canvas.At(indent + 7, rowC.top + (rowC.bottom - rowC.top) / 2 - s), frame);
    EXPECT_EQ(p.rig.ItemRect(c, 1).left, 2 * indent + 2);
}

TEST(TreeListPaint, FullRowSelectionColours) {
    Painted p(TVS_HASLINES, TLX_FULLROWSELECT | TLX_ALTERNATEROWS | TLX_MULTISELECT);
    p.AddColumns({100, 100});
    std::vector<UINT_PTR> items;
    for (int i = 0; i < 4; ++i) items.push_back(p.rig.Insert("row", 0, TLI_LAST, 0, i == 1 || i == 2 ? TVIS_SELECTED : 0));
    p.rig.Send(TLM_SETCELLBKCOLOR, items[2] | (255u << 24), RGB(1, 2, 3));
    p.rig.Send(TLM_SETCELLBKCOLOR, items[3] | (1u << 24), RGB(4, 5, 6));
    Canvas canvas(300, 200);
    p.Paint(canvas);
    auto at = [&](int row, int x) {
        const RECT r = p.rig.ItemRect(items[row]);
        return canvas.At(x, r.bottom - 2);
    };
    EXPECT_EQ(at(0, 150), Unique(2));   // even row
    EXPECT_EQ(at(1, 150), Unique(8));   // selected odd row
    EXPECT_EQ(at(2, 150), Unique(9));   // selected even row, over an own cell colour
    EXPECT_EQ(at(2, 1), Unique(9));
    EXPECT_EQ(at(3, 50), Unique(1));    // odd row
    EXPECT_EQ(at(3, 150), RGB(4, 5, 6));
}

TEST(TreeListPaint, SelectionBoxFollowsTheFocus) {
    Painted p(TVS_HASLINES);
    const UINT_PTR item = p.rig.Insert("selected text", 0, TLI_LAST, 0, TVIS_SELECTED);
    const RECT text = p.rig.ItemRect(item, 1);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), face = GetSysColor(COLOR_BTNFACE);
    Canvas unfocused(300, 200);
    p.Paint(unfocused);
    EXPECT_GT(unfocused.CountInRect(face, text), 10);
    EXPECT_EQ(unfocused.CountInRect(highlight, text), 0);
    p.rig.Send(WM_SETFOCUS);
    Canvas focused(300, 200);
    p.Paint(focused);
    EXPECT_GT(focused.CountInRect(highlight, text), 10);
    EXPECT_GT(focused.CountInRect(GetSysColor(COLOR_HIGHLIGHTTEXT), text), 0);
}

TEST(TreeListPaint, TextsAreCutWithAnEllipsis) {
    Painted p(0);
    p.AddColumns({80, 12, 100});
    const std::string long_text = "A rather long text that cannot fit into its column";
    const UINT_PTR item = p.rig.Insert(long_text.c_str());
    p.rig.Send(TLM_SETCELLBKCOLOR, item | (1u << 24), RGB(9, 9, 9));
    Canvas canvas(300, 200);
    p.Paint(canvas);
    const RECT row = p.rig.ItemRect(item);
    const RECT first = p.rig.ItemRect(item, 0x80), narrow = p.rig.ItemRect(item, 0x80 | (1 << 24));
    const COLORREF ink = Unique(4);
    EXPECT_GT(canvas.CountInRect(ink, RECT{first.left, row.top, first.right, row.bottom}), 20);
    EXPECT_EQ(canvas.CountInRect(ink, RECT{first.right, row.top, narrow.right, row.bottom}), 0);
    // Just before the edge: the dots of the ellipsis.
    EXPECT_GT(canvas.CountInRect(ink, RECT{first.right - 14, row.top, first.right, row.bottom}), 0);
}

TEST(TreeListPaint, PaintingIntoADcLeavesTheUpdateRegion) {
    Painted p;
    p.rig.Insert("x");
    UpdateWindow(p.rig.tree);
    InvalidateRect(p.rig.tree, nullptr, FALSE);
    Canvas canvas(300, 200);
    p.Paint(canvas);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(p.rig.tree, &update, FALSE));
    EXPECT_EQ(canvas.At(299, 199), Unique(0));  // the empty area below the rows
}

namespace {

int CALLBACK FillCell(HDC dc, LPARAM context, TreeListDrawInfo* info) {
    const RECT r = *info->rect;
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(context));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    return info->column == 1 ? 1 : 0;
}

}  // namespace

TEST(TreeListPaint, OwnerDrawnCells) {
    Painted p(0);
    p.AddColumns({100, 100});
    LVCOLUMNA mark = {};
    mark.mask = 0x80000000;
    mark.fmt = static_cast<int>(0x80000000);
    p.rig.Send(TLM_SETCOLUMN, 0, reinterpret_cast<LPARAM>(&mark));
    p.rig.Send(TLM_SETCOLUMN, 1, reinterpret_cast<LPARAM>(&mark));
    p.rig.Send(TLM_OPTION, kTreeListSetOption | TLO_DRAWCALLBACK, reinterpret_cast<LPARAM>(FillCell));
    p.rig.Send(TLM_OPTION, kTreeListSetOption | TLO_DRAWCONTEXT, RGB(7, 77, 177));
    const UINT_PTR item = p.rig.Insert("drawn as usual");
    TreeListCellColour text = {0, 1, {0, 0}, RGB(250, 1, 1)};
    p.rig.Send(TLM_SETCELLCOLOR, item, reinterpret_cast<LPARAM>(&text));
    Canvas canvas(300, 200);
    p.Paint(canvas);
    const RECT row = p.rig.ItemRect(item);
    // Column 1: only the call-back's fill; column 0: the call-back answered 0, the text is drawn over it.
    EXPECT_EQ(canvas.CountInRect(RGB(7, 77, 177), RECT{101, row.top, 199, row.bottom}), 98 * (row.bottom - row.top));
    EXPECT_GT(canvas.CountInRect(Unique(4), RECT{0, row.top, 100, row.bottom}), 10);
}

TEST(TreeListPaint, GridLinesAndPinnedRowsPastTheEnd) {
    Painted p(0, TLX_GRIDLINES);
    p.AddColumns({100, 100});
    const UINT_PTR item = p.rig.Insert("x");
    p.rig.Insert("y");
    p.rig.Send(TLM_OPTION, kTreeListSetOption | TLO_PINNEDROWS, 10);
    Canvas canvas(300, 200);
    p.Paint(canvas);
    const RECT row = p.rig.ItemRect(item);
    EXPECT_EQ(canvas.At(150, row.bottom - 1), Unique(3));
    EXPECT_EQ(canvas.At(99, row.top + 2), Unique(3));  // the left edge of column 1
    EXPECT_EQ(canvas.At(150, 190), Unique(0));
}

TEST(TreeListPaint, ParentDeletesTheItemDuringAPaint) {
    Painted p;
    const UINT_PTR victim = p.rig.Insert(LPSTR_TEXTCALLBACKA);
    const UINT_PTR after = p.rig.Insert("after");
    bool deleted = false;
    p.rig.answer = [&](NMHDR* h) -> LRESULT {
        if (h->code == TVN_GETDISPINFOA && !deleted) {
            deleted = true;
            p.rig.Delete(victim);
        }
        return 0;
    };
    UpdateWindow(p.rig.tree);
    Canvas first(300, 200);
    p.Paint(first);
    EXPECT_TRUE(deleted);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(p.rig.tree, &update, FALSE));  // the rest is painted again later
    Canvas second(300, 200);
    p.Paint(second);
    const RECT row = p.rig.ItemRect(after);
    EXPECT_EQ(row.top, p.rig.ItemRect(after).top);
    EXPECT_GT(second.CountInRect(Unique(4), row), 5);
    p.rig.answer = nullptr;
}

TEST(TreeListPaint, CheckBoxesShowTheirState) {
    Painted p(TVS_CHECKBOXES);
    const UINT_PTR clear = p.rig.Insert("clear");
    const UINT_PTR set = p.rig.Insert("set", 0, TLI_LAST, 0, INDEXTOSTATEIMAGEMASK(2));
    Canvas canvas(300, 200);
    p.Paint(canvas);
    const RECT a = p.rig.ItemRect(clear), b = p.rig.ItemRect(set);
    int differ = 0;
    for (int y = 0; y < a.bottom - a.top; ++y)
        for (int x = 0; x < 16; ++x) differ += canvas.At(x, a.top + y) != canvas.At(x, b.top + y);
    EXPECT_GT(differ, 4);
    EXPECT_GE(p.rig.ItemRect(clear, 1).left, 16);
}

namespace {

// Images of one colour, 16 x 16.
HIMAGELIST SolidImages(COLORREF colour, int count) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, count, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16 * count, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetBkColor(dc, colour);
    const RECT all = {0, 0, 16 * count, 16};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return list;
}

void SetCell(const Painted& p, UINT_PTR item, int column, UINT mask, UINT state) {
    TVITEMA cell = {};
    cell.mask = TLIF_CELL | mask;
    cell.hItem = reinterpret_cast<HTREEITEM>(item);
    cell.cChildren = column;
    cell.state = state;
    cell.stateMask = 0xF080;
    p.rig.Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&cell));
}

// For two colours: the first and last x of their pixels along the middle of an item's row (from x on), and
// of the points where the hit test reports a flag of each.
struct RowScan {
    int ink[2][2] = {{-1, -1}, {-1, -1}}, hits[2][2] = {{-1, -1}, {-1, -1}};
};
RowScan ScanRow(const Painted& p, const Canvas& canvas, UINT_PTR item, const COLORREF ink[2], const UINT flags[2],
                int x = 0, UINT flagMask = 0xFFFFFFFF) {
    const RECT row = p.rig.ItemRect(item);
    RowScan scan;
    auto add = [](int* span, int x) {
        if (span[0] < 0) span[0] = x;
        span[1] = x;
    };
    TVHITTESTINFO hit = {};
    hit.pt.y = (row.top + row.bottom) / 2;
    for (hit.pt.x = x; hit.pt.x < canvas.width; ++hit.pt.x) {
        p.rig.Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        for (int k = 0; k < 2; ++k) {
            if (canvas.At(hit.pt.x, hit.pt.y) == ink[k]) add(scan.ink[k], hit.pt.x);
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
    const struct {
        DWORD style, exStyle;
        int level;
    } layouts[] = {{TVS_HASLINES | TVS_HASBUTTONS, 0, 0},
                   {TVS_HASLINES | TVS_HASBUTTONS, TLX_GRIDLINES, 1},
                   {TVS_HASLINES | TVS_LINESATROOT, TLX_GRIDLINES, 0},
                   {0, 0, 2}};
    for (const auto& l : layouts) {
        SCOPED_TRACE(testing::Message() << "style " << l.style << " ex " << l.exStyle << " level " << l.level);
        Painted p(l.style, l.exStyle);
        p.rig.Send(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(state));
        p.rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
        UINT_PTR item = 0;
        for (int level = 0; level <= l.level; ++level)
            item = p.rig.Insert("text", item, TLI_LAST, 0, TVIS_EXPANDED | INDEXTOSTATEIMAGEMASK(1));
        Canvas canvas(300, 200);
        p.Paint(canvas);
        const RowScan s = ScanRow(p, canvas, item, ink, flags);
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
    p.AddColumns({100, 80, 80, 0});
    p.rig.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    p.rig.Send(TLM_SETCOLUMNEDIT, TreeListColumnEdit(2, TLEM_CHECK, 0));
    p.rig.Send(TVM_SETIMAGELIST, 3, reinterpret_cast<LPARAM>(checks));
    const UINT_PTR item = p.rig.Insert("x");
    SetCell(p, item, 1, TVIF_IMAGE, 0);
    SetCell(p, item, 2, TVIF_STATE, 0x80 | INDEXTOSTATEIMAGEMASK(1));
    SetCell(p, item, 3, TVIF_IMAGE, 0);
    Canvas canvas(300, 200);
    p.Paint(canvas);
    const RowScan s = ScanRow(p, canvas, item, ink, flags, 100, 0xFF000000 | TLHT_ONCELLIMAGE);
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(s.ink[k][1] - s.ink[k][0], 15);
        EXPECT_NEAR(s.ink[k][0], s.hits[k][0], 1);
        EXPECT_NEAR(s.ink[k][1], s.hits[k][1], 1);
    }
    const RECT row = p.rig.ItemRect(item);
    EXPECT_EQ(canvas.CountInRect(ink[0], RECT{259, row.top, 300, row.bottom}), 0);
    EXPECT_EQ(canvas.CountInRect(Unique(3), RECT{260, row.top, 300, row.bottom}), 0);
    ImageList_Destroy(images);
    ImageList_Destroy(checks);
}

TEST(TreeListPaint, ACutHighlightedTextKeepsAtMost253Characters) {
    Painted p(0, 0, 1000, 100);
    p.AddColumns({980});
    const std::string text(1000, 'i');
    const UINT_PTR item = p.rig.Insert(text.c_str(), 0, TLI_LAST, 0, TVIS_SELECTED);
    Canvas canvas(1000, 100);
    p.Paint(canvas);
    SIZE some = {};
    HGDIOBJ old = SelectObject(canvas.dc, GetUiFont(0));
    GetTextExtentPoint32A(canvas.dc, text.c_str(), 260, &some);
    SelectObject(canvas.dc, old);
    ASSERT_LT(some.cx, 900);  // more than 253 characters would fit
    // Each "i" is a run of ink on every pixel row it covers; the dots of "..." add runs only on their own
    // rows, so the fewest runs on an inked row count the characters kept.
    const RECT row = p.rig.ItemRect(item);
    int fewest = INT_MAX;
    for (int y = row.top; y < row.bottom; ++y) {
        int runs = 0;
        for (int x = 1; x < 1000; ++x) runs += canvas.At(x, y) == Unique(4) && canvas.At(x - 1, y) != Unique(4);
        if (runs) fewest = std::min(fewest, runs);
    }
    EXPECT_EQ(fewest, 253);
}
