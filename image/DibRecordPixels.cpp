// Packed-DIB record: colour replacement, composition, masks and alpha blending on pixel memory.
#include "image/DibRecordLoad.h"

#include <algorithm>

namespace {

int Rows(const BITMAPINFOHEADER& h) { return h.biHeight < 0 ? -h.biHeight : h.biHeight; }

void* PixelsOf(const BITMAPINFO* info, const void* pixels) {
    if (pixels) return const_cast<void*>(pixels);
    return IsDibRecord(info) ? GetDibRecordHeader(info)->bits : nullptr;
}

DWORD* TableOf(BITMAPINFO* info) {
    return reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(info) + info->bmiHeader.biSize);
}

BYTE* RowOf(void* pixels, const BITMAPINFOHEADER& h, int storedRow) {
    return static_cast<BYTE*>(pixels) + static_cast<size_t>(storedRow) * DibStride(h.biWidth, h.biBitCount);
}

void SetIndex(BYTE* row, int x, int bits, int index) {
    int perByte = 8 / bits;
    int shift = (perByte - 1 - (x % perByte)) * bits;
    BYTE mask = static_cast<BYTE>(((1 << bits) - 1) << shift);
    BYTE& b = row[x * bits / 8];
    b = static_cast<BYTE>((b & ~mask) | ((index << shift) & mask));
}

