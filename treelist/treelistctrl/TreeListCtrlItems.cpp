// CTreeListCtrl: item and row wrappers, each one record and one message, and their direct forms.
#include "treelist/treelistctrl/TreeListCtrl.h"

namespace {

constexpr int kTextRoom = 256;
constexpr UINT kRangeCell = TLIF_CELL;
constexpr UINT kDirectRange = TLIF_CELL | TLIF_NOCALLBACK;  // 0x18000

TreeListInsertRecord InsertRecord(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                                  LPARAM lParam, HTREEITEM parent, HTREEITEM insertAfter) {
    TreeListInsertRecord r = {};
    r.hParent = parent;
    r.hInsertAfter = insertAfter;
    r.item.mask = mask;
    r.item.pszText = const_cast<LPSTR>(text);
    r.item.iImage = image;
    r.item.iSelectedImage = selectedImage;
    r.item.state = state;
    r.item.stateMask = stateMask;
    r.item.lParam = lParam;
    return r;
}

// A sorted insert by the caller's compare function (in the item field) with its data in the lParam field.
TreeListInsertRecord SortedRecord(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                  UINT stateMask, LPARAM compareData, TreeListInsertCompare compare,
                                  HTREEITEM parent) {
    TreeListInsertRecord r = InsertRecord(mask, text, image, selectedImage, state, stateMask, compareData, parent,
                                          reinterpret_cast<HTREEITEM>(TLI_CALLERSORT));
    r.item.hItem = reinterpret_cast<HTREEITEM>(reinterpret_cast<void*>(compare));
    return r;
}

// The item's own lParam travels in the extra word; TLIF_EXTRAPARAM tells the control.
void ParamToExtra(TreeListInsertRecord* r, LPARAM lParam, bool always) {
    if (r->item.mask & TVIF_PARAM) {
        r->item.mask = (r->item.mask & ~TVIF_PARAM) | TLIF_EXTRAPARAM;
        r->extra = lParam;
    }
    if (always) r->item.mask |= TLIF_EXTRAPARAM;
}

TreeListInsertRecord SortedExRecord(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                    UINT stateMask, LPARAM lParam, TreeListInsertCompare compare, HTREEITEM parent,
                                    LPARAM compareData) {
    TreeListInsertRecord r = SortedRecord(mask, text, image, selectedImage, state, stateMask, compareData, compare,
                                          parent);
    ParamToExtra(&r, lParam, true);
    return r;
}

TVITEMA RangeRecord(HTREEITEM item, int column, UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                    UINT stateMask, LPARAM lParam) {
    TVITEMA r = {};
    r.mask = mask;
    r.hItem = item;
    r.pszText = const_cast<LPSTR>(text);
    r.cchTextMax = text ? kTextRoom : 0;
    r.iImage = image;
    r.iSelectedImage = selectedImage;
    r.state = state;
    r.stateMask = stateMask;
    r.cChildren = column;
    r.lParam = lParam;
    return r;
}

TVITEMA FindKey(UINT mask, HTREEITEM item, int textMax, LPCSTR text, UINT state, UINT stateMask) {
    TVITEMA key = {};
    key.mask = mask;
    key.hItem = item;
    key.cchTextMax = textMax;
    key.pszText = const_cast<LPSTR>(text);
    key.state = state;
    key.stateMask = stateMask;
    return key;
}

template <typename T>
LPARAM Arg(T* record) {
    return reinterpret_cast<LPARAM>(record);
}

}  // namespace

HTREEITEM CTreeListCtrl::InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                    UINT stateMask, LPARAM lParam, HTREEITEM parent, HTREEITEM insertAfter) {
    TreeListInsertRecord r = InsertRecord(mask, text, image, selectedImage, state, stateMask, lParam, parent, insertAfter);
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, Arg(&r)));
}

HTREEITEM CTreeListCtrl::InsertItemSorted(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                          UINT stateMask, LPARAM compareData, TreeListInsertCompare compare,
                                          HTREEITEM parent) {
    TreeListInsertRecord r = SortedRecord(mask, text, image, selectedImage, state, stateMask, compareData, compare, parent);
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, Arg(&r)));
}

