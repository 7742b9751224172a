// Ending an in-place edit: by Return (accept), loss of focus (accept), Escape or TVM_ENDEDITLABELNOW (cancel).
// The parent sees TVN_ENDLABELEDITA and may refuse; an accepted text is stored in the item or cell (or handed
// back with TVN_SETDISPINFOA for a call-back text), and a column with an edit mode turns it into its value.
#include "treelist/control/TreeListEdit.h"

#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListNotify.h"

#include <cstring>

namespace {

constexpr UINT kTextChanged = 0x20000000, kEndedByReturn = 0x10000000, kCancelled = 0x1000000;
constexpr UINT kEndRecordMask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE | TVIF_PARAM | TLIF_CELL;
constexpr int kReadLimit = 2052;  // up to 2,051 characters and the terminator
constexpr UINT kValueAction = 0x10000;

bool EditorHasFocus(const TreeListData* d) {
    HWND focus = GetFocus();
    return focus && (focus == d->editor || (d->editorChild && focus == d->editorChild));
}

// Hides the editor; the control takes the focus back when the editor had it.
void HideEditor(TreeListData* d) {
    HWND editor = d->editor;
    if (!editor) return;
    if (!IsOwnerThread(d)) {
        ShowWindowAsync(editor, SW_HIDE);
        return;
    }
    const bool focused = EditorHasFocus(d);
    HWND window = d->window;
    TreeListUnlocked unlocked(d->lock);
    if (focused) SetFocus(window);
    ShowWindow(editor, SW_HIDE);
}

// The editor's text and, for a list, the chosen entry; read with the lock left, since a direct call from
// another thread asks a window of the window's thread.
void ReadEditor(TreeListData* d, char* text, int* listIndex) {
    HWND editor = d->editor;
    const bool list = d->editorKind != kEditorEdit;
    TreeListUnlocked unlocked(d->lock);
    GetWindowTextA(editor, text, kReadLimit);
    if (list) *listIndex = static_cast<int>(SendMessageA(editor, CB_GETCURSEL, 0, 0));
}

// The index of a text in the column's list, -1 when it is not there.
int FindEntry(const TreeListData* d, int column, const char* text) {
    const int n = ColumnListCount(d, column);
    const size_t length = strlen(text);
    for (int i = 0; i < n; ++i) {
        const char* entry;
        int entryLength;
        if (ColumnListEntry(d, column, i, &entry, &entryLength) && static_cast<size_t>(entryLength) == length &&
            _strnicmp(entry, text, length) == 0)
            return i;
    }
    return -1;
}

void NotifyValueChanged(TreeListData* d, ItemId item, int column) {
    const TreeListCell* cell = Cell(d, item, column);
    TVITEMA r = TextRecord(d, item, column);
    r.mask |= TVIF_IMAGE;
    r.iImage = cell ? cell->image : static_cast<int>(kImageNone);
    SendTreeView(d, TLN_CELLCHANGED, kValueAction, TVITEMA{}, r);
}

// Stores an accepted text, turned into the column's value where the column has an edit mode.
void StoreEdit(TreeListData* d, ItemId item, int column, char* text, int listIndex) {
    TVITEMA r = {};
    r.mask = TVIF_TEXT | (column ? TLIF_CELL : 0u);
    r.hItem = ToHandle(item);
    r.cChildren = column;
    r.pszText = text;
    const UINT mode = HasEditMode(d, column) ? static_cast<UINT>(d->columns[column].editMode) : 0u;
    if (mode == TLEM_LIST || mode == TLEM_LISTFIXED) {
        // The chosen entry sets the image; a list closed without a choice keeps the old one.
        if (listIndex >= 0) {
            r.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            r.iImage = r.iSelectedImage = static_cast<int>(listIndex + d->columns[column].editBase);
        }
    } else if (mode != TLEM_NONE) {
        // A text found in the list takes the entry's own spelling; one not found stays as typed.
        const int index = FindEntry(d, column, text);
        const char* entry;
        int length;
        if (index >= 0 && ColumnListEntry(d, column, index, &entry, &length) && length < kReadLimit) {
            memcpy(text, entry, static_cast<size_t>(length));
            text[length] = 0;
        }
    }
    if (d->editCallbackText) {
        NMTVDISPINFOA nm = {};
        nm.item = r;
        nm.item.mask |= TVIF_HANDLE | TVIF_PARAM;
        nm.item.lParam = d->items[item]->lParam;
        nm.item.cchTextMax = static_cast<int>(strlen(text));
        SendNotify(d, TVN_SETDISPINFOA, &nm.hdr);
        return;
    }
    SetItem(d, &r);
    if (mode != TLEM_NONE && mode < TLEM_CHECK && column > 0 && !IsDying(d) && Item(d, item))
        NotifyValueChanged(d, item, column);
}

}  // namespace

