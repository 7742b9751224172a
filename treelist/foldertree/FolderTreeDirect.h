// Reads and small changes of the folder tree's items through direct calls of the control's window
// procedure: usable on the worker and on the control's own thread alike, and never a send to another
// thread. Items inserted by the folder tree have no call-back texts, so no call asks the parent.
#pragma once

#include "treelist/treelistctrl/TreeListCtrl.h"

namespace foldertree {

inline LRESULT Call(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = TreeListDirectProc;
    return proc ? proc(window, message, wParam, lParam) : 0;
}

inline HTREEITEM Next(HWND window, HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(Call(window, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}
inline HTREEITEM Parent(HWND window, HTREEITEM item) { return Next(window, item, TVGN_PARENT); }
inline HTREEITEM FirstChild(HWND window, HTREEITEM item) { return Next(window, item, TVGN_CHILD); }
inline HTREEITEM NextSibling(HWND window, HTREEITEM item) { return Next(window, item, TVGN_NEXT); }

// The full state word (0 for a missing item).
inline UINT State(HWND window, HTREEITEM item) {
    return static_cast<UINT>(Call(window, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), 0xFFFFFFFF));
}
inline LPARAM Param(HWND window, HTREEITEM item) {
    return Call(window, TLM_GETITEMPARAM, 0, reinterpret_cast<LPARAM>(item));
}

// The item's text into buffer; false for a missing item.
bool Text(HWND window, HTREEITEM item, char* buffer, int size);
// The item's image; -1 for a missing item.
int Image(HWND window, HTREEITEM item);
bool Exists(HWND window, HTREEITEM item);

// Sets the state bits of mask to state (from another thread marked as such); children >= 0 sets the
// button count too.
bool SetState(HWND window, HTREEITEM item, UINT state, UINT mask, int children = -1);
bool SetImages(HWND window, HTREEITEM item, int image);
// Deletes the item (or its children only), notifications and rows left to the control's thread.
void DeleteQueued(HWND window, HTREEITEM item, bool childrenOnly);

// Inserts a child of parent with one button: the image as both images, the state bits given (in the
// upper half and TVIS_* ones), and lParam. With compare it goes to its sorted place, else to the end.
HTREEITEM InsertFolderItem(HWND window, HTREEITEM parent, TreeListInsertCompare compare, const char* text, int image,
                           UINT state, LPARAM param);
// The insert record of such a child, for inserting many at once (TreeListInsertItems).
TreeListInsertRecord FolderItemRecord(HTREEITEM parent, TreeListInsertCompare compare, const char* text, int image,
                                      UINT state, LPARAM param);

// The child of parent (TVI_ROOT: a top-level item) with the text, letter case ignored; null when none.
HTREEITEM FindChild(HWND window, HTREEITEM parent, const char* text);

}  // namespace foldertree
