#include "ui/services/CutOutBitmap.h"

#include "framework/WinApp.h"
#include "ui/services/CutOutCache.h"

#include <cstring>
#include <mutex>

namespace {

const LPCSTR kToolbarType = MAKEINTRESOURCEA(241);
constexpr DWORD kStripKeyBit = 0x80000000;

struct Region {
    int x, y, cx, cy;
};

HMODULE Module() { return AfxGetResourceHandle(); }

// The toolbar's image position for a command; the strip is the bitmap with the toolbar's id.
bool ToolbarRegion(UINT_PTR id, Region* r) {
    HRSRC found = ::FindResourceA(Module(), MAKEINTRESOURCEA(id), kToolbarType);
    HGLOBAL loaded = found ? ::LoadResource(Module(), found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    int x = 0, width = 0, height = 0;
    if (!data || !ToolbarImagePosition(data, ::SizeofResource(Module(), found), static_cast<UINT>(r->x), &x, &width, &height))
        return false;
    r->x = x;
    r->cx = width;
    r->cy = height;
    return true;
}

// The strip to cut from; *owned when the caller must delete it.
HBITMAP Strip(UINT_PTR source, DWORD flags, bool* owned) {
    *owned = false;
    if ((flags & kCutOutKindMask) == kCutOutFromHandle) return reinterpret_cast<HBITMAP>(source);
    CutOutCache& cache = TheCutOutCache();
    const CutOutKey key = {(flags & kCutOutKindMask) ^ kStripKeyBit, source, 0, 0, 0, 0, 0};
    if (HGDIOBJ cached = cache.Find(key)) return static_cast<HBITMAP>(cached);
    HBITMAP strip = ::LoadBitmapA(Module(), MAKEINTRESOURCEA(source));
    if (strip && (flags & kCutOutCacheSource))
        cache.Insert(key, strip);
    else
        *owned = strip != nullptr;
    return strip;
}

bool ScreenIs32Bit() {
    HDC screen = ::GetDC(nullptr);
    const int bits = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    ::ReleaseDC(nullptr, screen);
    return bits == 32;
}

HBITMAP ScreenBitmap(int cx, int cy) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

void ReplaceBackground(uint32_t* pixels, size_t count, COLORREF colour) {
    const uint32_t grey = 0xC0C0C0;
    const uint32_t bgr = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (size_t i = 0; i < count; ++i)
        if ((pixels[i] & 0xFFFFFF) == grey) pixels[i] = bgr;
}

// Copies the region into a 32-bit DIB section, optionally recoloured, then into a screen bitmap where the
// screen is not 32-bit. Null, with the strip untouched, when a bitmap cannot be made.
HBITMAP Copy(HBITMAP strip, const Region& r, bool recolour, COLORREF colour) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = r.cx;
    info.bmiHeader.biHeight = -r.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) return nullptr;
    const CutOutScreen& screen = TheCutOutScreen();
    const bool deep = screen.is32Bit();
    HBITMAP plain = deep ? nullptr : screen.compatibleBitmap(r.cx, r.cy);
    if (!deep && !plain) {
        ::DeleteObject(dib);
        return nullptr;
    }
    HDC from = ::CreateCompatibleDC(nullptr), to = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldFrom = ::SelectObject(from, strip), oldTo = ::SelectObject(to, dib);
    ::BitBlt(to, 0, 0, r.cx, r.cy, from, r.x, r.y, SRCCOPY);
    ::GdiFlush();
    if (recolour) ReplaceBackground(static_cast<uint32_t*>(bits), static_cast<size_t>(r.cx) * r.cy, colour);
    if (plain) {
        ::SelectObject(from, plain);
        ::BitBlt(from, 0, 0, r.cx, r.cy, to, 0, 0, SRCCOPY);
    }
    ::SelectObject(from, oldFrom);
    ::SelectObject(to, oldTo);
    ::DeleteDC(from);
    ::DeleteDC(to);
    if (!plain) return dib;
    ::DeleteObject(dib);
    return plain;
}

}  // namespace

bool ToolbarImagePosition(const void* resource, size_t size, UINT commandId, int* x, int* width, int* height) {
    if (!resource || size < 8) return false;
    WORD header[4];
    std::memcpy(header, resource, sizeof header);
    const size_t count = header[3];
    if (size < 8 + 2 * count) return false;
    const auto* ids = static_cast<const unsigned char*>(resource) + 8;
    int at = 0;
    for (size_t i = 0; i < count; ++i) {
        WORD id;
        std::memcpy(&id, ids + 2 * i, sizeof id);
        if (id == commandId && id != 0) {
            *x = at;
            *width = header[1];
            *height = header[2];
            return true;
        }
        if (id) at += header[1];
    }
    return false;
}

HBITMAP CutOutBitmap(UINT_PTR source, int x, int y, int cx, int cy, DWORD flags, COLORREF colour) {
    if (!source || cx < 1 || cy < 1) return nullptr;
    const DWORD kind = flags & kCutOutKindMask;
    if (kind == 0x80000000) return nullptr;
    const bool recolour = (flags & kCutOutColourMask) != 0;
    CutOutCache& cache = TheCutOutCache();
    std::lock_guard<std::recursive_mutex> hold(cache.Lock());
    const CutOutKey key = {kind | (recolour ? flags & 0x0CFFFFFF : 0), source, x, y, cx, cy, recolour ? colour : 0};
    if (flags & kCutOutCacheResult)
        if (HGDIOBJ cached = cache.Find(key)) return static_cast<HBITMAP>(cached);
    Region r = {x, y, cx, cy};
    if (kind == kCutOutFromToolbar && !ToolbarRegion(source, &r)) return nullptr;
    bool owned = false;
    HBITMAP strip = Strip(source, flags, &owned);
    if (!strip) return nullptr;
    if (r.cy == kCutOutFullHeight) {
        BITMAP bm = {};
        r.cy = ::GetObjectA(strip, sizeof bm, &bm) ? bm.bmHeight : 0;
    }
    HBITMAP result = r.cy > 0 ? Copy(strip, r, recolour, colour) : nullptr;
    if (owned) ::DeleteObject(strip);
    if (result && (flags & kCutOutCacheResult)) cache.Insert(key, result);
    return result;
}

BOOL SetMenuItemImage(HMENU menu, int item, UINT source, int index, int size) {
    constexpr DWORD kMenuFlags = kCutOutFromResource | 0x08000000 | kCutOutCacheResult | kCutOutCacheSource;
    HBITMAP image = CutOutBitmap(source, index * size, 0, size, kCutOutFullHeight, kMenuFlags, ::GetSysColor(COLOR_MENU));
    if (!image) return FALSE;
    const bool byPosition = item < 0;
    const UINT which = byPosition ? static_cast<UINT>(item) & 0x7FFFFFFFu : static_cast<UINT>(item);
    return ::SetMenuItemBitmaps(menu, which, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, image, nullptr);
}

void FreeCutOutCache() { TheCutOutCache().Clear(); }

CutOutScreen& TheCutOutScreen() {
    static CutOutScreen screen = {ScreenIs32Bit, ScreenBitmap};
    return screen;
}
