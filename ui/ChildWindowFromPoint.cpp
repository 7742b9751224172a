#include "ui/ChildWindowFromPoint.h"

#include "framework/Wnd.h"

HWND ChildWindowFromPointDeep(POINT point, HWND parent, BOOL visibleOnly) {
    HWND current = parent;
    for (;;) {
        HWND hit = nullptr;
        for (HWND child = FindWindowExA(current, nullptr, nullptr, nullptr); child;
             child = FindWindowExA(current, child, nullptr, nullptr)) {
            if (visibleOnly && !(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE)) continue;
            RECT rect;
            if (GetWindowRect(child, &rect) && PtInRect(&rect, point)) {
                hit = child;
                break;
            }
        }
        if (!hit) return current;
        current = hit;
    }
}

CWnd* ChildWindowFromPointDeep(POINT point, CWnd* parent, BOOL visibleOnly) {
    HWND found = ChildWindowFromPointDeep(point, parent ? parent->GetSafeHwnd() : nullptr, visibleOnly);
    return found ? CWnd::FromHandle(found) : nullptr;
}
