// Font cache, the toolkit's UI fonts and text measuring.
#include "image/FontCache.h"

#include <cstdlib>
#include <cstring>

#include "system/SystemInfo.h"

namespace {

// A slim lock: it has no destructor, so the exit handler may still take it.
SRWLOCK g_lock = SRWLOCK_INIT;
FontCacheEntry* g_entries = nullptr;
int g_count = 0;
int g_capacity = 0;
bool g_exitHandlerRegistered = false;

struct UiFontState {
    HFONT font[4] = {};
    BYTE averageWidth[4] = {};
    BYTE height[4] = {};
    int messageWidth = 0;
    int messageHeight = 0;
};
UiFontState g_ui;

struct Lock {
    Lock() { AcquireSRWLockExclusive(&g_lock); }
    ~Lock() { ReleaseSRWLockExclusive(&g_lock); }
};

bool Matches(const FontCacheEntry& e, const LOGFONTA& lf) {
    return strncmp(e.faceName, lf.lfFaceName, LF_FACESIZE - 1) == 0 &&
           e.height == static_cast<SHORT>(lf.lfHeight) && e.width == static_cast<SHORT>(lf.lfWidth) &&
           e.weight == static_cast<WORD>(lf.lfWeight) && e.italic == lf.lfItalic && e.underline == lf.lfUnderline &&
           e.charSet == lf.lfCharSet && e.pitchAndFamily == lf.lfPitchAndFamily;
}

BYTE ClampByte(LONG value) { return static_cast<BYTE>(value < 0 ? 0 : value > 255 ? 255 : value); }

bool MetricsOf(HFONT font, TEXTMETRICA* metrics, char* face) {
    HDC dc = GetDC(nullptr);
    if (!dc) return false;
    HGDIOBJ old = SelectObject(dc, font);
    bool ok = GetTextMetricsA(dc, metrics) != 0;
    if (face) {
        face[0] = 0;
        GetTextFaceA(dc, LF_FACESIZE, face);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return ok;
}

void StockFixedFace(char* face) {
    LOGFONTA stock = {};
    face[0] = 0;
    if (GetObjectA(GetStockObject(ANSI_FIXED_FONT), sizeof(stock), &stock)) strcpy(face, stock.lfFaceName);
    if (!face[0]) {
        TEXTMETRICA ignored;
        MetricsOf(static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT)), &ignored, face);
    }
}

template <typename Char>
DWORD MeasureText(HDC dc, const Char* text, int length, DWORD flags, void* out) {
    HDC screen = nullptr;
    HGDIOBJ old = nullptr;
    if (!dc) {
        dc = screen = GetDC(nullptr);
        if (!dc) return 0;
        if (out) old = SelectObject(dc, static_cast<HFONT>(out));
    }
    RECT r = {0, 0, 0, 0};
    UINT format = (flags & 0xE0) | (flags & 0xFB00) | DT_CALCRECT;
    if constexpr (sizeof(Char) == 1)
        DrawTextA(dc, text, length, &r, format);
    else
        DrawTextW(dc, text, length, &r, format);
    int width = r.right - r.left, height = r.bottom - r.top;
    if (screen) {
        if (old) SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
    } else if (out) {
        if (flags & kMeasureSize) {
            static_cast<int*>(out)[0] = width;
            static_cast<int*>(out)[1] = height;
        } else if (flags & kMeasureFitRect) {
            RECT& fit = *static_cast<RECT*>(out);
            int e = fit.right - fit.left - width;
            if (e >= 1) {
                if (flags & kMeasureCentreX) {
                    fit.left += e / 2;
                    fit.right -= (e + 1) / 2;
                } else if (flags & kMeasureRight) {
                    fit.left += e;
                } else {
                    fit.right -= e;
                }
            }
            e = fit.bottom - fit.top - height;
            if (e > 0) {
                if (flags & kMeasureCentreY) {
                    fit.top += e / 2;
                    fit.bottom -= (e + 1) / 2;
                } else if (flags & kMeasureBottom) {
                    fit.top += e;
                } else {
                    fit.bottom -= e;
                }
            }
        } else {
            static_cast<int*>(out)[0] = height;
        }
    }
    if (flags & kMeasurePacked) return static_cast<DWORD>(width & 0xFFFF) | (static_cast<DWORD>(height) << 16);
    return static_cast<DWORD>(width);
}

}  // namespace

