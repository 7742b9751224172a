// Mouse input of the toolbar control: hit testing, hot tracking, clicks and the drop-down notification,
// and the insert mark.
#include "ui/toolbar/ToolbarMessages.h"

#include <cstring>

namespace {

POINT CursorInClient(const ToolbarState* s) {
    POINT pt = {-1, -1};
    if (GetCursorPos(&pt) && s->wnd) ScreenToClient(s->wnd, &pt);
    return pt;
}

BYTE AsyncKeys() {
    BYTE keys = 0;
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) keys |= MK_LBUTTON;
    if (GetAsyncKeyState(VK_RBUTTON) & 0x8000) keys |= MK_RBUTTON;
    return keys;
}

bool IsEnabledButton(const ToolbarButton* b) { return (b->fsState & TBSTATE_ENABLED) != 0; }

void Track(ToolbarState* s, POINT pt, BYTE keys) { TrackHotButton(s, ToolbarHitTest(s, pt, true), keys); }

// Follows the mouse while a button is hot (the lock is held).
void TrackWhileHot(ToolbarState* s) {
    if (s->hot >= 0) Track(s, CursorInClient(s), AsyncKeys());
}

void PostCommand(HWND target, int id, HWND toolbar) {
    if (target) PostMessageW(target, WM_COMMAND, (WPARAM)LOWORD(id), (LPARAM)toolbar);
}

}  // namespace

int ToolbarHitTest(ToolbarState* s, POINT pt, bool withDropPart) {
    for (int i = 0; i < s->buttonCount; ++i) {
        const ToolbarButton* b = s->buttons[i];
        if (!IsButtonVisible(b) || IsSeparator(b) || !PtInRect(&b->rect, pt)) continue;
        int left = b->rect.left + s->gap / 2;
        int right = b->rect.left + ButtonContentEnd(b);
        int top = b->rect.top + s->gap2 / 2;
        int bottom = b->rect.bottom - s->gap2 + s->gap2 / 2;
        if (b->look & kLookTextBelow) bottom -= s->lineHeight + 1;
        if (pt.x < left || pt.x >= right || pt.y < top || pt.y >= bottom) return -1;
        int arrow = ButtonArrowWidth(b);
        if (withDropPart && arrow && pt.x >= b->rect.right - arrow) return i | (int)kHitDropPart;
        return i;
    }
    return -1;
}

void TrackHotButton(ToolbarState* s, int hit, BYTE keys) {
    int index = hit < 0 ? -1 : (hit & 0xFFFF);
    bool drop = hit >= 0 && (hit & kHitDropPart);
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) {
        index = -1;
        drop = false;
    } else if (b->extra & (TBXF_RADIO | TBXF_CHECK)) {
        keys = 0;
    } else {
        keys &= (b->extra & TBXF_SPLIT) ? (MK_LBUTTON | MK_RBUTTON) : MK_LBUTTON;
    }
    bool wasDrop = s->hot >= 0 && s->dropPart;
    if (index == s->hot && drop == wasDrop && keys == s->lastKeys) return;
    if (ToolbarButton* old = ButtonAt(s, s->hot)) {
        if (IsButtonVisible(old) && !IsSeparator(old)) old->look = (WORD)((old->look & ~kLookMask) | RestingLook(old));
        InvalidateButton(s, s->hot);
    }
    s->dropPart = false;
    if (b) {
        bool down = (b->fsState & (TBSTATE_CHECKED | TBSTATE_PRESSED)) != 0;
        WORD look;
        if ((b->fsState & TBSTATE_ENABLED) && !(b->fsState & TBSTATE_INDETERMINATE)) {
            if (!drop) {
                look = (down || keys) ? kLookHotChecked : kLookHot;
            } else {
                look = down ? kLookDropHotChecked : kLookDropHot;
                s->dropPressed = (keys & MK_LBUTTON) != 0;
                s->dropPart = true;
            }
        } else {
            look = down ? kLookDisabledChecked : kLookDisabled;
        }
        b->look = (WORD)((b->look & ~kLookMask) | look);
        InvalidateButton(s, index);
    }
    s->hot = index;
    s->lastKeys = keys;
}

