// Packed-DIB record loaders: the converter for packed DIBs, icon and cursor images and groups, PNG data through
// the platform's icon decoder, icon handles and module resources.
#include "image/DibRecordLoad.h"

#include <cstring>

namespace {

using namespace DibLoad;

// The pattern kPixelsFromInout is tested under, and the bits a caller's flags must have clear for it (the
// entry bits it does not set, and bit 23).
constexpr DWORD kPixelsFromInoutMask = 0x8060ffff;
constexpr DWORD kPixelsFromInoutClear = 0x801234;
constexpr DWORD kNoMatchingEntry = 0x10d8;
constexpr DWORD kConversionBits = kTransparencyMask | kMapSysColors | kComposeAlpha | kForceCopy;
constexpr BYTE kPngSignature[8] = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a};

DibRecord* Fail(DWORD error, ULONG_PTR* inout = nullptr) {
    if (inout) *inout = 0;
    SetLastError(error);
    return nullptr;
}

DWORD KindOf(DWORD flags) { return (flags & kKindMask) >> kKindShift; }
DWORD WithKind(DWORD flags, DWORD kind) { return (flags & ~kKindMask) | (kind << kKindShift); }

bool IsValidDibHeader(const BITMAPINFOHEADER* h) {
    return h->biSize >= 40 && h->biSize < 125 && h->biWidth >= 1 && h->biWidth <= 65535 && h->biHeight >= 1 &&
           h->biHeight <= 65535 && h->biBitCount <= 32;
}

int BitCountOf(const BITMAPINFOHEADER* h) { return h->biBitCount ? h->biBitCount : 32; }

// Bytes of colour table (or masks) that follow the header in the data.
int TableBytes(const BITMAPINFOHEADER* h) {
    int bits = BitCountOf(h);
    if (bits <= 8) {
        DWORD full = 1u << bits;
        return 4 * static_cast<int>((h->biClrUsed >= 1 && h->biClrUsed <= full) ? h->biClrUsed : full);
    }
    // Headers of 52 bytes and more carry their masks inside.
    return (h->biCompression == BI_BITFIELDS && h->biSize < 52) ? 12 : 0;
}

// A source header of 40 bytes with its colour table or masks, as GDI wants it for drawing.
struct SourceInfo {
    BITMAPINFOHEADER header;
    DWORD table[256];
};

void MakeSourceInfo(const BITMAPINFOHEADER* h, int height, SourceInfo& out) {
    memset(&out, 0, sizeof(out));
    memcpy(&out.header, h, sizeof(BITMAPINFOHEADER));
    out.header.biSize = sizeof(BITMAPINFOHEADER);
    out.header.biHeight = height;
    out.header.biBitCount = static_cast<WORD>(BitCountOf(h));
    if (out.header.biCompression == BI_RGB) out.header.biSizeImage = 0;
    const BYTE* after = reinterpret_cast<const BYTE*>(h) + h->biSize;
    if (h->biCompression == BI_BITFIELDS) {
        memcpy(out.table, h->biSize >= 52 ? reinterpret_cast<const BYTE*>(h) + 40 : after, 12);
    } else {
        memcpy(out.table, after, TableBytes(h));
    }
}

int ScreenDepth(HDC dc) { return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES); }

// Colour table of a new palette image of the given depth: the system palette (empty on true-colour screens),
// then white as last entry for depths below 4, the 16 standard colours in front otherwise.
void BuildPalette(HDC dc, int depth, DWORD* table) {
    static constexpr DWORD kStandard[16] = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xc0c0c0,
        0x808080, 0x0000ff, 0x00ff00, 0x00ffff, 0xff0000, 0xff00ff, 0xffff00, 0xffffff,
    };
    int entries = 1 << depth;
    PALETTEENTRY system[256] = {};
    UINT got = GetSystemPaletteEntries(dc, 0, entries, system);
    for (int i = 0; i < entries; ++i)
        table[i] = i < static_cast<int>(got) ? (system[i].peRed << 16) | (system[i].peGreen << 8) | system[i].peBlue
                                             : 0;
    if (depth < 4) {
        table[entries - 1] = 0xffffff;
    } else {
        memcpy(table, kStandard, sizeof(kStandard));
    }
}

