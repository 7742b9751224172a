// Bitmaps from packed DIBs in the current 3D system colours.
#include "image/PackedDibBitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(PackedDibBitmap, SystemGreysPremultiplyAndBitFields) {
    struct Dib32 {
        BITMAPINFOHEADER h;
        uint32_t pixels[4];
    } dib = {{sizeof(BITMAPINFOHEADER), 4, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
             {0x00808080, 0x00c0c0c0, 0x80ff0000, 0x00123456}};
    auto readBack = [](HBITMAP bitmap, int count) {
        std::vector<uint32_t> out(count);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), count, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, bitmap, 0, 1, out.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        DeleteObject(bitmap);
        return out;
    };
    auto word = [](COLORREF c) { return (uint32_t)(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); };
    std::vector<uint32_t> got = readBack(CreateBitmapFromPackedDib(&dib, kDibMapSysGreys, nullptr), 4);
    EXPECT_EQ(word(GetSysColor(COLOR_BTNSHADOW)), got[0] & 0xffffff);
    EXPECT_EQ(word(GetSysColor(COLOR_BTNFACE)), got[1] & 0xffffff);
    EXPECT_EQ(0x123456u, got[3] & 0xffffff);
    got = readBack(CreateBitmapFromPackedDib(&dib, kDibPremultiply, nullptr), 4);
    EXPECT_EQ(0x800000u, got[2] & 0xffffff); // 255 * 128 / 255
    EXPECT_EQ(0u, got[3] & 0xffffff);        // alpha 0 clears the colour
    EXPECT_EQ(0x00808080u, dib.pixels[0]);   // the caller's DIB stays as it was

    struct Dib8 {
        BITMAPINFOHEADER h;
        uint32_t colours[2];
        uint8_t pixels[4];
    } indexed = {{sizeof(BITMAPINFOHEADER), 2, 1, 1, 8, BI_RGB, 0, 0, 0, 2, 0}, {0x00dfdfdf, 0x00010203}, {0, 1}};
    got = readBack(CreateBitmapFromPackedDib(&indexed, kDibMapSysGreys, nullptr), 2);
    EXPECT_EQ(word(GetSysColor(COLOR_3DLIGHT)), got[0] & 0xffffff);
    EXPECT_EQ(0x010203u, got[1] & 0xffffff);

    // Bit-field DIBs need not state their image size: the copy still holds every row GDI reads.
    struct DibFields {
        BITMAPINFOHEADER h;
        uint32_t masks[3];
        uint32_t pixels[4];
    } fields = {{sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_BITFIELDS, 0, 0, 0, 0, 0},
                {0xff0000, 0x00ff00, 0x0000ff},
                {0x80ff0000, 0xff00ff00, 0x000000ff, 0x40808080}};
    HBITMAP premultiplied = CreateBitmapFromPackedDib(&fields, kDibPremultiply, nullptr);
    ASSERT_NE(nullptr, premultiplied);
    std::vector<uint32_t> rows(4);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(2, GetDIBits(screen, premultiplied, 0, 2, rows.data(), &info, DIB_RGB_COLORS));
    ReleaseDC(nullptr, screen);
    DeleteObject(premultiplied);
    EXPECT_EQ(0x800000u, rows[0] & 0xffffff);
    EXPECT_EQ(0x00ff00u, rows[1] & 0xffffff);
    EXPECT_EQ(0u, rows[2] & 0xffffff);
    EXPECT_EQ(0x202020u, rows[3] & 0xffffff); // 128 * 64 / 255

    dib.h.biSize = 108;
    EXPECT_EQ(nullptr, CreateBitmapFromPackedDib(&dib, 0, nullptr));
    EXPECT_EQ(nullptr, CreateBitmapFromPackedDib(nullptr, 0, nullptr));
}
