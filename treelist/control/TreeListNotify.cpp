// WM_NOTIFY to the parent, sent with the lock left.
#include "treelist/control/TreeListNotify.h"

#include <cstring>

LRESULT SendNotify(TreeListData* d, UINT code, NMHDR* header) {
    header->hwndFrom = d->window;
    header->idFrom = static_cast<UINT_PTR>(GetWindowLongPtrA(d->window, GWLP_ID));
    header->code = code;
    HWND parent = GetParent(d->window);
    if (!parent || IsDying(d)) return 0;
    TreeListUnlocked unlocked(d->lock);
    return SendMessageA(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

namespace {

void FillRecord(const TreeListData* d, ItemId item, TVITEMA* record) {
    record->mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TLIF_CELL;
    record->hItem = ToHandle(item);
    if (const TreeListItem* it = Item(d, item)) {
        record->state = it->state;
        record->stateMask = 0xFFFFFFFF;
        record->lParam = it->lParam;
    }
}

}  // namespace

LRESULT NotifyTreeView(TreeListData* d, UINT code, UINT action, ItemId oldItem, ItemId newItem, POINT point) {
    NMTREEVIEWA nm = {};
    nm.action = action;
    FillRecord(d, oldItem, &nm.itemOld);
    FillRecord(d, newItem, &nm.itemNew);
    nm.ptDrag = point;
    return SendNotify(d, code, &nm.hdr);
}

TVITEMA NotifyRecord(const TreeListData* d, ItemId item, UINT mask, int column) {
    TVITEMA r = {};
    r.mask = mask;
    r.stateMask = 0xFFFFFFFF;
    r.pszText = reinterpret_cast<LPSTR>(static_cast<INT_PTR>(-1));
    r.cchTextMax = -1;
    r.cChildren = column;
    if (const TreeListItem* it = Item(d, item)) {
        r.hItem = ToHandle(item);
        r.state = it->state;
        r.lParam = it->lParam;
    }
    return r;
}

TVITEMA TextRecord(const TreeListData* d, ItemId item, int column) {
    TVITEMA r = NotifyRecord(d, item, TVIF_TEXT | TVIF_STATE | TVIF_HANDLE | TVIF_PARAM | TLIF_CELL, column);
    const TreeListItem* it = Item(d, item);
    r.pszText = it ? it->text : const_cast<char*>("");
    r.cchTextMax = it ? static_cast<int>(it->textLength) : 0;
    if (column > 0) {
        const TreeListCell* cell = Cell(d, item, column);
        r.state = cell ? cell->state : 0;
        r.pszText = cell && cell->text ? cell->text : const_cast<char*>("");
        r.cchTextMax = cell ? static_cast<int>(cell->textLength) : 0;
    }
    return r;
}

LRESULT SendTreeView(TreeListData* d, UINT code, UINT action, const TVITEMA& oldItem, const TVITEMA& newItem,
                     POINT point) {
    NMTREEVIEWA nm = {};
    nm.action = action;
    nm.itemOld = oldItem;
    nm.itemNew = newItem;
    nm.ptDrag = point;
    return SendNotify(d, code, &nm.hdr);
}

bool FetchCallbacks(TreeListData* d, ItemId item, int column, UINT mask, TVITEMA* out, int buffer) {
    const TreeListItem* it = Item(d, item);
    if (!it) return false;
    NMTVDISPINFOA nm = {};
    nm.item.mask = mask | (column > 0 ? static_cast<UINT>(TLIF_CELL) : 0u);
    nm.item.hItem = ToHandle(item);
    nm.item.state = it->state;
    nm.item.lParam = it->lParam;
    nm.item.cChildren = column;
    char* text = d->dispBuffer[buffer];
    text[0] = 0;
    nm.item.pszText = text;
    nm.item.cchTextMax = sizeof d->dispBuffer[buffer];
    SendNotify(d, TVN_GETDISPINFOA, &nm.hdr);
    if (IsDying(d) || !Item(d, item)) return false;
    // The parent may answer with its own pointer instead of filling the buffer.
    if ((mask & TVIF_TEXT) && nm.item.pszText != text) {
        const char* answer = nm.item.pszText && nm.item.pszText != LPSTR_TEXTCALLBACKA ? nm.item.pszText : "";
        lstrcpynA(text, answer, sizeof d->dispBuffer[buffer]);
    }
    text[sizeof d->dispBuffer[buffer] - 1] = 0;
    *out = nm.item;
    out->pszText = text;
    return true;
}

bool AskShowsButton(TreeListData* d, ItemId item) {
    const TreeListItem* it = Item(d, item);
    if (!it || !(it->callbacks & kCallbackChildren)) return it && ShowsButton(it, 0);
    TVITEMA answer;
    return FetchCallbacks(d, item, 0, TVIF_CHILDREN, &answer) && ShowsButton(d->items[item], answer.cChildren);
}
