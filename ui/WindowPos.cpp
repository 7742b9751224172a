// Window rectangles relative to a parent or dialog.
#include "ui/WindowPos.h"

POINT GetWindowTopLeft(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return {r.left, r.top};
}

int GetWindowRectInParent(HWND window, RECT* rect) {
    GetWindowRect(window, rect);
    HWND parent = GetParent(window);
    if (!parent) return 0;
    // Both corners at once: MapWindowPoints also mirrors right-to-left parents correctly.
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(rect), 2);
    return 1;
}

int GetDlgItemRectInDlg(HWND dialog, int id, RECT* rect) {
    HWND item = dialog ? GetDlgItem(dialog, id) : nullptr;
    if (!item) return 0;
    GetWindowRect(item, rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(rect), 2);
    return 1;
}

int MoveDlgItemOver(HWND dialog, int id, int placeholderId) {
    RECT r;
    HWND item = dialog ? GetDlgItem(dialog, id) : nullptr;
    if (!item || !GetDlgItemRectInDlg(dialog, placeholderId, &r)) return 0;
    return MoveWindow(item, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE) ? 1 : 0;
}

BOOL MoveWindowTo(HWND window, int x, int y, int relative) {
    if (relative) {
        RECT r;
        GetWindowRectInParent(window, &r);
        x += r.left;
        y += r.top;
    }
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL ResizeWindow(HWND window, int cx, int cy, int relative) {
    if (relative) {
        RECT r;
        GetWindowRect(window, &r);
        cx += r.right - r.left;
        cy += r.bottom - r.top;
    }
    return SetWindowPos(window, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
