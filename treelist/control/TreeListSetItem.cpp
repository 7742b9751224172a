// TVM_SETITEMA: the parts of an item or a cell a record names. Selection and expansion go through their own
// operations (with notifications); a caller on another thread (mask TLIF_NOCALLBACK) has those and the
// repaints queued for the window's thread.
#include "treelist/control/TreeListItemOps.h"

#include "treelist/control/TreeListDeferred.h"
#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListSelect.h"

#include <cstring>

namespace {

constexpr UINT kHeldStates = TVIS_SELECTED | TVIS_EXPANDED | TVIS_EXPANDPARTIAL;
constexpr UINT kWidthStates = 0x1 | TVIS_DROPHILITED | TVIS_BOLD;  // focus, drop highlight, bold: the text's look

bool HasChildren(const TreeListItem* it) {
    return it->firstChild || (it->flags & kHasChildren) || (it->callbacks & kCallbackChildren);
}

bool ItemImages(const TreeListData* d) { return HasImages(d, kImagesItem); }

// Stores a text (or the call-back mark). changed: whether the shown text differs. False when memory ran out.
bool StoreRecordText(char** text, UINT* length, int* width, BYTE* callbacks, LPCSTR source, bool* changed) {
    if (source == LPSTR_TEXTCALLBACKA) {
        *changed = !(*callbacks & kCallbackText) || *length;
        FreeText(*text);
        *text = EmptyText();
        *length = 0;
        *width = 0;
        *callbacks |= kCallbackText;
        return true;
    }
    if (!source) source = "";
    const size_t n = strlen(source);
    *changed = (*callbacks & kCallbackText) || n != *length || memcmp(*text ? *text : "", source, n) != 0;
    if (!*changed) return true;
    if (!StoreText(text, length, source)) return false;
    *width = 0;
    *callbacks &= ~kCallbackText;
    return true;
}

// The record after taking out the state bits a caller on another thread leaves to the window's thread.
struct Deferred {
    UINT mask = 0, values = 0;
};
Deferred TakeOutHeldStates(const TreeListItem* it, TVITEMA* r, bool forCell) {
    Deferred out;
    if (!(r->mask & TLIF_NOCALLBACK) || !(r->mask & TVIF_STATE)) return out;
    if (forCell && (r->mask & TLIF_STATERAW)) return out;
    out.mask = r->stateMask & kHeldStates & (r->state ^ it->state);
    out.values = r->state & out.mask;
    r->stateMask &= ~(out.mask | TVIS_SELECTED | TVIS_EXPANDED);
    return out;
}

// Unselects an item: the caret lets go of it; in a multi-selection it also leaves the selected set.
void Unselect(TreeListData* d, ItemId item) {
    if (d->caretItem == item) SelectCell(d, 0, 0, 0);
    TreeListItem* it = Item(d, item);
    if (!it || !(it->state & TVIS_SELECTED)) return;
    if (d->exStyle & TLX_MULTISELECT) {
        ToggleItemSelection(d, item, 0);
    } else {
        it->state &= ~TVIS_SELECTED;
        --d->selectedCount;
        InvalidateRow(d, item);
    }
}

void SelectOrUnselect(TreeListData* d, ItemId item, int column, bool select) {
    if (select)
        SelectCell(d, item, CellNavigation(d) ? column : 0, 0);
    else
        Unselect(d, item);
}

void Repaint(TreeListData* d, const TVITEMA& r, ItemId item, int column) {
    if (r.mask & TLIF_NOCALLBACK)
        Defer(d, kDeferRepaint, static_cast<LPARAM>(item), column);
    else
        InvalidateCell(d, item, column);
}

BOOL SetCell(TreeListData* d, ItemId item, int column, const TVITEMA& r) {
    if (column >= d->columnCount) return FALSE;
    TreeListCell* cell = EnsureCell(d, item, column);
    if (!cell) return FALSE;
    TreeListItem* it = d->items[item];
    bool repaint = false;
    if (r.mask & TVIF_PARAM) it->lParam = r.lParam;
    if (r.mask & TVIF_IMAGE) {
        cell->image = r.iImage;
        if (r.iImage == kImageCallback)
            cell->callbacks |= kCallbackImage;
        else
            cell->callbacks &= ~kCallbackImage;
        if (ItemImages(d) || HasImages(d, kImagesCell)) {
            repaint = true;
            if (r.iImage != kImageNone) cell->flags |= kHasImage;
        }
    }
    if (r.mask & TVIF_TEXT) {
        bool changed = false;
        if (!StoreRecordText(&cell->text, &cell->textLength, &cell->textWidth, &cell->callbacks, r.pszText, &changed))
            return FALSE;
        repaint |= changed;
    }
    UINT changed = 0;
    if (r.mask & TVIF_STATE) {
        const UINT old = cell->state;
        cell->state = (old & ~r.stateMask) | (r.state & r.stateMask);
        changed = (old ^ cell->state) & r.stateMask;
        if (r.mask & TLIF_STATERAW) changed |= (it->state ^ cell->state) & r.stateMask;
        if ((changed & (TVIS_STATEIMAGEMASK | kImageStyleStates | TLIS_IMAGERIGHT)) &&
            (ItemImages(d) || d->columns[column].editMode >= TLEM_CHECK))
            repaint = true;
        if (changed & kWidthStates) {
            cell->textWidth = 0;
            repaint = true;
        }
    }
    if (repaint && it->row) Repaint(d, r, item, column);
    if ((changed & TVIS_EXPANDED) && HasChildren(it) && ExpandItem(d, item, 0) != 0) return FALSE;
    if ((changed & TVIS_SELECTED) && (cell = Cell(d, item, column)) != nullptr)
        SelectOrUnselect(d, item, column, (cell->state & TVIS_SELECTED) != 0);
    return TRUE;
}

void SetChildren(TreeListItem* it, int children, bool* repaint) {
    const BYTE oldFlags = it->flags, oldCallbacks = it->callbacks;
    it->callbacks &= ~kCallbackChildren;
    if (children == I_CHILDRENCALLBACK) {
        it->callbacks |= kCallbackChildren;
        it->flags &= ~kChildrenOpen;
    } else if (children == 1) {
        it->flags = (it->flags | kHasChildren) & ~kChildrenOpen;
    } else if (children == 0) {
        it->flags = (it->flags & ~kHasChildren) | kChildrenOpen;
    } else {
        it->flags |= kChildrenOpen;
        it->flags = it->firstChild ? it->flags | kHasChildren : it->flags & ~kHasChildren;
    }
    *repaint |= it->flags != oldFlags || it->callbacks != oldCallbacks;
}

void SetImages(TreeListData* d, TreeListItem* it, const TVITEMA& r, bool* repaint) {
    const bool selected = it->state & TVIS_SELECTED;
    auto store = [&](int* image, int value, BYTE callbackFlag, bool inUse) {
        if (*image == value && ((it->callbacks & callbackFlag) != 0) == (value == kImageCallback)) return;
        *image = value;
        if (value == kImageCallback)
            it->callbacks |= callbackFlag;
        else
            it->callbacks &= ~callbackFlag;
        if (inUse && ItemImages(d)) {
            *repaint = true;
            if (value != kImageNone) it->flags |= kHasImage;
        }
    };
    if (r.mask & TVIF_IMAGE) store(&it->image, r.iImage, kCallbackImage, !selected);
    if (r.mask & TVIF_SELECTEDIMAGE) store(&it->selectedImage, r.iSelectedImage, kCallbackSelectedImage, selected);
}

// The rows below an item whose TLIS_MARKED bit decides (extended bit TLX_SKIPMARKED) whether its children show.
void RebuildAroundMark(TreeListData* d, ItemId item) {
    ItemId shown = item;
    while (shown && !d->items[shown]->row) shown = d->items[shown]->parent;
    const UINT row = shown ? d->items[shown]->row : 0;
    RebuildRows(d, row > 1 ? RowItem(d, row - 2) : 0);
}

BOOL SetItemItself(TreeListData* d, ItemId item, const TVITEMA& r) {
    TreeListItem* it = d->items[item];
    bool repaint = false, repaintRow = false;
    if (r.mask & TVIF_PARAM) it->lParam = r.lParam;
    SetImages(d, it, r, &repaint);
    if (r.mask & TVIF_CHILDREN) SetChildren(it, r.cChildren, &repaint);
    if (r.mask & TVIF_TEXT) {
        bool changed = false;
        if (!DetachItemText(d, it) ||
            !StoreRecordText(&it->text, &it->textLength, &it->textWidth, &it->callbacks, r.pszText, &changed))
            return FALSE;
        repaint |= changed;
    }
    UINT changed = 0;
    if (r.mask & TVIF_STATE) {
        UINT stateMask = r.stateMask;
        if (d->style & TVS_SINGLEEXPAND) stateMask &= ~TVIS_EXPANDED;
        const UINT old = it->state;
        changed = (old ^ r.state) & stateMask;
        it->state = (old & ~stateMask) | (r.state & stateMask);
        if ((changed & kImageStyleStates) && ItemImages(d)) repaint = true;
        if (changed & TVIS_STATEIMAGEMASK) {
            if (HasImages(d, kImagesState)) repaint = true;
            if ((d->exStyle & TLX_SKIPMARKED) && (changed & TLIS_MARKED)) RebuildAroundMark(d, item);
            if (!(it = Item(d, item))) return FALSE;
            TrackChecked(d, item);
        }
        if (changed & kWidthStates) {
            it->textWidth = 0;
            repaint = true;
        }
        // Selection and expansion are put back and done by their operations below.
        it->state ^= changed & TVIS_SELECTED;
        if (!HasChildren(it)) changed &= ~TVIS_EXPANDED;
        it->state ^= changed & TVIS_EXPANDED;
        if ((changed >> 16) & d->joinMask) repaintRow = true;
    }
    if (it->row && repaintRow) {
        if (r.mask & TLIF_NOCALLBACK)
            Defer(d, kDeferRepaintRow, static_cast<LPARAM>(item));
        else
            InvalidateRow(d, item);
    } else if (it->row && repaint) {
        Repaint(d, r, item, 0);
    }
    if (changed & TVIS_SELECTED) SelectOrUnselect(d, item, 0, (r.state & TVIS_SELECTED) != 0);
    if ((changed & TVIS_EXPANDED) && Item(d, item)) {
        const UINT partly = (r.stateMask & TVIS_EXPANDPARTIAL) ? r.state & TVIS_EXPANDPARTIAL : 0;
        const UINT action = (r.state & TVIS_EXPANDED) ? TVE_EXPAND : TVE_COLLAPSE;
        if (ExpandItem(d, item, action | partly) != 0) return FALSE;
    }
    return Item(d, item) != nullptr;
}

}  // namespace

