// Check boxes by mouse: the state-image check box of the tree column (one-checked mode and reversed marks
// included), the hot check box under the mouse and a check-style cell pressed with the left button.
#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListMouse.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListPending.h"

namespace {

constexpr UINT kStateImageMask = 0xF000;
constexpr UINT kCheckAction = 0x10000, kCellCheckAction = 0x10003;
constexpr UINT kCheckRecordMask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE | TVIF_PARAM;

UINT StateImage(UINT state) { return state >> 12 & 0xF; }

bool SetStateImage(TreeListData* d, ItemId item, UINT image) {
    TVITEMA r = {};
    r.mask = TVIF_STATE;
    r.hItem = ToHandle(item);
    r.state = image << 12;
    r.stateMask = kStateImageMask;
    return SetItem(d, &r) != FALSE;
}

void FillCheckRecord(const TreeListData* d, ItemId item, TVITEMA* r) {
    const TreeListItem* it = d->items[item];
    r->mask = kCheckRecordMask;
    r->hItem = ToHandle(item);
    r->state = it->state;
    r->stateMask = 0xFFFFFFFF;
    r->pszText = it->text;
    r->cchTextMax = static_cast<int>(it->textLength);
    r->lParam = it->lParam;
}

}  // namespace

void InvalidateHotCheck(TreeListData* d) { InvalidateCell(d, d->hotCheckItem, d->hotCheckColumn); }

void ToggleCheckBox(TreeListData* d, ItemId item, int x, int y) {
    const TreeListItem* it = Item(d, item);
    if (!it || (it->state & static_cast<UINT>(d->options[TLO_OPTION12]))) return;
    const bool reversed = d->exStyle & TLX_REVERSECHECKS;
    NMTREEVIEWA nm = {};
    if (d->exStyle & TLX_SINGLECHECK) {
        if (StateImage(it->state) == (reversed ? 1u : 2u)) return;
        const ItemId last = d->lastChecked;
        if (last != item && Item(d, last) && StateImage(d->items[last]->state) == (reversed ? 1u : 2u)) {
            SetStateImage(d, last, reversed ? 0 : 1);
            if (IsDying(d) || !Item(d, item)) return;
            if (Item(d, last)) FillCheckRecord(d, last, &nm.itemOld);
        }
    }
    const UINT image = StateImage(d->items[item]->state);
    const UINT next = reversed ? (image ^ 1) : image == 1 ? 2 : 1;
    if (!SetStateImage(d, item, next) || IsDying(d) || !Item(d, item)) return;
    d->lastChecked = item;
    nm.action = kCheckAction;
    FillCheckRecord(d, item, &nm.itemNew);
    nm.itemNew.cChildren = 0;
    nm.ptDrag = POINT{x, y};
    SendNotify(d, TLN_CHECKCHANGED, &nm.hdr);
}

void ReleaseCellCheck(TreeListData* d, POINT point) {
    const ItemId item = d->pressedCheckItem;
    const int column = d->pressedCheckColumn;
    if (!item) return;
    d->pressedCheckItem = 0;
    d->pressedCheckColumn = 0;
    InvalidateCell(d, item, column);
    if (!Item(d, item)) return;
    NMTREEVIEWA nm = {};
    nm.action = kCellCheckAction;
    FillCheckRecord(d, item, &nm.itemNew);
    nm.itemNew.mask |= TLIF_CELL;
    if (const TreeListCell* cell = Cell(d, item, column)) {
        nm.itemNew.state = cell->state;
        nm.itemNew.pszText = cell->text;
        nm.itemNew.cchTextMax = static_cast<int>(cell->textLength);
    }
    nm.itemNew.cChildren = column;
    nm.ptDrag = point;
    if (SendNotify(d, TLN_CHECKCHANGED, &nm.hdr) || IsDying(d) || !Item(d, item)) return;
    if (column < d->columnCount && (d->columns[column].editFlags & TLEF_IMAGECLICK) && d->columns[column].editMode)
        OpenColumnEditor(d, item, column, TLET_CTRLRETURN);
}