HFONT CreateCachedFont(const LOGFONTA* lf) {
    if (!lf) return nullptr;
    {
        Lock lock;
        for (int i = 0; i < g_count; ++i)
            if (Matches(g_entries[i], *lf)) return g_entries[i].font;
    }
    HFONT font = CreateFontIndirectA(lf);
    if (!font) return nullptr;
    Lock lock;
    // Another thread may have added the same font meanwhile.
    for (int i = 0; i < g_count; ++i) {
        if (Matches(g_entries[i], *lf)) {
            DeleteObject(font);
            return g_entries[i].font;
        }
    }
    if (g_count >= g_capacity) {
        int capacity = g_capacity / 2 + g_capacity + 8;
        auto* grown = static_cast<FontCacheEntry*>(realloc(g_entries, sizeof(FontCacheEntry) * capacity));
        if (!grown) {
            DeleteObject(font);
            return nullptr;
        }
        memset(grown + g_capacity, 0, sizeof(FontCacheEntry) * (capacity - g_capacity));
        g_entries = grown;
        g_capacity = capacity;
        if (!g_exitHandlerRegistered) {
            g_exitHandlerRegistered = true;
            atexit(FreeFontCache);
        }
    }
    FontCacheEntry& e = g_entries[g_count++];
    e.font = font;
    e.italic = lf->lfItalic;
    e.underline = lf->lfUnderline;
    e.charSet = lf->lfCharSet;
    e.pitchAndFamily = lf->lfPitchAndFamily;
    e.weight = static_cast<WORD>(lf->lfWeight);
    e.height = static_cast<SHORT>(lf->lfHeight);
    e.width = static_cast<SHORT>(lf->lfWidth);
    strncpy(e.faceName, lf->lfFaceName, LF_FACESIZE - 1);
    e.faceName[LF_FACESIZE - 1] = 0;
    return font;
}

HFONT CreateCachedFontW(const LOGFONTW* lf) {
    if (!lf) return nullptr;
    // The face name is narrowed to the low bytes of its characters, in a copy: the caller's block stays as it is.
    LOGFONTA narrow;
    memcpy(&narrow, lf, offsetof(LOGFONTA, lfFaceName));
    memset(narrow.lfFaceName, 0, sizeof(narrow.lfFaceName));
    for (int i = 0; i < LF_FACESIZE - 1 && lf->lfFaceName[i]; ++i)
        narrow.lfFaceName[i] = static_cast<char>(lf->lfFaceName[i]);
    return CreateCachedFont(&narrow);
}

HFONT CreateBoldFont(HFONT font) {
    if (!font) return nullptr;
    TEXTMETRICA tm;
    LOGFONTA lf = {};
    if (!MetricsOf(font, &tm, lf.lfFaceName)) return nullptr;
    lf.lfHeight = -tm.tmHeight;
    lf.lfWidth = tm.tmAveCharWidth;
    lf.lfEscapement = 0;
    lf.lfOrientation = 0;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = tm.tmItalic;
    lf.lfUnderline = tm.tmUnderlined;
    lf.lfStrikeOut = tm.tmStruckOut;
    lf.lfCharSet = tm.tmCharSet;
    lf.lfPitchAndFamily = tm.tmPitchAndFamily;
    lf.lfOutPrecision = OUT_DEVICE_PRECIS;
    return CreateCachedFont(&lf);
}