// Reads the palette index of the top-left pixel of a palette image.
int CornerIndex(const BITMAPINFOHEADER* h, const void* pixels) {
    const BYTE* row = static_cast<const BYTE*>(pixels) +
                      static_cast<size_t>(h->biHeight - 1) * DibStride(h->biWidth, h->biBitCount);
    return row[0] >> (8 - h->biBitCount);
}

struct ScreenDC {
    HDC screen = nullptr;
    HDC dc;
    explicit ScreenDC(HDC given) : dc(given) {
        if (!dc) dc = screen = GetDC(nullptr);
    }
    ~ScreenDC() {
        if (screen) ReleaseDC(nullptr, screen);
    }
};

DibRecord* LoadFromGroup(HDC dc, const void* data, DWORD flags, ULONG_PTR module, ULONG_PTR* inout) {
    auto* dir = static_cast<const WORD*>(data);
    WORD type = dir[1], count = dir[2];
    if (dir[0] != 0 || (type != 1 && type != 2) || count > 32) return Fail(ERROR_BAD_FORMAT, inout);
    if (IsBadReadPtr(data, 6 + 14 * count)) return Fail(ERROR_INVALID_PARAMETER, inout);
    struct Entry {
        int width, height, bits;
        WORD id;
    };
    Entry entries[32];
    for (int i = 0; i < count; ++i) {
        const BYTE* e = reinterpret_cast<const BYTE*>(data) + 6 + 14 * i;
        Entry& out = entries[i];
        WORD bitCount;
        memcpy(&bitCount, e + 6, 2);
        memcpy(&out.id, e + 12, 2);
        if (type == 1) {
            out.width = e[0] ? e[0] : 256;
            out.height = e[1] ? e[1] : 256;
            if (!bitCount) bitCount = e[2] == 2 ? 1 : e[2] == 16 ? 4 : e[2] ? 8 : 32;
        } else {
            WORD w, h;
            memcpy(&w, e, 2);
            memcpy(&h, e + 2, 2);
            out.width = w;
            out.height = h;
        }
        out.bits = bitCount;
    }
    int chosen = -1;
    if (!(flags & kChooseBySize)) {
        chosen = static_cast<int>(flags & kEntryMask);
        if (chosen >= count) return Fail(kNoMatchingEntry, inout);
    } else {
        int wanted = static_cast<int>((flags & kDepthMask) >> kDepthShift);
        // 0 stands for 32 as everywhere in the flag word; 29 and 30 take any depth.
        bool anyDepth = wanted == 29 || wanted == 30;
        if (wanted == 30) flags &= ~kConvertDepth;
        if (wanted == 0) wanted = 32;
        if (wanted == 31) {
            ScreenDC screen(dc);
            wanted = ScreenDepth(screen.dc);
        }
        DWORD size = flags & kEntryMask;
        for (int i = 0; i < count; ++i) {
            const Entry& e = entries[i];
            if (size == kLargest) {
                if (!anyDepth && e.bits != wanted) continue;
                if (chosen < 0) {
                    chosen = i;
                    continue;
                }
                long area = static_cast<long>(e.width) * e.height;
                long best = static_cast<long>(entries[chosen].width) * entries[chosen].height;
                if (area > best || (area == best && e.bits > entries[chosen].bits)) chosen = i;
            } else {
                if (static_cast<DWORD>(e.width + (e.height << 8)) != size) continue;
                if (!anyDepth && e.bits < wanted) continue;
                if (chosen < 0 || e.bits > entries[chosen].bits) chosen = i;
            }
        }
        if (chosen < 0) return Fail(kNoMatchingEntry, inout);
    }
    if (inout) *inout = module;
    return LoadDibResourceA(dc, reinterpret_cast<HMODULE>(module), MAKEINTRESOURCEA(entries[chosen].id),
                            type == 1 ? MAKEINTRESOURCEA(3) : MAKEINTRESOURCEA(1), flags, inout);
}

