// Mouse buttons: clicks and double clicks on the button, the check box, the label and the cells of a row;
// selection with Ctrl and Shift, edit on click and on double click, and the notifications of every press and
// release. The parent answers with the lock left; what a click does after a notification looks its item up
// again.
#include "treelist/control/TreeListMouse.h"

#include "treelist/control/TreeListDrag.h"
#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListSeams.h"
#include "treelist/control/TreeListSelect.h"

#include <windowsx.h>

#include <cstdlib>

namespace {

constexpr DWORD kDoubleClickMs = 700;
constexpr int kDoubleClickReach = 6;
constexpr UINT kTreeMask = TLHT_ONTEXT | TVHT_ONITEMSTATEICON | TVHT_ONITEMLABEL | TVHT_ONITEMICON;
constexpr UINT kCellMask = TLHT_ONCELLLABEL | TLHT_ONCELLIMAGE | TLHT_ONCELLTEXT;
constexpr UINT kSelectAction = 1;  // the action word the selection notifications carry
constexpr UINT kButtonRecordMask = 0x401C;
constexpr UINT kEditOnlyOnText = 0x1, kEditAfterCaretMove = 0x2;  // option 7
constexpr UINT kExpandedPartly = TVIS_EXPANDED | TVIS_EXPANDPARTIAL;

struct Click {
    UINT msg;
    UINT keys;
    POINT pt;
    ItemId item;
    UINT flags;
    ItemId toggleAfter;  // toggled once the parent answered the notification with 0

    bool leftPress() const { return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK; }
    bool rightPress() const { return msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK; }
    bool firstPress() const { return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN; }
    bool ctrl() const { return keys & MK_CONTROL; }
    bool shift() const { return keys & MK_SHIFT; }
};

UINT NotificationOf(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN: return NM_CLICK;
    case WM_LBUTTONUP: return TLN_LBUTTONUP;
    case WM_LBUTTONDBLCLK: return NM_DBLCLK;
    case WM_RBUTTONDOWN: return NM_RCLICK;
    case WM_RBUTTONUP: return TLN_RBUTTONUP;
    default: return NM_RDBLCLK;
    }
}

bool HasChildren(const TreeListItem* it) {
    return it->firstChild || (it->flags & kHasChildren) || (it->callbacks & kCallbackChildren);
}

// A click that toggles an item after the notification; on the button or the tree column a partly expanded
// item toggles at once.
void ToggleOnClick(TreeListData* d, Click& c, bool partlyAtOnce = true) {
    const TreeListItem* it = Item(d, c.item);
    if (!it || !HasChildren(it)) return;
    if (partlyAtOnce && (it->state & kExpandedPartly) == kExpandedPartly)
        ExpandItem(d, c.item, 0);
    else
        c.toggleAfter = c.item;
}

void Arm(TreeListData* d, const Click& c, int column) {
    if (!c.firstPress() || (d->style & TVS_DISABLEDRAGDROP)) return;
    d->candidateButtons |= c.msg == WM_LBUTTONDOWN ? 1u : 2u;
    d->candidateItem = c.item;
    d->candidateColumn = column;
    d->lastMove = MAKELPARAM(c.pt.x, c.pt.y);
}

// Selection as a press makes it; false when the parent refused it. unchanged: the caret stayed.
bool SelectAsPress(TreeListData* d, const Click& c, int column, UINT flags, bool* unchanged) {
    const ItemId oldItem = d->caretItem;
    const int oldColumn = d->caretColumn;
    MarkSelectedCell(d, 0, 0);
    if (!SelectCell(d, c.item, column, flags) || IsDying(d)) return false;
    *unchanged = oldItem == d->caretItem && oldColumn == d->caretColumn;
    // The keys' Shift ranges start here, as after a caret move by key.
    if (d->selectedCount < 2 || !Item(d, d->anchorItem)) d->anchorItem = d->caretItem;
    EnsureCaretVisible(d);
    return !IsDying(d) && Item(d, c.item);
}

// Ctrl-click on a selected item of a multi-selection: the item (with what hides below it) leaves the selection.
void CtrlUnselect(TreeListData* d, const Click& c, int column) {
    if (!SelectCell(d, 0, 0, kSelectAction) || IsDying(d)) return;
    UnselectWithHidden(d, c.item);
    if (!IsDying(d) && Item(d, c.item)) MarkSelectedCell(d, c.item, column);
}

