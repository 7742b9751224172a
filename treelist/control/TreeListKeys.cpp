// WM_KEYDOWN and WM_KEYUP: Return and Tab, paste keys, scrolling with Ctrl, caret moves over rows and cells
// with Shift ranges, Space for check boxes, and TVN_KEYDOWN to the parent after every key.
#include "treelist/control/TreeListKeys.h"

#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListDrag.h"
#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListSelect.h"

#include <algorithm>

namespace {

constexpr int kHorizontalStep = 16;

bool Down(int key) { return GetKeyState(key) < 0; }

bool HasChildren(const TreeListItem* it) {
    return it->firstChild || (it->flags & kHasChildren) || (it->callbacks & kCallbackChildren);
}

// Takes the focus when it is elsewhere; false when that failed.
bool TakeFocus(TreeListData* d) {
    HWND window = d->window;
    if (GetFocus() == window) return true;
    {
        TreeListUnlocked unlocked(d->lock);
        SetFocus(window);
    }
    return !IsDying(d) && GetFocus() == window;
}

void SendReturn(TreeListData* d, UINT key, LPARAM lParam) {
    NMKEY nm = {};
    nm.nVKey = key;
    nm.uFlags = static_cast<UINT>(lParam);
    SendNotify(d, NM_RETURN, &nm.hdr);
}

// Ctrl with a key: the view scrolls, the caret stays.
void ScrollByKey(TreeListData* d, UINT key) {
    LONG_PTR first = d->firstRow;
    int x = d->scrollX;
    const LONG_PTR whole = d->wholeRows;
    UINT code;
    switch (key) {
    case VK_SPACE:
        if (const TreeListItem* caret = Item(d, d->caretItem); caret && HasChildren(caret))
            ExpandItem(d, d->caretItem, 0);
        return;
    case VK_PRIOR: first -= whole; code = SB_PAGEUP; break;
    case VK_NEXT: first += whole; code = SB_PAGEDOWN; break;
    case VK_HOME: first = 0; code = SB_TOP; break;
    case VK_END: first = static_cast<LONG_PTR>(d->itemCount) - whole; code = SB_BOTTOM; break;
    case VK_UP: first -= 1; code = SB_LINEUP; break;
    case VK_DOWN: first += 1; code = SB_LINEDOWN; break;
    case VK_LEFT: x -= kHorizontalStep; code = SB_LINELEFT; break;
    case VK_RIGHT: x += kHorizontalStep; code = SB_LINERIGHT; break;
    default: return;
    }
    if (d->style & TVS_NOSCROLL) return;
    if (key == VK_LEFT || key == VK_RIGHT)
        SetScrollX(d, x, code);
    else
        SetFirstRow(d, static_cast<UINT>(std::max<LONG_PTR>(first, 0)), code);
}

// The next column in display order, in direction step, whose width is above 0; the column itself if none.
int NextShownColumn(const TreeListData* d, int column, int step) {
    for (int pos = d->columns[column].position + step; pos >= 0 && pos < d->columnCount; pos += step)
        if (d->columns[d->order[pos]].width > 0) return d->order[pos];
    return column;
}

// The first column of the joined cell a column belongs to.
int JoinedStart(const TreeListData* d, UINT state, int column) {
    while (column > 0 && JoinedEnd(d, state, column - 1) >= column) --column;
    return column;
}

// The row the caret moves from: its own, or that of its (or the anchor's) nearest shown ancestor.
bool CaretRow(const TreeListData* d, UINT* row) {
    ItemId from = Item(d, d->caretItem) ? d->caretItem : Item(d, d->anchorItem) ? d->anchorItem : 0;
    while (from && !d->items[from]->row) from = d->items[from]->parent;
    if (!from) return false;
    *row = d->items[from]->row - 1;
    return true;
}

// Selects every row between the anchor and the caret, and the hidden descendants of collapsed items there.
void SelectAnchorToCaret(TreeListData* d) {
    UINT anchorRow, caretRow;
    const ItemId caret = d->caretItem;
    ItemId anchor = d->anchorItem;
    while (anchor && Item(d, anchor) && !d->items[anchor]->row) anchor = d->items[anchor]->parent;
    if (!Item(d, anchor) || !Item(d, caret) || !d->items[caret]->row) return;
    anchorRow = d->items[anchor]->row - 1;
    caretRow = d->items[caret]->row - 1;
    const UINT lo = std::min(anchorRow, caretRow), hi = std::max(anchorRow, caretRow);
    auto select = [d](ItemId item) {
        if (item != d->caretItem && !(d->items[item]->state & TVIS_SELECTED)) ToggleItemSelection(d, item, 0);
    };
    for (UINT row = lo; row <= hi && row < d->rowCount && !IsDying(d); ++row) {
        const ItemId item = RowItem(d, row);
        if (!item) continue;
        select(item);
        if (!Item(d, item) || ShowsChildren(d, d->items[item])) continue;
        for (ItemId c = d->items[item]->firstChild; c && !IsDying(d) && Item(d, item); c = NextInTree(d, c, item)) {
            select(c);
            if (!Item(d, c)) break;
        }
    }
}

// Moves the caret by a key. Without a caret (or anchor) to move from, the relative moves start at row 0.
void MoveCaret(TreeListData* d, UINT key) {
    if (!d->rowCount) return;
    UINT row = 0;
    const bool fromCaret = CaretRow(d, &row);
    const bool cells = CellNavigation(d);
    int column = cells ? std::clamp(d->caretColumn, 0, d->columnCount - 1) : 0;
    const ItemId item = RowItem(d, row);
    const TreeListItem* it = Item(d, item);
    LONG_PTR target = row;
    const LONG_PTR page = std::max<LONG_PTR>(static_cast<LONG_PTR>(d->wholeRows) - 1, 1);
    switch (key) {
    case VK_BACK:
        if (it && it->parent && d->items[it->parent]->row) target = d->items[it->parent]->row - 1;
        break;
    case VK_SPACE:
        if ((d->style & TVS_CHECKBOXES) && d->caretColumn == 0 && Item(d, d->caretItem))
            ToggleCheckBox(d, d->caretItem, 0, 0);
        return;
    case VK_PRIOR: target -= page; break;
    case VK_NEXT: target += page; break;
    case VK_HOME: {
        const UINT pinned = static_cast<UINT>(std::max<LONG_PTR>(d->options[TLO_PINNEDROWS], 0));
        target = row >= pinned ? pinned : 0;
        break;
    }
    case VK_END: target = static_cast<LONG_PTR>(d->rowCount) - 1; break;
    case VK_UP: target -= 1; break;
    case VK_DOWN: target += 1; break;
    case VK_LEFT:
        if (cells) {
            column = NextShownColumn(d, column, -1);
        } else if (it && (it->state & TVIS_EXPANDED) && HasChildren(it)) {
            ExpandItem(d, item, TVE_COLLAPSE);
            return;
        } else if (it && it->parent && d->items[it->parent]->row) {
            target = d->items[it->parent]->row - 1;
        }
        break;
    case VK_RIGHT:
        if (cells) {
            column = NextShownColumn(d, column, 1);
        } else if (it && (it->state & TVIS_EXPANDED) && HasChildren(it)) {
            target += 1;
        } else if (it && HasChildren(it)) {
            ExpandItem(d, item, TVE_EXPAND);
            return;
        }
        break;
    default: return;
    }
    if (!fromCaret && (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT)) target = 0;
    if (IsDying(d) || !d->rowCount) return;
    const UINT newRow = static_cast<UINT>(std::clamp<LONG_PTR>(target, 0, static_cast<LONG_PTR>(d->rowCount) - 1));
    const ItemId newItem = RowItem(d, newRow);
    if (!newItem) return;
    if (cells) column = JoinedStart(d, d->items[newItem]->state, column);
    if (newItem == d->caretItem && column == d->caretColumn) return;
    const bool shift = Down(VK_SHIFT);
    UINT flags = 0;
    if (!shift) flags = kSelectOnly | ((d->items[newItem]->state & TVIS_SELECTED) ? static_cast<UINT>(kSelectAlready) : 0u);
    if (!SelectCell(d, newItem, column, flags) || IsDying(d)) return;
    if (d->selectedCount < 2 || !Item(d, d->anchorItem)) d->anchorItem = d->caretItem;
    ScrollIntoView(d, d->caretItem, d->caretColumn);
    if (shift && (d->exStyle & TLX_MULTISELECT) && !IsDying(d)) SelectAnchorToCaret(d);
}

}  // namespace

