// Packed-DIB record: allocation, validation, device context, colours, creation.
#include "image/DibRecord.h"

#include <mutex>
#include <unordered_set>

namespace {

// Records are validated by membership in this set: freed memory stays readable, and a new record may reuse a
// freed block, so the magic word alone cannot tell a live record from a stale pointer.
struct LiveRecords {
    std::mutex lock;
    std::unordered_set<const void*> records;
};

LiveRecords& Live() {
    static LiveRecords live;
    return live;
}

bool FailWith(DWORD error) {
    SetLastError(error);
    return false;
}

// Standard 16 colours as 0x00RRGGBB (RGBQUAD order).
constexpr DWORD kStandardColors[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xc0c0c0,
    0x808080, 0x0000ff, 0x00ff00, 0x00ffff, 0xff0000, 0xff00ff, 0xffff00, 0xffffff,
};

int ScreenDepth(HDC dc) { return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES); }

}  // namespace

int DibStride(int width, int bitCount) {
    if (bitCount == 15) bitCount = 16;
    return static_cast<int>(((static_cast<long long>(width) * bitCount + 31) / 32) * 4);
}

int DibColorEntries(const BITMAPINFOHEADER* header) {
    int bits = header->biBitCount;
    if (bits >= 1 && bits <= 8) {
        DWORD full = 1u << bits;
        return (header->biClrUsed >= 1 && header->biClrUsed <= full) ? static_cast<int>(header->biClrUsed)
                                                                      : static_cast<int>(full);
    }
    return header->biCompression == BI_BITFIELDS ? 3 : 0;
}

BYTE* AllocDib(size_t infoSize) {
    HANDLE heap = GetProcessHeap();
    auto* block = static_cast<BYTE*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, kDibRecordOffset + infoSize));
    if (!block) return nullptr;
    auto* hidden = reinterpret_cast<DibRecordHeader*>(block);
    hidden->heap = heap;
    hidden->magic = kDibRecordMagic;
    LiveRecords& live = Live();
    std::lock_guard<std::mutex> guard(live.lock);
    live.records.insert(block + kDibRecordOffset);
    return block;
}

bool IsDibRecord(const void* record) {
    if (!record) return false;
    LiveRecords& live = Live();
    std::lock_guard<std::mutex> guard(live.lock);
    if (!live.records.count(record)) return false;
    return GetDibRecordHeader(record)->magic == kDibRecordMagic;
}

DibRecordHeader* GetDibRecordHeader(const void* record) {
    return reinterpret_cast<DibRecordHeader*>(const_cast<BYTE*>(static_cast<const BYTE*>(record)) -
                                              kDibRecordOffset);
}

BOOL FreeDib(const void* record) {
    {
        LiveRecords& live = Live();
        std::lock_guard<std::mutex> guard(live.lock);
        if (!record || !live.records.erase(record)) return FailWith(ERROR_INVALID_PARAMETER);
    }
    DibRecordHeader* hidden = GetDibRecordHeader(record);
    if (hidden->memoryDC) DeleteDC(hidden->memoryDC);
    if (hidden->bitmap) DeleteObject(hidden->bitmap);
    hidden->memoryDC = nullptr;
    hidden->bitmap = nullptr;
    hidden->bits = nullptr;
    hidden->magic = 0;
    return HeapFree(hidden->heap, 0, hidden);
}

HBITMAP GetDibBitmap(const void* record) {
    if (!IsDibRecord(record)) return FailWith(ERROR_INVALID_PARAMETER), nullptr;
    HBITMAP bitmap = GetDibRecordHeader(record)->bitmap;
    if (!bitmap) SetLastError(ERROR_INVALID_DATA);
    return bitmap;
}

void* GetDibBits(const void* record) {
    if (!IsDibRecord(record)) return FailWith(ERROR_INVALID_PARAMETER), nullptr;
    return GetDibRecordHeader(record)->bits;
}

HDC GetDibMemoryDC(const void* record) {
    if (!IsDibRecord(record)) return FailWith(ERROR_INVALID_PARAMETER), nullptr;
    DibRecordHeader* hidden = GetDibRecordHeader(record);
    if (!hidden->bitmap || !hidden->bits) return FailWith(ERROR_INVALID_DATA), nullptr;
    if (!hidden->memoryDC) {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc) return FailWith(ERROR_INVALID_DATA), nullptr;
        SelectObject(dc, hidden->bitmap);
        hidden->memoryDC = dc;
    }
    return hidden->memoryDC;
}

void* GetDibDC(const void* record, HDC* outDC) {
    if (outDC) *outDC = nullptr;
    HDC dc = GetDibMemoryDC(record);
    if (!dc) return nullptr;
    if (outDC) *outDC = dc;
    return GetDibRecordHeader(record)->bits;
}

