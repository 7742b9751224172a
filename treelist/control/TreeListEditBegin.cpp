// Opening an in-place editor: the parent is asked (TLN_EDITREQUEST, TVN_BEGINLABELEDITA), the editor window
// is made and subclassed, laid over the text, filled and focused. Every notification leaves the lock; the item
// is looked up again after each one.
#include "treelist/control/TreeListEdit.h"

#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListMouse.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListSelect.h"
#include "treelist/control/TreeListShared.h"
#include "treelist/control/TreeListTip.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kComboStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
constexpr DWORD kListStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL;
constexpr int kComboHeight = 260;
constexpr UINT kSelectionModes = TLE_SELECTATX | TLE_SELECTRANGE;

int EditorKindOf(UINT flags) {
    if (!(flags & TLE_COMBO)) return kEditorEdit;
    return (flags & TLE_DROPDOWNLIST) ? kEditorList : kEditorCombo;
}

LRESULT SendEditor(TreeListData* d, HWND editor, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    TreeListUnlocked unlocked(d->lock);
    return SendMessageA(editor, msg, wp, lp);
}

// Destroys the editor window without ending an edit: the edited item is cleared first, so that the focus
// it loses on the way ends nothing.
void DropEditor(TreeListData* d) {
    d->editItem = 0;
    d->editColumn = 0;
    HWND editor = d->editor;
    if (!editor) return;
    {
        TreeListUnlocked unlocked(d->lock);
        DestroyWindow(editor);
    }
    if (d->editor == editor) {
        d->editor = d->editorChild = nullptr;
        d->editorProc = d->editorChildProc = nullptr;
    }
}

void Subclass(TreeListData* d, HWND window, WNDPROC* old) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(d));
    *old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TreeListEditProc)));
}

HWND CreateEditor(TreeListData* d, int kind, int column, bool fill) {
    DWORD style = kind == kEditorEdit ? kEditStyle : kind == kEditorCombo ? kComboStyle : kListStyle;
    if (kind == kEditorEdit && fill && column < d->columnCount) {
        const BYTE align = d->columns[column].align;
        style |= align == 1 ? ES_CENTER : align == 2 ? ES_RIGHT : 0;
    }
    HWND editor = CreateWindowExA(0, kind == kEditorEdit ? "EDIT" : "COMBOBOX", "", style, 0, 0, 0, 0, d->window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)),
                                  reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(d->window, GWLP_HINSTANCE)),
                                  nullptr);
    if (!editor) return nullptr;
    if (const auto set = GetTreeListShared().SetWindowTheme) set(editor, L"", L"");
    d->editor = editor;
    d->editorKind = kind;
    Subclass(d, editor, &d->editorProc);
    d->editorChild = GetWindow(editor, GW_CHILD);
    if (d->editorChild) Subclass(d, d->editorChild, &d->editorChildProc);
    if (kind == kEditorEdit)
        SendMessageA(editor, EM_LIMITTEXT, kEditTextLimit, 0);
    else {
        SendMessageA(editor, CB_RESETCONTENT, 0, 0);
        SendMessageA(editor, CB_LIMITTEXT, kEditTextLimit, 0);
    }
    return editor;
}

// Where the editor goes: over the text of the label or cell, sized to the text unless it fills the cell.
bool PlaceEditor(TreeListData* d, ItemId item, int column, int kind, bool fill, int textWidth, int chars) {
    RECT r;
    if (!CellTextRect(d, item, column, &r)) return false;
    const bool combo = kind != kEditorEdit;
    int width = r.right - r.left - 2;
    if (!fill) {
        width = std::max(textWidth + 10, combo ? 60 : 48) + chars + (combo ? GetSystemMetrics(SM_CXHSCROLL) : 0);
    }
    const BYTE align = column < d->columnCount ? d->columns[column].align : 0;
    int x = r.left + 2;
    if (!fill && align == 1) x = r.left + (r.right - r.left - width) / 2;
    if (!fill && align == 2) x = r.right - width;
    const int y = combo ? r.top : r.top + 1;
    const int height = combo ? kComboHeight : d->textHeight + 4;
    SetWindowPos(d->editor, HWND_TOP, x, y, width, height, SWP_NOACTIVATE);
    return true;
}

struct EditText {
    const char* text;
    int length;
    UINT state;
    int width;
    bool callback;
};

