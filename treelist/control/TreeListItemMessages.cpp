// Reading items: TVM_GETITEMA, the lParam and user-data messages, the state word and TVM_GETNEXTITEM.
#include "treelist/control/TreeListItemOps.h"

#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr LPARAM kMaxUserData = 16777216;

void CopyText(TVITEMA* r, char* text, UINT length) {
    if (r->mask & TLIF_TEXTPOINTER) {
        r->pszText = text;
        r->cchTextMax = static_cast<int>(std::min<UINT>(length + 1, INT_MAX));
        return;
    }
    // Nothing is written into a buffer of no room.
    if (!r->pszText || r->pszText == LPSTR_TEXTCALLBACKA || r->cchTextMax <= 0) return;
    const size_t n = std::min<size_t>(length, static_cast<size_t>(r->cchTextMax) - 1);
    memcpy(r->pszText, text, n);
    r->pszText[n] = 0;
}

LRESULT GetCell(TreeListData* d, TVITEMA* r, ItemId item, int column) {
    TreeListCell* cell = EnsureCell(d, item, column);
    if (!cell) return FALSE;
    if (r->mask & TVIF_TEXT) {
        if (cell->callbacks & kCallbackText)
            r->pszText = LPSTR_TEXTCALLBACKA;
        else
            CopyText(r, cell->text, cell->textLength);
    }
    if (r->mask & TVIF_STATE)
        r->state = (r->mask & TLIF_STATERAW) ? cell->state : cell->state & r->stateMask & ~kRowStates;
    if (r->mask & TVIF_IMAGE) r->iImage = cell->image;
    if (r->mask & TVIF_PARAM) r->lParam = d->items[item]->lParam;
    return TRUE;
}

// The first item from start on (start itself included) in tree order that matches.
template <typename Match>
ItemId FindInTree(const TreeListData* d, ItemId start, ItemId limit, Match match) {
    for (ItemId i = start; i; i = NextInTree(d, i, limit))
        if (match(d->items[i])) return i;
    return 0;
}

bool IsChecked(const TreeListData* d, const TreeListItem* it) {
    const UINT image = StateImageIndex(it->state);
    return image == ((d->exStyle & TLX_REVERSECHECKS) ? 1u : 2u);
}

ItemId NextRowItem(const TreeListData* d, ItemId item, int step) {
    const TreeListItem* it = Item(d, item);
    if (!it || !it->row) return 0;
    const LONG_PTR row = static_cast<LONG_PTR>(it->row) - 1 + step;
    return row < 0 ? 0 : RowItem(d, static_cast<UINT>(row));
}

}  // namespace

LRESULT GetItemMessage(TreeListData* d, TVITEMA* r) {
    if (!r) return FALSE;
    const ItemId item = ToItem(r->hItem);
    TreeListItem* it = Item(d, item);
    if (!it) return FALSE;
    if ((r->mask & TLIF_CELL) && r->cChildren != 0) {
        if (r->cChildren < 0 || r->cChildren >= d->columnCount) return FALSE;
        return GetCell(d, r, item, r->cChildren);
    }
    if (r->mask & TVIF_TEXT) {
        if (it->callbacks & kCallbackText)
            r->pszText = LPSTR_TEXTCALLBACKA;
        else
            CopyText(r, it->text, it->textLength);
    }
    if (r->mask & TVIF_STATE) r->state = (r->mask & TLIF_STATERAW) ? it->state : it->state & r->stateMask;
    if (r->mask & TVIF_IMAGE) r->iImage = (it->callbacks & kCallbackImage) ? I_IMAGECALLBACK : it->image;
    if (r->mask & TVIF_SELECTEDIMAGE)
        r->iSelectedImage = (it->callbacks & kCallbackSelectedImage) ? I_IMAGECALLBACK : it->selectedImage;
    if ((r->mask & TVIF_CHILDREN) && !(r->mask & TLIF_CELL))
        r->cChildren = (it->callbacks & kCallbackChildren) ? I_CHILDRENCALLBACK
                       : (it->firstChild || (it->flags & kHasChildren)) ? 1
                                                                         : 0;
    if (r->mask & TVIF_PARAM) r->lParam = it->lParam;
    return TRUE;
}