BOOL ReleaseDibDC(const void* record) {
    if (!IsDibRecord(record)) return FailWith(ERROR_INVALID_PARAMETER);
    DibRecordHeader* hidden = GetDibRecordHeader(record);
    if (!hidden->memoryDC) return FailWith(ERROR_INVALID_DATA);
    DeleteDC(hidden->memoryDC);
    hidden->memoryDC = nullptr;
    return TRUE;
}

void SyncDibColorTable(const void* record) {
    if (!IsDibRecord(record)) return;
    auto* header = static_cast<const BITMAPINFOHEADER*>(record);
    DibRecordHeader* hidden = GetDibRecordHeader(record);
    if (header->biBitCount > 8 || !hidden->bitmap) return;
    auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
    if (hidden->memoryDC) {
        SetDIBColorTable(hidden->memoryDC, 0, DibColorEntries(header), table);
        return;
    }
    // A DC of its own for the moment: the section must stay free to be selected elsewhere.
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    HGDIOBJ old = SelectObject(dc, hidden->bitmap);
    SetDIBColorTable(dc, 0, DibColorEntries(header), table);
    SelectObject(dc, old);
    DeleteDC(dc);
}

COLORREF MapSysColor(COLORREF color) {
    switch (color) {
    case 0x808080: return GetSysColor(COLOR_BTNSHADOW);
    case 0xc0c0c0: return GetSysColor(COLOR_BTNFACE);
    case 0xdfdfdf: return GetSysColor(COLOR_3DLIGHT);
    default: return color;
    }
}

namespace {

// Calls visit(BYTE* bgr) for every colour-table entry of an image of 1 to 8 bits (and syncs the
// table of a record afterwards) or for every pixel of an uncompressed 24- or 32-bit image.
// FALSE for other depths or when there are no pixels.
template <typename Visit>
BOOL ForEachDibColour(BITMAPINFO* info, void* pixels, Visit visit) {
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount >= 1 && h.biBitCount <= 8) {
        auto* table = reinterpret_cast<BYTE*>(info) + h.biSize;
        int entries = DibColorEntries(&h);
        for (int i = 0; i < entries; ++i) visit(table + 4 * i);
        SyncDibColorTable(info);
        return TRUE;
    }
    if ((h.biBitCount != 24 && h.biBitCount != 32) ||
        (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS))
        return FALSE;
    if (!pixels && IsDibRecord(info)) pixels = GetDibRecordHeader(info)->bits;
    if (!pixels) return FALSE;
    int stride = DibStride(h.biWidth, h.biBitCount);
    int rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    int step = h.biBitCount / 8;
    for (int y = 0; y < rows; ++y) {
        BYTE* p = static_cast<BYTE*>(pixels) + static_cast<size_t>(y) * stride;
        for (int x = 0; x < h.biWidth; ++x, p += step) visit(p);
    }
    return TRUE;
}

DWORD ReadBgr(const BYTE* bgr) { return bgr[0] | (bgr[1] << 8) | (bgr[2] << 16); }

}  // namespace

BOOL MapDibSysColors(BITMAPINFO* info, void* pixels) {
    if (!info) return FALSE;
    // The three greys are symmetric, so RGBQUAD and COLORREF order agree on the key; the result is swapped.
    return ForEachDibColour(info, pixels, [](BYTE* bgr) {
        const DWORD rgb = ReadBgr(bgr);
        const COLORREF mapped = MapSysColor(SwapRedBlue(rgb));
        if (mapped == SwapRedBlue(rgb)) return;
        const DWORD quad = SwapRedBlue(mapped);
        bgr[0] = static_cast<BYTE>(quad);
        bgr[1] = static_cast<BYTE>(quad >> 8);
        bgr[2] = static_cast<BYTE>(quad >> 16);
    });
}

