// "ToolbarExWindow32": class registration, shared resources, the per-window state and its lock, and the
// window procedure that hands each message to the part of the control that owns it.
#include "ui/toolbar/ToolbarState.h"

#include "image/Theme.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Resources shared by all toolbar windows of the process, set up by the first window and released by the last.
// The theme library is bound once for the process by the theme support and never freed.
std::atomic<int> g_paintDepth{0};  // read from the screen when the first window comes
LONG g_windowCount = -1;
HFONT volatile g_fonts[2];
LONG g_registered;
ToolbarAllocFn g_alloc;

void* DefaultAlloc(size_t size) { return malloc(size); }

void AcquireSharedResources() {
    if (InterlockedIncrement(&g_windowCount) != 0) return;
    InitThemes();
    if (GetThemeState().BufferedPaintInit) GetThemeState().BufferedPaintInit();
    int bits = 32;
    if (HDC screen = GetDC(nullptr)) {
        bits = GetDeviceCaps(screen, BITSPIXEL);
        ReleaseDC(nullptr, screen);
    }
    g_paintDepth = bits >= 12 ? 32 : bits;
}

void ReleaseSharedResources() {
    if (InterlockedDecrement(&g_windowCount) >= 0) return;
    for (HFONT volatile& font : g_fonts) {
        HFONT old = (HFONT)InterlockedExchangePointer((void* volatile*)&font, nullptr);
        if (old) DeleteObject(old);
    }
    if (GetThemeState().BufferedPaintUnInit) GetThemeState().BufferedPaintUnInit();
}

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

// --- Messages of the window as a whole ---

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

// Frees the buttons, bitmaps and strings together with their tables.
void FreeTables(ToolbarState* s) {
    ClearToolbarButtons(s);
    RemoveToolbarBitmaps(s);
    FreeToolbarStrings(s);
    ToolbarFree(s->buttons);
    ToolbarFree(s->bitmaps);
    ToolbarFree(s->strings);
    s->buttons = nullptr;
    s->bitmaps = nullptr;
    s->strings = nullptr;
    s->buttonCapacity = s->bitmapCapacity = s->stringCapacity = 0;
}

