#include "treelist/control/TreeListColumns.h"

LRESULT InsertColumn(TreeListData*, WPARAM, const LVCOLUMNA*) { return -1; }
BOOL DeleteColumn(TreeListData*, int) { return FALSE; }
LRESULT SetColumn(TreeListData*, int, const LVCOLUMNA*) { return 0; }
LRESULT GetColumn(TreeListData*, int, LVCOLUMNA*) { return 0; }
LRESULT GetColumnWidth(TreeListData*, int) { return 0; }
LRESULT SetColumnWidth(TreeListData*, int, int) { return 0; }
LRESULT SetColumnOrder(TreeListData*, WPARAM, const BYTE*) { return 0; }
LRESULT GetColumnOrder(TreeListData*, WPARAM, int*) { return 0; }
void DistributeColumnWidth(TreeListData*, int) {}
void PlaceHeader(TreeListData*) {}
void NotifyColumnChanged(TreeListData*, int) {}
void ShareWidth(int, int, const int*, int, int*) {}
