// Image strips of the toolbar control: the global image numbering across the bitmap table and the split of a
// strip at marker columns. Every pixel read stays inside the bitmap, whatever its depth and height.
#include "ui/toolbar/ToolbarState.h"

#include "image/DibRecord.h"

#include <algorithm>
#include <cstring>

namespace {

// Reads stored pixels of one bitmap (rows in memory order) as raw values.
class PixelReader {
public:
    explicit PixelReader(const ToolbarBitmap* bm) {
        const BITMAPINFOHEADER* h = bm->image;
        if (!h || !bm->pixels) return;
        if (h->biCompression != BI_RGB && h->biCompression != BI_BITFIELDS) return;
        int bpp = h->biBitCount;
        if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return;
        m_width = h->biWidth;
        m_height = h->biHeight < 0 ? -h->biHeight : h->biHeight;
        m_bpp = bpp;
        m_stride = DibStride(m_width, bpp);
        m_pixels = bm->pixels;
        m_topDown = h->biHeight < 0;
    }
    bool Valid() const { return m_pixels && m_width > 0 && m_height > 0; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool TopDown() const { return m_topDown; }

    DWORD At(int x, int row) const {
        const BYTE* p = m_pixels + (size_t)row * m_stride;
        switch (m_bpp) {
        case 1: return (p[x >> 3] >> (7 - (x & 7))) & 1;
        case 4: return (p[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
        case 8: return p[x];
        case 16: return p[2 * x] | (p[2 * x + 1] << 8);
        case 24: return p[3 * x] | (p[3 * x + 1] << 8) | (p[3 * x + 2] << 16);
        default: {
            DWORD value;
            memcpy(&value, p + 4 * (size_t)x, 4);
            return value;
        }
        }
    }

private:
    const BYTE* m_pixels = nullptr;
    int m_width = 0, m_height = 0, m_bpp = 0, m_stride = 0;
    bool m_topDown = false;
};

// Adds the image (or images) of the next column group of the first stored row and moves past it.
void ScanNextColumn(ToolbarBitmap* bm, const PixelReader& reader) {
    int x = bm->splitColumn;
    DWORD marker = reader.At(0, 0);
    int end = x + 1;
    while (end < reader.Width() && reader.At(end, 0) != marker) ++end;
    bm->splitColumn = end;
    int width = end - x;
    int height = reader.Height();
    auto add = [&](int firstRow, int rows, bool ruler) {
        // Stored rows run bottom-up unless the header says otherwise.
        int y = reader.TopDown() ? firstRow : height - firstRow - rows;
        bm->found.push_back({(WORD)x, (WORD)y, (WORD)width, (WORD)rows, ruler});
    };
    if (height < 2 || reader.At(x, 1) != marker) {
        add(0, height, false);
        return;
    }
    // A ruler column: it cuts the column into images at its marker pixels from the third stored row on.
    if (width == 1 && end >= reader.Width()) return;  // a lone ruler at the right edge
    bool ruler = height >= 3 && reader.At(x, 2) == marker;
    int start = -1;
    for (int row = 2; row < height; ++row) {
        if (reader.At(x, row) != marker) continue;
        if (start >= 0) add(start, row - start, ruler);
        start = row;
    }
    if (start >= 0) add(start, height - start, ruler);
}

}  // namespace

bool SplitImageStrip(ToolbarBitmap* bm, int index) {
    if (index < 0) return false;
    if (index < (int)bm->found.size()) return true;
    if (bm->flags & kBitmapSplitDone) return false;
    PixelReader reader(bm);
    while (index >= (int)bm->found.size()) {
        if (!reader.Valid() || bm->splitColumn >= reader.Width()) {
            bm->flags |= kBitmapSplitDone;
            bm->count = (WORD)std::min<size_t>(bm->found.size(), 0xFFFF);
            return false;
        }
        ScanNextColumn(bm, reader);
    }
    bm->count = (WORD)std::min<size_t>(std::max<size_t>(bm->count, bm->found.size()), 0xFFFF);
    return true;
}

bool ToolbarImageHasAlpha(const ToolbarImageRef& ref) {
    PixelReader reader(ref.bitmap);
    if (!reader.Valid() || ref.bitmap->image->biBitCount != 32) return false;
    const int right = std::min(ref.x + ref.width, reader.Width());
    const int bottom = std::min(ref.y + ref.height, reader.Height());
    for (int y = std::max(ref.y, 0); y < bottom; ++y) {
        const int row = reader.TopDown() ? y : reader.Height() - 1 - y;
        for (int x = std::max(ref.x, 0); x < right; ++x)
            if (reader.At(x, row) >> 24) return true;
    }
    return false;
}

int CountSplitImages(ToolbarBitmap* bm) {
    SplitImageStrip(bm, 0x7FFFFFFF);
    return bm->count;
}

bool FindButtonImage(ToolbarState* s, int globalIndex, ToolbarImageRef* out) {
    if (globalIndex < 0) return false;
    int base = 0;
    for (int r = 0; r < s->bitmapCount; ++r) {
        ToolbarBitmap* bm = s->bitmaps[r];
        int local = globalIndex - base;
        if (bm->flags & kBitmapSplit) {
            if (!((bm->flags & kBitmapSplitDone) && local >= bm->count) && SplitImageStrip(bm, local)) {
                const ToolbarSplitImage& img = bm->found[local];
                int skip = img.ruler ? 1 : 0;
                *out = {bm, r, local, img.x + skip, img.y, std::max(img.width - skip, 0), img.height};
                return true;
            }
        } else if (local < bm->count) {
            *out = {bm, r, local, bm->imageWidth * local, 0, bm->imageWidth, bm->imageHeight};
            return true;
        }
        base += bm->count;
    }
    return false;
}

bool ScaledImageSize(const ToolbarState* s, const ToolbarImageRef& ref, int* width, int* height) {
    const ToolbarBitmap* bm = ref.bitmap;
    int scale = s->scale ? s->scale * bm->scale : bm->scale * 256;  // 1/65536
    bool scaled = scale != 65536 && s->deep;
    *width = scaled ? (int)(((long long)scale * ref.width + 32767) >> 16) : ref.width;
    *height = scaled ? (int)(((long long)scale * ref.height + 32767) >> 16) : ref.height;
    return scaled;
}
