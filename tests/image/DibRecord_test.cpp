// Packed-DIB record: creation, validation, device context, colours and .bmp files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "image/DibRecord.h"

namespace {

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + "wl_dib_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

DWORD FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0xFFFFFFFF;
    return data.nFileSizeLow;
}

std::vector<BYTE> ReadFileBytes(const std::string& path) {
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

BITMAPINFO* Info(DibRecord* record) { return reinterpret_cast<BITMAPINFO*>(record); }

// Fills every byte of the pixel rows with a pattern that depends on row and column.
void FillPattern(DibRecord* record, void* bits) {
    int stride = DibStride(record->biWidth, record->biBitCount);
    auto* p = static_cast<BYTE*>(bits);
    for (int y = 0; y < record->biHeight; ++y)
        for (int x = 0; x < stride; ++x) p[y * stride + x] = static_cast<BYTE>(y * 37 + x * 11 + 5);
}

}  // namespace

TEST(DibRecord, CreateChecksSizesAndDepthWord) {
    void* bits = nullptr;
    DibRecord* wide = CreateDib(nullptr, 65536, 1, 24, &bits);
    ASSERT_NE(wide, nullptr);
    EXPECT_NE(bits, nullptr);
    EXPECT_EQ(GetDibBits(wide), bits);
    EXPECT_TRUE(FreeDib(wide));

    for (int width : {0, 65537, -3}) {
        SetLastError(0);
        EXPECT_EQ(CreateDib(nullptr, width, 1, 24, &bits), nullptr) << width;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        EXPECT_EQ(bits, nullptr);
    }

    DibRecord* deep = CreateDib(nullptr, 3, 2, 0, &bits);
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->biBitCount, 32);
    EXPECT_EQ(static_cast<DWORD*>(bits)[0] >> 24, 0u);
    FreeDib(deep);

    DibRecord* opaque = CreateDib(nullptr, 3, 2, 0x40000000, &bits);
    ASSERT_NE(opaque, nullptr);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(static_cast<DWORD*>(bits)[i], 0xFF000000u);
    FreeDib(opaque);

    HDC screen = GetDC(nullptr);
    int screenDepth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    for (DWORD word : {31u, 0x03000008u}) {
        DibRecord* record = CreateDib(nullptr, 2, 2, word, nullptr);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->biBitCount, screenDepth) << word;
        FreeDib(record);
    }
}

TEST(DibRecord, PaletteDepthsGetStandardColours) {
    DibRecord* four = CreateDib(nullptr, 4, 4, 4, nullptr);
    ASSERT_NE(four, nullptr);
    auto* table = reinterpret_cast<DWORD*>(four + 1);
    EXPECT_EQ(table[1], 0x000080u);
    EXPECT_EQ(table[9], 0x0000ffu);
    EXPECT_EQ(table[15], 0xffffffu);
    FreeDib(four);

    DibRecord* mono = CreateDib(nullptr, 4, 4, 1, nullptr);
    ASSERT_NE(mono, nullptr);
    table = reinterpret_cast<DWORD*>(mono + 1);
    EXPECT_EQ(table[1], 0xffffffu);
    FreeDib(mono);
}

