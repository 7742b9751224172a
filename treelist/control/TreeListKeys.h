// The keyboard of the "TreeList" control: WM_KEYDOWN and WM_KEYUP (TreeListKeys.cpp) and WM_CHAR with the
// type-ahead search (TreeListChars.cpp; the search itself is pure, TreeListTypeAhead.h).
#pragma once

#include "treelist/control/TreeListData.h"

LRESULT OnKeyDown(TreeListData* d, UINT key, LPARAM lParam);
LRESULT OnKeyUp(TreeListData* d, UINT key);
LRESULT OnChar(TreeListData* d, WPARAM character, LPARAM lParam);
LRESULT GetSearchString(TreeListData* d, char* out);
