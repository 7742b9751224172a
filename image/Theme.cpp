// Visual-style support: binds the theme library once, opens the theme data of six control classes, measures the
// check and radio glyphs and samples themed menu colours.
#include "image/Theme.h"

#include <mutex>
#include <vsstyle.h>

#include "image/DibRecord.h"
#include "system/SystemInfo.h"

namespace {

ThemeState g_theme;
std::once_flag g_themeOnce;

// Themed colours: one slot per colour index 0..31 (larger indices are not cached).
constexpr int kColorSlots = 32;
struct ColorCache {
    std::mutex lock;
    COLORREF value[kColorSlots] = {};
    bool valid[kColorSlots] = {};
};
ColorCache g_colors;

template <typename Fn>
void Bind(HMODULE library, Fn& fn, LPCSTR name) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

COLORREF SampleMenuPart(int part, int index) {
    const ThemeState& theme = g_theme;
    COLORREF color = GetSysColor(index == kColorMenuGutter ? COLOR_MENU : index);
    void* bits = nullptr;
    DibRecord* dib = CreateDib(nullptr, 32, 32, 31, &bits);
    HDC dc = dib ? GetDibMemoryDC(dib) : nullptr;
    if (dc && theme.DrawThemeBackground) {
        RECT seed = {0, 0, 16, 16};
        SetBkColor(dc, color);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &seed, L"", 0, nullptr);
        RECT whole = {0, 0, 32, 32};
        theme.DrawThemeBackground(theme.menu, dc, part, 1, &whole, nullptr);
        GdiFlush();
        COLORREF sampled = GetPixel(dc, 16, 16);
        if (sampled != CLR_INVALID) color = sampled;
    }
    if (dib) FreeDib(dib);
    return color;
}

}  // namespace

void LoadThemeState(ThemeState& state, LPCSTR libraryName) {
    state.checkSize = {13 * GetSystemMetrics(SM_CXICON) / 32, 13};
    state.radioSize = {state.checkSize.cy, state.checkSize.cy};
    if (!state.library) state.library = LoadLibraryA(libraryName);
    if (!state.library) return;
    HMODULE lib = state.library;
    Bind(lib, state.SetWindowTheme, "SetWindowTheme");
    Bind(lib, state.EndBufferedPaint, "EndBufferedPaint");
    Bind(lib, state.BeginBufferedPaint, "BeginBufferedPaint");
    Bind(lib, state.BufferedPaintInit, "BufferedPaintInit");
    Bind(lib, state.BufferedPaintUnInit, "BufferedPaintUnInit");
    Bind(lib, state.GetCurrentThemeName, "GetCurrentThemeName");
    Bind(lib, state.OpenThemeData, "OpenThemeData");
    Bind(lib, state.CloseThemeData, "CloseThemeData");
    Bind(lib, state.DrawThemeText, "DrawThemeText");
    Bind(lib, state.DrawThemeBackground, "DrawThemeBackground");
    Bind(lib, state.GetThemePartSize, "GetThemePartSize");
    Bind(lib, state.GetThemeBackgroundContentRect, "GetThemeBackgroundContentRect");
    if (state.OpenThemeData) {
        HWND desktop = GetDesktopWindow();
        state.comboBox = state.OpenThemeData(desktop, L"ComboBox");
        state.treeView = state.OpenThemeData(desktop, L"TreeView");
        state.toolBar = state.OpenThemeData(desktop, L"ToolBar");
        state.button = state.OpenThemeData(desktop, L"Button");
        state.menu = state.OpenThemeData(desktop, L"Menu");
        state.edit = state.OpenThemeData(desktop, L"Edit");
    }
    if (state.button && state.GetThemePartSize) {
        RECT bounds = {0, 0, 3, 3};
        state.GetThemePartSize(state.button, nullptr, BP_CHECKBOX, 1, &bounds, TS_TRUE, &state.checkSize);
        state.GetThemePartSize(state.button, nullptr, BP_RADIOBUTTON, 1, &bounds, TS_TRUE, &state.radioSize);
    }
    state.kernelVersion = GetKernelProductVersion();
}

void InitThemes() {
    std::call_once(g_themeOnce, [] { LoadThemeState(g_theme, "UxTheme.dll"); });
}

const ThemeState& GetThemeState() {
    InitThemes();
    return g_theme;
}

BOOL GetThemeNameW(LPWSTR buffer, int size) {
    if (size < 1 || !buffer) return FALSE;
    InitThemes();
    WCHAR name[MAX_PATH] = {};
    buffer[0] = 0;
    if (!g_theme.GetCurrentThemeName || FAILED(g_theme.GetCurrentThemeName(name, MAX_PATH, nullptr, 0, nullptr, 0)))
        return FALSE;
    int limit = size > 256 ? 255 : size - 1;
    int i = 0;
    for (; i < limit && name[i]; ++i) buffer[i] = name[i];
    buffer[i] = 0;
    return name[0] != 0;
}

BOOL GetThemeNameA(LPSTR buffer, int size) {
    if (size < 1 || !buffer) return FALSE;
    WCHAR wide[256];
    BOOL ok = GetThemeNameW(wide, size > 256 ? 256 : size);
    int i = 0;
    for (; wide[i]; ++i) buffer[i] = static_cast<char>(wide[i]);
    buffer[i] = 0;
    return ok;
}

BOOL GetCheckGlyphSize(int kind, SIZE* size) {
    if (kind != 0 && kind != 1) return FALSE;
    InitThemes();
    if (size) *size = kind == 0 ? g_theme.checkSize : g_theme.radioSize;
    return TRUE;
}

COLORREF GetThemedSysColor(int index) {
    InitThemes();
    if (index < 0 || index >= kColorSlots) return GetSysColor(index);
    std::lock_guard<std::mutex> guard(g_colors.lock);
    if (g_colors.valid[index]) return g_colors.value[index];
    COLORREF color;
    if (index == COLOR_MENU || index == kColorMenuGutter) {
        if (g_theme.menu) {
            color = SampleMenuPart(index == COLOR_MENU ? MENU_POPUPBACKGROUND : MENU_POPUPGUTTER, index);
        } else {
            color = GetSysColor(COLOR_MENU);
            g_colors.value[COLOR_MENU] = g_colors.value[kColorMenuGutter] = color;
            g_colors.valid[COLOR_MENU] = g_colors.valid[kColorMenuGutter] = true;
        }
    } else {
        // Other indices have no themed form: the system colour of the index itself.
        color = GetSysColor(index);
    }
    g_colors.value[index] = color;
    g_colors.valid[index] = true;
    return color;
}
