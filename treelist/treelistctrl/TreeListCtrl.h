// CTreeListCtrl: the framework class over a "TreeList" window. It keeps no data of its own: each operation
// fills one of the control's records on the stack and sends one message. The direct forms call the
// control's window procedure on the calling thread (through TreeListDirectProc), so that worker threads
// can fill the control without waiting for its window's thread.
#pragma once

#include "framework/Framework.h"
#include "treelist/control/TreeList.h"

// The control's window procedure for direct calls, fetched once per process by the first direct creation
// (option TLO_WINDOWPROC); null until then.
extern WNDPROC TreeListDirectProc;

// The caller's two-argument text compare of a sorted insert (negative: the first text goes first).
typedef int (*TreeListTextCompare)(const char* a, const char* b);
typedef int (*TreeListByteCompare)(const unsigned char* a, const unsigned char* b);

// The compare function the control calls for InsertItemSortedBy: calls the caller's two-argument compare
// (in compareData) with the new item's text first and the probe's text second.
LRESULT CALLBACK TreeListCompareThunk(HWND control, HTREEITEM probe, LPCSTR probeText, LPCSTR newText,
                                      LPARAM newParam, LPARAM compareData);

class CTreeListCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(CTreeListCtrl)
public:
    // --- creation
    BOOL Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // In place of the parent's child control placeholderId: same rectangle, just behind it in the z-order.
    BOOL CreateAtControl(DWORD exStyle, DWORD style, int placeholderId, CWnd* parent, UINT id);
    BOOL CreateDirect(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL CreateAtControlDirect(DWORD exStyle, DWORD style, int placeholderId, CWnd* parent, UINT id);

    // --- columns. A negative width makes a weighted column of that weight; order 32768 sets no minimum.
    int InsertColumn(int index, LPCSTR text, int format, int width, int order = 32768);
    BOOL SetColumnText(int column, LPCSTR text);
    BOOL SetColumnFlag28(int column, BOOL on);
    BOOL SetColumnFlag31(int column, BOOL on);
    BOOL SetColumnFlags29(int column, BOOL on, int width, int mode);
    // The header's image (below -1: none) and bitmap, left or (bit 0 of onRight) right of the text.
    BOOL SetColumnImage(int column, int image, int onRight);
    BOOL SetColumnBitmap(int column, HBITMAP bitmap, int onRight);

    // --- items
    using CTreeCtrl::InsertItem;
    HTREEITEM InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                         LPARAM lParam, HTREEITEM parent, HTREEITEM insertAfter);
    HTREEITEM InsertItemSorted(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                               LPARAM compareData, TreeListInsertCompare compare, HTREEITEM parent);
    HTREEITEM InsertItemSortedBy(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                 UINT stateMask, LPARAM lParam, TreeListTextCompare compare, HTREEITEM parent);
    HTREEITEM InsertItemSortedBy(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                 UINT stateMask, LPARAM lParam, TreeListByteCompare compare, HTREEITEM parent);
    HTREEITEM InsertItemSortedEx(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                 UINT stateMask, LPARAM lParam, TreeListInsertCompare compare, HTREEITEM parent,
                                 LPARAM compareData);
    // A new item in front of the item of a display row (past the rows: at the end of the top level); its row.
    int InsertRow(int row, LPCSTR text, int image, int state, UINT stateMask);
    BOOL SetRowCell(int row, int column, LPCSTR text, int image, int state, UINT stateMask);
    BOOL GetRowCellText(int row, LPSTR buffer, int size, int column);
    int SetItemRange(HTREEITEM item, int column, UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                     UINT stateMask, LPARAM lParam);
    int CountItems(HTREEITEM item, UINT mask, UINT state, UINT stateMask, LPARAM lParam, int image);
    HTREEITEM FindItem(HTREEITEM start, UINT mask, HTREEITEM item, int textMax, LPCSTR text, UINT state,
                       UINT stateMask);
    // A new image list of the item's picture; the caller deletes it. Null when there is none.
    CImageList* CreateDragImage(HTREEITEM item, WPARAM wParam);

    // --- direct forms (valid once a direct creation ran; 0 before)
    HTREEITEM InsertItemDirect(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                               LPARAM lParam, HTREEITEM parent, HTREEITEM insertAfter);
    HTREEITEM InsertItemSortedDirect(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                     UINT stateMask, LPARAM compareData, TreeListInsertCompare compare,
                                     HTREEITEM parent);
    HTREEITEM InsertItemSortedExDirect(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                       UINT stateMask, LPARAM lParam, TreeListInsertCompare compare,
                                       HTREEITEM parent, LPARAM compareData);
    HTREEITEM FindItemDirect(HTREEITEM start, UINT mask, HTREEITEM item, int textMax, LPCSTR text, UINT state,
                             UINT stateMask);
    int SetItemRangeDirect(HTREEITEM item, int column, UINT mask, LPCSTR text, int image, int selectedImage,
                           UINT state, UINT stateMask, LPARAM lParam);

private:
    LRESULT Direct(UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT SetColumnRecord(int column, UINT mask, int format, int width = 0);
    BOOL SetHeaderItem(int column, UINT mask, int image, HBITMAP bitmap, int onRight, bool show);
};