BOOL SetItem(TreeListData* d, const TVITEMA* record) {
    if (!record) return FALSE;
    const ItemId item = ToItem(record->hItem);
    TreeListItem* it = Item(d, item);
    if (!it) return FALSE;
    TVITEMA r = *record;
    const int column = (r.mask & TLIF_CELL) ? r.cChildren : 0;
    if (column < 0) return FALSE;
    const Deferred held = TakeOutHeldStates(it, &r, column > 0);
    const BOOL done = column > 0 ? SetCell(d, item, column, r) : SetItemItself(d, item, r);
    if (held.mask && Item(d, item))
        Defer(d, kDeferSetState, static_cast<LPARAM>(item), static_cast<LPARAM>(held.mask << 16 | held.values));
    return done;
}

LRESULT SetItemMessage(TreeListData* d, const TVITEMA* record) { return SetItem(d, record); }

void ApplyStateBits(TreeListData* d, ItemId item, UINT mask, UINT values) {
    if (mask & TVIS_SELECTED) {
        const int column = d->caretColumn;
        SelectOrUnselect(d, item, column, (values & TVIS_SELECTED) != 0);
    }
    TreeListItem* it = Item(d, item);
    if (!it) return;
    const UINT partly = values & TVIS_EXPANDPARTIAL;
    if ((mask & TVIS_EXPANDED) && (values & TVIS_EXPANDED))
        ExpandItem(d, item, TVE_EXPAND | partly);
    else if (mask & TVIS_EXPANDED)
        ExpandItem(d, item, TVE_COLLAPSE);
    else if (mask & TVIS_EXPANDPARTIAL)
        it->state = (it->state & ~TVIS_EXPANDPARTIAL) | partly;
}
