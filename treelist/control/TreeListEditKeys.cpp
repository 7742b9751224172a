// Keys that open an editor on the caret cell: Return, a typed character and paste (WM_PASTE or the paste keys,
// the editor then filled with the first line of the clipboard text).
#include "treelist/control/TreeListEdit.h"

#include "treelist/control/TreeListSeams.h"

#include <cstring>

namespace {

// The clipboard text up to its first line break and the editor's limit; false when there is none.
bool ReadClipboardLine(HWND owner, char* out, size_t size) {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(owner)) return false;
    bool ok = false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* text = static_cast<const char*>(GlobalLock(data))) {
            const size_t capacity = GlobalSize(data);
            size_t n = 0;
            while (n + 1 < size && n < capacity && text[n] && text[n] != '\r' && text[n] != '\n') ++n;
            memcpy(out, text, n);
            out[n] = 0;
            ok = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return ok;
}

// Modes whose editor a typed character opens.
bool TakesCharacters(const TreeListData* d, int column) {
    if (!HasEditMode(d, column) || (d->columns[column].editFlags & TLEF_NOCHARS)) return false;
    const UINT mode = d->columns[column].editMode;
    return mode == TLEM_TEXT || mode == TLEM_LIST || mode == TLEM_COMBO || mode == TLEM_CHECKTEXT;
}

}  // namespace

void EditOnReturn(TreeListData* d, bool control) {
    const ItemId item = d->caretItem;
    const int column = d->caretColumn;
    if (!Item(d, item)) return;
    if (HasEditMode(d, column))
        OpenColumnEditor(d, item, column, control ? TLET_CTRLRETURN : TLET_RETURN);
    else
        EditLabelRequest(d, item, column, TLET_RETURN, TreeListCursorIn(d->window));
}

bool EditOnChar(TreeListData* d, UINT character) {
    const ItemId item = d->caretItem;
    const int column = d->caretColumn;
    if (!Item(d, item)) return false;
    if (TakesCharacters(d, column)) {
        OpenColumnEditor(d, item, column, character);
        return true;
    }
    return EditLabelRequest(d, item, column, character + TLET_CHARACTER, TreeListCursorIn(d->window)) != nullptr;
}

bool PasteIntoEditor(TreeListData* d) {
    char text[kEditTextLimit + 1];
    if (!Item(d, d->caretItem) || !ReadClipboardLine(d->window, text, sizeof text)) return false;
    const ItemId item = d->caretItem;
    const int column = d->caretColumn;
    HWND editor;
    if (HasEditMode(d, column)) {
        editor = reinterpret_cast<HWND>(OpenColumnEditor(d, item, column, TLET_PASTE));
    } else {
        editor = EditLabelRequest(d, item, column, TLET_PASTE, TreeListCursorIn(d->window));
    }
    if (!editor || editor != d->editor || d->editorKind == kEditorList) return editor != nullptr;
    {
        TreeListUnlocked unlocked(d->lock);
        SetWindowTextA(editor, text);
        SendMessageA(d->editorChild ? d->editorChild : editor, EM_SETSEL, kEditTextLimit, kEditTextLimit);
    }
    return true;
}
