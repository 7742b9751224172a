// DibRecord scaling by alpha-aware area averaging, drawing DIBs into records, pixels and smoothing.
#include "image/DibRecordStretch.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "image/DibRecordLoad.h"

namespace {

bool SizeInRange(LONG v) { return static_cast<UINT>(v - 1) < 0x10000u; }

const void* PixelsOf(const BITMAPINFO* info, const void* pixels) {
    if (pixels) return pixels;
    return IsDibRecord(info) ? GetDibRecordHeader(info)->bits : nullptr;
}

// Coverage of destination pixel i along one axis, in 1/256 of a source pixel.
struct AxisMap {
    uint64_t step = 0, n = 1, limit = 0;

    AxisMap(uint32_t source, uint32_t dest) {
        uint64_t nn, m;
        if (source >= dest) {
            nn = dest;
            m = source;
        } else {
            // An enlargement maps the first and last pixels onto each other.
            nn = dest - 1;
            m = source - 1;
        }
        while (nn && !(nn & 1) && !(m & 1)) {
            nn >>= 1;
            m >>= 1;
        }
        uint64_t t = (m * dest * 256) >> 31;
        while (t) {
            t >>= 1;
            nn >>= 1;
            m >>= 1;
        }
        step = m * 256;
        n = nn ? nn : 1;
        limit = static_cast<uint64_t>(source) * 256;
    }

    void Span(uint32_t i, uint32_t& s, uint32_t& e, uint32_t& span) const {
        uint64_t from = i * step / n;
        uint64_t to = (i + 1) * step / n;
        if (to < from + 256) to = from + 256;
        if (to > limit) to = limit;
        s = static_cast<uint32_t>(from);
        e = static_cast<uint32_t>(to);
        span = e > s ? e - s : 1;
    }
};

// Weighted sums of blue, green, red and alpha (in 1/256 units of coverage) and the weight of the pixels counted.
struct Sums {
    uint64_t c[4];
    uint64_t weight;
};

// Visits the source cells that [s, e) touches with their weights.
template <typename Visit>
void ForEachCovered(uint32_t s, uint32_t e, Visit visit) {
    uint32_t first = s >> 8, last = e >> 8;
    if (first >= last) {
        // Coverage inside one cell (only at the limit).
        visit(first, e - s);
        return;
    }
    visit(first, 256 - (s & 255));
    for (uint32_t k = first + 1; k < last; ++k) visit(k, 256);
    if (e & 255) visit(last, e & 255);
}

}  // namespace