// Checks that resource data of the given kind lies inside its size before it is converted.
bool PackedDataFits(const void* data, DWORD size, DWORD kind) {
    const BYTE* p = static_cast<const BYTE*>(data);
    if (kind == kKindGroup && size >= 6) {
        const WORD* dir = reinterpret_cast<const WORD*>(p);
        if (dir[0] == 0 && (dir[1] == 1 || dir[1] == 2)) return size >= 6u + 14u * dir[2];
    }
    if (size >= 4 + sizeof(BITMAPINFOHEADER) && kind == kKindCursor &&
        !IsValidDibHeader(reinterpret_cast<const BITMAPINFOHEADER*>(p))) {
        p += 4;
        size -= 4;
    }
    if (size < sizeof(BITMAPINFOHEADER)) return false;
    auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(p);
    if (!IsValidDibHeader(h)) return true;  // the converter reports it
    unsigned long long need = h->biSize + TableBytes(h);
    if (h->biCompression == BI_RGB || h->biCompression == BI_BITFIELDS) {
        int rows = kind != kKindPacked && h->biHeight % 2 == 0 ? h->biHeight / 2 : h->biHeight;
        need += static_cast<unsigned long long>(DibStride(h->biWidth, BitCountOf(h))) * rows;
    } else {
        need += h->biSizeImage;
    }
    return need <= size;
}

template <typename Char>
DibRecord* LoadDibResource(HDC dc, HMODULE module, const Char* name, const Char* type, DWORD flags,
                           ULONG_PTR* inout) {
    HRSRC resource;
    if constexpr (sizeof(Char) == 1)
        resource = FindResourceA(module, name, type);
    else
        resource = FindResourceW(module, name, type);
    HGLOBAL handle = resource ? LoadResource(module, resource) : nullptr;
    const void* data = handle ? LockResource(handle) : nullptr;
    if (!data) {
        if (inout) *inout = 0;
        return nullptr;
    }
    DWORD size = SizeofResource(module, resource);
    if (IS_INTRESOURCE(type) && reinterpret_cast<ULONG_PTR>(type) < 16) {
        if (inout) *inout = reinterpret_cast<ULONG_PTR>(module);
        DWORD kind;
        switch (reinterpret_cast<ULONG_PTR>(type)) {
        case 1: kind = kKindCursor; break;
        case 3: kind = kKindIcon; break;
        case 12: case 14: kind = kKindGroup; break;
        default: kind = kKindPacked; break;
        }
        flags = WithKind(flags, kind);
    }
    if (size >= sizeof(kPngSignature) && memcmp(data, kPngSignature, 4) == 0)
        return CreateDibFromPng(dc, data, size, flags, inout);
    if (!PackedDataFits(data, size, KindOf(flags))) return Fail(ERROR_BAD_FORMAT, inout);
    return CreateDibFromPackedData(dc, data, flags, inout);
}

}  // namespace

