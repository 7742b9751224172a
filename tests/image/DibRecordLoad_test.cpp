// Packed-DIB record loaders on the icon, cursor and PNG resources of this test program
// (tests/image/data, made by tools/make_image_test_artwork.py), and the pixel services beside them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/DibRecordLoad.h"

namespace {

constexpr WORD kIconGroup = 7001, kCursorGroup = 7002, kPngBitmap = 7003;

HMODULE Self() { return GetModuleHandleA(nullptr); }
BITMAPINFO* Info(DibRecord* record) { return reinterpret_cast<BITMAPINFO*>(record); }

// Pixel (x, y) from the top of a 32-bit bottom-up image.
DWORD Pixel32(const DibRecord* record, const void* bits, int x, int y) {
    return static_cast<const DWORD*>(bits)[(record->biHeight - 1 - y) * record->biWidth + x];
}

// Pixel colour of the generated true-colour icons as 0x00RRGGBB.
DWORD IconColour(int x, int y, int size) { return ((x * 4) << 16) | ((y * 4) << 8) | size; }

// A memory DC whose background colour stands for "transparent".
struct KeyDC {
    HDC dc = CreateCompatibleDC(nullptr);
    explicit KeyDC(COLORREF background) { SetBkColor(dc, background); }
    ~KeyDC() { DeleteDC(dc); }
};

}  // namespace

TEST(DibRecordLoad, GroupPicksLargestImageOfTheWantedDepth) {
    ULONG_PTR inout = 0;
    DibRecord* record = LoadDibResourceA(nullptr, Self(), MAKEINTRESOURCEA(kIconGroup), RT_GROUP_ICON, 0x8020ffff,
                                         &inout);
    ASSERT_NE(record, nullptr) << GetLastError();
    // 48 x 48 at 32 bits, although a 64 x 64 image of 8 bits and a 48 x 48 one of 24 bits exist.
    EXPECT_EQ(record->biWidth, 48);
    EXPECT_EQ(record->biHeight, 48);
    EXPECT_EQ(record->biBitCount, 32);
    ASSERT_NE(inout, 0u);
    void* bits = reinterpret_cast<void*>(inout);
    EXPECT_EQ(Pixel32(record, bits, 10, 5), 0xFF000000u | IconColour(10, 5, 48));
    EXPECT_EQ(GetDibBits(record), bits);
    EXPECT_TRUE(FreeDib(record));

    // By size: 32 x 32 exists at 8 and 32 bits; "any depth" takes the highest.
    DWORD bySize = DibLoad::kChooseBySize | (29u << DibLoad::kDepthShift) | (32 + (32 << 8));
    record = LoadDibResourceA(nullptr, Self(), MAKEINTRESOURCEA(kIconGroup), RT_GROUP_ICON, bySize, &inout);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->biWidth, 32);
    EXPECT_EQ(record->biBitCount, 32);
    FreeDib(record);

    // Past the end of the directory.
    SetLastError(0);
    EXPECT_EQ(LoadDibResourceA(nullptr, Self(), MAKEINTRESOURCEA(kIconGroup), RT_GROUP_ICON, 6, &inout), nullptr);
    EXPECT_EQ(GetLastError(), 0x10d8u);
    EXPECT_EQ(inout, 0u);
    // No image of 20 x 20.
    EXPECT_EQ(LoadDibResourceA(nullptr, Self(), MAKEINTRESOURCEA(kIconGroup), RT_GROUP_ICON,
                               DibLoad::kChooseBySize | (20 + (20 << 8)), &inout),
              nullptr);
    EXPECT_EQ(GetLastError(), 0x10d8u);
}

