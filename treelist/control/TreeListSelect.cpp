// The caret and the selection: SelectCell, which keys, the mouse and TVM_SELECTITEM share, the toggling of
// one item of a multi-selection, and the single-expand rule.
#include "treelist/control/TreeListSelect.h"

#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"

namespace {

constexpr UINT kRecordMask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TLIF_CELL;  // 0x801C
constexpr ItemId kKeep = 0xFFFFFFFF;

bool MultiSelect(const TreeListData* d) { return (d->exStyle & TLX_MULTISELECT) != 0; }

void RepaintCaret(TreeListData* d, ItemId item, int column) {
    if (d->exStyle & (TLX_CELLDROPHILITE | TLX_FULLROWSELECT))
        InvalidateRow(d, item);
    else
        InvalidateCell(d, item, column);
}

void SetSelected(TreeListData* d, TreeListItem* it, bool selected) {
    if (((it->state & TVIS_SELECTED) != 0) == selected) return;
    it->state ^= TVIS_SELECTED;
    selected ? ++d->selectedCount : --d->selectedCount;
}

// Every selected item loses its selection, walking the handles from the highest down.
void ClearSelection(TreeListData* d) {
    for (ItemId h = d->tableSize; h >= 1 && d->selectedCount; --h)
        if (TreeListItem* it = d->items[h]; it && (it->state & TVIS_SELECTED)) {
            SetSelected(d, it, false);
            InvalidateRow(d, h);
        }
}

// TVS_SINGLEEXPAND: the parent hears of the new caret (TVN_SINGLEEXPAND); unless it answers with bit 0 the
// old caret's branch collapses up to the first ancestor it shares with the new one, and unless it answers
// with bit 1 the new caret expands.
void SingleExpand(TreeListData* d, ItemId oldItem, int oldColumn, ItemId item, int column) {
    const LRESULT answer = SendTreeView(d, TVN_SINGLEEXPAND, TVC_UNKNOWN, NotifyRecord(d, oldItem, kRecordMask, oldColumn),
                                       NotifyRecord(d, item, kRecordMask, column));
    if (IsDying(d)) return;
    if (!(answer & 1) && Item(d, oldItem) && (!Item(d, item) || !IsAncestor(d, oldItem, item))) {
        for (ItemId p = oldItem; p && p != item && Item(d, p);) {
            if (Item(d, item) && IsAncestor(d, p, item)) break;
            const ItemId parent = d->items[p]->parent;
            if (d->items[p]->state & TVIS_EXPANDED) ExpandItem(d, p, TVE_COLLAPSE);
            if (IsDying(d)) return;
            p = parent;
        }
    }
    if (!(answer & 2) && Item(d, item) && !(d->items[item]->state & TVIS_EXPANDED)) ExpandItem(d, item, TVE_EXPAND);
}

}  // namespace

bool CellNavigation(const TreeListData* d) { return (d->exStyle & TLX_CELLDROPHILITE) && d->columnCount > 1; }

BOOL SelectCell(TreeListData* d, ItemId item, int column, UINT flags) {
    if (column < 0 || (column > 0 && column >= d->columnCount) || (item && !Item(d, item))) return FALSE;
    const bool multi = MultiSelect(d);
    if (item == d->caretItem && column == d->caretColumn && !(multi && d->selectedCount > 1)) return TRUE;
    const ItemId oldItem = d->caretItem;
    const int oldColumn = d->caretColumn;
    const UINT action = flags & ~(kSelectOnly | kSelectRemove);
    if (SendTreeView(d, TVN_SELCHANGINGA, action, NotifyRecord(d, oldItem, kRecordMask, oldColumn),
                     NotifyRecord(d, item, kRecordMask, column)))
        return FALSE;
    // The parent may have deleted items or columns while it was asked.
    if (IsDying(d) || (item && !Item(d, item)) || (column > 0 && column >= d->columnCount)) return FALSE;
    // A multi-selection goes only once the parent has let the caret move.
    if (multi && (flags & kSelectOnly) && d->selectedCount > 1) ClearSelection(d);
    if (TreeListItem* old = Item(d, oldItem)) {
        RepaintCaret(d, oldItem, oldColumn);
        if (!multi || (flags & kSelectOnly)) SetSelected(d, old, false);
    }
    if (item) {
        SetSelected(d, d->items[item], !(flags & kSelectRemove));
        if (column > 0) EnsureCell(d, item, column);
    }
    d->caretItem = item;
    d->caretColumn = column;
    RepaintCaret(d, item, column);
    SendTreeView(d, TVN_SELCHANGEDA, action, NotifyRecord(d, oldItem, kRecordMask, oldColumn),
                 NotifyRecord(d, item, kRecordMask, column));
    if (!IsDying(d) && (d->style & TVS_SINGLEEXPAND) && Item(d, item)) SingleExpand(d, oldItem, oldColumn, item, column);
    return TRUE;
}

BOOL ToggleItemSelection(TreeListData* d, ItemId item, UINT action) {
    if (!Item(d, item) || item == d->caretItem) return FALSE;
    const TVITEMA none = NotifyRecord(d, 0, kRecordMask);
    if (SendTreeView(d, TVN_SELCHANGINGA, action, none, NotifyRecord(d, item, kRecordMask))) return FALSE;
    TreeListItem* it = Item(d, item);
    if (IsDying(d) || !it) return FALSE;
    SetSelected(d, it, !(it->state & TVIS_SELECTED));
    SendTreeView(d, TVN_SELCHANGEDA, action, none, NotifyRecord(d, item, kRecordMask));
    if (IsDying(d) || !Item(d, item)) return TRUE;
    if (d->exStyle & TLX_FULLROWSELECT)
        InvalidateRow(d, item);
    else
        InvalidateCell(d, item, 0);
    return TRUE;
}

LRESULT SelectItemMessage(TreeListData* d, WPARAM code, ItemId item) {
    if (code == TVGN_DROPHILITE) return SetDropHighlight(d, item, 0);
    if (code == TVGN_FIRSTVISIBLE) return ShowAtTop(d, item);
    if (code != TVGN_CARET) return 0;
    if (item && !Item(d, item)) return 0;
    return SelectCell(d, item, CellNavigation(d) ? d->caretColumn : 0, kSelectOnly);
}

LRESULT SelectCellMessage(TreeListData* d, ItemId item, int column) {
    if (item == kKeep) item = d->caretItem;
    if (column == -1) column = d->caretColumn;
    if (!Item(d, item)) return 0;
    return SelectCell(d, item, column, 0);
}
