// Painting of the "TreeList" control: one pass over the rows of the update rectangle, column by column, each
// cell clipped to its column. TreeListPaint.cpp sets up and finishes, TreeListPaintRow.cpp draws the tree
// column, TreeListPaintCells.cpp the further columns and TreeListPaintText.cpp texts and selection boxes.
#pragma once

#include "treelist/control/TreeListData.h"

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
// Calls the owner-draw call-back for a cell of a column with mark 2; its answer (0: draw as usual).
int CallOwnerDraw(PaintContext& pc, const PaintRow& row, int column, RECT cell, const PaintText& t);
