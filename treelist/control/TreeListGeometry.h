// Where the parts of a tree-column cell lie: indent slots, button slot, check box, image and text. Shared by
// painting, item rectangles and hit testing, so that all of them agree.
#pragma once

#include "treelist/control/TreeListData.h"

struct TreeCellLayout {
    int levels;       // indent slots before the button slot
    int indentLeft;   // left of the first indent slot
    int buttonLeft;   // left of the button slot (-1: none)
    int contentLeft;  // where the indent ends; with grid lines the grid column lies here
    int innerLeft;    // where check box, image or text start (contentLeft or one pixel after it)
    int checkLeft;    // left of the check box (-1: none)
    int imageLeft;    // left of the item image (-1: none)
    int textLeft;     // where the text area starts
};

// Positions relative to the left edge of the tree column (add the column's left minus the scroll position).
// One pixel after the indent stays free with grid lines (the grid column) and for a top-level item without
// lines at root; with grid lines the image takes one pixel more. The hit test counts the same way.
// showsImage: the item shows an item image (after call-backs were fetched).
TreeCellLayout LayoutTreeCell(const TreeListData* d, const TreeListItem* it, bool showsImage);
// Whether an item shows an item image: there is an item list and the image is not "none".
bool ShowsItemImage(const TreeListData* d, const TreeListItem* it);