TEST(DibRecord, ValidationRefusesFreedAndForeignPointers) {
    DibRecord* record = CreateDib(nullptr, 2, 2, 24, nullptr);
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(IsDibRecord(record));
    EXPECT_TRUE(FreeDib(record));
    SetLastError(0);
    EXPECT_FALSE(FreeDib(record));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(IsDibRecord(record));

    // A header that merely looks like a record (magic in front) is not one.
    struct {
        DibRecordHeader hidden;
        BITMAPINFOHEADER header;
    } fake = {};
    fake.hidden.magic = kDibRecordMagic;
    SetLastError(0);
    EXPECT_FALSE(FreeDib(&fake.header));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetDibBitmap(&fake.header), nullptr);
    EXPECT_EQ(GetDibBitmap(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(DibRecord, DeviceContextAndHeaderOnlyRecords) {
    void* bits = nullptr;
    DibRecord* record = CreateDib(nullptr, 8, 8, 32, &bits);
    ASSERT_NE(record, nullptr);
    HDC dc = nullptr;
    EXPECT_EQ(GetDibDC(record, &dc), bits);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDibMemoryDC(record), dc);
    // Drawing through the DC lands in the pixels.
    SetPixel(dc, 0, 0, RGB(10, 20, 30));
    GdiFlush();
    EXPECT_EQ(static_cast<DWORD*>(bits)[7 * 8] & 0xFFFFFF, 0x0a141eu);
    EXPECT_TRUE(ReleaseDibDC(record));
    SetLastError(0);
    EXPECT_FALSE(ReleaseDibDC(record));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    FreeDib(record);

    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 5, 3);
    ReleaseDC(nullptr, screen);
    DibRecord* headerOnly = CreateDibFromBitmap(nullptr, ddb, nullptr);
    ASSERT_NE(headerOnly, nullptr);
    EXPECT_EQ(headerOnly->biWidth, 5);
    EXPECT_EQ(headerOnly->biHeight, 3);
    SetLastError(0);
    EXPECT_EQ(GetDibBitmap(headerOnly), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    SetLastError(0);
    EXPECT_EQ(GetDibBits(headerOnly), nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    HDC none = reinterpret_cast<HDC>(1);
    EXPECT_EQ(GetDibDC(headerOnly, &none), nullptr);
    EXPECT_EQ(none, nullptr);
    FreeDib(headerOnly);
    DeleteObject(ddb);
}

TEST(DibRecord, CopiesBitmapPixels) {
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 6, 4);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, ddb);
    RECT all = {0, 0, 6, 4};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetPixel(dc, 0, 0, RGB(200, 100, 50));
    SetPixel(dc, 5, 3, RGB(1, 2, 3));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    void* bits = nullptr;
    DibRecord* copy = CreateDibFromBitmap(nullptr, ddb, &bits);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->biBitCount, 32);
    EXPECT_EQ(copy->biCompression, static_cast<DWORD>(BI_RGB));
    auto* px = static_cast<DWORD*>(bits);
    EXPECT_EQ(px[3 * 6 + 0] & 0xFFFFFF, 0xc86432u);  // top-left is the last stored row
    EXPECT_EQ(px[0 * 6 + 5] & 0xFFFFFF, 0x010203u);
    EXPECT_EQ(GetDibCornerColor(Info(copy), bits) & 0xFFFFFF, static_cast<DWORD>(RGB(200, 100, 50)));

    int w = 0, h = 0, bpp = 0;
    EXPECT_TRUE(GetBitmapSize(ddb, &w, &h, &bpp));
    EXPECT_EQ(w, 6);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(bpp, 32);
    SIZE size;
    EXPECT_FALSE(GetBitmapSizeEx(nullptr, &size, &bpp));
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(bpp, 0);
    FreeDib(copy);
    DeleteObject(ddb);
}

TEST(DibRecord, CornerColourOfEachDepth) {
    void* bits = nullptr;
    DibRecord* palette = CreateDib(nullptr, 4, 3, 8, &bits);
    ASSERT_NE(palette, nullptr);
    static_cast<BYTE*>(bits)[2 * 4] = 12;  // top row, column 0: index 12 = 0xff0000 as 0x00RRGGBB
    EXPECT_EQ(GetDibCornerColor(Info(palette), bits), static_cast<DWORD>(RGB(255, 0, 0)));
    FreeDib(palette);

    DibRecord* mono = CreateDib(nullptr, 9, 2, 1, &bits);
    ASSERT_NE(mono, nullptr);
    static_cast<BYTE*>(bits)[4] = 0x80;  // top row starts at byte 4
    EXPECT_EQ(GetDibCornerColor(Info(mono), bits), 0xffffffu);
    FreeDib(mono);

    DibRecord* rgb = CreateDib(nullptr, 2, 2, 24, &bits);
    ASSERT_NE(rgb, nullptr);
    BYTE* top = static_cast<BYTE*>(bits) + 8;
    top[0] = 1, top[1] = 2, top[2] = 3;
    EXPECT_EQ(GetDibCornerColor(Info(rgb), bits), static_cast<DWORD>(RGB(3, 2, 1)));
    FreeDib(rgb);

    DibRecord* word = CreateDib(nullptr, 2, 2, 16, &bits);
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(GetDibCornerColor(Info(word), bits), 0x80000000u);
    FreeDib(word);
}