bool ReadEditText(TreeListData* d, ItemId item, int column, EditText* t) {
    TreeListItem* it = Item(d, item);
    if (!it) return false;
    bool callback = (it->callbacks & kCallbackText) != 0;
    *t = {it->text, static_cast<int>(it->textLength), it->state, ItemTextWidth(d, it), callback};
    if (column > 0) {
        TreeListCell* cell = Cell(d, item, column);
        callback = cell && (cell->callbacks & kCallbackText);
        *t = {cell && cell->text ? cell->text : "", cell ? static_cast<int>(cell->textLength) : 0,
              cell ? cell->state : 0, CellTextWidth(d, cell), callback};
    }
    if (!callback) return true;
    TVITEMA answer;
    if (!FetchCallbacks(d, item, column, TVIF_TEXT, &answer)) return false;
    t->text = answer.pszText;
    t->length = static_cast<int>(strlen(answer.pszText));
    t->width = MeasureText(d, t->state, t->text, t->length);
    return true;
}

// TVN_BEGINLABELEDITA; true when the parent lets the edit begin.
bool MayBegin(TreeListData* d, ItemId item, int column, const EditText& t) {
    NMTVDISPINFOA nm = {};
    nm.item = TextRecord(d, item, column);
    nm.item.pszText = const_cast<char*>(t.text);
    nm.item.cchTextMax = t.length;
    d->editBeginning = true;  // TVM_GETEDITCONTROL answers the editor meanwhile
    const bool allowed = SendNotify(d, TVN_BEGINLABELEDITA, &nm.hdr) == 0;
    d->editBeginning = false;
    return allowed && !IsDying(d) && Item(d, item);
}

// The character index under x (client), for a caret placed where the mouse was.
int CharacterAt(TreeListData* d, const char* text, int length, UINT state, int x) {
    RECT r;
    GetWindowRect(d->editor, &r);
    MapWindowPoints(nullptr, d->window, reinterpret_cast<POINT*>(&r), 2);
    const int extent = x - r.left - 4;
    if (extent <= 0 || length <= 0) return 0;
    HDC dc = GetDC(d->editor);
    if (!dc) return 0;
    HGDIOBJ old = SelectObject(dc, FontFor(d, state));
    int fit = 0;
    SIZE size;
    GetTextExtentExPointA(dc, text, length, extent, &fit, nullptr, &size);
    SelectObject(dc, old);
    ReleaseDC(d->editor, dc);
    return std::clamp(fit, 0, length);
}

void SetSelection(TreeListData* d, HWND editor, int kind, UINT flags, const EditText& t) {
    int start = 0, end = -1;
    if ((flags & kSelectionModes) == TLE_SELECTATX) {
        start = end = CharacterAt(d, t.text, t.length, t.state, static_cast<int>(flags >> 8 & 0x3FFFF));
    } else if ((flags & kSelectionModes) == TLE_SELECTRANGE) {
        start = static_cast<int>(flags >> 8 & 0x1FF);
        end = static_cast<int>(flags >> 17 & 0x1FF);
    }
    if (kind == kEditorEdit)
        SendEditor(d, editor, EM_SETSEL, static_cast<WPARAM>(start), end);
    else
        SendEditor(d, editor, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

void AddEntries(TreeListData* d, HWND editor, int column, const char* const* entries, int count) {
    for (int i = 0; entries && i < count && entries[i]; ++i)
        SendEditor(d, editor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries[i]));
    const int n = ColumnListCount(d, column);
    char buffer[kEditTextLimit + 1];
    for (int i = 0; i < n; ++i) {
        const char* text;
        int length;
        if (!ColumnListEntry(d, column, i, &text, &length)) break;
        length = std::min(length, kEditTextLimit);
        memcpy(buffer, text, static_cast<size_t>(length));
        buffer[length] = 0;
        SendEditor(d, editor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(buffer));
    }
}

UINT CharacterOf(UINT trigger) { return trigger >= TLET_CHARACTER ? trigger - TLET_CHARACTER : trigger; }

bool ModifierDown() { return GetKeyState(VK_MENU) < 0 || GetKeyState(VK_CONTROL) < 0; }

}  // namespace

