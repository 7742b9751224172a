// A bitmap from a packed DIB in the current 3D system colours.
#include "image/PackedDibBitmap.h"

#include "image/DibRecord.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The system colour for one of the three greys (as 0x00RRGGBB), or the value itself.
uint32_t MapGrey(uint32_t value) { return SwapRedBlue(MapSysColor(SwapRedBlue(value))); }

// The same for a pixel or colour-table entry stored blue, green, red.
void MapGreyBgr(uint8_t* p) {
    const uint32_t c = MapGrey(p[0] | p[1] << 8 | p[2] << 16);
    p[0] = (uint8_t)c;
    p[1] = (uint8_t)(c >> 8);
    p[2] = (uint8_t)(c >> 16);
}

uint32_t Load32(const uint8_t* p) {
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}
void Store32(uint8_t* p, uint32_t v) { memcpy(p, &v, 4); }

void MapPixels(std::vector<uint8_t>& pixels, const BITMAPINFOHEADER& h, int flags) {
    const int width = h.biWidth, rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (h.biBitCount == 32) {
        for (size_t at = 0; at + 4 <= pixels.size(); at += 4) {
            uint8_t* p = &pixels[at];
            if (flags & kDibMapSysGreys) Store32(p, MapGrey(Load32(p)));
            if (flags & kDibPremultiply) {
                const uint32_t a = p[3];
                if (a == 0) p[0] = p[1] = p[2] = 0;
                else if (a < 255)
                    for (int i = 0; i < 3; ++i) p[i] = (uint8_t)(p[i] * a / 255);
            }
        }
    } else if (h.biBitCount == 24 && (flags & kDibMapSysGreys)) {
        const size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < width; ++x) {
                const size_t at = y * stride + 3 * (size_t)x;
                if (at + 3 > pixels.size()) return;
                MapGreyBgr(&pixels[at]);
            }
    }
}

} // namespace

HBITMAP CreateBitmapFromPackedDib(const void* dib, int flags, HWND window) {
    if (!dib) return nullptr;
    const BITMAPINFOHEADER& h = *static_cast<const BITMAPINFOHEADER*>(dib);
    if (h.biSize != sizeof(BITMAPINFOHEADER)) return nullptr;
    const uint8_t* base = static_cast<const uint8_t*>(dib);
    // Uncompressed rows are read by GDI from their size, whatever biSizeImage says (it may be 0 for
    // bit fields too): a copy must hold exactly those rows.
    if (h.biWidth <= 0 || h.biHeight == 0) return nullptr;
    uint64_t imageSize = h.biSizeImage;
    if (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS)
        imageSize = ((uint64_t)h.biBitCount * (uint64_t)h.biWidth + 31) / 32 * 4 *
                    (uint64_t)(h.biHeight < 0 ? -(int64_t)h.biHeight : h.biHeight);
    if (imageSize > INT32_MAX) return nullptr; // more than any bitmap GDI makes

    // The header (with its colour table or masks), and the pixels: each a copy when it gets changed.
    std::vector<uint8_t> info, pixels;
    const BITMAPINFO* usedInfo = static_cast<const BITMAPINFO*>(dib);
    const uint8_t* bits;
    if (h.biBitCount > 8) {
        const size_t masks = h.biCompression == BI_BITFIELDS ? 12 : 0;
        bits = base + sizeof h + masks;
        if (flags & (kDibMapSysGreys | kDibPremultiply)) {
            if (flags & kDibMapSysGreys && h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return nullptr;
            pixels.assign(bits, bits + imageSize);
            MapPixels(pixels, h, flags);
            bits = pixels.data();
        }
    } else {
        const size_t full = (size_t)1 << h.biBitCount;
        const size_t entries = h.biClrUsed == 0 || h.biClrUsed > full ? full : h.biClrUsed;
        bits = base + sizeof h + 4 * entries;
        if (flags & kDibMapSysGreys) {
            info.assign(base, base + sizeof h + 4 * entries);
            for (size_t i = 0; i < entries; ++i) MapGreyBgr(&info[sizeof h + 4 * i]);
            usedInfo = reinterpret_cast<const BITMAPINFO*>(info.data());
        }
    }
    HDC dc = GetDC(window);
    HBITMAP bitmap = CreateDIBitmap(dc, &usedInfo->bmiHeader, CBM_INIT, bits, usedInfo, DIB_RGB_COLORS);
    ReleaseDC(window, dc);
    return bitmap;
}