HFONT CreateFixedPitchFont(HFONT font) {
    if (!font) return nullptr;
    TEXTMETRICA tm;
    if (!MetricsOf(font, &tm, nullptr)) return nullptr;
    LOGFONTA lf = {};
    StockFixedFace(lf.lfFaceName);
    if (strcmp(lf.lfFaceName, "Courier") == 0) strcpy(lf.lfFaceName, "Courier New");
    lf.lfHeight = -tm.tmHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = tm.tmCharSet;
    HFONT fixed = CreateCachedFont(&lf);
    if (!fixed) fixed = CreateCachedFont(&lf);
    return fixed;
}

HFONT GetUiFont(int style) {
    if (style < 0 || style >= 4) return nullptr;
    if (g_ui.font[style]) return g_ui.font[style];
    HFONT font = nullptr;
    LOGFONTA lf = {};
    if (GetWindowsVersion() >= 0x60000 && SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0)) {
        lf.lfWeight = (style & 1) ? FW_BOLD : FW_NORMAL;
        if (style & 2) {
            if (g_ui.messageHeight == 0 && style != 0) GetUiFont(0);
            lf.lfHeight = g_ui.messageHeight ? -g_ui.messageHeight : -15;
            StockFixedFace(lf.lfFaceName);
            font = CreateCachedFont(&lf);
            TEXTMETRICA tm;
            if (font && strcmp(lf.lfFaceName, "Courier") == 0 && MetricsOf(font, &tm, nullptr) &&
                tm.tmHeight != g_ui.height[0]) {
                strcpy(lf.lfFaceName, "Courier New");
                if (HFONT other = CreateCachedFont(&lf)) font = other;
            }
        } else {
            font = CreateCachedFont(&lf);
        }
    }
    if (!font) {
        auto* stock = static_cast<HFONT>(GetStockObject((style & 2) ? ANSI_FIXED_FONT : ANSI_VAR_FONT));
        font = (style & 1) ? CreateBoldFont(stock) : stock;
        if (!font) font = stock;
        if (!GetObjectA(font, sizeof(lf), &lf)) {
            lf.lfWidth = 10;
            lf.lfHeight = 13;
        }
    }
    TEXTMETRICA tm = {};
    MetricsOf(font, &tm, nullptr);
    g_ui.averageWidth[style] = ClampByte(tm.tmAveCharWidth);
    g_ui.height[style] = ClampByte(tm.tmHeight);
    if (style == 0) {
        int width = lf.lfWidth < 0 ? -lf.lfWidth : lf.lfWidth;
        int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
        if (width == 0) width = 2 * height / 3 ? 2 * height / 3 : 7;
        if (height == 0) height = width * 3 / 2;
        g_ui.messageWidth = width;
        g_ui.messageHeight = height;
    }
    g_ui.font[style] = font;
    return font;
}

int GetUiFontMetrics(int* width, int* height, int style) {
    if (style < 0 || style >= 4) {
        if (width) *width = 0;
        if (height) *height = 0;
        return 0;
    }
    GetUiFont(style);
    if (width) *width = g_ui.averageWidth[style];
    if (height) *height = g_ui.height[style];
    return g_ui.height[style];
}

int GetWindowTextHeight(HWND window, LPARAM) {
    HDC dc = GetDC(window);
    if (!dc) return 0;
    TEXTMETRICA tm;
    int height = GetTextMetricsA(dc, &tm) ? tm.tmHeight : 0;
    ReleaseDC(window, dc);
    return height;
}

DWORD MeasureTextA(HDC dc, LPCSTR text, int length, DWORD flags, void* out) {
    return MeasureText(dc, text, length, flags, out);
}

DWORD MeasureTextW(HDC dc, LPCWSTR text, int length, DWORD flags, void* out) {
    return MeasureText(dc, text, length, flags, out);
}

void FreeFontCache() {
    Lock lock;
    for (int i = g_count - 1; i >= 0; --i) DeleteObject(g_entries[i].font);
    free(g_entries);
    g_entries = nullptr;
    g_count = g_capacity = 0;
    g_ui = UiFontState();
}

void GetFontCacheInfo(int* count, int* capacity) {
    Lock lock;
    if (count) *count = g_count;
    if (capacity) *capacity = g_capacity;
}