LRESULT SetItemParam(TreeListData* d, ItemId item, LPARAM value) {
    TreeListItem* it = Item(d, item);
    if (!it) return 0;
    it->lParam = value;
    return 1;
}

LRESULT GetItemParam(TreeListData* d, ItemId item) {
    const TreeListItem* it = Item(d, item);
    return it ? it->lParam : 0;
}

LRESULT GetItemState(TreeListData* d, ItemId item) {
    const TreeListItem* it = Item(d, item);
    return it ? it->state : 0;
}

LRESULT GetUserData(TreeListData* d, ItemId item) {
    TreeListItem* it = Item(d, item);
    return it && d->userDataSize ? reinterpret_cast<LRESULT>(it->UserData()) : 0;
}

LRESULT SetUserDataSize(TreeListData* d, LPARAM size) {
    if (d->itemCount || size < 0 || size > kMaxUserData) return 0;
    d->userDataSize = static_cast<UINT>(size);
    return 1;
}

LRESULT GetNextItem(TreeListData* d, UINT code, ItemId item) {
    const TreeListItem* it = Item(d, item);
    const bool root = item == kItemRoot || item == 0;
    switch (code) {
    case TVGN_ROOT: return d->firstRoot;
    case TVGN_NEXT: return it ? it->nextSibling : 0;
    case TVGN_PREVIOUS: return it ? it->prevSibling : 0;
    case TVGN_PARENT: return it ? it->parent : 0;
    case TVGN_CHILD: return root ? d->firstRoot : it ? it->firstChild : 0;
    case TVGN_FIRSTVISIBLE: return RowItem(d, d->firstRow);
    case TVGN_NEXTVISIBLE: return NextRowItem(d, item, 1);
    case TVGN_PREVIOUSVISIBLE: return NextRowItem(d, item, -1);
    case TVGN_DROPHILITE: return d->dropItem;
    case TVGN_CARET: return d->caretItem;
    case TVGN_LASTVISIBLE: return d->rowCount ? RowItem(d, d->rowCount - 1) : 0;
    case TLGN_NEXTSELECTED: {
        const ItemId from = root ? d->firstRoot : it ? NextInTree(d, item) : 0;
        return FindInTree(d, from, 0, [](const TreeListItem* i) { return (i->state & TVIS_SELECTED) != 0; });
    }
    case TLGN_DROPCOLUMN: return d->dropColumn;
    case TLGN_CARETCOLUMN: return d->caretColumn;
    case TLGN_ROWBELOWLAST:
    case TLGN_ROWABOVELAST: {
        if (!d->wholeRows) return 0;
        const UINT last = d->firstRow + d->wholeRows - 1;
        if (code == TLGN_ROWBELOWLAST) return RowItem(d, last + 1);
        return last ? RowItem(d, last - 1) : 0;
    }
    case TLGN_SELECTEDCELLITEM: return d->selCellItem ? d->selCellItem : d->caretItem;
    case TLGN_SELECTEDCELLCOLUMN: return d->selCellItem ? d->selCellColumn : d->caretColumn;
    case TLGN_NEXTSELECTEDINSUBTREE:
        if (!it || !it->firstChild) return 0;
        return FindInTree(d, it->firstChild, item,
                          [](const TreeListItem* i) { return (i->state & TVIS_SELECTED) != 0; });
    case TLGN_LASTCHILD: return root ? d->lastRoot : it ? it->lastChild : 0;
    case TLGN_NEXTINTREE: return root ? d->firstRoot : it ? NextInTree(d, item) : 0;
    case TLGN_NEXTCHECKED: {
        const ItemId from = root ? d->firstRoot : it ? NextInTree(d, item) : 0;
        return FindInTree(d, from, 0, [d](const TreeListItem* i) { return IsChecked(d, i); });
    }
    case TLGN_PREVIOUSINTREE:
        if (root) return d->lastRoot ? LastDescendant(d, d->lastRoot) : 0;
        return it ? PreviousInTree(d, item) : 0;
    default: return 0;
    }
}
