// The insert mark (TVM_SETINSERTMARK): an empty item in the insert-mark colour placed before or after an
// item. It is a real item: counted, selectable, and deleted with the usual notification when it moves on.
#include "treelist/control/TreeListSelect.h"

#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListNotify.h"

ItemId SetInsertMark(TreeListData* d, ItemId item, bool after) {
    LRESULT removed = 0;
    if (const ItemId mark = d->insertMark) {
        d->insertMark = 0;
        if (Item(d, mark)) removed = DeleteItemMessage(d, 0, mark);
        if (IsDying(d)) return 0;
    }
    if (!item) return static_cast<ItemId>(removed);
    const TreeListItem* it = Item(d, item);
    if (!it) return 0;
    TreeListInsertRecord r = {};
    r.hParent = it->parent ? ToHandle(it->parent) : TVI_ROOT;
    r.hInsertAfter = after ? ToHandle(item) : it->prevSibling ? ToHandle(it->prevSibling) : TVI_FIRST;
    r.item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    r.item.iImage = r.item.iSelectedImage = kImageNone;
    const ItemId mark = InsertItem(d, &r);
    if (!mark) return 0;
    SetCellColour(d, PackItemColumn(mark, kAllColumns), d->colours[kColourInsertMark], true);
    d->insertMark = mark;
    return mark;
}

LRESULT SetInsertMarkMessage(TreeListData* d, WPARAM after, ItemId item) {
    return SetInsertMark(d, item, after != 0);
}