namespace {

// A packed DIB taken apart: its header, its colour rows and, in an icon image, the AND mask behind them.
struct PackedSource {
    const BITMAPINFOHEADER* header;
    int bits;            // bits per pixel (0 in the header counts as 32)
    const BYTE* pixels;
    int height;          // rows of colour
    const BYTE* mask;    // the icon image's AND mask, or null
};

// Finds the mask: an icon image holds the colour rows and then the AND mask, with the header height doubled.
// An image whose size is exactly twice its colour rows (and could not also hold a mask) has none.
void FindIconMask(PackedSource& source) {
    const BITMAPINFOHEADER* h = source.header;
    if (h->biCompression != BI_RGB || source.height % 2 != 0) return;
    int half = source.height / 2;
    unsigned long long colourBytes = static_cast<unsigned long long>(DibStride(h->biWidth, source.bits)) * half;
    unsigned long long iconBytes = colourBytes + static_cast<unsigned long long>(DibStride(h->biWidth, 1)) * half;
    unsigned long long plainBytes = colourBytes * 2;
    if (h->biSizeImage == plainBytes && plainBytes != iconBytes) return;
    source.height = half;
    source.mask = source.pixels + colourBytes;
}

// Chooses the depth: the wanted one with kConvertDepth (0 standing for 32, 31 for the screen's), else the
// screen's.
int ChooseDepth(DWORD flags, HDC screen) {
    if (!(flags & kConvertDepth)) return ScreenDepth(screen);
    int wanted = static_cast<int>((flags & kDepthMask) >> kDepthShift);
    return wanted == 0 ? 32 : wanted == 31 ? ScreenDepth(screen) : wanted;
}

// Without conversion the data is the record. An icon image gets a record of its own for its colour rows,
// over the same pixels.
DibRecord* ShareSource(const PackedSource& source, const SourceInfo& info, int tableBytes, ULONG_PTR* inout) {
    if (!source.mask) {
        if (inout) *inout = reinterpret_cast<ULONG_PTR>(source.pixels);
        return const_cast<DibRecord*>(source.header);
    }
    BYTE* block = AllocDib(sizeof(BITMAPINFOHEADER) + tableBytes);
    if (!block) return Fail(ERROR_NOT_ENOUGH_MEMORY, inout);
    auto* record = reinterpret_cast<DibRecord*>(block + kDibRecordOffset);
    memcpy(record, &info, sizeof(BITMAPINFOHEADER) + tableBytes);
    GetDibRecordHeader(record)->bits = const_cast<BYTE*>(source.pixels);
    if (inout) *inout = reinterpret_cast<ULONG_PTR>(source.pixels);
    return record;
}

// Converts: a DIB section of the target depth holding the colour rows, copied when the format stays and
// drawn in through GDI otherwise. The section's pixels are in the record's hidden header.
DibRecord* ConvertSource(const PackedSource& source, const SourceInfo& info, int sourceTable, int target,
                         HDC screen) {
    bool sameFormat = target == source.bits &&
                      (target <= 8 || info.header.biCompression == BI_RGB ||
                       (target == 16 && info.header.biCompression == BI_BITFIELDS));
    int targetTable = sameFormat ? sourceTable : (target <= 8 ? 4 * (1 << target) : 0);
    if (target > 32 || target < 1) return Fail(ERROR_INVALID_DATA);
    BYTE* block = AllocDib(sizeof(BITMAPINFOHEADER) + targetTable);
    if (!block) return Fail(ERROR_NOT_ENOUGH_MEMORY);
    auto* record = reinterpret_cast<DibRecord*>(block + kDibRecordOffset);
    *record = info.header;
    record->biBitCount = static_cast<WORD>(target);
    record->biSizeImage = static_cast<DWORD>(DibStride(record->biWidth, target)) * source.height;
    if (sameFormat) {
        memcpy(record + 1, info.table, targetTable);
    } else {
        record->biCompression = BI_RGB;
        record->biClrUsed = record->biClrImportant = 0;
        if (target <= 8) BuildPalette(screen, target, reinterpret_cast<DWORD*>(record + 1));
    }
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(record), DIB_RGB_COLORS, &bits,
                                       nullptr, 0);
    if (!section || !bits) {
        if (section) DeleteObject(section);
        FreeDib(record);
        return Fail(ERROR_INVALID_DATA);
    }
    DibRecordHeader* hidden = GetDibRecordHeader(record);
    hidden->bitmap = section;
    hidden->bits = bits;
    if (sameFormat) {
        memcpy(bits, source.pixels, record->biSizeImage);
    } else {
        HDC memory = GetDibMemoryDC(record);
        SetDIBitsToDevice(memory, 0, 0, record->biWidth, source.height, 0, 0, 0, source.height, source.pixels,
                          reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
        GdiFlush();
        // A bitmap selected into a DC cannot be selected elsewhere (image lists, other DCs): let it go.
        ReleaseDibDC(record);
    }
    return record;
}

// Applies the colour flags to the converted pixels: system colours mapped, the transparent colour (the corner
// pixel's, the text colour, or the icon mask) replaced by the background, then alpha composed on it.
void ApplyTransparency(DibRecord* record, const PackedSource& source, DWORD flags, HDC screen) {
    auto* info = reinterpret_cast<BITMAPINFO*>(record);
    void* bits = GetDibRecordHeader(record)->bits;
    const int target = record->biBitCount;
    COLORREF background = GetBkColor(screen);
    // A palette image made true-colour keeps its other pixels opaque.
    const COLORREF opaque = source.bits <= 8 && target == 32 ? kReplaceOpaqueOthers : 0;
    if (flags & kMapSysColors) MapDibSysColors(info, bits);
    switch ((flags & kTransparencyMask) >> kTransparencyShift) {
    case kKeyCorner: {
        COLORREF key = target <= 8 ? (kReplacePaletteIndex | CornerIndex(record, bits))
                                   : (GetDibCornerColor(info, bits) & 0xFFFFFF) | opaque;
        ReplaceDibColor(info, bits, key, background);
        break;
    }
    case kKeyTextColor:
        ReplaceDibColor(info, bits, (GetTextColor(screen) & 0xFFFFFF) | opaque, background);
        break;
    case kKeyIconMask:
        if (source.mask) ApplyDibMask(info, bits, source.mask, background);
        break;
    }
    if ((flags & kComposeAlpha) && target == 32) ComposeDibOnColor(info, bits, background);
}

}  // namespace