HWND BeginEdit(TreeListData* d, ItemId item, UINT flags, const char* const* entries, int entryCount) {
    const int column = static_cast<int>(flags & TLE_COLUMNMASK);
    if ((column > 0 && column >= d->columnCount) || !Item(d, item)) return nullptr;
    if (item != d->caretItem || column != d->caretColumn) {
        if (!SelectCell(d, item, column, 0) || IsDying(d) || !Item(d, item)) return nullptr;
    }
    EnsureVisible(d, item, column);
    if (IsDying(d) || !Item(d, item)) return nullptr;
    DropEditor(d);
    if (IsDying(d)) return nullptr;
    const int kind = EditorKindOf(flags);
    const bool fill = flags & TLE_FILLCELL;
    HWND editor = CreateEditor(d, kind, column, fill);
    if (!editor) return nullptr;
    EditText t;
    if (!ReadEditText(d, item, column, &t) || d->editor != editor) {
        if (d->editor == editor) DropEditor(d);
        return nullptr;
    }
    // The editor gets a copy: the record's text may change while the parent is asked below.
    char text[kEditTextLimit + 1];
    const int length = std::min(t.length, kEditTextLimit);
    memcpy(text, t.text, static_cast<size_t>(length));
    text[length] = 0;
    t.text = text;
    t.length = length;
    if (!PlaceEditor(d, item, column, kind, fill, t.width, t.length) || !MayBegin(d, item, column, t) ||
        d->editor != editor) {
        if (d->editor == editor) DropEditor(d);
        return nullptr;
    }
    d->editCallbackText = t.callback;
    SendEditor(d, editor, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(d, t.state)), 0);
    if (kind != kEditorEdit) AddEntries(d, editor, column, entries, entryCount);
    SendEditor(d, editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    if (kind == kEditorList) {
        const LRESULT index = SendEditor(d, editor, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text));
        SendEditor(d, editor, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    if (IsDying(d) || d->editor != editor || !Item(d, item)) return nullptr;
    {
        TreeListUnlocked unlocked(d->lock);
        ShowWindow(editor, SW_SHOW);
        SetFocus(editor);
    }
    if (IsDying(d) || d->editor != editor || !Item(d, item)) return nullptr;
    SetSelection(d, editor, kind, flags, t);
    d->editChanged = false;
    d->editItem = item;
    d->editColumn = column;
    HideTip(d);
    RedrawWindow(editor, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    return editor;
}

HWND EditLabelRequest(TreeListData* d, ItemId item, int column, UINT trigger, POINT point) {
    const UINT c = CharacterOf(trigger);
    const bool isChar = c < TLET_RETURN;
    if (!(d->style & TVS_EDITLABELS) || !Item(d, item) || column < 0 || (column > 0 && column >= d->columnCount))
        return nullptr;
    if (isChar && ((c < ' ' && c != '\r') || ModifierDown())) return nullptr;
    NMTREELISTEDITREQUEST nm = {};
    nm.tree.action = trigger;
    nm.tree.itemNew = TextRecord(d, item, column);
    nm.tree.ptDrag = point;
    const UINT answer = static_cast<UINT>(SendNotify(d, TLN_EDITREQUEST, &nm.tree.hdr));
    if (!answer || IsDying(d) || !Item(d, item) || (column > 0 && column >= d->columnCount)) return nullptr;
    UINT flags = static_cast<UINT>(column) | (answer & (TLE_COMBO | TLE_DROPDOWNLIST | TLE_FILLCELL));
    if (!(flags & TLE_COMBO)) flags &= ~TLE_DROPDOWNLIST;
    if (trigger == TLET_CLICK && !(d->exStyle & TLX_EDITSELECTALL))
        flags |= TLE_SELECTATX | (static_cast<UINT>(std::clamp<LONG>(point.x, 0, 0x3FFFF)) << 8);
    HWND editor = BeginEdit(d, item, flags, nm.entries, nm.entryCount);
    if (editor && isChar && c >= ' ') PostMessageA(editor, WM_CHAR, c, 1);
    return editor;
}

LRESULT EditLabelMessage(TreeListData* d, ItemId item) {
    if (!(d->style & TVS_EDITLABELS)) return 0;
    return reinterpret_cast<LRESULT>(BeginEdit(d, item, 0));
}

LRESULT GetEditControl(TreeListData* d) {
    const bool editing = d->editItem || d->editBeginning;
    return (d->style & TVS_EDITLABELS) && editing ? reinterpret_cast<LRESULT>(d->editor) : 0;
}