BOOL EndEdit(TreeListData* d, int mode) {
    const ItemId item = d->editItem;
    const int column = d->editColumn;
    const HWND editor = d->editor;
    const bool changed = d->editChanged;
    d->editItem = 0;
    d->editColumn = 0;
    if (!Item(d, item) || (column > 0 && column >= d->columnCount)) {
        HideEditor(d);
        return FALSE;
    }
    char text[kReadLimit] = {};
    int listIndex = -1;
    NMTVDISPINFOA nm = {};
    nm.item.mask = kEndRecordMask;
    if (mode != kEditCancel) {
        ReadEditor(d, text, &listIndex);
        if (mode == kEditReturn) nm.item.mask |= kEndedByReturn;
        nm.item.pszText = text;
        nm.item.cchTextMax = static_cast<int>(strlen(text));
    } else {
        nm.item.mask = (kEndRecordMask & ~TVIF_TEXT) | kCancelled;
    }
    // A direct call from another thread read the editor with the lock left; an edit that the window's thread
    // began meanwhile is a newer one: it stays open and shown, and what changed since is its own. The edit
    // asked to end ends all the same.
    const bool newerEdit = d->editor != editor || d->editItem;
    if (mode != kEditCancel && (newerEdit ? changed : d->editChanged)) nm.item.mask |= kTextChanged;
    if (!newerEdit) HideEditor(d);
    if (IsDying(d) || !Item(d, item)) return FALSE;
    const TVITEMA own = TextRecord(d, item, column);
    nm.item.hItem = own.hItem;
    nm.item.state = own.state;
    nm.item.stateMask = own.stateMask;
    nm.item.lParam = own.lParam;
    nm.item.cChildren = column;
    const LRESULT refused = SendNotify(d, TVN_ENDLABELEDITA, &nm.hdr);
    if (refused || mode == kEditCancel || IsDying(d) || !Item(d, item) || (column > 0 && column >= d->columnCount))
        return FALSE;
    StoreEdit(d, item, column, text, listIndex);
    return TRUE;
}

void CancelEditOn(TreeListData* d, ItemId item, int column) {
    if (!d->editItem || (item && d->editItem != item) || (column >= 0 && d->editColumn != column)) return;
    d->editItem = 0;
    d->editColumn = 0;
    HideEditor(d);
}

LRESULT OnCommand(TreeListData* d, WPARAM wp, LPARAM lp) {
    if (LOWORD(wp) != kEditorId || !d->editor || (lp && reinterpret_cast<HWND>(lp) != d->editor)) return 0;
    const bool combo = d->editorKind != kEditorEdit;
    if (wp == kTreeListEditAccept) return EndEdit(d, kEditReturn), 0;
    if (wp == kTreeListEditCancel) return EndEdit(d, kEditCancel), 0;
    if (wp == kTreeListEditTextSet) {
        d->editChanged = true;
        return 0;
    }
    const UINT code = HIWORD(wp);
    if (combo ? code == CBN_KILLFOCUS : code == EN_KILLFOCUS) {
        // Focus that moves between a combo box and its own parts does not end the edit.
        HWND focus = GetFocus();
        if (!focus || (focus != d->editor && focus != d->editorChild)) EndEdit(d, kEditFocusLost);
    } else if (combo ? code == CBN_EDITCHANGE || code == CBN_SELCHANGE : code == EN_CHANGE) {
        d->editChanged = true;
    }
    return 0;
}

LRESULT EndEditNow(TreeListData* d, WPARAM cancel) { return EndEdit(d, cancel ? kEditCancel : kEditFocusLost); }
