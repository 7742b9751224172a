#include "ui/dialogs/SelectDialogPlacement.h"

#include "ui/WindowPos.h"

#include <algorithm>

namespace {

void MoveTo(HWND dialog, int id, const RECT& r) {
    ::MoveWindow(::GetDlgItem(dialog, id), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

}  // namespace

ListSelectMeasures MeasureSelectLayout(HWND dialog, int listId, bool cancelAllowed) {
    RECT list, ok, cancel, client, window;
    GetDlgItemRectInDlg(dialog, listId, &list);
    GetDlgItemRectInDlg(dialog, IDOK, &ok);
    GetDlgItemRectInDlg(dialog, IDCANCEL, &cancel);
    ::GetClientRect(dialog, &client);
    ::GetWindowRect(dialog, &window);
    ListSelectMeasures m;
    m.listLeft = list.left;
    m.listTop = list.top;
    m.listBottom = client.bottom - list.bottom;
    m.buttonWidth = cancel.right - cancel.left;
    m.buttonHeight = ok.bottom - ok.top;
    m.gap = cancel.left - ok.right;
    m.buttonTop = client.bottom - ok.top;
    const int frameWidth = (window.right - window.left) - client.right;
    m.minWidth = (cancelAllowed ? cancel.right : cancel.left) + 40 - ok.left + frameWidth;
    m.minHeight = client.bottom - ok.top + 100 + (window.bottom - window.top) - client.bottom;
    return m;
}

void PlaceSelectWindow(HWND dialog, const SelectSavedPosition& position, const SelectKeptSize& kept,
                       int32_t widthChange, int32_t heightChange, const ListSelectMeasures& m) {
    RECT w;
    ::GetWindowRect(dialog, &w);
    int x = w.left, y = w.top, width = w.right - w.left, height = w.bottom - w.top;
    bool move = false;
    if (position.saved &&
        UsableSavedPosition(position.point, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN))) {
        x = position.point.x;
        y = position.point.y;
        move = true;
    }
    if (kept.kept) {
        width = kept.size.cx;
        height = kept.size.cy;
        move = true;
    } else if (widthChange || heightChange) {
        width = std::max(width + DesignSizeDelta(width, widthChange, kSelectDesignWidth), m.minWidth);
        height = std::max(height + DesignSizeDelta(height, heightChange, kSelectDesignHeight), m.minHeight);
        move = true;
    }
    if (move) ::SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepSelectWindow(HWND dialog, SelectKeptSize* kept, SelectSavedPosition* position) {
    RECT w;
    ::GetWindowRect(dialog, &w);
    kept->size = {w.right - w.left, w.bottom - w.top};
    kept->kept = true;
    position->point = {w.left, w.top};
    position->saved = true;
}

void LayOutSelectControls(HWND dialog, int listId, const ListSelectMeasures& m, int cx, int cy, bool cancelAllowed) {
    if (cx <= 0 || cy <= 0 || !listId) return;
    const ListSelectPlacement p = LayOutListSelect(m, cx, cy, cancelAllowed);
    MoveTo(dialog, listId, p.list);
    MoveTo(dialog, IDOK, p.ok);
    MoveTo(dialog, IDCANCEL, p.cancel);
}
