// In-place editing of labels and cells: the edit request to the parent, the editor window (edit box, editable
// combo box or drop-down list, control id 3) laid over the text, its subclass procedure, the end of the edit
// with TVN_ENDLABELEDITA and the storing of the text, and the column editors of columns with an edit mode.
#pragma once

#include "treelist/control/TreeListData.h"

enum EditEnd : int { kEditCancel = 0, kEditFocusLost = 1, kEditReturn = 2 };
enum EditorKind : int { kEditorEdit = 0, kEditorCombo = 1, kEditorList = 2 };
constexpr int kEditTextLimit = 2048;

// Whether an editor is shown (scrolling and tips wait while it is).
inline bool EditorOpen(const TreeListData* d) { return d->editor && IsWindowVisible(d->editor); }

// --- opening (TreeListEditBegin.cpp)
// Asks the parent (TLN_EDITREQUEST) and opens the editor it chose; 0 when refused.
HWND EditLabelRequest(TreeListData* d, ItemId item, int column, UINT trigger, POINT point);
// Opens the editor on an item (the column and the kind in the edit flags); entries fill a combo box.
HWND BeginEdit(TreeListData* d, ItemId item, UINT flags, const char* const* entries = nullptr, int entryCount = 0);
LRESULT EditLabelMessage(TreeListData* d, ItemId item);
LRESULT GetEditControl(TreeListData* d);

// --- closing (TreeListEditEnd.cpp)
BOOL EndEdit(TreeListData* d, int mode);
LRESULT EndEditNow(TreeListData* d, WPARAM cancel);
// WM_COMMAND: the editor's own commands (accept, cancel, text set) and its notifications.
LRESULT OnCommand(TreeListData* d, WPARAM wp, LPARAM lp);
// An open editor on this item (0 = any) and column (-1 = any) is closed without storing its text and without
// notifications (the item or column goes away).
void CancelEditOn(TreeListData* d, ItemId item, int column);

// --- keys that open an editor (TreeListEditKeys.cpp)
// WM_PASTE with a caret item and text on the clipboard opens an editor filled from it.
bool PasteIntoEditor(TreeListData* d);
// Return on the caret cell. A column without edit mode opens the label editor as if Return had been typed
// into it; a column with an edit mode opens its editor with the key (trigger 0x10001 with Ctrl down).
void EditOnReturn(TreeListData* d, bool control);
// A typed character on the caret cell. Columns whose edit mode takes characters open their editor; otherwise
// the label editor is offered the character (TLN_EDITREQUEST). True when an editor opened and the character is
// used up.
bool EditOnChar(TreeListData* d, UINT character);

// --- column editors (TreeListColumnEdit.cpp)
LRESULT SetColumnEdit(TreeListData* d, WPARAM wp, LPARAM list);
LRESULT SetColumnEditBase(TreeListData* d, int column, LPARAM base);
bool HasEditMode(const TreeListData* d, int column);
// A column with an edit mode: toggles a check-style cell or opens the column's editor; non-zero when it did.
LRESULT OpenColumnEditor(TreeListData* d, ItemId item, int column, UINT trigger);
// The entries of a column's list: count, and the text and length of one entry.
int ColumnListCount(const TreeListData* d, int column);
bool ColumnListEntry(const TreeListData* d, int column, int index, const char** text, int* length);

// --- the editor's subclass procedure (TreeListEditProc.cpp)
LRESULT CALLBACK TreeListEditProc(HWND editor, UINT msg, WPARAM wParam, LPARAM lParam);