int NearestEntry(const DWORD* table, int entries, DWORD quad) {
    int best = 0;
    long bestDistance = 0x7FFFFFFF;
    for (int i = 0; i < entries; ++i) {
        long dr = static_cast<long>((table[i] >> 16) & 0xFF) - static_cast<long>((quad >> 16) & 0xFF);
        long dg = static_cast<long>((table[i] >> 8) & 0xFF) - static_cast<long>((quad >> 8) & 0xFF);
        long db = static_cast<long>(table[i] & 0xFF) - static_cast<long>(quad & 0xFF);
        long distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

bool IsPlainOrMasks(const BITMAPINFOHEADER& h) {
    return h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS;
}

}  // namespace

BOOL ReplaceDibColor(BITMAPINFO* info, void* pixels, COLORREF from, COLORREF to) {
    if (!info) return FALSE;
    if (from == to) return TRUE;
    BITMAPINFOHEADER& h = info->bmiHeader;
    DWORD toQuad = SwapRedBlue(to & 0xFFFFFF);
    DWORD fromQuad = SwapRedBlue(from & 0xFFFFFF);
    if (h.biBitCount >= 1 && h.biBitCount <= 8) {
        DWORD* table = TableOf(info);
        int entries = DibColorEntries(&h);
        if ((from & 0xFF000000u) == kReplacePaletteIndex) {
            int index = static_cast<int>(from & 0xFFFFFF);
            if (index < entries) table[index] = toQuad;
        } else {
            for (int i = 0; i < entries; ++i)
                if ((table[i] & 0xFFFFFF) == fromQuad) table[i] = toQuad;
        }
        SyncDibColorTable(info);
        return TRUE;
    }
    if ((h.biBitCount != 24 && h.biBitCount != 32) || !IsPlainOrMasks(h)) return FALSE;
    pixels = PixelsOf(info, pixels);
    if (!pixels) return FALSE;
    bool replace = h.biBitCount == 24 || !(from & kReplacePaletteIndex);
    bool opaqueOthers = h.biBitCount == 32 && (from & kReplaceOpaqueOthers);
    int step = h.biBitCount / 8;
    for (int y = 0; y < Rows(h); ++y) {
        BYTE* p = RowOf(pixels, h, y);
        for (int x = 0; x < h.biWidth; ++x, p += step) {
            DWORD quad = p[0] | (p[1] << 8) | (p[2] << 16);
            if (quad == fromQuad && replace) {
                p[0] = static_cast<BYTE>(toQuad);
                p[1] = static_cast<BYTE>(toQuad >> 8);
                p[2] = static_cast<BYTE>(toQuad >> 16);
            } else if (opaqueOthers) {
                p[3] = 255;
            }
        }
    }
    return TRUE;
}

BOOL ComposeDibOnColor(BITMAPINFO* info, void* pixels, COLORREF background) {
    if (!info) return FALSE;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount != 32 || !IsPlainOrMasks(h)) return FALSE;
    pixels = PixelsOf(info, pixels);
    if (!pixels) return FALSE;
    const BYTE back[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
    for (int y = 0; y < Rows(h); ++y) {
        BYTE* p = RowOf(pixels, h, y);
        for (int x = 0; x < h.biWidth; ++x, p += 4) {
            unsigned a = p[3];
            if (a == 255) continue;
            for (int c = 0; c < 3; ++c)
                p[c] = a == 0 ? back[c] : static_cast<BYTE>(((p[c] * a + (255 - a) * back[c]) * 257 + 0x8000) >> 16);
        }
    }
    return TRUE;
}

BOOL ApplyDibMask(BITMAPINFO* info, void* pixels, const void* mask, COLORREF key) {
    if (!info || !mask) return FALSE;
    BITMAPINFOHEADER& h = info->bmiHeader;
    int maskStride = ((h.biWidth + 31) / 32) * 4;
    if (IsBadReadPtr(mask, static_cast<UINT_PTR>(maskStride) * Rows(h))) return FALSE;
    pixels = PixelsOf(info, pixels);
    if (!pixels || !IsPlainOrMasks(h)) return FALSE;
    int bits = h.biBitCount;
    DWORD keyQuad = SwapRedBlue(key & 0xFFFFFF);
    int keyIndex = 0;
    if (bits >= 1 && bits <= 8) {
        keyIndex = NearestEntry(TableOf(info), DibColorEntries(&h), keyQuad);
    } else if (bits != 24 && bits != 32) {
        return FALSE;
    }
    for (int y = 0; y < Rows(h); ++y) {
        const BYTE* m = static_cast<const BYTE*>(mask) + static_cast<size_t>(y) * maskStride;
        BYTE* row = RowOf(pixels, h, y);
        for (int x = 0; x < h.biWidth; ++x) {
            if (!(m[x >> 3] & (0x80 >> (x & 7)))) continue;
            if (bits <= 8) {
                SetIndex(row, x, bits, keyIndex);
            } else {
                BYTE* p = row + x * (bits / 8);
                p[0] = static_cast<BYTE>(keyQuad);
                p[1] = static_cast<BYTE>(keyQuad >> 8);
                p[2] = static_cast<BYTE>(keyQuad >> 16);
            }
        }
    }
    return TRUE;
}

BOOL AlphaBlendDib(BITMAPINFO* dst, void* dstPixels, UINT x, UINT y, const BITMAPINFO* src, const void* srcPixels,
                   UINT srcX, UINT srcY, UINT width, UINT height) {
    if (!dst || !src || dst->bmiHeader.biBitCount != 32) return FALSE;
    const BITMAPINFOHEADER& d = dst->bmiHeader;
    const BITMAPINFOHEADER& s = src->bmiHeader;
    auto sizeOk = [](LONG v) { return static_cast<UINT>(v - 1) < 0x10000u; };
    if (!sizeOk(d.biWidth) || !sizeOk(d.biHeight) || !sizeOk(s.biWidth) || !sizeOk(s.biHeight)) return FALSE;
    if (x >= static_cast<UINT>(d.biWidth) || y >= static_cast<UINT>(d.biHeight) ||
        srcX >= static_cast<UINT>(s.biWidth) || srcY >= static_cast<UINT>(s.biHeight))
        return FALSE;
    width = std::min({width, static_cast<UINT>(d.biWidth) - x, static_cast<UINT>(s.biWidth) - srcX});
    height = std::min({height, static_cast<UINT>(d.biHeight) - y, static_cast<UINT>(s.biHeight) - srcY});
    dstPixels = PixelsOf(dst, dstPixels);
    const void* sp = PixelsOf(src, srcPixels);
    if (!dstPixels || !sp) return FALSE;

    DibRecord* converted = nullptr;
    if (s.biBitCount != 32) {
        ULONG_PTR inout = reinterpret_cast<ULONG_PTR>(sp);
        converted = CreateDibFromPackedData(nullptr, src, DibLoad::kPixelsFromInout | DibLoad::kConvertDepth, &inout);
        if (!converted) return FALSE;
        sp = reinterpret_cast<void*>(inout);
    }
    int srcStride = s.biWidth * 4;
    int dstStride = d.biWidth * 4;
    for (UINT r = 0; r < height; ++r) {
        const BYTE* sRow = static_cast<const BYTE*>(sp) + static_cast<size_t>(s.biHeight - 1 - (srcY + r)) * srcStride;
        BYTE* dRow = static_cast<BYTE*>(dstPixels) + static_cast<size_t>(d.biHeight - 1 - (y + r)) * dstStride;
        for (UINT c = 0; c < width; ++c) {
            const BYTE* sp4 = sRow + (srcX + c) * 4;
            BYTE* dp4 = dRow + (x + c) * 4;
            unsigned a = sp4[3];
            if (a == 0) continue;
            if (a == 255) {
                dp4[0] = sp4[0];
                dp4[1] = sp4[1];
                dp4[2] = sp4[2];
                continue;
            }
            unsigned w = a + 1;
            for (int k = 0; k < 3; ++k) dp4[k] = static_cast<BYTE>((dp4[k] * (257 - w) + sp4[k] * w) >> 8);
        }
    }
    if (converted) FreeDib(converted);
    return TRUE;
}
