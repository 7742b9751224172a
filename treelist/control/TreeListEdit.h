// In-place editing of labels and cells: the edit request to the parent, the editor window (edit box, editable
// combo box or drop-down list, control id 3) laid over the text, its subclass procedure, the end of the edit
// with TVN_ENDLABELEDITA and the storing of the text, and the column editors of columns with an edit mode.
#pragma once

#include "treelist/control/TreeListData.h"

enum EditEnd : int { kEditCancel = 0, kEditFocusLost = 1, kEditReturn = 2 };
enum EditorKind : int { kEditorEdit = 0, kEditorCombo = 1, kEditorList = 2 };
constexpr int kEditTextLimit = 2048;

// --- opening (TreeListEditBegin.cpp)
// Asks the parent (TLN_EDITREQUEST) and opens the editor it chose; 0 when refused.
HWND EditLabelRequest(TreeListData* d, ItemId item, int column, UINT trigger, POINT point);
// Opens the editor on an item (the column and the kind in the edit flags); entries fill a combo box.
HWND BeginEdit(TreeListData* d, ItemId item, UINT flags, const char* const* entries = nullptr, int entryCount = 0);

// --- closing (TreeListEditEnd.cpp)
BOOL EndEdit(TreeListData* d, int mode);

// --- column editors (TreeListColumnEdit.cpp)
bool HasEditMode(const TreeListData* d, int column);
// A column with an edit mode: toggles a check-style cell or opens the column's editor; non-zero when it did.
LRESULT OpenColumnEditor(TreeListData* d, ItemId item, int column, UINT trigger);
// The entries of a column's list: count, and the text and length of one entry.
int ColumnListCount(const TreeListData* d, int column);
bool ColumnListEntry(const TreeListData* d, int column, int index, const char** text, int* length);

// --- the editor's subclass procedure (TreeListEditProc.cpp)
LRESULT CALLBACK TreeListEditProc(HWND editor, UINT msg, WPARAM wParam, LPARAM lParam);
