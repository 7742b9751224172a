// Message handlers of the "TreeList" control, one group per file, as the window procedure's table calls them.
// Parameters arrive decoded; item handles are already cut to 32 bits.
#pragma once

#include "treelist/control/TreeListData.h"

#include <climits>

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

// --- painting (TreeListPaint.cpp)
LRESULT OnPaint(TreeListData* d, HDC dc);

// --- items (TreeListItemMessages.cpp)
LRESULT GetItemMessage(TreeListData* d, TVITEMA* record);
LRESULT SetItemParam(TreeListData* d, ItemId item, LPARAM value);
LRESULT GetItemParam(TreeListData* d, ItemId item);
LRESULT GetItemState(TreeListData* d, ItemId item);
LRESULT GetUserData(TreeListData* d, ItemId item);
LRESULT SetUserDataSize(TreeListData* d, LPARAM size);
LRESULT GetNextItem(TreeListData* d, UINT code, ItemId item);
LRESULT SelectSubtree(TreeListData* d, WPARAM flags, ItemId item);

// --- rows and geometry (TreeListRowMessages.cpp)
LRESULT GetItemRect(TreeListData* d, WPARAM flags, RECT* rect);
LRESULT GetItemRow(TreeListData* d, ItemId item);
LRESULT GetRowItem(TreeListData* d, LPARAM row);
LRESULT CellVisibility(TreeListData* d, ItemId item, int column);
LRESULT SetItemHeight(TreeListData* d, int height);
LRESULT CreateDragImage(TreeListData* d, int column, ItemId item);

// --- settings (TreeListSettings.cpp)
LRESULT SetIndent(TreeListData* d, int indent);
LRESULT SetImageList(TreeListData* d, WPARAM kind, HIMAGELIST list);
LRESULT GetImageList(TreeListData* d, WPARAM kind);
LRESULT SetColour(TreeListData* d, WPARAM index, COLORREF colour);
LRESULT GetColour(TreeListData* d, WPARAM index);
LRESULT UserColour(TreeListData* d, WPARAM slotAndMode, COLORREF colour);
LRESULT SetExtendedStyle(TreeListData* d, DWORD mask, DWORD bits);
LRESULT OptionMessage(TreeListData* d, WPARAM option, LPARAM value);

// --- cell colours (TreeListCellColours.cpp)
LRESULT GetCellColour(TreeListData* d, ItemId item, int column, bool background);
LRESULT SetCellColour(TreeListData* d, WPARAM itemAndColumn, COLORREF colour, bool background);
LRESULT SetCellColourRecord(TreeListData* d, ItemId item, const TreeListCellColour* record);

// --- item operations (TreeListExpand.cpp, TreeListSetItem.cpp, TreeListSort.cpp, TreeListMove.cpp)
LRESULT ExpandMessage(TreeListData* d, UINT code, ItemId item);
LRESULT SetItemMessage(TreeListData* d, const TVITEMA* record);
LRESULT SortChildrenMessage(TreeListData* d, bool recurse, ItemId parent);
LRESULT SortChildrenCallback(TreeListData* d, bool recurse, const TVSORTCB* sort, bool sixArguments);
LRESULT MoveItemMessage(TreeListData* d, int mode, ItemId target, ItemId item);

// --- selection (TreeListSelect.cpp)
LRESULT SelectItemMessage(TreeListData* d, WPARAM code, ItemId item);
LRESULT SelectCellMessage(TreeListData* d, ItemId item, int column);

// --- keyboard and type-ahead (TreeListKeys.cpp, TreeListChars.cpp)
LRESULT OnKeyDown(TreeListData* d, UINT key, LPARAM lParam);
LRESULT OnKeyUp(TreeListData* d, UINT key);
LRESULT OnChar(TreeListData* d, WPARAM character, LPARAM lParam);
LRESULT GetSearchString(TreeListData* d, char* out);

// --- mouse, scrolling, highlights and tooltips (TreeListMouseButtons.cpp, TreeListMouseMove.cpp,
//     TreeListScrollMessages.cpp, TreeListHitTest.cpp, TreeListHighlight.cpp, TreeListTip.cpp, TreeListInsertMark.cpp,
//     TreeListHeaderNotify.cpp, TreeListDropTarget.cpp)
LRESULT OnButton(TreeListData* d, UINT msg, WPARAM keys, LPARAM point);
LRESULT OnMouseMove(TreeListData* d, WPARAM keys, LPARAM point);
LRESULT OnMouseLeave(TreeListData* d);
LRESULT OnMouseWheel(TreeListData* d, WPARAM wp);
LRESULT OnVScroll(TreeListData* d, WPARAM wp);
LRESULT OnHScroll(TreeListData* d, WPARAM wp);
LRESULT OnTimer(TreeListData* d, WPARAM id);
LRESULT OnNotify(TreeListData* d, NMHDR* hdr);
LRESULT OnTipNeedText(TreeListData* d, NMTTDISPINFOA* info);
LRESULT HitTestMessage(TreeListData* d, TVHITTESTINFO* hit);
LRESULT EnsureVisibleMessage(TreeListData* d, WPARAM mode, ItemId item);
// TLM_SETDROPHILITE (anyColumn: the cell of any column) and TLM_SETHOTHILITE (a cell only with cell highlighting).
LRESULT SetHighlightMessage(TreeListData* d, WPARAM column, ItemId item, bool anyColumn);
LRESULT SetToolTips(TreeListData* d, HWND tip);
LRESULT SetInsertMarkMessage(TreeListData* d, WPARAM after, ItemId item);

// --- in-place editing (TreeListEditBegin.cpp, TreeListEditEnd.cpp, TreeListColumnEdit.cpp)
LRESULT OnCommand(TreeListData* d, WPARAM wp, LPARAM lp);
LRESULT EditLabelMessage(TreeListData* d, ItemId item);
LRESULT GetEditControl(TreeListData* d);
LRESULT EndEditNow(TreeListData* d, WPARAM cancel);
LRESULT SetColumnEdit(TreeListData* d, WPARAM wp, LPARAM list);
LRESULT SetColumnEditBase(TreeListData* d, int column, LPARAM base);

// --- internal drag (TreeListDragFeedback.cpp, TreeListDropTarget.cpp)
LRESULT StartDragMessage(TreeListData* d, ItemId item);
LRESULT AutoScrollMessage(TreeListData* d, WPARAM mode, LPARAM interval);
LRESULT SetDropTargetMessage(TreeListData* d, WPARAM height, ItemId item);