LRESULT OnDestroy(ToolbarState* s) {
    ToolbarLock lock(s, WM_DESTROY);
    FreeTables(s);
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

HWND CommandTarget(ToolbarState* s) {
    return s->targets[kTargetCommand] ? s->targets[kTargetCommand] : s->targets[kTargetNotify];
}

HWND ExtraTarget(ToolbarState* s) {
    HWND extra = s->targets[kTargetExtra];
    if (extra == TOOLBAR_ASK_TARGET) extra = (HWND)SendMessageA(s->wnd, TBX_GETEXTRATARGET, 0, 0);
    return extra;
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
    // 0x1234xxyy: slot yy (the frame toolbar sends 0x12345601 and 0x12345602).
    int slot = HIWORD(selector) == 0x1234 ? (int)(selector & 0xFF) : (int)kTargetNotify;
    if (slot > kTargetExtra) return 0;
    HWND old = s->targets[slot];
    s->targets[slot] = window;
    return (LRESULT)old;
}

// --- Metrics and colours ---

LRESULT SetButtonSize(ToolbarState* s, LPARAM lParam) {
    int cx = (short)LOWORD(lParam), cy = (short)HIWORD(lParam);
    if (cx < 0 || cy < 0) return 0;
    if (cx == 0) cx = 24;
    if (cy == 0) cy = 24;
    // The floor is the image plus its padding, so repeating a request never changes the size.
    cx = std::max(cx, s->bitmapWidth + s->padX);
    cy = std::max(cy, s->bitmapHeight + s->padY);
    s->buttonWidth = cx;
    s->buttonHeight = cy;
    s->dirty |= kDirtyAll;
    InvalidateToolbar(s);
    return 1;
}

LRESULT SetBitmapSize(ToolbarState* s, LPARAM lParam) {
    s->bitmapWidth = std::max<int>((short)LOWORD(lParam), 2);
    s->bitmapHeight = std::max<int>((short)HIWORD(lParam), 2);
    s->dirty |= kDirtyRelayout;
    InvalidateToolbar(s);
    return 1;
}

LRESULT SetPadding(ToolbarState* s, LPARAM lParam) {
    s->padX = std::max<int>((short)LOWORD(lParam), 2);
    s->padY = std::max<int>((short)HIWORD(lParam), 2);
    s->dirty |= kDirtyAll;
    InvalidateToolbar(s);
    return MAKELONG(s->padX, s->padY);
}

LRESULT SetListGap(ToolbarState* s, WPARAM wParam, LPARAM lParam) {
    int gap = std::max((int)wParam, 0);
    int gap2 = HIWORD(lParam) == 0x1248 ? std::max<int>((short)LOWORD(lParam), 0) : s->gap2;
    if (gap != s->gap || gap2 != s->gap2) {
        s->gap = gap;
        s->gap2 = gap2;
        s->dirty |= kDirtyAll;
        InvalidateToolbar(s);
    }
    return 0;
}

LRESULT SetIndent(ToolbarState* s, int indent) {
    if (indent != s->indent) {
        s->indent = indent;
        s->dirty |= kDirtyMeasure;
        InvalidateToolbar(s);
    }
    return 1;
}

LRESULT SetWidthLimits(ToolbarState* s, LPARAM lParam) {
    int low = (short)LOWORD(lParam), high = (short)HIWORD(lParam);
    s->minWidth = low < 0 ? -1 : low;
    s->maxWidth = high < 0 ? -1 : high;
    s->dirty |= kDirtyAll;
    return 1;
}

LRESULT SetDirty(ToolbarState* s, WPARAM wParam, LPARAM lParam) {
    BYTE flags = (BYTE)wParam;
    s->dirty |= flags;
    if (LOWORD(lParam) && flags) InvalidateToolbar(s);
    return 1;
}

LRESULT KeyColor(ToolbarState* s, WPARAM wParam, LPARAM lParam) {
    UINT k = (UINT)wParam & 0x7FFFFFFFu;
    if (k > 1) return 0;
    COLORREF old = s->keyColors[k];
    if ((UINT)wParam & 0x80000000u) {
        COLORREF color = (COLORREF)lParam;
        s->keyColors[k] = color;
        if (color != old && s->buttonCount > 0) {
            s->dirty |= kDirtyAll;
            InvalidateToolbar(s);
        }
    }
    return old;
}

LRESULT SetColor(ToolbarState* s, WPARAM slot, LPARAM lParam) {
    if (slot >= 9) return -1;
    COLORREF old = s->colors[slot];
    COLORREF color = (COLORREF)lParam;
    if (color == CLR_INVALID) {
        s->colorSet[slot] = false;
    } else {
        s->colorSet[slot] = true;
        s->colors[slot] = color;
    }
    ComputeToolbarColors(s);
    if (s->colors[slot] != old) {
        // Painted looks carry the colours, so every strip is drawn again.
        s->dirty |= kDirtyMetrics;
        InvalidateToolbar(s);
    }
    return old;
}

LRESULT SetScale(ToolbarState* s, WPARAM which, LPARAM lParam) {
    int scale = (int)lParam == 0 ? 256 : (int)lParam;
    bool read = (int)lParam == -1;
    ToolbarLock lock(s, TBX_SETSCALE);
    LRESULT old;
    bool changed = false;
    if ((int)which == -1) {
        old = s->scale;
        if (!read && scale != s->scale) {
            s->scale = scale;
            s->dirty |= kDirtyAll | kDirtyScale;
            changed = true;
        }
    } else if (which < (WPARAM)s->bitmapCount) {
        ToolbarBitmap* bitmap = s->bitmaps[which];
        old = bitmap->scale;
        if (!read && scale != bitmap->scale) {
            bitmap->scale = (WORD)scale;
            s->dirty |= kDirtyAll;
            changed = true;
        }
    } else {
        old = -1;
    }
    if (changed) InvalidateToolbar(s);
    return old;
}

LRESULT IdealSize(ToolbarState* s) {
    ToolbarLock lock(s, TBX_GETIDEALSIZE);
    EnsureToolbarLayout(s);
    return MAKELONG(s->idealWidth, s->idealHeight);
}

LRESULT FitToSize(ToolbarState* s, int extent, UINT flags) {
    ToolbarLock lock(s, TBX_FITTOSIZE);
    return FitToolbar(s, extent, flags);
}

// Messages of the window, its metrics and its colours; the tables have handlers of their own.
LRESULT WindowMessage(ToolbarState* s, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
    *handled = true;
    switch (msg) {
    case WM_CREATE: return OnCreate(s);
    case WM_DESTROY: return OnDestroy(s);
    case WM_SIZE: return OnSize(s, (short)LOWORD(lParam), (short)HIWORD(lParam));
    case WM_SETFOCUS: {
        NMHDR header = {};
        if (!s->focus) NotifyParent(s, &header, NM_SETFOCUS);
        return 0;
    }
    case WM_KILLFOCUS: return 0;
    case WM_ENABLE: return OnEnable(s, wParam != 0);
    case WM_PAINT: PaintToolbar(wnd, (HDC)wParam, nullptr); return 0;
    case WM_SYSCOLORCHANGE: return OnSysColorChange(s);
    case WM_DRAWITEM:
        return wParam == 1 ? SendMessageA(GetParent(wnd), WM_DRAWITEM, (WPARAM)GetDlgCtrlID(wnd), lParam) : 0;
    case WM_SETFONT: return OnSetFont(s, (HFONT)wParam);
    case WM_GETFONT: return (LRESULT)s->font;
    case WM_NOTIFY: return OnChildNotify(s, wParam, (NMHDR*)lParam);
    case WM_STYLECHANGED:
        if (wParam == (WPARAM)GWL_STYLE && lParam) ApplyStyle(s, ((STYLESTRUCT*)lParam)->styleNew);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: return 0;
    case WM_COMMAND: return OnChildCommand(s, wParam, (HWND)lParam);
    case TB_BUTTONSTRUCTSIZE: s->buttonStructSize = (UINT)wParam; return 0;
    case TB_SETBUTTONSIZE: return SetButtonSize(s, lParam);
    case TB_SETBITMAPSIZE: return SetBitmapSize(s, lParam);
    case TB_GETTOOLTIPS:
    case TB_SETTOOLTIPS: return 0;
    case TB_SETPARENT: return SetTarget(s, (HWND)wParam, lParam);
    case TB_SETINDENT: return SetIndent(s, (int)wParam);
    case TB_GETSTYLE: return s->style;
    case TB_GETBUTTONSIZE: return MAKELONG(s->buttonWidth, s->buttonHeight);
    case TB_SETBUTTONWIDTH: return SetWidthLimits(s, lParam);
    case TB_GETEXTENDEDSTYLE: return s->exStyle;
    case TB_GETPADDING: return MAKELONG(s->padX, s->padY);
    case TB_SETPADDING: return SetPadding(s, lParam);
    case TB_SETLISTGAP: return SetListGap(s, wParam, lParam);
    case TBX_SETDIRTY: return SetDirty(s, wParam, lParam);
    case TBX_GETEXTRATARGET: return 0;
    case TBX_GETBITMAPSIZE: return MAKELONG(s->bitmapWidth, s->bitmapHeight);
    case TBX_SETSCALE: return SetScale(s, wParam, lParam);
    case TBX_GETIDEALSIZE: return IdealSize(s);
    case TBX_FITTOSIZE: return FitToSize(s, (int)wParam, (UINT)lParam);
    case TBX_KEYCOLOR: return KeyColor(s, wParam, lParam);
    case TBX_COLOR: return SetColor(s, wParam, lParam);
    default: *handled = false; return 0;
    }
}

}  // namespace