TEST(DibRecordLoad, IconMaskShowsTheBackgroundColour) {
    KeyDC key(RGB(1, 2, 3));
    ULONG_PTR inout = 0;
    // Entry 0: 16 x 16 with 16 colours, converted to 24 bits with the AND mask applied.
    DWORD flags = 0 | DibLoad::kConvertDepth | (24u << DibLoad::kDepthShift) |
                  (DibLoad::kKeyIconMask << DibLoad::kTransparencyShift);
    DibRecord* record = LoadDibResourceW(key.dc, Self(), MAKEINTRESOURCEW(kIconGroup), MAKEINTRESOURCEW(14), flags,
                                         &inout);
    ASSERT_NE(record, nullptr) << GetLastError();
    EXPECT_EQ(record->biWidth, 16);
    EXPECT_EQ(record->biHeight, 16);
    EXPECT_EQ(record->biBitCount, 24);
    const BYTE* bits = reinterpret_cast<const BYTE*>(inout);
    int stride = DibStride(16, 24);
    for (int y : {0, 7, 15}) {
        const BYTE* row = bits + (15 - y) * stride;
        // Columns 0-3 are masked: the DC's background (blue, green, red bytes).
        EXPECT_EQ(row[0], 3) << y;
        EXPECT_EQ(row[1], 2);
        EXPECT_EQ(row[2], 1);
        // Column 5 of row 0 holds palette index 5 (0x800080 as 0x00RRGGBB).
        if (y == 0) {
            EXPECT_EQ(row[15], 0x80);
            EXPECT_EQ(row[16], 0x00);
            EXPECT_EQ(row[17], 0x80);
        }
    }
    // The converted picture's bitmap is free to be selected elsewhere (an image list, another DC).
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_NE(SelectObject(other, GetDibBitmap(record)), nullptr);
    DeleteDC(other);
    FreeDib(record);
}

TEST(DibRecordLoad, CursorSkipsItsHotspot) {
    ULONG_PTR inout = 0;
    DWORD flags = DibLoad::kConvertDepth | (0u << DibLoad::kDepthShift) | DibLoad::kForceCopy;
    DibRecord* record = LoadDibResourceA(nullptr, Self(), MAKEINTRESOURCEA(kCursorGroup), RT_GROUP_CURSOR, flags,
                                         &inout);
    ASSERT_NE(record, nullptr) << GetLastError();
    EXPECT_EQ(record->biWidth, 32);
    EXPECT_EQ(record->biHeight, 32);
    ASSERT_EQ(record->biBitCount, 32);
    void* bits = reinterpret_cast<void*>(inout);
    EXPECT_EQ(GetDibBits(record), bits);
    EXPECT_EQ(Pixel32(record, bits, 20, 9), 0xFF000000u | IconColour(20, 9, 32));
    EXPECT_NE(GetDibBitmap(record), nullptr);
    FreeDib(record);
}

TEST(DibRecordLoad, PngUnderTheBitmapTypeIsDecoded) {
    ULONG_PTR inout = 0;
    DibRecord* record = LoadDibResourceA(nullptr, Self(), MAKEINTRESOURCEA(kPngBitmap), RT_BITMAP, 0, &inout);
    ASSERT_NE(record, nullptr) << GetLastError();
    EXPECT_EQ(record->biWidth, 6);
    EXPECT_EQ(record->biHeight, 4);
    ASSERT_EQ(record->biBitCount, 32);
    void* bits = reinterpret_cast<void*>(inout);
    // red = 40 x, green = 40 y, blue 200; the last column is transparent.
    EXPECT_EQ(Pixel32(record, bits, 2, 3), 0xFF000000u | (80u << 16) | (120u << 8) | 200u);
    EXPECT_EQ(Pixel32(record, bits, 5, 1) >> 24, 0u);
    FreeDib(record);

    // Without the in/out word the result only describes the data.
    HRSRC resource = FindResourceA(Self(), MAKEINTRESOURCEA(kPngBitmap), RT_BITMAP);
    DWORD size = SizeofResource(Self(), resource);
    const void* data = LockResource(LoadResource(Self(), resource));
    record = CreateDibFromPng(nullptr, data, size, 0, nullptr);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->biCompression, static_cast<DWORD>(BI_PNG));
    EXPECT_EQ(record->biSizeImage, size);
    EXPECT_EQ(record->biWidth, 6);
    FreeDib(record);

    // With transparency 3 the mask of the decoded icon keys the transparent column.
    KeyDC key(RGB(9, 8, 7));
    record = CreateDibFromPng(key.dc, data, size, DibLoad::kKeyIconMask << DibLoad::kTransparencyShift, &inout);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(Pixel32(record, reinterpret_cast<void*>(inout), 5, 0) & 0xFFFFFF, 0x090807u);
    FreeDib(record);
}

