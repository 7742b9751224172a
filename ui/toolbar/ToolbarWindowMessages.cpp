// Messages of the toolbar window as a whole: creation and destruction, size, focus, enabling, style, system
// colours, the font, and the messages of windows embedded on buttons, passed on to the command windows.
#include "ui/toolbar/ToolbarMessages.h"

#include "image/Theme.h"

namespace {

void CloseThemes(ToolbarState* s) {
    for (HANDLE& theme : s->theme) {
        if (theme && GetThemeState().CloseThemeData) GetThemeState().CloseThemeData((HTHEME)theme);
        theme = nullptr;
    }
}

void OpenTheme(ToolbarState* s) {
    const ThemeState& themes = GetThemeState();
    s->theme[0] = themes.OpenThemeData && s->wnd ? themes.OpenThemeData(s->wnd, L"TREEVIEW") : nullptr;
    s->themed = s->theme[0] != nullptr;
}

void NotifyParent(ToolbarState* s, NMHDR* header, int code) {
    header->hwndFrom = s->wnd;
    header->idFrom = (UINT_PTR)GetDlgCtrlID(s->wnd);
    header->code = (UINT)code;
    SendMessageA(GetParent(s->wnd), WM_NOTIFY, header->idFrom, (LPARAM)header);
}

void ApplyStyle(ToolbarState* s, DWORD style) {
    DWORD old = s->style;
    s->style = style;
    bool changed = false;
    if ((old ^ style) & WS_DISABLED) {
        s->enabled = (style & WS_DISABLED) == 0;
        changed = true;
    }
    if ((old ^ style) & CCS_VERT) {
        s->vertical = (style & CCS_VERT) != 0;
        s->dirty |= kDirtyRelayout;
        changed = true;
    }
    if ((old ^ style) & (TBSTYLE_FLAT | 0x20)) {
        s->dirty |= kDirtyAll;
        changed = true;
    }
    if (changed) InvalidateToolbar(s);
}

HWND CommandTarget(ToolbarState* s) {
    return s->targets[kTargetCommand] ? s->targets[kTargetCommand] : s->targets[kTargetNotify];
}

HWND ExtraTarget(ToolbarState* s) {
    HWND extra = s->targets[kTargetExtra];
    if (extra == TOOLBAR_ASK_TARGET) extra = (HWND)SendMessageA(s->wnd, TBX_GETEXTRATARGET, 0, 0);
    return extra;
}

}  // namespace

LRESULT OnCreate(ToolbarState* s) {
    HWND wnd = s->wnd;
    s->style = (DWORD)GetWindowLongA(wnd, GWL_STYLE);
    s->enabled = IsWindowEnabled(wnd) != FALSE;
    s->targets[kTargetNotify] = GetParent(wnd);
    OpenTheme(s);
    if (HDC dc = GetDC(wnd)) {
        s->bitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
        ReleaseDC(wnd, dc);
    }
    s->deep = s->bitsPerPixel > 8;
    s->vertical = (s->style & CCS_VERT) != 0;
    s->dirty = kDirtyAll;
    SetTimer(wnd, kToolbarTrackTimer, 1000, nullptr);
    ComputeToolbarColors(s);
    UpdateToolbarFontMetrics(s);
    return 0;
}

LRESULT OnDestroy(ToolbarState* s) {
    ToolbarLock lock(s, WM_DESTROY);
    FreeToolbarTables(s);
    CloseThemes(s);
    return 0;
}

LRESULT OnSize(ToolbarState* s, int width, int height) {
    ToolbarLock lock(s, WM_SIZE);
    if (width > s->clientWidth) {
        RECT strip = {s->clientWidth, 0, width, height};
        InvalidateRect(s->wnd, &strip, FALSE);
    }
    if (height > s->clientHeight) {
        RECT strip = {0, s->clientHeight, width, height};
        InvalidateRect(s->wnd, &strip, FALSE);
    }
    s->clientWidth = width;
    s->clientHeight = height;
    return 0;
}

LRESULT OnSetFocus(ToolbarState* s) {
    NMHDR header = {};
    if (!s->focus) NotifyParent(s, &header, NM_SETFOCUS);
    return 0;
}

