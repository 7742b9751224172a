// Paste on the control (WM_PASTE, or the paste keys): an editor opens on the caret cell, filled with the first
// line of the clipboard text.
#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListPending.h"

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

}  // namespace

bool PasteIntoEditor(TreeListData* d) {
    char text[kEditTextLimit + 1];
    if (!Item(d, d->caretItem) || !ReadClipboardLine(d->window, text, sizeof text)) return false;
    const ItemId item = d->caretItem;
    const int column = d->caretColumn;
    HWND editor;
    if (HasEditMode(d, column)) {
        editor = reinterpret_cast<HWND>(OpenColumnEditor(d, item, column, TLET_PASTE));
    } else {
        POINT cursor = {0, 0};
        GetCursorPos(&cursor);
        ScreenToClient(d->window, &cursor);
        editor = EditLabelRequest(d, item, column, TLET_PASTE, cursor);
    }
    if (!editor || editor != d->editor || d->editorKind == kEditorList) return editor != nullptr;
    {
        TreeListUnlocked unlocked(d->lock);
        SetWindowTextA(editor, text);
        SendMessageA(d->editorChild ? d->editorChild : editor, EM_SETSEL, kEditTextLimit, kEditTextLimit);
    }
    return true;
}