bool EditOnClick(const TreeListData* d, const Click& c, bool caretUnchanged, UINT onText, UINT anyPart) {
    const UINT option = static_cast<UINT>(d->options[TLO_CLICKTIME]);
    if (!(d->exStyle & TLX_EDITONCLICK) || c.ctrl() || c.shift()) return false;
    if (!(option & kEditAfterCaretMove) && !caretUnchanged) return false;
    return (c.flags & ((option & kEditOnlyOnText) ? onText : anyPart)) != 0;
}

void OpenOnRelease(TreeListData* d, const Click& c, ItemId item, int column) {
    d->editOnRelease = false;
    if (HasEditMode(d, column))
        OpenColumnEditor(d, item, column, TLET_CLICK);
    else
        EditLabelRequest(d, item, column, TLET_CLICK, c.pt);
}

void TreeColumnClick(TreeListData* d, Click& c) {
    const UINT anyPart = (kTreeMask | ((d->style & TVS_FULLROWSELECT) ? TVHT_ONITEMRIGHT : 0u)) & ~TVHT_ONITEMICON;
    Arm(d, c, 0);
    if (c.rightPress() && (d->exStyle & TLX_RCLICKKEEPSSELECTION)) return;
    bool unchanged = true;
    if (c.msg == WM_LBUTTONUP) {
        if (d->pendingSelect &&
            !SelectAsPress(d, c, 0, kSelectAction | (c.ctrl() ? 0u : static_cast<UINT>(kSelectOnly)), &unchanged))
            return;
        // The label edited is the caret's, wherever the button went up.
        if (d->editOnRelease || EditOnClick(d, c, unchanged, TLHT_ONTEXT, anyPart))
            OpenOnRelease(d, c, d->caretItem, 0);
        return;
    }
    const bool selected = d->items[c.item]->state & TVIS_SELECTED;
    if (d->exStyle & TLX_MULTISELECT) {
        if (c.rightPress() && selected && d->selectedCount > 1) return;
        if (c.msg == WM_LBUTTONDOWN && !c.ctrl() && !c.shift() && selected && d->selectedCount > 0) {
            d->pendingSelect = true;
            d->editOnRelease = false;
            return;
        }
        if (c.leftPress() && c.shift()) {
            SelectRange(d, c.item, 0);
            return;
        }
        if (c.ctrl()) {
            d->ctrlAnchor = true;
            d->anchorItem = c.item;
            d->editOnRelease = false;
            if (selected) {
                if (c.leftPress()) CtrlUnselect(d, c, 0);
                return;
            }
        }
    }
    if (!SelectAsPress(d, c, 0, kSelectAction | (c.ctrl() ? 0u : static_cast<UINT>(kSelectOnly)), &unchanged)) return;
    if (c.msg == WM_LBUTTONDBLCLK) {
        const bool columnEditor = HasEditMode(d, 0) && (d->columns[0].editFlags & TLEF_DBLCLICK);
        const bool opened = columnEditor ? OpenColumnEditor(d, d->caretItem, 0, TLET_RETURN) != 0
                                         : EditLabelRequest(d, d->caretItem, 0, TLET_RETURN, c.pt) != nullptr;
        if (!opened && !IsDying(d)) ToggleOnClick(d, c);
        return;
    }
    if (c.msg == WM_LBUTTONDOWN && EditOnClick(d, c, unchanged, TLHT_ONTEXT, anyPart)) d->editOnRelease = true;
}