DibRecord* CreateDibFromPackedData(HDC dc, const void* data, DWORD flags, ULONG_PTR* inout) {
    const ULONG_PTR inValue = inout ? *inout : 0;  // a module handle for group members, or the pixels
    if (!data || IsBadReadPtr(data, 44)) return Fail(ERROR_INVALID_PARAMETER, inout);
    auto* h = static_cast<const BITMAPINFOHEADER*>(data);
    DWORD kind = KindOf(flags);
    if (!IsValidDibHeader(h)) {
        if (kind == kKindCursor) {
            // A cursor image is an icon image behind a 4-byte hotspot.
            return CreateDibFromPackedData(dc, static_cast<const BYTE*>(data) + 4, WithKind(flags, kKindIcon),
                                           inout);
        }
        if (kind == kKindGroup) return LoadFromGroup(dc, data, flags, inValue, inout);
        return Fail(ERROR_BAD_FORMAT, inout);
    }

    const bool pixelsFromInout = (flags & kPixelsFromInoutMask) == kPixelsFromInout;
    PackedSource source = {h, BitCountOf(h), nullptr, h->biHeight, nullptr};
    source.pixels = pixelsFromInout ? reinterpret_cast<const BYTE*>(inValue)
                                    : static_cast<const BYTE*>(data) + h->biSize + TableBytes(h);
    if (!source.pixels) return Fail(ERROR_INVALID_PARAMETER, inout);
    if (kind != kKindPacked && !pixelsFromInout) FindIconMask(source);

    ScreenDC screen(dc);
    const int target = ChooseDepth(flags, screen.dc);
    SourceInfo info;
    MakeSourceInfo(h, source.height, info);
    const int sourceTable = h->biCompression == BI_BITFIELDS ? 12 : (source.bits <= 8 ? TableBytes(h) : 0);
    const bool convert = inout && ((flags & kConversionBits) || ((flags & kConvertDepth) && target != source.bits));
    if (!convert) return ShareSource(source, info, sourceTable, inout);

    DibRecord* record = ConvertSource(source, info, sourceTable, target, screen.dc);
    if (!record) return Fail(GetLastError(), inout);
    ApplyTransparency(record, source, flags, screen.dc);
    *inout = reinterpret_cast<ULONG_PTR>(GetDibRecordHeader(record)->bits);
    return record;
}