HTREEITEM CTreeListCtrl::InsertItemSortedBy(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                            UINT stateMask, LPARAM lParam, TreeListTextCompare compare,
                                            HTREEITEM parent) {
    TreeListInsertRecord r = SortedRecord(mask, text, image, selectedImage, state, stateMask,
                                          reinterpret_cast<LPARAM>(compare), TreeListCompareThunk, parent);
    ParamToExtra(&r, lParam, false);
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, Arg(&r)));
}

HTREEITEM CTreeListCtrl::InsertItemSortedBy(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                            UINT stateMask, LPARAM lParam, TreeListByteCompare compare,
                                            HTREEITEM parent) {
    return InsertItemSortedBy(mask, text, image, selectedImage, state, stateMask, lParam,
                              reinterpret_cast<TreeListTextCompare>(reinterpret_cast<void*>(compare)), parent);
}

HTREEITEM CTreeListCtrl::InsertItemSortedEx(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                            UINT stateMask, LPARAM lParam, TreeListInsertCompare compare,
                                            HTREEITEM parent, LPARAM compareData) {
    TreeListInsertRecord r = SortedExRecord(mask, text, image, selectedImage, state, stateMask, lParam, compare,
                                            parent, compareData);
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, Arg(&r)));
}

int CTreeListCtrl::InsertRow(int row, LPCSTR text, int image, int state, UINT stateMask) {
    const auto at = reinterpret_cast<HTREEITEM>(SendMessage(TLM_GETROWITEM, 0, row));
    TreeListInsertRecord r = {};
    r.hParent = at ? at : TVI_ROOT;
    r.hInsertAfter = at ? reinterpret_cast<HTREEITEM>(TLI_BEFOREPARENT) : TVI_LAST;
    if (text) {
        r.item.mask |= TVIF_TEXT;
        r.item.pszText = const_cast<LPSTR>(text);
        r.item.cchTextMax = kTextRoom;
    }
    if (image >= 0) {
        r.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        r.item.iImage = r.item.iSelectedImage = image;
    }
    if (state >= 0) {
        r.item.mask |= TVIF_STATE;
        r.item.state = static_cast<UINT>(state);
        r.item.stateMask = stateMask & 0xFF13;
    }
    const LRESULT item = SendMessage(TVM_INSERTITEMA, 0, Arg(&r));
    return static_cast<int>(SendMessage(TLM_GETITEMROW, 0, item));
}

BOOL CTreeListCtrl::SetRowCell(int row, int column, LPCSTR text, int image, int state, UINT stateMask) {
    const auto item = reinterpret_cast<HTREEITEM>(SendMessage(TLM_GETROWITEM, 0, row));
    if (!item) return FALSE;
    TVITEMA r = {};
    r.mask = TLIF_CELL | TVIF_HANDLE;
    r.hItem = item;
    r.cChildren = column;
    if (text) {
        r.mask |= TVIF_TEXT;
        r.pszText = const_cast<LPSTR>(text);
        r.cchTextMax = kTextRoom;
    }
    if (image >= 0) {
        r.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        r.iImage = r.iSelectedImage = image;
    }
    if (state >= 0) {
        r.mask |= TVIF_STATE;
        r.state = static_cast<UINT>(state);
        r.stateMask = stateMask & 0x13;
    }
    return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, Arg(&r)));
}

BOOL CTreeListCtrl::GetRowCellText(int row, LPSTR buffer, int size, int column) {
    const auto item = reinterpret_cast<HTREEITEM>(SendMessage(TLM_GETROWITEM, 0, row));
    if (!item || !buffer || size <= 0) return FALSE;
    buffer[0] = 0;
    TVITEMA r = {};
    r.mask = TLIF_CELL | TVIF_TEXT;
    r.hItem = item;
    r.pszText = buffer;
    r.cchTextMax = size;
    r.cChildren = column;
    return static_cast<BOOL>(SendMessage(TVM_GETITEMA, 0, Arg(&r)));
}

