// Notifications of the "TreeList" control to its parent (TreeListNotify.cpp), and the call-back parts of items
// it asks the parent for.
#pragma once

#include "treelist/control/TreeListData.h"

// --- notifications (TreeListNotify.cpp). Each sends WM_NOTIFY to the parent with every level of the lock
// left for the duration of the send. Afterwards items may be gone and the window may be dying: callers check
// their handles again (Item()) and IsDying().
LRESULT SendNotify(TreeListData* d, UINT code, NMHDR* header);
// Action words of TLN_CHECKCHANGED: a check box toggled (tree column or check-style cell), and a pressed cell
// image let go (TLIS_IMAGECHECK).
constexpr UINT kCheckAction = 0x10000, kCellCheckAction = 0x10003;
// NMTREEVIEWA with both item records filled from the items (mask 0x801C: handle, state, lParam, cell bit).
LRESULT NotifyTreeView(TreeListData* d, UINT code, UINT action, ItemId oldItem, ItemId newItem,
                       POINT point = POINT{0, 0});
// An item record for a tree-view notification: handle, state and lParam of the item (0 for none), stateMask,
// pszText and cchTextMax -1, and the column in cChildren.
TVITEMA NotifyRecord(const TreeListData* d, ItemId item, UINT mask, int column = 0);
// The record of an item or cell with its text: mask 0x801D (text, state, handle, lParam, cell bit), the cell's
// state for a column past 0 (0 for a missing cell), pszText its own text, cchTextMax its length.
TVITEMA TextRecord(const TreeListData* d, ItemId item, int column);
LRESULT SendTreeView(TreeListData* d, UINT code, UINT action, const TVITEMA& oldItem, const TVITEMA& newItem,
                     POINT point = POINT{0, 0});
// Asks the parent for the call-back parts (TVIF_TEXT, TVIF_IMAGE, TVIF_SELECTEDIMAGE, TVIF_CHILDREN) of an
// item or cell. The text lands in d->dispBuffer[buffer]; out gets the answer. False when the item went away
// during the send.
bool FetchCallbacks(TreeListData* d, ItemId item, int column, UINT mask, TVITEMA* out, int buffer = 0);
inline bool IsDying(const TreeListData* d) { return d->dying.load(); }
// ShowsButton for an item, asking the parent for a call-back children count; false when the item went away.
bool AskShowsButton(TreeListData* d, ItemId item);