DibRecord* CreateDibFromPng(HDC dc, const void* data, DWORD size, DWORD flags, ULONG_PTR* inout) {
    // Signature (8), IHDR length and type (8), width and height (8): all of it must be there before reading.
    const BYTE* p = static_cast<const BYTE*>(data);
    if (!p || size < 33 || IsBadReadPtr(p, 33) || memcmp(p, kPngSignature, 8) != 0 ||
        !(p[8] == 0 && p[9] == 0 && p[10] == 0 && p[11] == 13) || memcmp(p + 12, "IHDR", 4) != 0)
        return Fail(ERROR_BAD_FORMAT, inout);
    auto bigEndian = [](const BYTE* b) {
        return static_cast<LONG>((static_cast<DWORD>(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3]);
    };
    LONG width = bigEndian(p + 16), height = bigEndian(p + 20);
    if (width < 1 || height < 1 || width > 65535 || height > 65535) return Fail(ERROR_BAD_FORMAT, inout);

    if (!inout) {
        BYTE* block = AllocDib(sizeof(BITMAPINFOHEADER));
        if (!block) return Fail(ERROR_NOT_ENOUGH_MEMORY);
        auto* record = reinterpret_cast<DibRecord*>(block + kDibRecordOffset);
        record->biSize = sizeof(BITMAPINFOHEADER);
        record->biWidth = width;
        record->biHeight = height;
        record->biPlanes = 1;
        record->biBitCount = 32;
        record->biCompression = BI_PNG;
        record->biSizeImage = size;
        return record;
    }

    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(p), size, TRUE, 0x30000, width, height, 0);
    if (!icon) return Fail(ERROR_INVALID_DATA, inout);
    ICONINFO iconInfo = {};
    DibRecord* result = nullptr;
    if (GetIconInfo(icon, &iconInfo) && iconInfo.hbmColor) {
        void* colourBits = nullptr;
        DibRecord* colour = CreateDibFromBitmap(nullptr, iconInfo.hbmColor, &colourBits);
        if (colour) {
            bool useMask = ((flags & kTransparencyMask) >> kTransparencyShift) == kKeyIconMask;
            DWORD convertFlags = (flags & ~kPixelsFromInoutClear) | kPixelsFromInout;
            if (useMask) convertFlags &= ~kTransparencyMask;
            ULONG_PTR pixels = reinterpret_cast<ULONG_PTR>(colourBits);
            result = CreateDibFromPackedData(dc, colour, convertFlags, &pixels);
            if (result && useMask && iconInfo.hbmMask) {
                void* maskBits = nullptr;
                DibRecord* maskRecord = CreateDibFromBitmap(nullptr, iconInfo.hbmMask, &maskBits);
                if (maskRecord && maskRecord->biBitCount == 1) {
                    ScreenDC screen(dc);
                    ApplyDibMask(reinterpret_cast<BITMAPINFO*>(result), reinterpret_cast<void*>(pixels), maskBits,
                                 GetBkColor(screen.dc));
                }
                if (maskRecord) FreeDib(maskRecord);
            }
            if (result != colour) FreeDib(colour);
            if (result) {
                *inout = pixels;
            } else {
                SetLastError(ERROR_INVALID_DATA);
            }
        }
    } else {
        SetLastError(ERROR_INVALID_DATA);
    }
    if (iconInfo.hbmColor) DeleteObject(iconInfo.hbmColor);
    if (iconInfo.hbmMask) DeleteObject(iconInfo.hbmMask);
    DestroyIcon(icon);
    if (!result) *inout = 0;
    return result;
}

DibRecord* LoadDibResourceA(HDC dc, HMODULE module, LPCSTR name, LPCSTR type, DWORD flags, ULONG_PTR* inout) {
    return LoadDibResource(dc, module, name, type, flags, inout);
}

DibRecord* LoadDibResourceW(HDC dc, HMODULE module, LPCWSTR name, LPCWSTR type, DWORD flags, ULONG_PTR* inout) {
    return LoadDibResource(dc, module, name, type, flags, inout);
}