LRESULT OnKeyDown(TreeListData* d, UINT key, LPARAM lParam) {
    if (!d->enabled || !TakeFocus(d)) return 0;
    const bool dragging = DragKey(d, key, true);
    if (IsDying(d)) return 0;
    if (key == VK_RETURN && !dragging) {
        SendReturn(d, key, lParam);
        if (!IsDying(d)) EditOnReturn(d, Down(VK_CONTROL));
        return 0;
    }
    if (key == VK_TAB && dragging) return 0;
    if (key == VK_TAB && (d->exStyle & TLX_TABTOPARENT)) {
        HWND parent = GetParent(d->window);
        TreeListUnlocked unlocked(d->lock);
        if (parent) SetFocus(parent);
        return 0;
    }
    const bool shift = Down(VK_SHIFT);
    bool control = Down(VK_CONTROL);
    if ((key == VK_INSERT && !shift && !control) || (key == 'V' && control && !shift))
        if (d->caretItem && IsClipboardFormatAvailable(CF_TEXT)) PasteIntoEditor(d);
    if (control && (key == VK_HOME || key == VK_END) && (d->exStyle & TLX_HOMEENDMOVECARET)) control = false;
    if (!IsDying(d)) {
        if (control && !shift)
            ScrollByKey(d, key);
        else
            MoveCaret(d, key);
    }
    if (IsDying(d)) return 0;
    NMTVKEYDOWN nm = {};
    nm.wVKey = static_cast<WORD>(key);
    nm.flags = static_cast<UINT>(lParam);
    const LRESULT answer = SendNotify(d, TVN_KEYDOWN, &nm.hdr);
    if (!IsDying(d)) d->skipNextChar = answer != 0;
    return 0;
}

LRESULT OnKeyUp(TreeListData* d, UINT key) {
    if (key == VK_CONTROL) DragKey(d, key, false);
    return 0;
}