int CTreeListCtrl::SetItemRange(HTREEITEM item, int column, UINT mask, LPCSTR text, int image, int selectedImage,
                                UINT state, UINT stateMask, LPARAM lParam) {
    TVITEMA r = RangeRecord(item, column, mask | kRangeCell, text, image, selectedImage, state, stateMask, lParam);
    return static_cast<int>(SendMessage(TLM_SETRANGE, 0, Arg(&r)));
}

int CTreeListCtrl::CountItems(HTREEITEM item, UINT mask, UINT state, UINT stateMask, LPARAM lParam, int image) {
    TVITEMA r = RangeRecord(item, 0, mask, nullptr, image, 0, state, stateMask, lParam);
    return static_cast<int>(SendMessage(TLM_COUNTRANGE, 0, Arg(&r)));
}

HTREEITEM CTreeListCtrl::FindItem(HTREEITEM start, UINT mask, HTREEITEM item, int textMax, LPCSTR text, UINT state,
                                  UINT stateMask) {
    TVITEMA key = FindKey(mask, item, textMax, text, state, stateMask);
    return reinterpret_cast<HTREEITEM>(SendMessage(TLM_FINDITEM, reinterpret_cast<WPARAM>(start), Arg(&key)));
}

CImageList* CTreeListCtrl::CreateDragImage(HTREEITEM item, WPARAM wParam) {
    auto list = reinterpret_cast<HIMAGELIST>(SendMessage(TVM_CREATEDRAGIMAGE, wParam, reinterpret_cast<LPARAM>(item)));
    if (!list) return nullptr;
    auto* image = new CImageList;
    image->Attach(list);
    return image;
}

HTREEITEM CTreeListCtrl::InsertItemDirect(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                          UINT stateMask, LPARAM lParam, HTREEITEM parent, HTREEITEM insertAfter) {
    TreeListInsertRecord r = InsertRecord(mask | TLIF_NOCALLBACK, text, image, selectedImage, state, stateMask,
                                          lParam, parent, insertAfter);
    return reinterpret_cast<HTREEITEM>(Direct(TVM_INSERTITEMA, 0, Arg(&r)));
}

HTREEITEM CTreeListCtrl::InsertItemSortedDirect(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                                UINT stateMask, LPARAM compareData, TreeListInsertCompare compare,
                                                HTREEITEM parent) {
    TreeListInsertRecord r = SortedRecord(mask | TLIF_NOCALLBACK, text, image, selectedImage, state, stateMask,
                                          compareData, compare, parent);
    return reinterpret_cast<HTREEITEM>(Direct(TVM_INSERTITEMA, 0, Arg(&r)));
}

HTREEITEM CTreeListCtrl::InsertItemSortedExDirect(UINT mask, LPCSTR text, int image, int selectedImage, UINT state,
                                                  UINT stateMask, LPARAM lParam, TreeListInsertCompare compare,
                                                  HTREEITEM parent, LPARAM compareData) {
    TreeListInsertRecord r = SortedExRecord(mask, text, image, selectedImage, state, stateMask, lParam, compare,
                                            parent, compareData);
    return reinterpret_cast<HTREEITEM>(Direct(TVM_INSERTITEMA, 0, Arg(&r)));
}

HTREEITEM CTreeListCtrl::FindItemDirect(HTREEITEM start, UINT mask, HTREEITEM item, int textMax, LPCSTR text,
                                        UINT state, UINT stateMask) {
    TVITEMA key = FindKey(mask, item, textMax, text, state, stateMask);
    return reinterpret_cast<HTREEITEM>(Direct(TLM_FINDITEM, reinterpret_cast<WPARAM>(start), Arg(&key)));
}

int CTreeListCtrl::SetItemRangeDirect(HTREEITEM item, int column, UINT mask, LPCSTR text, int image,
                                      int selectedImage, UINT state, UINT stateMask, LPARAM lParam) {
    TVITEMA r = RangeRecord(item, column, mask | kDirectRange, text, image, selectedImage, state, stateMask, lParam);
    return static_cast<int>(Direct(TLM_SETRANGE, 0, Arg(&r)));
}