DibRecord* CreateDibFromIcon(HDC dc, HICON icon, void** outPixels, COLORREF key) {
    if (outPixels) *outPixels = nullptr;
    ICONINFO iconInfo = {};
    if (!icon || !GetIconInfo(icon, &iconInfo)) return Fail(ERROR_INVALID_PARAMETER);
    DibRecord* record = nullptr;
    void* bits = nullptr;
    BITMAP maskSize = {};
    GetObjectA(iconInfo.hbmMask, sizeof(maskSize), &maskSize);
    if (iconInfo.hbmColor) {
        record = CreateDibFromBitmap(dc, iconInfo.hbmColor, &bits);
        if (record) {
            int width = record->biWidth, height = record->biHeight;
            int stride = DibStride(width, 1);
            BYTE* mask = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY,
                                                      static_cast<size_t>(stride) * height));
            struct {
                BITMAPINFOHEADER header;
                RGBQUAD colours[2];
            } maskInfo = {};
            maskInfo.header = {sizeof(BITMAPINFOHEADER), width, height, 1, 1, BI_RGB, 0, 0, 0, 0, 0};
            ScreenDC screen(dc);
            if (mask && GetDIBits(screen.dc, iconInfo.hbmMask, 0, height, mask,
                                  reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS))
                ApplyDibMask(reinterpret_cast<BITMAPINFO*>(record), bits, mask, key);
            if (mask) HeapFree(GetProcessHeap(), 0, mask);
        }
    } else if (maskSize.bmWidth > 0 && maskSize.bmHeight > 1) {
        // A monochrome icon keeps AND and XOR halves in one bitmap: draw it over the key colour instead.
        record = CreateDib(dc, maskSize.bmWidth, maskSize.bmHeight / 2, 32, &bits);
        HDC memory = record ? GetDibMemoryDC(record) : nullptr;
        if (memory) {
            DWORD* p = static_cast<DWORD*>(bits);
            for (LONG i = 0; i < record->biWidth * record->biHeight; ++i) p[i] = SwapRedBlue(key & 0xFFFFFF);
            DrawIconEx(memory, 0, 0, icon, record->biWidth, record->biHeight, 0, nullptr, DI_NORMAL);
            GdiFlush();
        }
    }
    if (iconInfo.hbmColor) DeleteObject(iconInfo.hbmColor);
    if (iconInfo.hbmMask) DeleteObject(iconInfo.hbmMask);
    if (!record) return Fail(ERROR_INVALID_DATA);
    if (outPixels) *outPixels = bits;
    return record;
}

HBITMAP CreateBitmapFromDib(HDC dc, const BITMAPINFO* info, const void* pixels, DWORD flags) {
    if (!info || IsBadReadPtr(info, 44)) return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
    const BITMAPINFOHEADER* h = &info->bmiHeader;
    if (h->biSize != 40 || h->biWidth < 1 || h->biWidth > 65535 || h->biHeight < 1 || h->biHeight > 65535 ||
        h->biBitCount > 32 || static_cast<LONG>(h->biSizeImage) < 0 ||
        (h->biSizeImage == 0 && h->biCompression != BI_RGB && h->biCompression != BI_BITFIELDS))
        return SetLastError(ERROR_BAD_FORMAT), nullptr;
    if (!pixels) pixels = reinterpret_cast<const BYTE*>(info) + h->biSize + TableBytes(h);
    if (!(flags & (kConversionBits | kConvertDepth))) {
        ScreenDC screen(dc);
        return CreateDIBitmap(screen.dc, h, CBM_INIT, pixels, info, DIB_RGB_COLORS);
    }
    ULONG_PTR inout = reinterpret_cast<ULONG_PTR>(pixels);
    DibRecord* record =
        CreateDibFromPackedData(dc, info, (flags & ~kPixelsFromInoutClear) | kPixelsFromInout | kForceCopy, &inout);
    if (!record) return nullptr;
    // Keep the section, drop the record around it.
    DibRecordHeader* hidden = GetDibRecordHeader(record);
    if (hidden->memoryDC) ReleaseDibDC(record);
    HBITMAP bitmap = hidden->bitmap;
    hidden->bitmap = nullptr;
    FreeDib(record);
    return bitmap;
}