TEST(DibRecord, DisabledPicturesFollowTheWashOutFormula) {
    void* bits = nullptr;
    DibRecord* rgb = CreateDib(nullptr, 3, 1, 24, &bits);
    ASSERT_NE(rgb, nullptr);
    BYTE* p = static_cast<BYTE*>(bits);
    const BYTE source[9] = {0, 0, 0, 255, 255, 255, 0xc0, 0xc0, 0xc0};
    memcpy(p, source, 9);
    EXPECT_TRUE(MakeDisabledDib(Info(rgb), nullptr, 0xdfdfdf, 0xc0c0c0));
    // Black: y = 0, (0 + 192) x 223 >> 8 = 167.
    EXPECT_EQ(p[0], 167);
    EXPECT_EQ(p[2], 167);
    // White: y = 255, 223 + ((33 x 15) >> 6) = 230.
    EXPECT_EQ(p[3], 230);
    // The key colour stays.
    EXPECT_EQ(p[6], 0xc0);
    FreeDib(rgb);

    DibRecord* palette = CreateDib(nullptr, 2, 2, 4, &bits);
    ASSERT_NE(palette, nullptr);
    auto* table = reinterpret_cast<DWORD*>(palette + 1);
    EXPECT_TRUE(MakeDisabledDib(Info(palette), bits, RGB(0, 0, 255), 0xc0c0c0));
    // Entry 0 (black) toward a blue tint: blue = 192 x 255 >> 8 = 191, red and green 0.
    EXPECT_EQ(table[0], 0x0000bfu);
    EXPECT_EQ(table[7], 0xc0c0c0u);
    // The section's own palette follows, so the bitmap handle draws the same colours; the section is not
    // left selected anywhere.
    HDC other = CreateCompatibleDC(nullptr);
    ASSERT_NE(SelectObject(other, GetDibBitmap(palette)), nullptr);
    RGBQUAD sectionTable[16];
    ASSERT_EQ(GetDIBColorTable(other, 0, 16, sectionTable), 16u);
    EXPECT_EQ(sectionTable[0].rgbBlue, 0xbf);
    DeleteDC(other);
    FreeDib(palette);

    DibRecord* word = CreateDib(nullptr, 2, 2, 16, &bits);
    EXPECT_FALSE(MakeDisabledDib(Info(word), bits, 0xdfdfdf, 0));
    FreeDib(word);
}

