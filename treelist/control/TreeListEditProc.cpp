// The subclass procedure of the in-place editor and of the edit field inside a combo box: Return accepts,
// Escape cancels, arrow keys at the edge of the text leave the editor (with TLX_EDITARROWS), the wheel scrolls
// an open list, and a text set from outside counts as a change.
#include "treelist/control/TreeListEdit.h"

#include "treelist/control/TreeListSeams.h"

namespace {

constexpr LPARAM kArrowKeyData = 0x500001;  // the key-down and the key-up that follow an edit left by an arrow

void Command(const TreeListData* d, WPARAM command) {
    SendMessageA(d->window, WM_COMMAND, command, reinterpret_cast<LPARAM>(d->editor));
}

bool ListOpen(const TreeListData* d) {
    return d->editorKind != kEditorEdit && SendMessageA(d->editor, CB_GETDROPPEDSTATE, 0, 0);
}

// Caret at the start and at the end of the text of the window that has the keys.
void CaretEdges(const TreeListData* d, HWND window, bool* atStart, bool* atEnd) {
    DWORD start = 0, end = 0;
    if (window == d->editor && d->editorKind != kEditorEdit) {
        const LRESULT sel = SendMessageA(window, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                                         reinterpret_cast<LPARAM>(&end));
        if (sel == CB_ERR) {
            *atStart = *atEnd = true;
            return;
        }
    } else {
        SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    }
    const int length = GetWindowTextLengthA(window);
    *atStart = start == 0 && end == 0;
    *atEnd = static_cast<int>(start) >= length && static_cast<int>(end) >= length;
}

// With TLX_EDITARROWS: an arrow key at the edge of the text ends the edit and moves the caret on.
bool LeavesEditor(const TreeListData* d, HWND window, WPARAM key) {
    if (!(d->exStyle & TLX_EDITARROWS) || GetKeyState(VK_SHIFT) < 0) return false;
    bool atStart, atEnd;
    switch (key) {
    case VK_UP:
    case VK_DOWN: return !ListOpen(d);
    case VK_LEFT: CaretEdges(d, window, &atStart, &atEnd); return atStart;
    case VK_RIGHT: CaretEdges(d, window, &atStart, &atEnd); return atEnd;
    default: return false;
    }
}

bool OnKeyDown(const TreeListData* d, HWND window, WPARAM key) {
    switch (key) {
    case VK_RETURN: Command(d, kTreeListEditAccept); return true;
    case VK_ESCAPE: Command(d, kTreeListEditCancel); return true;
    default: break;
    }
    if (LeavesEditor(d, window, key)) {
        TreeListPost(d->window, WM_COMMAND, kTreeListEditAccept, reinterpret_cast<LPARAM>(d->editor));
        TreeListPost(d->window, WM_KEYDOWN, key, kArrowKeyData);
        TreeListPost(d->window, WM_KEYUP, key, kArrowKeyData);
        return true;
    }
    if (key == VK_DOWN && d->editorKind != kEditorEdit && !ListOpen(d)) {
        SendMessageA(d->editor, CB_SHOWDROPDOWN, TRUE, 0);
        return true;
    }
    return false;
}

void ScrollList(const TreeListData* d, WPARAM wp) {
    const int steps = static_cast<short>(HIWORD(wp)) / WHEEL_DELTA;
    const LRESULT top = SendMessageA(d->editor, CB_GETTOPINDEX, 0, 0);
    const LRESULT next = top - steps < 0 ? 0 : top - steps;
    SendMessageA(d->editor, CB_SETTOPINDEX, static_cast<WPARAM>(next), 0);
}

}  // namespace

LRESULT CALLBACK TreeListEditProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    const auto* d = reinterpret_cast<const TreeListData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const WNDPROC own = !d ? nullptr : window == d->editorChild ? d->editorChildProc : d->editorProc;
    if (!own) return DefWindowProcA(window, msg, wp, lp);
    switch (msg) {
    case WM_KEYDOWN:
        if (OnKeyDown(d, window, wp)) return 0;
        break;
    case WM_CHAR:
        if (wp == VK_RETURN || wp == VK_ESCAPE) return 0;
        break;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_MOUSEWHEEL:
        if (ListOpen(d)) {
            ScrollList(d, wp);
            return 0;
        }
        break;
    case WM_SETTEXT: {
        const LRESULT result = CallWindowProcA(own, window, msg, wp, lp);
        Command(d, kTreeListEditTextSet);
        return result;
    }
    case WM_COMMAND:
        if (window == d->editor && (wp == kTreeListEditAccept || wp == kTreeListEditCancel)) {
            Command(d, wp);
            return 0;
        }
        break;
    default: break;
    }
    return CallWindowProcA(own, window, msg, wp, lp);
}
