#include "treelist/control/TreeListGeometry.h"

#include "treelist/control/TreeListLayout.h"

bool ShowsItemImage(const TreeListData* d, const TreeListItem* it) {
    return ImageList(d, kImagesItem) && it->image != kImageNone;
}

TreeCellLayout LayoutTreeCell(const TreeListData* d, const TreeListItem* it, bool showsImage) {
    TreeCellLayout l = {};
    int slots = it->level + (d->linesAtRoot ? 1 : 0);
    const bool buttonSlot = slots > 0 && (d->style & (TVS_HASBUTTONS | TVS_HASLINES));
    const bool grid = d->exStyle & TLX_GRIDLINES;
    l.levels = buttonSlot ? slots - 1 : slots;
    l.indentLeft = 0;
    int x = l.levels * d->indent;
    l.buttonLeft = buttonSlot ? x : -1;
    if (buttonSlot) x += d->indent;
    l.contentLeft = x;
    if (grid || (!d->linesAtRoot && it->level == 0)) ++x;
    l.innerLeft = x;
    l.checkLeft = -1;
    if (HasImages(d, kImagesState)) {
        l.checkLeft = x;
        x += d->imageSize[kImagesState].cx;
    }
    l.imageLeft = -1;
    if (showsImage) {
        l.imageLeft = x;
        x += d->imageSize[kImagesItem].cx + (grid ? 1 : 0);
    }
    l.textLeft = x;
    return l;
}