TEST(DibRecord, MapsButtonGreysToSystemColours) {
    void* bits = nullptr;
    DibRecord* record = CreateDib(nullptr, 2, 1, 32, &bits);
    auto* px = static_cast<DWORD*>(bits);
    px[0] = 0x7Fc0c0c0;
    px[1] = 0x12345678;
    EXPECT_TRUE(MapDibSysColors(Info(record), bits));
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(px[0], 0x7F000000u | SwapRedBlue(face));
    EXPECT_EQ(px[1], 0x12345678u);
    FreeDib(record);
    EXPECT_EQ(MapSysColor(0x808080), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(MapSysColor(0x123456), 0x123456u);
}

TEST(DibRecord, SaveWritesBitmapFileLayout) {
    std::string path = TempPath("layout.bmp");
    DeleteFileA(path.c_str());
    void* bits = nullptr;
    DibRecord* rgb = CreateDib(nullptr, 2, 2, 24, &bits);
    ASSERT_TRUE(SaveDibA(Info(rgb), nullptr, path.c_str(), FALSE));
    EXPECT_EQ(FileSize(path), 70u);
    std::vector<BYTE> file = ReadFileBytes(path);
    ASSERT_GE(file.size(), 14u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    DWORD offBits;
    memcpy(&offBits, &file[10], 4);
    EXPECT_EQ(offBits, 54u);
    // A second save without overwrite refuses; with it, the file is replaced.
    EXPECT_FALSE(SaveDibA(Info(rgb), nullptr, path.c_str(), FALSE));
    FreeDib(rgb);

    DibRecord* palette = CreateDib(nullptr, 2, 2, 8, &bits);
    ASSERT_TRUE(SaveDibA(Info(palette), bits, path.c_str(), TRUE));
    file = ReadFileBytes(path);
    memcpy(&offBits, &file[10], 4);
    EXPECT_EQ(offBits, 1078u);
    EXPECT_EQ(file.size(), 14u + 40 + 1024 + 8);
    FreeDib(palette);

    BITMAPINFOHEADER empty = {sizeof(BITMAPINFOHEADER), 0, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_FALSE(SaveDibA(reinterpret_cast<BITMAPINFO*>(&empty), bits, path.c_str(), TRUE));
    DeleteFileA(path.c_str());
}

TEST(DibRecord, FailedWriteReportsFailureAndLeavesNoFile) {
    std::string path = TempPath("failed.bmp");
    DeleteFileA(path.c_str());
    DibRecord* record = CreateDib(nullptr, 64, 64, 32, nullptr);
    ASSERT_NE(record, nullptr);
    // Pixels in reserved but not committed memory: the write of the pixel part fails.
    void* unreadable = VirtualAlloc(nullptr, 64 * 64 * 4, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(unreadable, nullptr);
    EXPECT_FALSE(SaveDibA(Info(record), unreadable, path.c_str(), TRUE));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    VirtualFree(unreadable, 0, MEM_RELEASE);
    FreeDib(record);
}

TEST(DibRecord, SavedFilesReloadThroughTheSystemLoader) {
    for (int depth : {1, 4, 8, 24, 32}) {
        void* bits = nullptr;
        DibRecord* record = CreateDib(nullptr, 13, 7, depth, &bits);
        ASSERT_NE(record, nullptr) << depth;
        FillPattern(record, bits);
        std::wstring wide;
        std::string path = TempPath(("reload" + std::to_string(depth) + ".bmp").c_str());
        wide.assign(path.begin(), path.end());
        ASSERT_TRUE(SaveDibW(Info(record), nullptr, wide.c_str(), TRUE)) << depth;

        auto* loaded = static_cast<HBITMAP>(
            LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(loaded, nullptr) << depth;
        DIBSECTION section = {};
        ASSERT_EQ(GetObjectA(loaded, sizeof(section), &section), static_cast<int>(sizeof(section)));
        EXPECT_EQ(section.dsBmih.biBitCount, depth);
        EXPECT_EQ(section.dsBmih.biWidth, 13);
        // Row padding is not part of the image: compare the bytes that hold whole pixels.
        int stride = DibStride(13, depth), used = (13 * depth) / 8;
        for (int y = 0; y < 7; ++y)
            EXPECT_EQ(memcmp(static_cast<BYTE*>(section.dsBm.bmBits) + y * stride, static_cast<BYTE*>(bits) + y * stride,
                             used),
                      0)
                << depth << " row " << y;
        if (depth <= 8) {
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, loaded);
            RGBQUAD table[256];
            UINT entries = GetDIBColorTable(dc, 0, 1u << depth, table);
            EXPECT_EQ(entries, 1u << depth);
            EXPECT_EQ(memcmp(table, record + 1, 4 * entries), 0) << depth;
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        DeleteObject(loaded);

        // The same through the bitmap handle.
        std::string viaHandle = TempPath(("handle" + std::to_string(depth) + ".bmp").c_str());
        EXPECT_TRUE(SaveBitmapFileA(GetDibBitmap(record), viaHandle.c_str(), TRUE));
        EXPECT_EQ(FileSize(viaHandle), FileSize(path)) << depth;
        DeleteFileA(viaHandle.c_str());
        DeleteFileA(path.c_str());
        FreeDib(record);
    }
}