TEST(DibRecordLoad, ShortOrForeignDataIsRefused) {
    HRSRC resource = FindResourceA(Self(), MAKEINTRESOURCEA(kPngBitmap), RT_BITMAP);
    const BYTE* png = static_cast<const BYTE*>(LockResource(LoadResource(Self(), resource)));
    // The PNG start placed at the very end of a readable page: a read past the given size would fault.
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    auto* pages = static_cast<BYTE*>(VirtualAlloc(nullptr, info.dwPageSize * 2, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(pages, nullptr);
    ASSERT_NE(VirtualAlloc(pages, info.dwPageSize, MEM_COMMIT, PAGE_READWRITE), nullptr);
    for (DWORD size : {16u, 24u, 32u}) {
        BYTE* start = pages + info.dwPageSize - size;
        memcpy(start, png, size);
        ULONG_PTR inout = 0;
        SetLastError(0);
        EXPECT_EQ(CreateDibFromPng(nullptr, start, size, 0, &inout), nullptr) << size;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
    }
    VirtualFree(pages, 0, MEM_RELEASE);

    SetLastError(0);
    EXPECT_EQ(CreateDibFromPackedData(nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    BYTE junk[64] = {1, 2, 3};
    EXPECT_EQ(CreateDibFromPackedData(nullptr, junk, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
    // A group directory of 33 entries.
    WORD directory[32] = {0, 1, 33};
    EXPECT_EQ(CreateDibFromPackedData(nullptr, directory, DibLoad::kKindGroup << DibLoad::kKindShift, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
}

TEST(DibRecordLoad, PackedDibWithoutConversionIsTheDataItself) {
    struct {
        BITMAPINFOHEADER header;
        DWORD pixels[4];
    } packed = {{sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {1, 2, 3, 4}};
    ULONG_PTR inout = 0;
    DibRecord* plain = CreateDibFromPackedData(nullptr, &packed, 0, &inout);
    EXPECT_EQ(plain, &packed.header);
    EXPECT_EQ(inout, reinterpret_cast<ULONG_PTR>(packed.pixels));
    // Not a record: freeing it is refused instead of corrupting the heap.
    EXPECT_FALSE(FreeDib(plain));

    // Key = the top-left pixel, replaced by the DC's background in a converted copy.
    KeyDC key(RGB(50, 60, 70));
    packed.pixels[2] = 0x00AABBCC;  // top row, left
    packed.pixels[3] = 0x00AABBCC;
    DibRecord* copy = CreateDibFromPackedData(key.dc, &packed,
                                              DibLoad::kConvertDepth | (DibLoad::kKeyCorner << DibLoad::kTransparencyShift),
                                              &inout);
    ASSERT_NE(copy, nullptr);
    void* bits = reinterpret_cast<void*>(inout);
    EXPECT_EQ(Pixel32(copy, bits, 0, 0) & 0xFFFFFF, 0x323c46u);
    EXPECT_EQ(Pixel32(copy, bits, 1, 0) & 0xFFFFFF, 0x323c46u);
    EXPECT_EQ(Pixel32(copy, bits, 0, 1), 1u);
    FreeDib(copy);
}

TEST(DibRecordLoad, ColourServices) {
    void* bits = nullptr;
    DibRecord* image = CreateDib(nullptr, 2, 1, 32, &bits);
    auto* px = static_cast<DWORD*>(bits);
    px[0] = 0x80000000;  // black at alpha 128
    px[1] = 0x00123456;  // alpha 0
    EXPECT_TRUE(ComposeDibOnColor(Info(image), nullptr, RGB(255, 255, 255)));
    EXPECT_EQ(px[0], 0x807f7f7fu);
    EXPECT_EQ(px[1], 0x00ffffffu);

    px[0] = 0x00112233;
    px[1] = 0x00445566;
    EXPECT_TRUE(ReplaceDibColor(Info(image), bits, RGB(0x11, 0x22, 0x33) | 0x40000000, RGB(0, 0, 0xff)));
    EXPECT_EQ(px[0], 0x000000ffu);  // the key: new colour (blue), alpha left
    EXPECT_EQ(px[1], 0xff445566u);  // every other pixel made opaque
    FreeDib(image);

    DibRecord* palette = CreateDib(nullptr, 2, 2, 4, &bits);
    auto* table = reinterpret_cast<DWORD*>(palette + 1);
    EXPECT_TRUE(ReplaceDibColor(Info(palette), bits, 0x80000003, RGB(1, 2, 3)));
    EXPECT_EQ(table[3], 0x010203u);
    EXPECT_TRUE(ReplaceDibColor(Info(palette), bits, RGB(0xff, 0xff, 0xff), RGB(4, 5, 6)));
    EXPECT_EQ(table[15], 0x040506u);
    FreeDib(palette);

    DibRecord* word = CreateDib(nullptr, 2, 2, 16, &bits);
    EXPECT_FALSE(ReplaceDibColor(Info(word), bits, 1, 2));
    EXPECT_FALSE(ComposeDibOnColor(Info(word), bits, 0));
    FreeDib(word);
}

TEST(DibRecordLoad, AlphaBlendClipsAndKeepsDestinationAlpha) {
    void* dstBits = nullptr;
    void* srcBits = nullptr;
    DibRecord* dst = CreateDib(nullptr, 4, 4, 32, &dstBits);
    DibRecord* src = CreateDib(nullptr, 3, 3, 32, &srcBits);
    auto* d = static_cast<DWORD*>(dstBits);
    auto* s = static_cast<DWORD*>(srcBits);
    for (int i = 0; i < 16; ++i) d[i] = 0x11000000;  // black, alpha 0x11
    for (int i = 0; i < 9; ++i) s[i] = 0xFFFFFFFF;
    s[8] = 0x7F0000FF;  // top-right source pixel: blue at alpha 127
    // Placed at (2, 1): only a 2 x 3 part fits.
    EXPECT_TRUE(AlphaBlendDib(Info(dst), nullptr, 2, 1, Info(src), nullptr, 0, 0, 0x10000, 0x10000));
    EXPECT_EQ(Pixel32(dst, dstBits, 1, 1), 0x11000000u);
    EXPECT_EQ(Pixel32(dst, dstBits, 2, 1), 0x11FFFFFFu);
    EXPECT_EQ(Pixel32(dst, dstBits, 3, 3), 0x11FFFFFFu);
    EXPECT_EQ(Pixel32(dst, dstBits, 2, 0), 0x11000000u);
    // Source pixel (2, 0) lies outside the fitting part; blend it alone: (255 x 128) >> 8 = 127.
    EXPECT_TRUE(AlphaBlendDib(Info(dst), nullptr, 0, 0, Info(src), nullptr, 2, 0, 1, 1));
    EXPECT_EQ(Pixel32(dst, dstBits, 0, 0), 0x1100007Fu);
    // Outside the images.
    EXPECT_FALSE(AlphaBlendDib(Info(dst), nullptr, 4, 0, Info(src), nullptr, 0, 0, 1, 1));
    EXPECT_FALSE(AlphaBlendDib(Info(dst), nullptr, 0, 0, Info(src), nullptr, 0, 3, 1, 1));
    FreeDib(dst);
    FreeDib(src);
}

TEST(DibRecordLoad, IconHandlesAndDeviceBitmaps) {
    auto* icon = static_cast<HICON>(LoadImageA(Self(), MAKEINTRESOURCEA(kIconGroup), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    void* bits = nullptr;
    DibRecord* record = CreateDibFromIcon(nullptr, icon, &bits, RGB(0x10, 0x20, 0x30));
    ASSERT_NE(record, nullptr) << GetLastError();
    EXPECT_EQ(record->biWidth, 32);
    ASSERT_EQ(record->biBitCount, 32);
    // Masked columns 0-3 carry the key colour.
    EXPECT_EQ(Pixel32(record, bits, 1, 7) & 0xFFFFFF, 0x102030u);
    FreeDib(record);
    DestroyIcon(icon);

    struct {
        BITMAPINFOHEADER header;
        DWORD pixels[6];
    } packed = {{sizeof(BITMAPINFOHEADER), 3, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {1, 2, 3, 4, 5, 6}};
    HBITMAP ddb = CreateBitmapFromDib(nullptr, reinterpret_cast<BITMAPINFO*>(&packed), nullptr, 0);
    ASSERT_NE(ddb, nullptr);
    int w = 0, h = 0;
    GetBitmapSize(ddb, &w, &h, nullptr);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    DeleteObject(ddb);
    HBITMAP section = CreateBitmapFromDib(nullptr, reinterpret_cast<BITMAPINFO*>(&packed), nullptr,
                                          DibLoad::kConvertDepth | (24u << DibLoad::kDepthShift));
    ASSERT_NE(section, nullptr);
    DIBSECTION ds = {};
    ASSERT_EQ(GetObjectA(section, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBmih.biBitCount, 24);
    DeleteObject(section);
    packed.header.biSize = 12;
    SetLastError(0);
    EXPECT_EQ(CreateBitmapFromDib(nullptr, reinterpret_cast<BITMAPINFO*>(&packed), nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
}
