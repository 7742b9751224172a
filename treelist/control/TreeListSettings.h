// Settings of the whole "TreeList" control (TreeListSettings.cpp): indent, image lists, the colour table and
// the user colour slots, the extended style and the TLM_OPTION values. The colour table's defaults are
// derived in TreeListColours.cpp (TreeListColours.h).
#pragma once

#include "treelist/control/TreeListData.h"

LRESULT SetIndent(TreeListData* d, int indent);
LRESULT SetImageList(TreeListData* d, WPARAM kind, HIMAGELIST list);
LRESULT GetImageList(TreeListData* d, WPARAM kind);
LRESULT SetColour(TreeListData* d, WPARAM index, COLORREF colour);
LRESULT GetColour(TreeListData* d, WPARAM index);
LRESULT UserColour(TreeListData* d, WPARAM slotAndMode, COLORREF colour);
LRESULT SetExtendedStyle(TreeListData* d, DWORD mask, DWORD bits);
LRESULT OptionMessage(TreeListData* d, WPARAM option, LPARAM value);
