// Ordinary window messages: size, enabling, focus, redraw switch, system colours, showing, font, style,
// dialog codes, the header's owner-draw and the clipboard messages.
#include "treelist/control/TreeListWindow.h"

#include "treelist/control/TreeListColours.h"
#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListShared.h"

LRESULT OnSize(TreeListData* d, int width, int height) {
    const int delta = width - d->clientWidth;
    d->clientWidth = width;
    d->clientHeight = height;
    // Moving the header sends and draws on this thread only; other threads may insert meanwhile.
    if (d->header) {
        const HWND header = d->header;
        const int x = -d->scrollX, cy = d->headerHeight;
        TreeListUnlocked unlocked(d->lock);
        SetWindowPos(header, nullptr, x, 0, width - x, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (IsDying(d)) return 0;
    DistributeColumnWidth(d, delta);
    ComputeColumnEdges(d);
    ComputeVisibleRows(d);
    UpdateHScrollBar(d, true);
    UpdateVScrollBar(d, true, true);
    return 0;
}

LRESULT OnEnable(TreeListData* d, bool enabled) {
    if (enabled == d->enabled) return 0;
    d->enabled = enabled;
    const LONG style = GetWindowLongA(d->window, GWL_STYLE);
    SetWindowLongA(d->window, GWL_STYLE, enabled ? style & ~WS_DISABLED : style | WS_DISABLED);
    InvalidateItems(d);
    return 0;
}

LRESULT OnFocus(TreeListData* d, bool focused) {
    d->focused = focused;
    if (d->exStyle & TLX_FULLROWSELECT)
        InvalidateRow(d, d->caretItem);
    else
        InvalidateCell(d, d->caretItem, d->caretColumn);
    NMHDR nm = {};
    SendNotify(d, focused ? NM_SETFOCUS : NM_KILLFOCUS, &nm);
    return 0;
}

LRESULT OnSetRedraw(TreeListData* d, bool redraw) {
    if (!redraw) {
        d->redrawOff = true;
        return kPassOn;
    }
    if (!d->redrawOff) return 0;
    d->redrawOff = false;
    return kPassOn;
}

LRESULT OnSysColorChange(TreeListData* d) {
    const TreeListShared& shared = GetTreeListShared();
    if (shared.CloseThemeData) {
        if (d->treeTheme) shared.CloseThemeData(d->treeTheme);
        if (d->checkTheme) shared.CloseThemeData(d->checkTheme);
    }
    d->treeTheme = d->checkTheme = nullptr;
    if (shared.OpenThemeData) d->treeTheme = shared.OpenThemeData(d->window, L"TREEVIEW");
    // Check boxes the control drew itself are drawn again in the new colours.
    for (int kind : {kImagesState, kImagesState2}) {
        if (!d->ownImages[kind]) continue;
        if (d->images[kind] && !d->themedChecks[kind]) ImageList_Destroy(d->images[kind]);
        d->images[kind] = nullptr;
        d->themedChecks[kind] = false;
        d->ownImages[kind] = false;
        BuildCheckBoxImages(d, kind == kImagesState2 ? 1 : 0);
    }
    if (d->header) {
        TreeListUnlocked unlocked(d->lock);
        SendMessageA(d->header, WM_SYSCOLORCHANGE, 0, 0);
    }
    UpdateColours(d);
    return 0;
}

LRESULT OnShowWindow(TreeListData* d, bool shown) {
    if (!shown) return 0;
    d->hScrollMax = d->hScrollPage = -1;
    UpdateHScrollBar(d, true);
    UpdateVScrollBar(d, true, true);
    return 0;
}

LRESULT OnSetFont(TreeListData* d, HFONT font, bool) {
    d->font = font;
    // The row height stays: a caller that wants it to follow sets it (TVM_SETITEMHEIGHT -1).
    if (SetUpTreeListFonts(d)) InvalidateItems(d);
    return 0;
}

LRESULT OnDrawItem(TreeListData* d, WPARAM id, LPARAM item) {
    if (id != kHeaderId) return 0;
    HWND parent = GetParent(d->window);
    const WPARAM ownId = static_cast<WPARAM>(GetWindowLongPtrA(d->window, GWLP_ID));
    if (!parent) return 0;
    TreeListUnlocked unlocked(d->lock);
    return SendMessageA(parent, WM_DRAWITEM, ownId, item);
}

LRESULT OnStyleChanged(TreeListData* d, WPARAM which, const STYLESTRUCT* style) {
    if (which != static_cast<WPARAM>(GWL_STYLE) || !style) return 0;
    const DWORD old = d->style;
    d->style = style->styleNew;
    if ((d->style & TVS_CHECKBOXES) && !(old & TVS_CHECKBOXES)) BuildCheckBoxImages(d, 0);
    d->linesAtRoot = (d->style & TVS_LINESATROOT) && (d->style & (TVS_HASBUTTONS | TVS_HASLINES));
    ComputeRowHeight(d);
    ComputeVisibleRows(d);
    UpdateHScrollBar(d, true);
    UpdateVScrollBar(d, true, true);
    InvalidateItems(d);
    return 0;
}

LRESULT OnGetDlgCode(TreeListData* d, const MSG* message) {
    if (message && message->message == WM_KEYDOWN) {
        if (message->wParam == VK_RETURN) return DLGC_WANTALLKEYS;
        if (message->wParam == VK_ESCAPE && d->dragItem) return DLGC_WANTALLKEYS;
    }
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

LRESULT OnClipboard(TreeListData* d, UINT message) {
    if (EditorOpen(d)) {
        PostMessageA(d->editor, message, 0, 0);
        return 0;
    }
    if (message == WM_PASTE && d->caretItem && IsClipboardFormatAvailable(CF_TEXT) && PasteIntoEditor(d)) return 0;
    return kPassOn;
}
