#include "treelist/foldertree/FolderTreeDirect.h"

namespace foldertree {

namespace {

template <typename T>
LPARAM Arg(T* record) {
    return reinterpret_cast<LPARAM>(record);
}

}  // namespace

bool Text(HWND window, HTREEITEM item, char* buffer, int size) {
    if (size <= 0) return false;
    buffer[0] = 0;
    TVITEMA r = {};
    r.mask = TVIF_TEXT | TVIF_HANDLE | TLIF_NOCALLBACK;
    r.hItem = item;
    r.pszText = buffer;
    r.cchTextMax = size;
    return Call(window, TVM_GETITEMA, 0, Arg(&r)) != 0;
}

int Image(HWND window, HTREEITEM item) {
    TVITEMA r = {};
    r.mask = TVIF_IMAGE | TVIF_HANDLE | TLIF_NOCALLBACK;
    r.hItem = item;
    return Call(window, TVM_GETITEMA, 0, Arg(&r)) ? r.iImage : -1;
}

bool Exists(HWND window, HTREEITEM item) {
    if (!item) return false;
    TVITEMA r = {};
    r.mask = TVIF_HANDLE | TLIF_NOCALLBACK;
    r.hItem = item;
    return Call(window, TVM_GETITEMA, 0, Arg(&r)) != 0;
}

bool SetState(HWND window, HTREEITEM item, UINT state, UINT mask, int children) {
    TVITEMA r = {};
    r.mask = TVIF_HANDLE | TVIF_STATE | TLIF_NOCALLBACK;
    r.hItem = item;
    r.state = state;
    r.stateMask = mask;
    if (children >= 0) {
        r.mask |= TVIF_CHILDREN;
        r.cChildren = children;
    }
    return Call(window, TVM_SETITEMA, 0, Arg(&r)) != 0;
}

bool SetImages(HWND window, HTREEITEM item, int image) {
    TVITEMA r = {};
    r.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TLIF_NOCALLBACK;
    r.hItem = item;
    r.iImage = r.iSelectedImage = image;
    return Call(window, TVM_SETITEMA, 0, Arg(&r)) != 0;
}

void DeleteQueued(HWND window, HTREEITEM item, bool childrenOnly) {
    Call(window, TVM_DELETEITEM, childrenOnly ? TLD_CHILDRENQUEUED : TLD_QUEUED, reinterpret_cast<LPARAM>(item));
}

HTREEITEM InsertFolderItem(HWND window, HTREEITEM parent, TreeListInsertCompare compare, const char* text, int image,
                           UINT state, LPARAM param) {
    TreeListInsertRecord r = FolderItemRecord(parent, compare, text, image, state, param);
    return reinterpret_cast<HTREEITEM>(Call(window, TVM_INSERTITEMA, 0, Arg(&r)));
}

TreeListInsertRecord FolderItemRecord(HTREEITEM parent, TreeListInsertCompare compare, const char* text, int image,
                                      UINT state, LPARAM param) {
    TreeListInsertRecord r = {};
    r.hParent = parent;
    r.hInsertAfter = compare ? reinterpret_cast<HTREEITEM>(TLI_CALLERSORT) : TVI_LAST;
    r.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN | TLIF_NOCALLBACK |
                  TLIF_EXTRAPARAM;
    r.item.hItem = reinterpret_cast<HTREEITEM>(reinterpret_cast<void*>(compare));
    r.item.pszText = const_cast<LPSTR>(text);
    r.item.iImage = r.item.iSelectedImage = image;
    r.item.state = state;
    r.item.stateMask = 0xFFFF0000 | (state & 0xFFFF);
    r.item.cChildren = 1;
    r.extra = param;
    return r;
}

HTREEITEM FindChild(HWND window, HTREEITEM parent, const char* text) {
    TVITEMA key = {};
    key.mask = TLF_CHILDREN | TLF_CASELESS | TVIF_TEXT;
    key.pszText = const_cast<LPSTR>(text);
    return reinterpret_cast<HTREEITEM>(Call(window, TLM_FINDITEM, reinterpret_cast<WPARAM>(parent), Arg(&key)));
}

}  // namespace foldertree