DibRecord* CreateDib(HDC dc, int width, int height, DWORD depthWord, void** outPixels) {
    if (outPixels) *outPixels = nullptr;
    if (static_cast<unsigned>(width - 1) >= 0x10000u || static_cast<unsigned>(height - 1) >= 0x10000u)
        return FailWith(ERROR_INVALID_PARAMETER), nullptr;
    bool opaqueAlpha = (depthWord & 0x40000000u) != 0;
    bool screenDepth = (depthWord & 0x03000000u) == 0x03000000u;
    DWORD depth = depthWord & ~0x40000000u;
    if (depth == 0) depth = 32;
    if (depth == 31) screenDepth = true;

    HDC screen = dc ? nullptr : GetDC(nullptr);
    HDC useDC = dc ? dc : screen;
    if (screenDepth) depth = static_cast<DWORD>(ScreenDepth(useDC));
    DibRecord* result = nullptr;
    if (depth > 32) {
        SetLastError(ERROR_INVALID_PARAMETER);
    } else {
        int entries = depth <= 8 ? (1 << depth) : 0;
        BYTE* block = AllocDib(sizeof(BITMAPINFOHEADER) + 4 * entries);
        if (block) {
            auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block + kDibRecordOffset);
            header->biSize = sizeof(BITMAPINFOHEADER);
            header->biWidth = width;
            header->biHeight = height;
            header->biPlanes = 1;
            header->biBitCount = static_cast<WORD>(depth);
            header->biCompression = BI_RGB;
            if (entries) {
                auto* table = reinterpret_cast<DWORD*>(header + 1);
                // True-colour displays have no system palette; the block is zeroed, so missing entries are black.
                PALETTEENTRY system[256] = {};
                UINT got = GetSystemPaletteEntries(useDC, 0, entries, system);
                for (UINT i = 0; i < got && i < static_cast<UINT>(entries); ++i)
                    table[i] = (system[i].peRed << 16) | (system[i].peGreen << 8) | system[i].peBlue;
                if (depth >= 4) {
                    for (int i = 0; i < 16; ++i) table[i] = kStandardColors[i];
                } else {
                    table[entries - 1] = 0xffffff;
                }
            }
            void* bits = nullptr;
            HBITMAP section = CreateDIBSection(useDC, reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS,
                                               &bits, nullptr, 0);
            if (!section || !bits) {
                if (section) DeleteObject(section);
                FreeDib(header);
                SetLastError(ERROR_INVALID_DATA);
            } else {
                DibRecordHeader* hidden = GetDibRecordHeader(header);
                hidden->bitmap = section;
                hidden->bits = bits;
                if (opaqueAlpha && depth == 32) {
                    DWORD* p = static_cast<DWORD*>(bits);
                    size_t count = static_cast<size_t>(width) * height;
                    for (size_t i = 0; i < count; ++i) p[i] |= 0xFF000000u;
                }
                if (outPixels) *outPixels = bits;
                result = header;
            }
        }
    }
    if (screen) ReleaseDC(nullptr, screen);
    return result;
}

DibRecord* CreateDibFromBitmap(HDC dc, HBITMAP bitmap, void** outPixels) {
    if (outPixels) *outPixels = nullptr;
    if (!bitmap) return FailWith(ERROR_INVALID_PARAMETER), nullptr;
    HDC screen = dc ? nullptr : GetDC(nullptr);
    HDC useDC = dc ? dc : screen;
    DibRecord* result = nullptr;

    // Header plus room for a full colour table or three masks.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD table[256];
    } query = {};
    query.header.biSize = sizeof(BITMAPINFOHEADER);
    if (!GetDIBits(useDC, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&query), DIB_RGB_COLORS) ||
        query.header.biWidth < 1 || query.header.biHeight < 1) {
        SetLastError(ERROR_INVALID_DATA);
    } else {
        BITMAPINFOHEADER& h = query.header;
        int entries = 0;
        if (h.biBitCount <= 8) {
            entries = 1 << h.biBitCount;
            h.biClrUsed = h.biClrImportant = entries;
            h.biCompression = BI_RGB;
        } else if (h.biCompression == BI_BITFIELDS && (h.biBitCount == 15 || h.biBitCount == 16)) {
            entries = 3;
        } else {
            h.biCompression = BI_RGB;
        }
        if (entries > 3) {
            // A second query with the depth set fills the palette.
            GetDIBits(useDC, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&query), DIB_RGB_COLORS);
            h.biClrUsed = h.biClrImportant = entries;
        } else if (entries == 3) {
            GetDIBits(useDC, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&query), DIB_RGB_COLORS);
            h.biCompression = BI_BITFIELDS;
        }
        h.biSizeImage = static_cast<DWORD>(DibStride(h.biWidth, h.biBitCount)) * h.biHeight;
        size_t infoSize = sizeof(BITMAPINFOHEADER) + 4 * entries;
        BYTE* block = AllocDib(infoSize);
        if (block) {
            auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block + kDibRecordOffset);
            memcpy(header, &query, infoSize);
            if (!outPixels) {
                result = header;
            } else {
                void* bits = nullptr;
                HBITMAP section = CreateDIBSection(useDC, reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS,
                                                   &bits, nullptr, 0);
                if (section && bits &&
                    GetDIBits(useDC, bitmap, 0, h.biHeight, bits, reinterpret_cast<BITMAPINFO*>(header),
                              DIB_RGB_COLORS)) {
                    DibRecordHeader* hidden = GetDibRecordHeader(header);
                    hidden->bitmap = section;
                    hidden->bits = bits;
                    *outPixels = bits;
                    result = header;
                    SyncDibColorTable(header);
                } else {
                    if (section) DeleteObject(section);
                    FreeDib(header);
                    SetLastError(ERROR_INVALID_DATA);
                }
            }
        }
    }
    if (screen) ReleaseDC(nullptr, screen);
    return result;
}