void UpdateInsertMark(ToolbarState* s, int index, DWORD flags, bool invalidate) {
    const ToolbarButton* b = ButtonAt(s, index);
    RECT old = s->markRect;
    bool shown = s->markIndex >= 0;
    if (!b || !IsButtonVisible(b)) {
        if (shown && invalidate && s->wnd) InvalidateRect(s->wnd, &old, TRUE);
        s->markIndex = -1;
        s->markFlags = 0;
        return;
    }
    RECT r;
    flags &= TBIMHT_AFTER;
    if (b->look & (kLookStacked | kLookStackHead)) {
        // A stack grows upward: before a button is below it, after it is above it.
        int y = (flags & TBIMHT_AFTER) ? b->rect.top : b->rect.bottom;
        r = {b->rect.left, y - 3, b->rect.right, y + 3};
        flags |= 2;
    } else {
        int x = (flags & TBIMHT_AFTER) ? b->rect.right : b->rect.left;
        r = {x - 3, b->rect.top, x + 3, b->rect.bottom};
        if (b->look & (kLookTextBelow | kLookGroupCaption | kLookBand)) r.bottom -= s->fontHeight + 1;
    }
    if (r.left < 0) OffsetRect(&r, 1, 0);
    if (invalidate && s->wnd && (!shown || !EqualRect(&r, &old))) {
        if (shown) InvalidateRect(s->wnd, &old, TRUE);
        InvalidateRect(s->wnd, &r, TRUE);
    }
    s->markIndex = index;
    s->markFlags = flags;
    s->markRect = r;
}

// --- Messages ---

LRESULT OnMouseMove(ToolbarState* s, POINT pt, BYTE keys) {
    ToolbarLock lock(s, WM_MOUSEMOVE);
    Track(s, pt, keys);
    if (s->hot >= 0 && s->wnd) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, s->wnd, 0};
        TrackMouseEvent(&tme);
    }
    return 0;
}

