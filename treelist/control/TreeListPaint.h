// Painting of the "TreeList" control: one pass over the rows of the update rectangle, column by column, each
// cell clipped to its column. TreeListPaint.cpp sets up and finishes, TreeListPaintRow.cpp draws the tree
// column, TreeListPaintCells.cpp the further columns and TreeListPaintText.cpp texts and selection boxes.
#pragma once

#include "treelist/control/TreeListData.h"

// Item images drawn once during a paint pass and copied to further rows (TreeListPaintCopies.cpp). A key names
// what an image of one size shows: list, index, drawing style and every colour the drawing depends on.
class PaintCopies {
public:
    struct Key {
        UINT64 value[4];
    };
    PaintCopies() = default;
    ~PaintCopies();
    PaintCopies(const PaintCopies&) = delete;
    PaintCopies& operator=(const PaintCopies&) = delete;

    // Puts the image of size at (x, y) of dc: draw(context, left, top) draws it over its background, once per
    // key and generation (a count of calls to the parent, which may change what is drawn) into a memory
    // context, and the result is copied; without room for a copy, draw(dc, x, y) draws it in place.
    template <typename DrawFn>
    void Paint(HDC dc, const Key& key, UINT generation, int x, int y, SIZE size, DrawFn draw) {
        int from = 0;
        bool drawn = false;
        HDC memory = Find(dc, key, generation, size, &from, &drawn);
        if (!memory) {
            draw(dc, x, y);
            return;
        }
        if (!drawn) draw(memory, from, 0);
        Copy(dc, x, y, from);
    }

private:
    static constexpr int kSlots = 16, kMaxSide = 256;
    HDC Find(HDC dc, const Key& key, UINT generation, SIZE size, int* x, bool* drawn);
    bool Prepare(HDC dc, SIZE size);
    void Copy(HDC dc, int x, int y, int fromX);
    HDC m_memory = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    SIZE m_size = {0, 0};
    Key m_keys[kSlots];
    int m_count = 0;
    UINT m_generation = 0;
};

struct PaintContext {
    TreeListData* d;
    HDC dc;
    RECT update;
    HRGN regions[kTreeListMaxColumns];  // by column number; null: the column is not in the update area
    HRGN joined;                         // union region of the last joined span
    int joinedFirst, joinedLast;
    int columns;                         // columns painted (1 when the control has none)
    COLORREF background;
    COLORREF rowColour[2][2];            // [even/odd display row][plain/marked column]
    COLORREF selectedRow[2];             // full-row selection, [even/odd]
    int widest;                          // widest painted row (text end + 5)
    PaintCopies* images;                 // item images drawn so far
    PaintCopies* buttons;                // themed buttons drawn so far
    UINT callOuts;                       // calls to the parent so far (call-backs, owner drawing)
};

// One row being painted.
struct PaintRow {
    ItemId item;
    TreeListItem* it;
    UINT row;           // display row
    int top, bottom;
    bool odd;
    bool fullSelected;  // selected with full-row selection
};

// One cell's text and how it is highlighted.
struct PaintText {
    const char* text;
    int length;
    int* cachedWidth;     // in the item or cell record
    UINT state;           // TVIS_* bits, second flag byte in bits 16-23
    COLORREF ownText;     // CLR_INVALID: none
    COLORREF textColour;  // the column's default text colour
    COLORREF back;        // the cell's background
    int x, right;         // text area
    int align;            // 0 left, 1 centre, 2 right
    bool caretCell;       // the caret item and column
    bool treeColumn;
};

// WM_PAINT (TreeListPaint.cpp): into the context wParam hands in, else the update area.
LRESULT OnPaint(TreeListData* d, HDC dc);

// Rows with their cells; false when an item went away during a call-back (the row loop ends there).
bool PaintTreeColumn(PaintContext& pc, PaintRow& row);
bool PaintCells(PaintContext& pc, PaintRow& row);
void PaintCellText(PaintContext& pc, const PaintRow& row, const PaintText& t);

// Shared drawing steps.
void FillArea(HDC dc, int left, int top, int right, int bottom, COLORREF colour);
void SelectColumnClip(PaintContext& pc, int column, int lastJoined);
COLORREF RowColour(const PaintContext& pc, const PaintRow& row, int column);
// The checker bar of an internal drag's drop target across [left, right).
void PaintDropBar(PaintContext& pc, const PaintRow& row, int left, int right);
// The separator under the pinned rows, across [left, right), when this row is the last pinned one.
void PaintPinnedSeparator(PaintContext& pc, const PaintRow& row, int screenRow, int left, int right);
// Calls the owner-draw call-back for a cell of a column with mark 2; its answer (0: draw as usual). A cell
// without a record hands the call-back no text pointer.
int CallOwnerDraw(PaintContext& pc, const PaintRow& row, int column, RECT cell, const PaintText& t,
                  bool hasRecord = true);
