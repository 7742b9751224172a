// Stand-ins for operations of the parts still to come (see TreeListPending.h). Each does the least the
// storage needs, so that nothing is left half done: a part that brings the real operation deletes its
// stand-in here.
#include "treelist/control/TreeListPending.h"

void CancelEditOn(TreeListData*, ItemId, int) {}

bool PasteIntoEditor(TreeListData*) { return false; }

void EditOnReturn(TreeListData*, bool) {}

bool EditOnChar(TreeListData*, UINT) { return false; }

bool DragKey(TreeListData*, UINT, bool) { return false; }