// A press on the drop part of a drop-down button asks the parent for its menu. The lock is left while the
// parent works, so the button may be gone afterwards; the index is checked again before it is used.
LRESULT OnLeftDown(ToolbarState* s, POINT pt, BYTE keys) {
    LockToolbar(s);
    Track(s, pt, keys);
    ToolbarButton* b = ButtonAt(s, s->hot);
    if (!b || !s->dropPart) {
        UnlockToolbar(s, WM_LBUTTONDOWN);
        return 0;
    }
    NMTOOLBARA nm = {};
    nm.hdr.hwndFrom = s->wnd;
    nm.hdr.idFrom = (UINT_PTR)GetDlgCtrlID(s->wnd);
    nm.hdr.code = TBN_DROPDOWN;
    nm.iItem = s->hot;
    memcpy(&nm.tbButton, b, sizeof(TBBUTTON));
    UnlockToolbar(s, WM_LBUTTONDOWN);
    SendMessageA(GetParent(s->wnd), WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
    // The parent may have changed the table meanwhile.
    ToolbarLock lock(s, WM_LBUTTONDOWN + 0x10000);
    if (s->hot >= s->buttonCount) {
        s->hot = -1;
        s->dropPart = false;
    }
    return 0;
}

LRESULT OnLeftUp(ToolbarState* s, POINT pt, BYTE keys) {
    LockToolbar(s);
    int i = s->hot;
    ToolbarButton* b = ButtonAt(s, i);
    bool post = false;
    int id = 0;
    // A disabled button takes no click: no toggle and no command.
    if (b && !s->dropPart && !(b->extra & TBXF_WINDOW) && IsEnabledButton(b)) {
        if (b->fsStyle & BTNS_CHECK) {
            if (b->fsStyle & BTNS_GROUP) {
                ReleaseGroupCheck(s, i);  // a click on the checked button of a group keeps it checked
                b->fsState |= TBSTATE_CHECKED;
            } else {
                b->fsState ^= TBSTATE_CHECKED;
            }
        }
        s->lastKeys = 0xFF;
        post = true;
        id = b->idCommand;
    }
    Track(s, pt, keys);
    HWND target = s->targets[kTargetNotify];
    UnlockToolbar(s, WM_LBUTTONUP);
    if (post) PostCommand(target, id, s->wnd);
    return 0;
}

// A right press only tracks; the default processing follows.
ToolbarAnswer OnRightDown(ToolbarState* s, UINT msg, POINT pt, BYTE keys) {
    ToolbarLock lock(s, (int)msg);
    Track(s, pt, keys);
    return kPassOn;
}

// A right click on a split button posts the command after the button's own; off the buttons the default
// processing follows.
ToolbarAnswer OnRightUp(ToolbarState* s, POINT pt, BYTE keys) {
    LockToolbar(s);
    Track(s, pt, keys);
    ToolbarButton* b = ButtonAt(s, s->hot);
    bool post = b && (b->extra & TBXF_SPLIT) && !s->dropPart && IsEnabledButton(b);
    int id = b ? b->idCommand + 1 : 0;
    HWND target = s->targets[kTargetNotify];
    UnlockToolbar(s, WM_RBUTTONUP);
    if (post) PostCommand(target, id, s->wnd);
    if (!b) return kPassOn;
    return 0;
}

LRESULT OnMouseLeave(ToolbarState* s) {
    ToolbarLock lock(s, WM_MOUSELEAVE);
    Track(s, CursorInClient(s), 0);
    return 0;
}

// The control's own timer is its owner's (who answers it with TBX_TRACKMOUSE); any other follows the mouse.
ToolbarAnswer OnTimer(ToolbarState* s, UINT_PTR id) {
    if (id == kToolbarTrackTimer) return kPassOn;
    ToolbarLock lock(s, WM_TIMER);
    TrackWhileHot(s);
    return 0;
}

LRESULT TrackMouse(ToolbarState* s) {
    ToolbarLock lock(s, TBX_TRACKMOUSE);
    TrackWhileHot(s);
    return 0;
}

LRESULT HitTestMessage(ToolbarState* s, WPARAM flag, const POINT* pt) {
    if (!pt) return -1;
    ToolbarLock lock(s, TB_HITTEST);
    EnsureToolbarLayout(s);
    return ToolbarHitTest(s, *pt, (UINT)flag == kToolbarHitDropPart);
}

LRESULT SetInsertMark(ToolbarState* s, const TBINSERTMARK* mark) {
    if (!mark) return 0;
    ToolbarLock lock(s, TB_SETINSERTMARK);
    EnsureToolbarLayout(s);
    int index = IsToolbarReference((UINT)mark->iButton) ? ResolveButton(s, (UINT)mark->iButton) : mark->iButton;
    UpdateInsertMark(s, index, mark->dwFlags, true);
    return s->markIndex >= 0;
}

LRESULT InsertMarkHitTest(ToolbarState* s, const POINT* pt, TBINSERTMARK* out) {
    if (!pt || !out) return 0;
    ToolbarLock lock(s, TB_INSERTMARKHITTEST);
    EnsureToolbarLayout(s);
    int hit = ToolbarHitTest(s, *pt, false);
    ToolbarButton* b = ButtonAt(s, hit);
    if (!b) {
        out->iButton = -1;
        out->dwFlags = TBIMHT_BACKGROUND;
        return 0;
    }
    const RECT& r = b->rect;
    int width = r.right - r.left;
    DWORD flags = pt->x > r.left + width / 2 ? TBIMHT_AFTER : 0;
    if (pt->x > r.left + width / 4 && pt->x < r.left + 3 * width / 4) {
        bool lowerHalf = pt->y >= (r.top + r.bottom) / 2;
        if ((b->look & kLookStackHead) && lowerHalf) flags = 0;
        else if ((b->look & kLookStacked) && !lowerHalf) flags = TBIMHT_AFTER;
    }
    out->iButton = hit;
    out->dwFlags = flags;
    return 1;
}
