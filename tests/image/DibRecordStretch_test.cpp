// DibRecord scaling, drawing into records, single pixels and smoothing.
#include <gtest/gtest.h>

#include <vector>

#include "image/DibRecordStretch.h"

namespace {

BITMAPINFO* Info(DibRecord* record) { return reinterpret_cast<BITMAPINFO*>(record); }

struct Image32 {
    DibRecord* record;
    DWORD* bits;
    Image32(int w, int h) {
        void* p = nullptr;
        record = CreateDib(nullptr, w, h, 32, &p);
        bits = static_cast<DWORD*>(p);
    }
    ~Image32() { FreeDib(record); }
    // (x, y) from the top-left corner.
    DWORD& At(int x, int y) { return bits[(record->biHeight - 1 - y) * record->biWidth + x]; }
    BITMAPINFO* info() { return Info(record); }
};

}  // namespace

TEST(DibRecordStretch, EnlargementMapsCornerPixelsOntoCorners) {
    Image32 src(2, 2), dst(4, 4);
    src.At(0, 0) = 0xFF0000FF;
    src.At(1, 0) = 0xFF00FF00;
    src.At(0, 1) = 0xFFFF0000;
    src.At(1, 1) = 0xFFFFFFFF;
    ASSERT_TRUE(StretchDib(dst.info(), nullptr, src.info(), nullptr, 0, 0, 2, 2, 0, 0, 4, 4));
    EXPECT_EQ(dst.At(0, 0), 0xFF0000FFu);
    EXPECT_EQ(dst.At(3, 0), 0xFF00FF00u);
    EXPECT_EQ(dst.At(0, 3), 0xFFFF0000u);
    EXPECT_EQ(dst.At(3, 3), 0xFFFFFFFFu);
}

TEST(DibRecordStretch, ReductionAveragesColourOverOpaquePixelsOnly) {
    Image32 src(4, 1), dst(2, 1);
    src.At(0, 0) = 0xFFFF0000;  // opaque red
    src.At(1, 0) = 0x00000000;
    src.At(2, 0) = 0x00000000;
    src.At(3, 0) = 0xFF0000FF;  // opaque blue
    ASSERT_TRUE(StretchDib(dst.info(), nullptr, src.info(), nullptr, 0, 0, 4, 1, 0, 0, 2, 1));
    EXPECT_EQ(dst.At(0, 0), 0x7FFF0000u);
    EXPECT_EQ(dst.At(1, 0), 0x7F0000FFu);
}

TEST(DibRecordStretch, SourceWithoutAlphaCountsAsOpaqueExceptAtEqualSize) {
    Image32 src(2, 2), big(5, 5), same(2, 2);
    for (int i = 0; i < 4; ++i) src.bits[i] = 0x00336699;
    ASSERT_TRUE(StretchDib(big.info(), nullptr, src.info(), nullptr, 0, 0, 2, 2, 0, 0, 5, 5));
    for (int i = 0; i < 25; ++i) EXPECT_EQ(big.bits[i], 0xFF336699u) << i;
    ASSERT_TRUE(StretchDib(same.info(), nullptr, src.info(), nullptr, 0, 0, 2, 2, 0, 0, 2, 2));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(same.bits[i], 0x00336699u);

    Image32 dot(1, 1), wide(300, 300);
    dot.bits[0] = 0xFF102030;
    ASSERT_TRUE(StretchDib(wide.info(), nullptr, dot.info(), nullptr, 0, 0, 1, 1, 0, 0, 300, 300));
    EXPECT_EQ(wide.At(0, 0), 0xFF102030u);
    EXPECT_EQ(wide.At(299, 150), 0xFF102030u);
}

TEST(DibRecordStretch, DestinationRectangleIsCutAtTheEdge) {
    Image32 src(4, 1), dst(6, 1);
    for (int x = 0; x < 4; ++x) src.At(x, 0) = 0xFF000000 | (x * 0x40);
    for (int x = 0; x < 6; ++x) dst.At(x, 0) = 0x01010101;
    // 4 wide at x 4 leaves 2 pixels: the whole source is scaled into them.
    ASSERT_TRUE(StretchDib(dst.info(), nullptr, src.info(), nullptr, 0, 0, 4, 1, 4, 0, 4, 1));
    EXPECT_EQ(dst.At(3, 0), 0x01010101u);
    EXPECT_EQ(dst.At(4, 0), 0xFF000020u);  // mean of 0x00 and 0x40
    EXPECT_EQ(dst.At(5, 0), 0xFF0000A0u);  // mean of 0x80 and 0xC0
    EXPECT_FALSE(StretchDib(dst.info(), nullptr, src.info(), nullptr, 0, 0, 4, 1, 0, 0, 0, 1));
    EXPECT_FALSE(StretchDib(dst.info(), nullptr, src.info(), nullptr, 0, 0, 4, 1, 6, 0, 1, 1));
    void* bits = nullptr;
    DibRecord* notDeep = CreateDib(nullptr, 2, 2, 24, &bits);
    EXPECT_FALSE(StretchDib(Info(notDeep), bits, src.info(), nullptr, 0, 0, 1, 1, 0, 0, 1, 1));
    FreeDib(notDeep);
}

