// The window of the "TreeList" control: the window procedure's table (TreeListWndProc.cpp), the life of the
// per-window record (TreeListCreate.cpp) and the ordinary window messages (TreeListWindowMessages.cpp). Every
// handler the table calls is declared in the header of its concern; parameters arrive decoded and item
// handles are already cut to 32 bits.
#pragma once

#include "treelist/control/TreeListData.h"

// A handler's answer that sends the message on to DefWindowProcA.
constexpr LRESULT kPassOn = static_cast<LRESULT>(static_cast<ULONG_PTR>(1) << (sizeof(LRESULT) * 8 - 1));

// --- lifecycle (TreeListCreate.cpp)
LRESULT CreateTreeList(HWND window, const CREATESTRUCTA* create);
LRESULT OnDestroy(TreeListData* d);
LRESULT OnNcDestroy(TreeListData* d);
// A reference on the record, so that it outlives WM_NCDESTROY while the caller uses it; null for none.
TreeListData* AcquireTreeList(HWND window);
void ReleaseTreeList(TreeListData* d);

// --- window messages (TreeListWindowMessages.cpp)
LRESULT OnSize(TreeListData* d, int width, int height);
LRESULT OnEnable(TreeListData* d, bool enabled);
LRESULT OnFocus(TreeListData* d, bool focused);
LRESULT OnSetRedraw(TreeListData* d, bool redraw);
LRESULT OnSysColorChange(TreeListData* d);
LRESULT OnShowWindow(TreeListData* d, bool shown);
LRESULT OnSetFont(TreeListData* d, HFONT font, bool redraw);
LRESULT OnDrawItem(TreeListData* d, WPARAM id, LPARAM item);
LRESULT OnStyleChanged(TreeListData* d, WPARAM which, const STYLESTRUCT* style);
LRESULT OnGetDlgCode(TreeListData* d, const MSG* message);
LRESULT OnClipboard(TreeListData* d, UINT message);
