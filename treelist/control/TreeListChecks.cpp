// Check boxes of the tree column: the state image toggled by a click or by Space, the one-checked-item mode
// and the item checked last.
#include "treelist/control/TreeListItemOps.h"

#include "treelist/control/TreeListNotify.h"

namespace {

bool Reversed(const TreeListData* d) { return (d->exStyle & TLX_REVERSECHECKS) != 0; }

bool IsCheckedState(const TreeListData* d, UINT state) {
    if (Reversed(d)) return (state & INDEXTOSTATEIMAGEMASK(1)) != 0;
    // With TLX_SKIPMARKED the mark bit is no part of the check box.
    const UINT images = state & TVIS_STATEIMAGEMASK & ((d->exStyle & TLX_SKIPMARKED) ? ~TLIS_MARKED : ~0u);
    return images == INDEXTOSTATEIMAGEMASK(2);
}

// Stores a state image through the TVM_SETITEMA rules.
void SetStateImage(TreeListData* d, ItemId item, UINT image) {
    TVITEMA r = {};
    r.mask = TVIF_HANDLE | TVIF_STATE;
    r.hItem = ToHandle(item);
    r.state = INDEXTOSTATEIMAGEMASK(image);
    r.stateMask = TVIS_STATEIMAGEMASK;
    SetItem(d, &r);
}

TVITEMA CheckRecord(const TreeListData* d, ItemId item) {
    TVITEMA r = NotifyRecord(d, item, TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_TEXT);
    if (const TreeListItem* it = Item(d, item)) {
        r.pszText = it->text;
        r.cchTextMax = static_cast<int>(it->textLength);
    }
    return r;
}

}  // namespace

void TrackChecked(TreeListData* d, ItemId item) {
    const TreeListItem* it = Item(d, item);
    if (it && IsCheckedState(d, it->state))
        d->lastChecked = item;
    else if (d->lastChecked == item)
        d->lastChecked = 0;
}

void ToggleCheckBox(TreeListData* d, ItemId item, int x, int y) {
    const TreeListItem* it = Item(d, item);
    if (!it || (it->state & static_cast<UINT>(d->options[TLO_OPTION12]))) return;
    TVITEMA old = {};
    if (d->exStyle & TLX_ONECHECKED) {
        if (d->lastChecked == item && IsCheckedState(d, it->state)) return;
        if (const ItemId last = d->lastChecked; last != item && Item(d, last)) {
            SetStateImage(d, last, Reversed(d) ? 0 : 1);
            if (IsDying(d)) return;
            old = CheckRecord(d, last);
        }
        if (!(it = Item(d, item))) return;
    }
    const UINT image = StateImageIndex(it->state);
    const UINT next = Reversed(d) ? (image ^ 1) : image == 1 ? 2 : 1;
    SetStateImage(d, item, next);
    if (IsDying(d) || !Item(d, item)) return;
    d->lastChecked = item;  // the item toggled last, also when the click cleared its box
    SendTreeView(d, TLN_CHECKCHANGED, kCheckAction, old, CheckRecord(d, item), POINT{x, y});
}