WPARAM ToolbarComboSelectionCommand(HWND combo) {
    LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    LRESULT data = SendMessageA(combo, CB_GETITEMDATA, (WPARAM)index, 0);
    return data > 0 ? (WPARAM)data : (WPARAM)(GetDlgCtrlID(combo) + index);
}

// --- Memory ---

ToolbarAllocFn SetToolbarAllocator(ToolbarAllocFn alloc) {
    ToolbarAllocFn old = g_alloc ? g_alloc : DefaultAlloc;
    g_alloc = alloc;
    return old;
}

void* ToolbarAlloc(size_t size) {
    void* block = (g_alloc ? g_alloc : DefaultAlloc)(size);
    if (block) memset(block, 0, size);
    return block;
}

void ToolbarFree(void* block) { free(block); }

// --- State ---

void SetToolbarDefaults(ToolbarState* s) {
    s->keyColors[0] = 0x00FF00FF;
    s->keyColors[1] = 0x00800080;
    s->minWidth = s->maxWidth = -1;
    s->buttonWidth = 23;
    s->buttonHeight = 22;
    s->bitmapWidth = s->bitmapHeight = 16;
    s->padX = s->padY = 7;
    s->gap = 2;
    s->gap2 = 4;
    s->buttonStructSize = sizeof(TBBUTTON);
    s->scale = 256;
    s->hot = -1;
    s->markIndex = -1;
    s->rowFlow = true;
    s->enabled = true;
    s->deep = true;
    s->bitsPerPixel = 32;
}

ToolbarState* CreateToolbarState(HWND wnd) {
    auto* s = (ToolbarState*)ToolbarAlloc(sizeof(ToolbarState));
    if (!s) return nullptr;
    InitializeCriticalSection(&s->lock);
    s->wnd = wnd;
    SetToolbarDefaults(s);
    ComputeToolbarColors(s);
    return s;
}

void DestroyToolbarState(ToolbarState* s) {
    if (!s) return;
    FreeTables(s);
    FreeToolbarLabels(s);
    FreeToolbarScratch(s);
    if (s->measureDC) DeleteDC(s->measureDC);
    DeleteCriticalSection(&s->lock);
    memset(s, 0, sizeof(*s));
    ToolbarFree(s);
}