namespace {

BYTE DisabledChannel(int y, int t) {
    if (y > 192) return static_cast<BYTE>(t + (((256 - t) * ((y - 192) >> 2)) >> 6));
    return static_cast<BYTE>(((y / 3 + 192) * t) >> 8);
}

// b, g, r in place.
void WashOut(BYTE* bgr, COLORREF tint) {
    int y = (128 * bgr[0] + 85 * bgr[1] + 44 * bgr[2]) >> 8;
    bgr[0] = DisabledChannel(y, GetBValue(tint));
    bgr[1] = DisabledChannel(y, GetGValue(tint));
    bgr[2] = DisabledChannel(y, GetRValue(tint));
}

}  // namespace

BOOL MakeDisabledDib(BITMAPINFO* info, void* pixels, COLORREF tint, COLORREF key) {
    if (!info) return FALSE;
    const DWORD keyQuad = SwapRedBlue(key & 0xFFFFFF);
    return ForEachDibColour(info, pixels, [&](BYTE* bgr) {
        if (ReadBgr(bgr) != keyQuad) WashOut(bgr, tint);
    });
}

COLORREF GetDibCornerColor(const BITMAPINFO* info, const void* pixels) {
    if (!info || !pixels) return 0x80000000;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if (rows < 1 || h.biWidth < 1) return 0x80000000;
    // The top picture row is the last stored row of a bottom-up image and the first of a top-down one.
    int topRow = h.biHeight < 0 ? 0 : rows - 1;
    const BYTE* row = static_cast<const BYTE*>(pixels) + static_cast<size_t>(topRow) *
                                                              DibStride(h.biWidth, h.biBitCount);
    switch (h.biBitCount) {
    case 32: return RGB(row[2], row[1], row[0]) | (static_cast<DWORD>(row[3]) << 24);
    case 24: return RGB(row[2], row[1], row[0]);
    case 1: case 2: case 4: case 8: {
        int index = row[0] >> (8 - h.biBitCount);
        if (index >= DibColorEntries(&h)) return 0x80000000;
        const BYTE* q = reinterpret_cast<const BYTE*>(info) + h.biSize + 4 * index;
        return RGB(q[2], q[1], q[0]);
    }
    default: return 0x80000000;
    }
}

BOOL GetBitmapHeader(HBITMAP bitmap, BITMAPINFOHEADER* out, int wanted) {
    if (!out) return FALSE;
    memset(out, 0, sizeof(BITMAPINFOHEADER));
    if (!bitmap) return FALSE;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD table[256];
    } query = {};
    query.header.biSize = sizeof(BITMAPINFOHEADER);
    HDC screen = GetDC(nullptr);
    BOOL ok = GetDIBits(screen, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&query), DIB_RGB_COLORS) != 0;
    int entries = 0;
    if (ok && wanted > 0) {
        entries = static_cast<int>(query.header.biClrUsed);
        if (entries == 0 && query.header.biBitCount <= 8) entries = 1 << query.header.biBitCount;
        if (entries > wanted) entries = wanted;
        if (entries > 256) entries = 256;
        if (entries > 0 && query.header.biBitCount <= 8) {
            // The header query leaves the palette empty; a query with the depth set fills it.
            GetDIBits(screen, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&query), DIB_RGB_COLORS);
        }
    }
    ReleaseDC(nullptr, screen);
    if (!ok) return FALSE;
    memcpy(out, &query, sizeof(BITMAPINFOHEADER) + 4 * entries);
    return TRUE;
}

BOOL GetBitmapSize(HBITMAP bitmap, int* width, int* height, int* bitsPerPixel) {
    BITMAPINFOHEADER header;
    BOOL ok = GetBitmapHeader(bitmap, &header, 0);
    if (width) *width = header.biWidth;
    if (height) *height = header.biHeight;
    if (bitsPerPixel) *bitsPerPixel = header.biBitCount;
    return ok;
}

BOOL GetBitmapSizeEx(HBITMAP bitmap, SIZE* size, int* bitsPerPixel) {
    BITMAPINFOHEADER header;
    BOOL ok = GetBitmapHeader(bitmap, &header, 0);
    if (size) *size = {header.biWidth, header.biHeight};
    if (bitsPerPixel) *bitsPerPixel = header.biBitCount;
    return ok;
}
