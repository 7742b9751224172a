// The six alpha frame glyphs of the toolbar control (light faces for buttons at rest or hot, dark sunken faces
// for checked or pressed ones) and their nine-piece stretching onto a button.
#include "ui/toolbar/ToolbarFrameGlyphs.h"

#include "image/DibRecord.h"
#include "image/DibRecordLoad.h"
#include "image/DibRecordStretch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kGlyphHeight = 24;
constexpr int kGlyphCount = 6;

struct GlyphShape {
    int width;
    bool dark;
    bool roundLeft, roundRight;  // a straight edge joins the other part of a drop-down button
};
constexpr GlyphShape kShapes[kGlyphCount] = {
    {7, false, true, true}, {7, true, true, true},   // whole button
    {6, false, true, false}, {6, true, true, false},  // main part of a drop-down button
    {5, false, false, true}, {5, true, false, true},  // its arrow part
};

BITMAPINFOHEADER* g_glyphs[kGlyphCount];
BYTE* g_glyphPixels[kGlyphCount];

DWORD Pixel(int value, int alpha) {
    value = std::clamp(value, 0, 255);
    return (DWORD)alpha << 24 | (DWORD)value << 16 | (DWORD)value << 8 | (DWORD)value;
}

// Light face: a soft black border, rounded over two pixels, around a white-to-grey body whose alpha rises
// from top to bottom. Dark face: a firm black border around a faint shade that fades from the top-left.
DWORD GlyphPixel(const GlyphShape& shape, int x, int y) {
    int w = shape.width, h = kGlyphHeight;
    bool left = x == 0, right = x == w - 1, top = y == 0, bottom = y == h - 1;
    bool cornerX = (left && shape.roundLeft) || (right && shape.roundRight);
    if (cornerX && (top || bottom)) return 0;
    bool border = top || bottom || (left && shape.roundLeft) || (right && shape.roundRight);
    bool nearCorner = ((x == 1 && shape.roundLeft) || (x == w - 2 && shape.roundRight)) && (top || bottom);
    nearCorner = nearCorner || (cornerX && (y == 1 || y == h - 2));
    if (shape.dark) {
        if (border) return Pixel(0, nearCorner ? 0x60 : 0xA6);
        int alpha = 0x2C - (0x21 * (x + y)) / (w + h - 2);
        return Pixel(0, alpha);
    }
    if (border) return Pixel(0, nearCorner ? 0x2A : 0x4D);
    int alpha = 0x58 + (0xB9 - 0x58) * y / (h - 1);
    int grey = y < h / 2 ? 0xFF - 0x30 * y / (h / 2) : 0xCF + 0x28 * (y - h / 2) / (h / 2);
    return Pixel(grey, alpha);
}

void FreeGlyphs() {
    for (BITMAPINFOHEADER*& glyph : g_glyphs) {
        if (glyph) FreeDib(glyph);
        glyph = nullptr;
    }
}

BITMAPINFOHEADER* Glyph(int index, BYTE** pixels) {
    if (!g_glyphs[0]) {
        for (int i = 0; i < kGlyphCount; ++i) {
            void* bits = nullptr;
            BITMAPINFOHEADER* glyph = CreateDib(nullptr, kShapes[i].width, kGlyphHeight, 32, &bits);
            if (!glyph) {
                FreeGlyphs();
                return nullptr;
            }
            auto* p = (DWORD*)bits;  // 32-bit rows need no padding; the first stored row is the bottom one
            for (int y = 0; y < kGlyphHeight; ++y)
                for (int x = 0; x < kShapes[i].width; ++x)
                    p[(kGlyphHeight - 1 - y) * kShapes[i].width + x] = GlyphPixel(kShapes[i], x, y);
            g_glyphs[i] = glyph;
            g_glyphPixels[i] = (BYTE*)bits;
        }
        atexit(FreeGlyphs);
    }
    *pixels = g_glyphPixels[index];
    return g_glyphs[index];
}

// Stretched glyphs made for the sizes in use.
struct MadeGlyph {
    int glyph, width, height;
    COLORREF tint;
    BITMAPINFOHEADER* image;
    BYTE* pixels;
};
constexpr int kMadeGlyphs = 24;
MadeGlyph g_made[kMadeGlyphs];
int g_nextMade;
bool g_madeFreed;