void ComputeToolbarColors(ToolbarState* s) {
    static const int kSysColors[8] = {COLOR_BTNFACE, COLOR_MENUTEXT, COLOR_MENUTEXT, COLOR_3DLIGHT, -1, -1,
                                      COLOR_INFOBK,  COLOR_INFOTEXT};
    for (int slot = 0; slot < 8; ++slot) {
        if (s->colorSet[slot]) continue;
        if (slot == 4) s->colors[slot] = 0x0080C0FF;
        else if (slot == 5) s->colors[slot] = 0;
        else s->colors[slot] = GetSysColor(kSysColors[slot]);
    }
    if (!s->colorSet[8]) s->colors[8] = ((s->colors[7] >> 1) & 0x7F7F7F) + ((s->colors[6] >> 1) & 0x7F7F7F);
}

HFONT GetToolbarSharedFont(bool bold) {
    HFONT font = g_fonts[bold ? 1 : 0];
    if (font) return font;
    LOGFONTA lf = {};
    SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0);
    lf.lfHeight = lf.lfHeight * 3 / 4;
    if (lf.lfHeight < 0 && lf.lfHeight > -12) lf.lfHeight = -12;
    if (lf.lfHeight > 0 && lf.lfHeight < 12) lf.lfHeight = 12;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font = CreateFontIndirectA(&lf);
    if (!font) return nullptr;
    HFONT existing =
        (HFONT)InterlockedCompareExchangePointer((void* volatile*)&g_fonts[bold ? 1 : 0], font, nullptr);
    if (existing) {
        DeleteObject(font);
        return existing;
    }
    return font;
}

HFONT ToolbarFont(const ToolbarState* s) { return s->font ? s->font : GetToolbarSharedFont(false); }

bool UpdateToolbarFontMetrics(ToolbarState* s) {
    HFONT font = ToolbarFont(s);
    if (font == s->measuredFont && s->lineHeight) return false;
    TEXTMETRICW tm = {};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int lineHeight = HIWORD(MeasureToolbarText(s, L"Ag", 2, DT_SINGLELINE));
    bool changed = tm.tmHeight != s->fontHeight || (int)tm.tmAscent + 1 != s->fontAscent1 ||
                   lineHeight != s->lineHeight;
    s->measuredFont = font;
    s->fontHeight = tm.tmHeight;
    s->fontAscent1 = tm.tmAscent + 1;
    s->lineHeight = lineHeight;
    return changed;
}

int ToolbarPaintDepth() {
    int depth = g_paintDepth;
    return depth ? depth : 32;
}

// --- The lock ---

void LockToolbar(ToolbarState* s) { EnterCriticalSection(&s->lock); }

void UnlockToolbar(ToolbarState* s, int site) {
    // Leaving a section this thread does not own would corrupt it: report the site and leave it alone.
    if ((DWORD)(ULONG_PTR)s->lock.OwningThread != GetCurrentThreadId()) {
        char text[16];
        snprintf(text, sizeof(text), "%i", site);
        MessageBoxA(nullptr, text, "Unlock Error", 0);
        return;
    }
    LeaveCriticalSection(&s->lock);
}

// --- Class and window procedure ---

BOOL RegisterToolbarExClass(HINSTANCE module) {
    if (g_registered) return TRUE;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ToolbarExWndProc;
    wc.cbWndExtra = sizeof(ToolbarState*);
    wc.hInstance = module;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kToolbarExClassName;
    if (!RegisterClassExA(&wc)) {
        // Another thread (or an earlier module) may have registered it meanwhile.
        WNDCLASSEXA existing = {};
        existing.cbSize = sizeof(existing);
        if (!GetClassInfoExA(module, kToolbarExClassName, &existing)) return FALSE;
    }
    InterlockedExchange(&g_registered, 1);
    return TRUE;
}

LRESULT CALLBACK ToolbarExWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        ToolbarState* s = CreateToolbarState(wnd);
        if (!s) return FALSE;  // no state: the window is not created
        SetWindowLongPtrA(wnd, 0, (LONG_PTR)s);
        AcquireSharedResources();
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
    ToolbarState* s = GetToolbarState(wnd);
    if (!s) return msg == WM_CREATE ? -1 : DefWindowProcA(wnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(wnd, 0, 0);
        DestroyToolbarState(s);
        ReleaseSharedResources();
        return 0;
    }
    bool handled = false;
    LRESULT result = WindowMessage(s, wnd, msg, wParam, lParam, &handled);
    if (!handled) result = ToolbarButtonMessage(s, msg, wParam, lParam, &handled);
    if (!handled) result = ToolbarMouseMessage(s, msg, wParam, lParam, &handled);
    if (!handled) result = ToolbarStringMessage(s, msg, wParam, lParam, &handled);
    if (!handled) result = ToolbarBitmapMessage(s, msg, wParam, lParam, &handled);
    if (!handled) result = DefWindowProcA(wnd, msg, wParam, lParam);
    return result;
}
