// Operations of the editing and internal-drag parts that storage, columns, keys and the deferred queue call
// into, so that those callers need not know the parts' own headers.
#pragma once

#include "treelist/control/TreeListData.h"

// Editing: an open editor on this item (0 = any) and column (-1 = any) is closed without storing its text
// and without notifications.
void CancelEditOn(TreeListData* d, ItemId item, int column);
// Editing: WM_PASTE with a caret item and text on the clipboard opens an editor filled from it.
bool PasteIntoEditor(TreeListData* d);
// Editing: Return on the caret cell. A column without edit mode opens the label editor as if Return had been
// typed into it; a column with an edit mode opens its editor with the key (trigger 0x10001 with Ctrl down).
void EditOnReturn(TreeListData* d, bool control);
// Editing: a typed character on the caret cell. Columns whose edit mode takes characters open their editor;
// otherwise the label editor is offered the character (TLN_EDITREQUEST). True when an editor opened and the
// character is used up.
bool EditOnChar(TreeListData* d, UINT character);
// Internal drag: a key while a drag runs (Escape cancels it, Control refreshes the feedback, Tab does
// nothing). False when no drag runs, and the key takes its usual way.
bool DragKey(TreeListData* d, UINT key, bool down);
