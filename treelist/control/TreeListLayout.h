// What painting reads but does not compute: fonts and metrics, row height, text widths, display rows, the
// image lists the control makes, item rectangles, and the invalidation every other part asks for. Column
// edges are in TreeListColumns.h, the scroll bars in TreeListScroll.h, the cell layout in TreeListGeometry.h.
#pragma once

#include "treelist/control/TreeListData.h"

// --- fonts and row height (TreeListFonts.cpp)
int SetUpTreeListFonts(TreeListData* d);
int ComputeRowHeight(TreeListData* d);
// Rows touched and whole rows from the client height, the header and the row height.
void ComputeVisibleRows(TreeListData* d);
// The font a text is drawn in: the bold one for TVIS_BOLD.
HFONT FontFor(const TreeListData* d, UINT state);
void ClearTextWidths(TreeListData* d);

// --- text widths (TreeListMeasure.cpp): the cached width, measured when missing; a call-back text keeps the
// width painting measured last. Every measurement uses this DrawTextExA format.
constexpr UINT kMeasureFormat = DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
int ItemTextWidth(TreeListData* d, TreeListItem* it);
int CellTextWidth(TreeListData* d, TreeListCell* cell);
int MeasureText(TreeListData* d, UINT state, const char* text, int length);
// The item's text width on dc (a screen context; the font is selected as needed): the measured one, else a
// guess from the font's character widths (*guessed set; kept in the record as a negative width), else
// measured and cached.
int GuessItemTextWidth(TreeListData* d, HDC dc, TreeListItem* it, bool* guessed);
// The same measured with DrawTextExA and cached; a guess that proved wrong stops further guesses in its font.
int MeasureItemTextWidth(TreeListData* d, HDC dc, TreeListItem* it, int guess = -1);

// --- display rows (TreeListRows.cpp)
void RebuildRows(TreeListData* d, ItemId from);
// The first shown row limited to the rows there are (rows - whole rows + 1, not below 0).
UINT LimitFirstRow(const TreeListData* d, UINT first);
// Whether the walk shows the item's children, and the last item of its subtree the rows show.
bool ShowsChildren(const TreeListData* d, const TreeListItem* it);
ItemId LastShownDescendant(const TreeListData* d, ItemId item);
// The shown item just before the item in row order once the item is gone (0: none, the rows start anew).
ItemId ShownPredecessor(const TreeListData* d, ItemId item);
// Item of a display row, 0 for a row past the end or a row whose item went away.
ItemId RowItem(const TreeListData* d, UINT row);
// The rows after many inserts whose rows were left for later (in the order inserted): one rebuild from the
// first place any of them took, from the top when a place is not known.
class RowsAfterInserts {
public:
    explicit RowsAfterInserts(TreeListData* d) : m_d(d) {}
    void Add(ItemId item);
    void Rebuild();

private:
    TreeListData* m_d;
    ItemId m_from = 0;        // the shown item with the lowest row the rebuild starts at
    ItemId m_previous = 0;    // the last item added that is shown or follows a shown one
    ItemId m_collapsed = 0;   // the collapsed ancestor invalidated last
    bool m_fromTop = false;
};

// --- invalidation (TreeListInvalidate.cpp); all without erasing
// Screen row of a display row, -1 when it is not on the screen.
int ScreenRow(const TreeListData* d, UINT row);
int InvalidateCell(TreeListData* d, ItemId item, int column);
int InvalidateColumn(TreeListData* d, int column);
int InvalidateRow(TreeListData* d, ItemId item);
void InvalidateItems(TreeListData* d, bool erase = false);  // the item area below the header
void InvalidateRowsFrom(TreeListData* d, UINT row);

// --- check boxes and the drag image (TreeListImages.cpp)
void BuildCheckBoxImages(TreeListData* d, int kind);
HIMAGELIST CreateItemDragImage(TreeListData* d, ItemId item, int column);
void UpdateImageSize(TreeListData* d, int kind);
void DestroyOwnImages(TreeListData* d);
// A real list of the kind, never the themed check-box marker.
inline HIMAGELIST ImageList(const TreeListData* d, int kind) {
    return d->themedChecks[kind] ? nullptr : d->images[kind];
}
inline bool HasImages(const TreeListData* d, int kind) { return d->themedChecks[kind] || d->images[kind]; }

// --- item rectangles, rows and row height (TreeListRowMessages.cpp)
LRESULT GetItemRect(TreeListData* d, WPARAM flags, RECT* rect);
LRESULT GetItemRow(TreeListData* d, ItemId item);
LRESULT GetRowItem(TreeListData* d, LPARAM row);
LRESULT CellVisibility(TreeListData* d, ItemId item, int column);
LRESULT SetItemHeight(TreeListData* d, int height);
LRESULT CreateDragImage(TreeListData* d, int column, ItemId item);