BOOL StretchDib(BITMAPINFO* dst, void* dstPixels, const BITMAPINFO* src, const void* srcPixels, UINT sx, UINT sy,
                UINT sw, UINT sh, UINT dx, UINT dy, UINT dw, UINT dh) {
    if (!src || !dst || dst->bmiHeader.biBitCount != 32) return FALSE;
    const BITMAPINFOHEADER& d = dst->bmiHeader;
    const BITMAPINFOHEADER& s = src->bmiHeader;
    if (!SizeInRange(d.biWidth) || !SizeInRange(d.biHeight) || !SizeInRange(s.biWidth) || !SizeInRange(s.biHeight))
        return FALSE;
    UINT dW = d.biWidth, dH = d.biHeight, sW = s.biWidth, sH = s.biHeight;
    if (dx >= dW || dy >= dH || sx >= sW || sy >= sH) return FALSE;
    if (!dw || !dh || !sw || !sh) return FALSE;
    if (dw > dW - dx) dw = dW - dx;
    if (dh > dH - dy) dh = dH - dy;
    if (sw > sW - sx) sw = sW - sx;
    if (sh > sH - sy) sh = sH - sy;

    auto* dp = static_cast<BYTE*>(const_cast<void*>(PixelsOf(dst, dstPixels)));
    const BYTE* sp = static_cast<const BYTE*>(PixelsOf(src, srcPixels));
    if (!dp || !sp) return FALSE;
    DibRecord* converted = nullptr;
    if (s.biBitCount != 32) {
        ULONG_PTR inout = reinterpret_cast<ULONG_PTR>(sp);
        converted = CreateDibFromPackedData(nullptr, src, DibLoad::kPixelsFromInout | DibLoad::kConvertDepth, &inout);
        if (!converted) return FALSE;
        sp = reinterpret_cast<const BYTE*>(inout);
    }
    const size_t srcStride = static_cast<size_t>(sW) * 4, dstStride = static_cast<size_t>(dW) * 4;
    // Stored rows of the rectangles' bottom rows.
    const size_t srcBottom = sH - sy - sh, dstBottom = dH - dy - dh;

    if (dw == sw && dh == sh) {
        for (UINT j = 0; j < dh; ++j)
            memcpy(dp + (dstBottom + j) * dstStride + dx * 4, sp + (srcBottom + j) * srcStride + sx * 4, dw * 4);
        if (converted) FreeDib(converted);
        return TRUE;
    }

    bool opaque = true;
    for (size_t i = 0; i < static_cast<size_t>(sW) * sH && opaque; ++i) opaque = sp[i * 4 + 3] == 0;

    AxisMap horizontal(sw, dw), vertical(sh, dh);
    std::vector<Sums> columns(sw);
    for (UINT j = 0; j < dh; ++j) {
        uint32_t vs, ve, vspan;
        vertical.Span(j, vs, ve, vspan);
        for (Sums& col : columns) col = {};
        // Sums are kept unscaled and divided once: rounding each weighted term on its own would make even a
        // uniform image come out darker and less than opaque.
        ForEachCovered(vs, ve, [&](uint32_t row, uint32_t weight) {
            const BYTE* line = sp + (srcBottom + row) * srcStride + sx * 4;
            for (UINT i = 0; i < sw; ++i) {
                const BYTE* px = line + i * 4;
                uint32_t alpha = opaque ? 255 : px[3];
                if (!alpha) continue;
                Sums& col = columns[i];
                for (int c = 0; c < 3; ++c) col.c[c] += uint64_t(px[c]) * weight;
                col.c[3] += uint64_t(alpha) * weight;
                col.weight += weight;
            }
        });
        for (Sums& col : columns) {
            for (int c = 0; c < 3; ++c) col.c[c] = col.weight ? col.c[c] / col.weight : 0;
            col.c[3] /= vspan;
        }
        BYTE* out = dp + (dstBottom + j) * dstStride + dx * 4;
        for (UINT i = 0; i < dw; ++i) {
            uint32_t hs, he, hspan;
            horizontal.Span(i, hs, he, hspan);
            uint64_t sum[4] = {0, 0, 0, 0};
            uint64_t total = 0;
            ForEachCovered(hs, he, [&](uint32_t column, uint32_t weight) {
                const Sums& col = columns[column];
                if (!col.c[3]) return;
                for (int c = 0; c < 4; ++c) sum[c] += col.c[c] * weight;
                total += weight;
            });
            for (int c = 0; c < 3; ++c) sum[c] = total ? sum[c] / total : 0;
            sum[3] /= hspan;
            for (int c = 0; c < 4; ++c) out[i * 4 + c] = static_cast<BYTE>(sum[c] > 255 ? 255 : sum[c]);
        }
    }
    if (converted) FreeDib(converted);
    return TRUE;
}

BOOL DrawDibIntoDib(const BITMAPINFO* info, const void* pixels, int x, int y, DibRecord* target) {
    if (!info || !pixels) return FALSE;
    HDC dc = GetDibMemoryDC(target);
    if (!dc) return FALSE;
    LONG height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    int lines = SetDIBitsToDevice(dc, x, y, info->bmiHeader.biWidth, height, 0, 0, 0, height, pixels, info,
                                  DIB_RGB_COLORS);
    GdiFlush();
    return lines != 0;
}

BOOL DrawDibPartIntoDib(const BITMAPINFO* info, const void* pixels, int x, int y, UINT srcX, UINT srcY, UINT width,
                        UINT height, DibRecord* target) {
    if (!info || !pixels || width > 65535) return FALSE;
    HDC dc = GetDibMemoryDC(target);
    if (!dc) return FALSE;
    UINT imageWidth = info->bmiHeader.biWidth;
    UINT imageHeight = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    if (srcX >= imageWidth || srcY >= imageHeight) return FALSE;
    if (width > imageWidth - srcX) width = imageWidth - srcX;
    if (height > imageHeight - srcY) height = imageHeight - srcY;
    int lines = SetDIBitsToDevice(dc, x, y, width, height, srcX, imageHeight - srcY - height, 0, imageHeight, pixels,
                                  info, DIB_RGB_COLORS);
    GdiFlush();
    return lines != 0;
}

DibRecord* CreateDibFromBitmapPart(HDC dc, HBITMAP bitmap, int srcX, int srcY, int width, int height, DWORD depth,
                                   void** outPixels) {
    if (outPixels) *outPixels = nullptr;
    if (!bitmap) return nullptr;
    HDC screen = dc ? nullptr : GetDC(nullptr);
    HDC useDC = dc ? dc : screen;
    DibRecord* result = nullptr;
    void* wholeBits = nullptr;
    DibRecord* whole = CreateDibFromBitmap(useDC, bitmap, &wholeBits);
    if (whole) {
        if (depth == 0xFFFFFFFFu) depth = whole->biBitCount;
        result = CreateDib(useDC, width, height, depth, outPixels);
        if (result) {
            DrawDibPartIntoDib(reinterpret_cast<BITMAPINFO*>(whole), wholeBits, 0, 0, srcX, srcY, width, height,
                               result);
        }
        FreeDib(whole);
    }
    if (screen) ReleaseDC(nullptr, screen);
    return result;
}