TEST(DibRecordStretch, PaletteSourceIsConvertedFirst) {
    void* bits = nullptr;
    DibRecord* palette = CreateDib(nullptr, 2, 1, 8, &bits);
    ASSERT_NE(palette, nullptr);
    static_cast<BYTE*>(bits)[0] = 9;   // 0x0000ff as 0x00RRGGBB
    static_cast<BYTE*>(bits)[1] = 15;  // white
    Image32 dst(4, 1);
    ASSERT_TRUE(StretchDib(dst.info(), nullptr, Info(palette), nullptr, 0, 0, 2, 1, 0, 0, 4, 1));
    EXPECT_EQ(dst.At(0, 0), 0xFF0000FFu);
    EXPECT_EQ(dst.At(3, 0), 0xFFFFFFFFu);
    FreeDib(palette);
}

TEST(DibRecordStretch, DrawsRectanglesIntoRecords) {
    Image32 src(8, 32), dst(8, 64);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 8; ++x) src.At(x, y) = 0xFF000000 | (y << 8) | x;
    for (int i = 0; i < 8 * 64; ++i) dst.bits[i] = 0xFFEEEEEE;
    // From row 10, 50 high: only 22 rows exist.
    ASSERT_TRUE(DrawDibPartIntoDib(src.info(), src.bits, 0, 0, 0, 10, 8, 50, dst.record));
    EXPECT_EQ(dst.At(3, 0) & 0xFFFFFF, (10u << 8) | 3);
    EXPECT_EQ(dst.At(3, 21) & 0xFFFFFF, (31u << 8) | 3);
    EXPECT_EQ(dst.At(3, 22), 0xFFEEEEEEu);
    EXPECT_FALSE(DrawDibPartIntoDib(src.info(), src.bits, 0, 0, 8, 0, 1, 1, dst.record));
    EXPECT_FALSE(DrawDibPartIntoDib(src.info(), nullptr, 0, 0, 0, 0, 1, 1, dst.record));

    ASSERT_TRUE(DrawDibIntoDib(src.info(), src.bits, 0, 32, dst.record));
    EXPECT_EQ(dst.At(5, 32) & 0xFFFFFF, 5u);
    EXPECT_EQ(dst.At(5, 63) & 0xFFFFFF, (31u << 8) | 5);
}

TEST(DibRecordStretch, RecordFromPartOfABitmap) {
    Image32 src(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) src.At(x, y) = (y << 8) | x;
    void* bits = nullptr;
    DibRecord* part = CreateDibFromBitmapPart(nullptr, GetDibBitmap(src.record), 3, 4, 2, 2, 0xFFFFFFFF, &bits);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->biBitCount, 32);
    EXPECT_EQ(part->biWidth, 2);
    auto* p = static_cast<DWORD*>(bits);
    EXPECT_EQ(p[2] & 0xFFFFFF, (4u << 8) | 3);  // top-left of the part
    EXPECT_EQ(p[1] & 0xFFFFFF, (5u << 8) | 4);  // bottom-right
    FreeDib(part);
    EXPECT_EQ(CreateDibFromBitmapPart(nullptr, nullptr, 0, 0, 1, 1, 32, &bits), nullptr);
}

TEST(DibRecordStretch, SetPixelWritesOnlyInsideTheImage) {
    void* bits = nullptr;
    DibRecord* four = CreateDib(nullptr, 8, 2, 4, &bits);
    auto* rows = static_cast<BYTE*>(bits);
    EXPECT_TRUE(SetDibPixel(Info(four), bits, 0x80000003, 5, 0));
    // Picture row 0 is stored row 1 (4 bytes per row): byte 2, low nibble.
    EXPECT_EQ(rows[4 + 2], 0x03);
    EXPECT_TRUE(SetDibPixel(Info(four), bits, RGB(0, 0xff, 0), 4, 0));  // 0x00ff00 is entry 10
    EXPECT_EQ(rows[4 + 2], 0xA3);
    EXPECT_FALSE(SetDibPixel(Info(four), bits, RGB(1, 2, 3), 0, 0));  // colour not in the table
    for (auto xy : {std::pair{8, 0}, std::pair{0, 2}, std::pair{-1, 0}, std::pair{0, -1}})
        EXPECT_FALSE(SetDibPixel(Info(four), bits, 0x80000001, xy.first, xy.second));
    EXPECT_EQ(rows[0] | rows[1] | rows[2] | rows[3], 0);
    FreeDib(four);

    Image32 deep(2, 2);
    EXPECT_TRUE(SetDibPixel(deep.info(), deep.bits, 0x12345678, 1, 0));
    EXPECT_EQ(deep.At(1, 0), 0x12345678u);
    EXPECT_FALSE(SetDibPixel(deep.info(), deep.bits, 0, 2, 0));
}

TEST(DibRecordStretch, SmoothingUsesOnlyTheRectangle) {
    Image32 image(3, 3);
    for (int i = 0; i < 9; ++i) image.bits[i] = 0;
    image.At(1, 1) = 0x40404040;
    // A one-pixel rectangle repeats itself all around: unchanged.
    ASSERT_TRUE(SmoothDibRect(image.info(), image.bits, 1, 1, 1, 1));
    EXPECT_EQ(image.At(1, 1), 0x40404040u);
    ASSERT_TRUE(SmoothDibRect(image.info(), image.bits, 0, 0, 3, 3));
    // Centre: 52 x 64 >> 6 = 52; an edge neighbour: 2 x 64 >> 6 = 2; a corner: 1.
    EXPECT_EQ(image.At(1, 1), 0x34343434u);
    EXPECT_EQ(image.At(1, 0), 0x02020202u);
    EXPECT_EQ(image.At(0, 0), 0x01010101u);
    EXPECT_TRUE(SmoothDibRect(image.info(), image.bits, 1, 1, 0, 5));
    EXPECT_FALSE(SmoothDibRect(image.info(), image.bits, 3, 0, 1, 1));
}