void FreeMadeGlyphs() {
    for (MadeGlyph& entry : g_made) {
        if (entry.image) FreeDib(entry.image);
        entry.image = nullptr;
    }
}

}  // namespace

BITMAPINFOHEADER* MakeFrameGlyph(int glyph, int w, int h, BYTE** pixels, COLORREF tint) {
    *pixels = nullptr;
    BYTE* source;
    const BITMAPINFOHEADER* shape = Glyph(glyph, &source);
    if (!shape || w < 1 || h < 1) return nullptr;
    int gw = shape->biWidth, gh = shape->biHeight;
    void* copyBits = nullptr;
    BITMAPINFOHEADER* copy = CreateDib(nullptr, gw, gh, 32, &copyBits);
    if (!copy) return nullptr;
    memcpy(copyBits, source, (size_t)gw * gh * 4);
    if (tint != CLR_INVALID) {
        int t[3] = {GetBValue(tint), GetGValue(tint), GetRValue(tint)};
        auto* p = (BYTE*)copyBits;
        for (int i = 0; i < gw * gh; ++i, p += 4) {
            int a = p[3];
            if (!a) continue;
            for (int c = 0; c < 3; ++c) p[c] = (BYTE)((p[c] * (a + 1) + t[c] * (256 - a)) >> 8);
            p[3] = 255;
        }
    }
    void* bits = nullptr;
    BITMAPINFOHEADER* made = CreateDib(nullptr, w, h, 32, &bits);
    if (!made) {
        FreeDib(copy);
        return nullptr;
    }
    int cx = gw < 7 ? 2 : 3;
    if (w < (gw < 7 ? 4 : 6)) cx = w / 2;
    int cy = gh < 7 ? 2 : 3;
    if (h < (gh < 7 ? 4 : 6)) cy = h / 2;
    auto* dst = (BITMAPINFO*)made;
    auto* src = (const BITMAPINFO*)copy;
    // Corners unscaled, edges stretched along their length, the centre both ways.
    const int sx[3] = {0, cx, gw - cx}, sw[3] = {cx, gw - 2 * cx, cx};
    const int sy[3] = {0, cy, gh - cy}, sh[3] = {cy, gh - 2 * cy, cy};
    const int dx[3] = {0, cx, w - cx}, dw[3] = {cx, w - 2 * cx, cx};
    const int dy[3] = {0, cy, h - cy}, dh[3] = {cy, h - 2 * cy, cy};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (sw[col] > 0 && sh[row] > 0 && dw[col] > 0 && dh[row] > 0)
                StretchDib(dst, bits, src, copyBits, sx[col], sy[row], sw[col], sh[row], dx[col], dy[row], dw[col],
                           dh[row]);
    FreeDib(copy);
    *pixels = (BYTE*)bits;
    return made;
}

void DrawFrameGlyph(BITMAPINFOHEADER* image, BYTE* pixels, int x, int y, int w, int h, int kind, COLORREF tint) {
    int glyph = ((kind >> 2) & 6) | (kind & 1);
    if (!(kind & 2)) tint = CLR_INVALID;
    // Buttons of a bar mostly share their sizes: a stretched glyph is made once and kept.
    // Initialised in place: a critical section must not be copied once it is initialised.
    static CRITICAL_SECTION lock;
    static const bool lockReady = (InitializeCriticalSection(&lock), true);
    (void)lockReady;
    EnterCriticalSection(&lock);
    MadeGlyph* made = nullptr;
    for (MadeGlyph& entry : g_made)
        if (entry.image && entry.glyph == glyph && entry.width == w && entry.height == h && entry.tint == tint) {
            made = &entry;
            break;
        }
    if (!made) {
        made = &g_made[g_nextMade];
        g_nextMade = (g_nextMade + 1) % kMadeGlyphs;
        if (made->image) FreeDib(made->image);
        *made = {glyph, w, h, tint, nullptr, nullptr};
        made->image = MakeFrameGlyph(glyph, w, h, &made->pixels, tint);
        if (!g_madeFreed) {
            g_madeFreed = true;
            atexit(FreeMadeGlyphs);
        }
    }
    if (made->image)
        AlphaBlendDib((BITMAPINFO*)image, pixels, x, y, (const BITMAPINFO*)made->image, made->pixels, 0, 0, w, h);
    LeaveCriticalSection(&lock);
}