BOOL SetDibPixel(const BITMAPINFO* info, void* pixels, DWORD value, int x, int y) {
    if (!info || !pixels) return FALSE;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    LONG rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    // Outside the image nothing is written.
    if (x < 0 || y < 0 || x >= h.biWidth || y >= rows) return FALSE;
    LONG storedRow = h.biHeight < 0 ? y : rows - 1 - y;
    BYTE* row = static_cast<BYTE*>(pixels) + static_cast<size_t>(storedRow) * DibStride(h.biWidth, h.biBitCount);
    switch (h.biBitCount) {
    case 32:
        memcpy(row + x * 4, &value, 4);
        return TRUE;
    case 24:
        row[x * 3] = static_cast<BYTE>(value);
        row[x * 3 + 1] = static_cast<BYTE>(value >> 8);
        row[x * 3 + 2] = static_cast<BYTE>(value >> 16);
        return TRUE;
    case 1: case 2: case 4: case 8: {
        int bits = h.biBitCount;
        int entries = DibColorEntries(&h);
        int index;
        if ((value & 0xFF000000u) == 0x80000000u) {
            index = static_cast<int>(value & ((1u << bits) - 1));
        } else {
            DWORD quad = SwapRedBlue(value & 0xFFFFFF);
            auto* table = reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(info) + h.biSize);
            index = -1;
            for (int i = 0; i < entries && index < 0; ++i)
                if ((table[i] & 0xFFFFFF) == quad) index = i;
            if (index < 0) return FALSE;
        }
        int shift = ((8 / bits - 1) & ~x) * bits;
        BYTE mask = static_cast<BYTE>(((1 << bits) - 1) << shift);
        BYTE& b = row[x * bits / 8];
        b = static_cast<BYTE>((b & ~mask) | ((index << shift) & mask));
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL SmoothDibRect(const BITMAPINFO* info, void* pixels, UINT x, UINT y, UINT w, UINT h) {
    if (!info || !pixels || info->bmiHeader.biBitCount != 32) return FALSE;
    const BITMAPINFOHEADER& hd = info->bmiHeader;
    if (hd.biWidth < 1 || hd.biHeight < 1) return FALSE;
    UINT width = hd.biWidth, height = hd.biHeight;
    if (x >= width || y >= height) return FALSE;
    if (w > width - x) w = width - x;
    if (h > height - y) h = height - y;
    if (!w || !h) return TRUE;
    // Work copy with a one-pixel frame that repeats the rectangle's own edge.
    UINT ww = w + 2, wh = h + 2;
    std::vector<DWORD> work;
    try {
        work.resize(static_cast<size_t>(ww) * wh);
    } catch (...) {
        return FALSE;
    }
    auto* image = static_cast<DWORD*>(pixels);
    // Picture row r of the rectangle lies in stored row height - 1 - (y + r).
    auto imageAt = [&](UINT r, UINT c) -> DWORD& { return image[(height - 1 - (y + r)) * width + x + c]; };
    for (UINT r = 0; r < h; ++r) {
        for (UINT c = 0; c < w; ++c) work[(r + 1) * ww + c + 1] = imageAt(r, c);
        work[(r + 1) * ww] = work[(r + 1) * ww + 1];
        work[(r + 1) * ww + w + 1] = work[(r + 1) * ww + w];
    }
    memcpy(&work[0], &work[ww], ww * 4);
    memcpy(&work[(h + 1) * ww], &work[h * ww], ww * 4);
    auto channel = [](DWORD v, int c) { return static_cast<int>((v >> (c * 8)) & 0xFF); };
    for (UINT r = 0; r < h; ++r) {
        for (UINT c = 0; c < w; ++c) {
            const DWORD* centre = &work[(r + 1) * ww + c + 1];
            DWORD result = 0;
            for (int k = 0; k < 4; ++k) {
                int sum = 52 * channel(centre[0], k) +
                          2 * (channel(centre[-1], k) + channel(centre[1], k) + channel(centre[-static_cast<int>(ww)], k) +
                               channel(centre[ww], k)) +
                          channel(centre[-static_cast<int>(ww) - 1], k) + channel(centre[-static_cast<int>(ww) + 1], k) +
                          channel(centre[ww - 1], k) + channel(centre[ww + 1], k);
                result |= static_cast<DWORD>((sum >> 6) & 0xFF) << (k * 8);
            }
            imageAt(r, c) = result;
        }
    }
    return TRUE;
}