void CellClick(TreeListData* d, Click& c) {
    const int hitColumn = HitColumn(c.flags);
    const bool onImage = c.flags & TLHT_ONCELLIMAGE;
    const bool imageEdits = HasEditMode(d, hitColumn) && (d->columns[hitColumn].editFlags & TLEF_IMAGECLICK);
    const int column = (d->exStyle & TLX_CELLDROPHILITE) || (imageEdits && onImage) ? hitColumn : 0;
    const bool multi = d->exStyle & TLX_MULTISELECT;
    const bool selected = d->items[c.item]->state & TVIS_SELECTED;
    const UINT anyPart = (kCellMask | ((d->style & TVS_FULLROWSELECT) ? TLHT_ONCELLRIGHT : 0u)) & ~TLHT_ONCELLIMAGE;
    Arm(d, c, column);
    UINT flags = kSelectOnly | kSelectAction;
    if (c.rightPress()) {
        if (d->exStyle & TLX_RCLICKKEEPSSELECTION) return;
        if (multi && c.item == d->selCellItem && column == d->selCellColumn) return;
        if (multi && selected) flags = kSelectAction;
    }
    bool unchanged = true;
    if (c.msg == WM_LBUTTONUP) {
        if (d->pendingSelect && !SelectAsPress(d, c, column, flags, &unchanged)) return;
        if (d->editOnRelease || (column && EditOnClick(d, c, unchanged, TLHT_ONCELLTEXT, anyPart)))
            OpenOnRelease(d, c, c.item, column);
        return;
    }
    if (multi && c.leftPress() && c.shift()) {
        SelectRange(d, c.item, column);
        return;
    }
    if (c.ctrl()) {
        if (multi) {
            d->ctrlAnchor = true;
            d->anchorItem = c.item;
            d->editOnRelease = false;
        }
        if (multi && selected) {
            if (c.leftPress()) CtrlUnselect(d, c, column);
            return;
        }
        flags = kSelectAction;
    }
    if (!SelectAsPress(d, c, column, flags, &unchanged)) return;
    if (c.msg == WM_LBUTTONDBLCLK) {
        const UINT editFlags = HasEditMode(d, column) ? d->columns[column].editFlags : 0;
        bool opened;
        if ((editFlags & TLEF_DBLCLICK) || ((editFlags & TLEF_IMAGECLICK) && onImage))
            opened = OpenColumnEditor(d, c.item, column, TLET_RETURN + (onImage ? 1 : 0)) != 0;
        else
            opened = EditLabelRequest(d, c.item, column, TLET_RETURN, c.pt) != nullptr;
        const TreeListCell* cell = Cell(d, c.item, column);
        if (!opened && column && !IsDying(d) && Item(d, c.item) && !(cell && (cell->state & TLIS_IMAGECHECK)))
            ToggleOnClick(d, c, false);
        return;
    }
    if (c.msg != WM_LBUTTONDOWN) return;
    const TreeListCell* cell = Cell(d, c.item, hitColumn);
    if (onImage && cell && (cell->state & TLIS_IMAGECHECK)) {
        const bool locked = HasEditMode(d, hitColumn) && (d->columns[hitColumn].editFlags & TLEF_LOCKEDCHECKS) &&
                            (cell->state & TLIS_CHECKLOCKED);
        if (!locked) {
            d->pressedCheckItem = c.item;
            d->pressedCheckColumn = hitColumn;
            InvalidateCell(d, c.item, hitColumn);
        }
    } else if (imageEdits && onImage) {
        OpenColumnEditor(d, c.item, hitColumn, TLET_CTRLRETURN);
        if (IsDying(d) || !Item(d, c.item)) return;
    }
    if (column && EditOnClick(d, c, unchanged, TLHT_ONCELLTEXT, anyPart)) d->editOnRelease = true;
}

// The record of a button notification: all 0 without an item.
LRESULT Notify(TreeListData* d, UINT code, UINT action, ItemId item, int column, POINT pt) {
    const TVITEMA hit = Item(d, item) ? NotifyRecord(d, item, kButtonRecordMask, column) : TVITEMA{};
    return SendTreeView(d, code, action, TVITEMA{}, hit, pt);
}

// Takes the focus when the control lacks it; false when it did not get it.
bool TakeFocus(TreeListData* d) {
    if (GetFocus() == d->window) return true;
    HWND window = d->window;
    {
        TreeListUnlocked unlocked(d->lock);
        SetFocus(window);
    }
    return !IsDying(d) && GetFocus() == d->window;
}

void DragClick(TreeListData* d, const Click& c) {
    if (!c.rightPress()) return;
    if ((c.flags & TVHT_ONITEMBUTTON) && HasChildren(d->items[c.item]))
        ExpandItem(d, c.item, 0);
    else
        CancelInternalDrag(d, true);
}

