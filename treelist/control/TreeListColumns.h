// Columns of the "TreeList" control and the header above them: insert, delete, get and set, the display
// order and the sharing of the free width among weighted columns (TreeListColumns.cpp), the column edges and
// joined cells (TreeListColumnEdges.cpp) and what the header tells the control (TreeListHeaderNotify.cpp).
#pragma once

#include "treelist/control/TreeListData.h"

// Column edges in the item area (no columns: the tree column spans the client width).
inline int ColumnLeft(const TreeListData* d, int column) { return d->columnCount ? d->left[column] : 0; }
inline int ColumnRight(const TreeListData* d, int column) {
    return d->columnCount ? d->right[column] : d->clientWidth;
}

LRESULT InsertColumn(TreeListData* d, WPARAM position, const LVCOLUMNA* record);
BOOL DeleteColumn(TreeListData* d, int column);
LRESULT SetColumn(TreeListData* d, int column, const LVCOLUMNA* record);
LRESULT GetColumn(TreeListData* d, int column, LVCOLUMNA* record);
LRESULT GetColumnWidth(TreeListData* d, int column);
LRESULT SetColumnWidth(TreeListData* d, int column, int width);
LRESULT SetColumnOrder(TreeListData* d, WPARAM count, const BYTE* order);
LRESULT GetColumnOrder(TreeListData* d, WPARAM count, int* order);
bool IsWeightedColumn(const TreeListColumn& c);
// Sets the requested and actual width of a column, gives it to the header and lays the columns out again
// (without repainting).
void ApplyColumnWidth(TreeListData* d, int column, int width);
// Shares a change of the client width among the weighted columns.
void DistributeColumnWidth(TreeListData* d, int delta);
// The header's height for the current font; the item area starts below it.
void PlaceHeader(TreeListData* d);
// A message to the header (0 without one), with the lock left: the header answers with notifications to
// the window's thread.
LRESULT SendHeader(TreeListData* d, UINT msg, WPARAM wp, LPARAM lp);
// TLN_COLUMNCHANGED for one column, with the lock left.
void NotifyColumnChanged(TreeListData* d, int column);

// The share of each weighted column in a width change: delta x weight / sum of weights, the remainders spread
// one pixel each over the columns with a fraction, from the column where the running sum of weights first
// exceeds (client width mod sum), cycling, so that the shares add up to delta exactly. Pure.
void ShareWidth(int delta, int clientWidth, const int* weights, int count, int* shares);

// --- column edges and joined cells (TreeListColumnEdges.cpp)
int ComputeColumnEdges(TreeListData* d);
void UpdateJoinedColumns(TreeListData* d);
int SkipJoinedColumns(TreeListData* d, ItemId item, int newPosition, int oldPosition);
// The last column a cell of the column joins into (the column itself when it joins none).
int JoinedEnd(const TreeListData* d, UINT itemState, int column);

// --- the header's notifications (TreeListHeaderNotify.cpp)
// WM_NOTIFY from the child windows: the header's, and the tooltip's text request (handed to TreeListTip.cpp).
LRESULT OnNotify(TreeListData* d, NMHDR* hdr);
// The width that fits a column's contents (a divider double click).
int OptimalColumnWidth(TreeListData* d, int column);
