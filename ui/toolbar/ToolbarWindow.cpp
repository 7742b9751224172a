// The per-window state of "ToolbarExWindow32": the resources all toolbar windows of the process share, making
// and freeing the state, its memory, colours, fonts and lock.
#include "ui/toolbar/ToolbarState.h"

#include "image/Theme.h"

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

}  // namespace

// Frees the buttons, bitmaps and strings together with their tables.
void FreeToolbarTables(ToolbarState* s) {
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

bool AttachToolbarState(HWND wnd) {
    ToolbarState* s = CreateToolbarState(wnd);
    if (!s) return false;
    SetWindowLongPtrA(wnd, 0, (LONG_PTR)s);
    AcquireSharedResources();
    return true;
}

void DetachToolbarState(HWND wnd, ToolbarState* s) {
    SetWindowLongPtrA(wnd, 0, 0);
    DestroyToolbarState(s);
    ReleaseSharedResources();
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
    FreeToolbarTables(s);
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