LRESULT OnMouseButton(TreeListData* d, UINT msg, UINT keys, POINT pt) {
    if (!d->enabled || !TakeFocus(d)) return 0;
    Click c = {msg, keys, pt, 0, 0, 0};
    d->hit = TVHITTESTINFO{};
    d->hit.pt = pt;
    c.item = HitTestCell(d, &d->hit);
    c.flags = d->hit.flags;
    if (d->dragItem && c.rightPress()) {
        if (c.item) DragClick(d, c);
        else CancelInternalDrag(d, true);
        return 0;
    }
    if (c.item) {
        if ((c.flags & TVHT_ONITEMSTATEICON) && (d->style & TVS_CHECKBOXES)) {
            if (c.leftPress()) {
                d->hotCheckPressed = true;
                ToggleCheckBox(d, c.item, pt.x, pt.y);
            }
        } else if (c.flags & TVHT_ONITEMBUTTON) {
            if (c.leftPress()) ToggleOnClick(d, c);
        } else if (c.flags & (kTreeMask | ((d->style & TVS_FULLROWSELECT) ? TVHT_ONITEMRIGHT : 0u))) {
            TreeColumnClick(d, c);
        } else if (c.flags & (kCellMask | ((d->style & TVS_FULLROWSELECT) ? TLHT_ONCELLRIGHT : 0u))) {
            CellClick(d, c);
        }
        if (IsDying(d)) return 0;
    }
    const ItemId shown = Item(d, c.item) ? c.item : 0;
    const LRESULT answer = Notify(d, NotificationOf(msg), c.flags, shown, HitColumn(c.flags), pt);
    if (!answer && c.toggleAfter && !IsDying(d) && Item(d, c.toggleAfter)) ExpandItem(d, c.toggleAfter, 0);
    return 0;
}

LRESULT SendButtonNotify(TreeListData* d, UINT code, POINT pt) {
    TVHITTESTINFO hit = {};
    hit.pt = pt;
    const ItemId item = HitTestCell(d, &hit);
    return Notify(d, code, 0, item, HitColumn(hit.flags), pt);
}

bool TipShown(const TreeListData* d) { return d->tipItem && !d->tipCountdown; }

LRESULT OnLeftUp(TreeListData* d, UINT keys, POINT pt) {
    d->candidateButtons &= ~1u;
    if (d->dragItem) {
        EndInternalDrag(d, keys);
    } else if (d->pendingSelect || d->editOnRelease) {
        OnMouseButton(d, WM_LBUTTONUP, keys, pt);
        d->pendingSelect = d->editOnRelease = false;
    } else {
        SendButtonNotify(d, TLN_LBUTTONUP, pt);
    }
    if (IsDying(d)) return 0;
    if (d->hotCheckPressed) {
        d->hotCheckPressed = false;
        InvalidateHotCheck(d);
    }
    ReleaseCellCheck(d, pt);
    return 0;
}

}  // namespace

LRESULT OnButton(TreeListData* d, UINT msg, WPARAM wp, LPARAM lp) {
    const UINT keys = static_cast<UINT>(wp);
    const POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
    case WM_LBUTTONDOWN: {
        if (d->dragItem && (d->dragFlags & kDragByMessage)) return 0;
        const DWORD now = TreeListTick();
        // Over a shown tip a double click arrives as two presses: the second one is made a double click.
        if (TipShown(d) && d->pressRecorded && now - d->pressTick < kDoubleClickMs &&
            std::abs(pt.x - d->pressPoint.x) + std::abs(pt.y - d->pressPoint.y) <= kDoubleClickReach) {
            d->pressRecorded = false;
            return OnMouseButton(d, WM_LBUTTONDBLCLK, keys, pt);
        }
        d->pressRecorded = true;
        d->pressTick = now;
        d->pressPoint = pt;
        return OnMouseButton(d, msg, keys, pt);
    }
    case WM_LBUTTONUP: return OnLeftUp(d, keys, pt);
    case WM_RBUTTONUP:
        d->candidateButtons &= ~2u;
        SendButtonNotify(d, TLN_RBUTTONUP, pt);
        return 0;
    default:
        d->pressRecorded = false;
        return OnMouseButton(d, msg, keys, pt);
    }
}