LRESULT OnEnable(ToolbarState* s, bool enable) {
    if (s->enabled == enable) return 0;
    DWORD current = (DWORD)GetWindowLongA(s->wnd, GWL_STYLE);
    DWORD style = (current & 0xFFFF0000u & ~(DWORD)WS_DISABLED) | (s->style & 0xFFFF) |
                  ((s->style & WS_DISABLED) ? 0 : WS_DISABLED);
    SetWindowLongA(s->wnd, GWL_STYLE, (LONG)style);
    // The resulting WM_STYLECHANGED normally updates the flag; a style that did not change sends none.
    if (s->enabled != enable) ApplyStyle(s, style);
    return 0;
}

LRESULT OnStyleChanged(ToolbarState* s, WPARAM which, const STYLESTRUCT* change) {
    if (which == (WPARAM)GWL_STYLE && change) ApplyStyle(s, change->styleNew);
    return 0;
}

LRESULT OnSysColorChange(ToolbarState* s) {
    ToolbarLock lock(s, WM_SYSCOLORCHANGE);
    CloseThemes(s);
    OpenTheme(s);
    s->dirty |= kDirtyAll;
    ComputeToolbarColors(s);
    InvalidateToolbar(s);
    return 0;
}

LRESULT OnSetFont(ToolbarState* s, HFONT font) {
    ToolbarLock lock(s, WM_SETFONT);
    s->font = font;
    if (UpdateToolbarFontMetrics(s)) {
        // Every text must be measured again in the new font.
        s->dirty |= kDirtyAll;
        InvalidateToolbar(s);
    }
    return 0;
}

// The drawing of the child with id 1 goes on to the parent, as an item of the toolbar's own id.
LRESULT OnDrawItem(ToolbarState* s, WPARAM id, LPARAM item) {
    if (id != 1) return 0;
    return SendMessageA(GetParent(s->wnd), WM_DRAWITEM, (WPARAM)GetDlgCtrlID(s->wnd), item);
}

// Notifications of embedded windows go on to the command windows; they are sent with the lock held.
LRESULT OnChildNotify(ToolbarState* s, WPARAM wParam, NMHDR* header) {
    if (!header) return 0;
    ToolbarLock lock(s, WM_NOTIFY);
    if (FindWindowButton(s, header->hwndFrom) >= 0) {
        SendMessageA(CommandTarget(s), WM_NOTIFY, wParam, (LPARAM)header);
        if (HWND extra = ExtraTarget(s)) SendMessageA(extra, WM_NOTIFY, wParam, (LPARAM)header);
    }
    return 0;
}

// Commands of embedded windows are posted on after the lock is left; a combo box's selection change also
// posts the selected item's data (or the child's id + the selection) as a command of its own.
LRESULT OnChildCommand(ToolbarState* s, WPARAM wParam, HWND child) {
    if (!child) return 0;
    LockToolbar(s);
    bool embedded = FindWindowButton(s, child) >= 0;
    HWND receivers[2] = {CommandTarget(s), nullptr};
    UnlockToolbar(s, WM_COMMAND);
    if (!embedded) return 0;
    receivers[1] = ExtraTarget(s);
    bool selChange = HIWORD(wParam) == CBN_SELCHANGE;
    WPARAM selection = selChange ? ToolbarComboSelectionCommand(child) : 0;
    for (HWND receiver : receivers) {
        if (!receiver) continue;
        PostMessageA(receiver, WM_COMMAND, wParam, (LPARAM)child);
        if (selChange) PostMessageA(receiver, WM_COMMAND, selection, (LPARAM)child);
    }
    return 0;
}

LRESULT SetTarget(ToolbarState* s, HWND window, LPARAM selector) {
    // ToolbarTargetSlot: the slot in the low byte (the frame's toolbar sets slots 1 and 2).
    int slot = HIWORD(selector) == kToolbarIndexMark ? (int)(selector & 0xFF) : (int)kTargetNotify;
    if (slot > kTargetExtra) return 0;
    HWND old = s->targets[slot];
    s->targets[slot] = window;
    return (LRESULT)old;
}

WPARAM ToolbarComboSelectionCommand(HWND combo) {
    LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    LRESULT data = SendMessageA(combo, CB_GETITEMDATA, (WPARAM)index, 0);
    return data > 0 ? (WPARAM)data : (WPARAM)(GetDlgCtrlID(combo) + index);
}
