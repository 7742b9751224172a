// CDibImage creation, pixel formats, palettes and copies.
#include "tests/image/DibImageTestSupport.h"

TEST(DibImageCreate, RefusesBadSizesAndDepthsAndStaysEmpty) {
    CDibImage image;
    EXPECT_FALSE(image.Create(24, 32769, 1, 0));
    EXPECT_EQ(kDibErrorSize, image.lastError);
    EXPECT_EQ(0u, image.width);
    EXPECT_EQ(nullptr, image.bits);
    EXPECT_FALSE(image.Create(3, 10, 10, 0));
    EXPECT_EQ(kDibErrorDepth, image.lastError);
    EXPECT_EQ(0u, image.depth);
    // 32 bpp x 32,768 x 32,768 is 2^32 bytes: it must be refused, not wrap to a tiny block.
    EXPECT_FALSE(image.Create(32, 32768, 32768, 0));
    EXPECT_EQ(kDibErrorSize, image.lastError);
    EXPECT_EQ(0u, image.imageSize);
    EXPECT_EQ(nullptr, image.bits);
    // The empty image's accessors are harmless.
    uint8_t row[8] = {};
    image.writePixel(row, 0, 0xffffffff);
    EXPECT_EQ(0u, image.readPixel(row, 0));
    EXPECT_NE(nullptr, image.rowTo32(row, &image));
}

TEST(DibImageCreate, StridesAndLayoutConstants) {
    struct Case {
        uint32_t depth, width, stride, subMask, fillClass;
    } cases[] = {{1, 33, 8, 7, 1}, {2, 5, 4, 3, 1},  {4, 9, 8, 1, 1},   {8, 5, 8, 0, 1},  {12, 3, 8, 1, 3},
                 {15, 3, 8, 0, 2}, {16, 2, 4, 0, 2}, {24, 5, 16, 0, 3}, {32, 3, 12, 0, 4}};
    for (const Case& c : cases) {
        CDibImage image;
        ASSERT_TRUE(image.Create(c.depth, c.width, 3, 0)) << c.depth;
        EXPECT_EQ(c.stride, image.stride) << c.depth;
        EXPECT_EQ(c.stride * 3, image.imageSize);
        EXPECT_EQ(c.subMask, image.subByteMask) << c.depth;
        EXPECT_EQ(c.fillClass, image.fillClass) << c.depth;
        EXPECT_EQ(c.depth >= 12, image.trueColour != 0);
        EXPECT_EQ(c.depth >= 12 ? 0u : 1u << c.depth, image.paletteSize);
        // Row 0 is the last stored row.
        EXPECT_EQ(image.bits + 2 * image.stride, image.RowAddress(0));
        EXPECT_EQ(image.bits, image.RowAddress(2));
    }
}

TEST(DibImageCreate, HeaderFields) {
    CDibImage image;
    ASSERT_TRUE(image.Create(15, 7, 5, 0));
    const BITMAPINFOHEADER& h = image.header->bmiHeader;
    EXPECT_EQ(40u, h.biSize);
    EXPECT_EQ(7, h.biWidth);
    EXPECT_EQ(5, h.biHeight);
    EXPECT_EQ(16, h.biBitCount);
    EXPECT_EQ((DWORD)BI_BITFIELDS, h.biCompression);
    EXPECT_EQ(image.imageSize, h.biSizeImage);
    EXPECT_EQ(4705, h.biXPelsPerMeter);
    const uint32_t* masks = reinterpret_cast<const uint32_t*>(image.header->bmiColors);
    EXPECT_EQ(0x7c00u, masks[0]);
    EXPECT_EQ(0x03e0u, masks[1]);
    EXPECT_EQ(0x001fu, masks[2]);
    ASSERT_TRUE(image.Create(16, 7, 5, 0));
    EXPECT_EQ(0xf800u, masks[0]);
    EXPECT_EQ(0x07e0u, masks[1]);
    ASSERT_TRUE(image.Create(8, 7, 5, 0));
    EXPECT_EQ((DWORD)BI_RGB, h.biCompression);
    EXPECT_EQ(256u, h.biClrUsed);
    LONG rx = 0, ry = 0;
    EXPECT_TRUE(image.GetResolution(&rx, &ry));
    EXPECT_EQ(4705, rx);
    EXPECT_EQ(4705, ry);
}

TEST(DibImageCreate, DefaultPalettes) {
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 1, 1, 0));
    EXPECT_EQ(0x000000u, image.GetPaletteEntry(16, nullptr, nullptr, nullptr));
    EXPECT_EQ(0xf0f0f0u, image.GetPaletteEntry(31, nullptr, nullptr, nullptr));
    EXPECT_EQ(0x14eb6au, image.GetPaletteEntry(32, nullptr, nullptr, nullptr));
    EXPECT_EQ(0xe0f0e0u, image.GetPaletteEntry(255, nullptr, nullptr, nullptr));
    EXPECT_EQ(0xffffffu, image.GetPaletteEntry(15, nullptr, nullptr, nullptr));
    ASSERT_TRUE(image.Create(2, 1, 1, 0));
    EXPECT_EQ(0x008000u, image.GetPaletteEntry(1, nullptr, nullptr, nullptr));
    EXPECT_EQ(0x800000u, image.GetPaletteEntry(2, nullptr, nullptr, nullptr));
    EXPECT_EQ(0xffffffu, image.GetPaletteEntry(3, nullptr, nullptr, nullptr));
    ASSERT_TRUE(image.Create(1, 1, 1, 0));
    EXPECT_EQ(0xffffffu, image.GetPaletteEntry(1, nullptr, nullptr, nullptr));
    EXPECT_EQ(0u, image.GetPaletteEntry(2, nullptr, nullptr, nullptr));

    EXPECT_EQ(5, image.SetPaletteEntryRGBA(261, 1, 2, 3, 4));
    uint8_t r, g, b, a;
    EXPECT_EQ(0x04010203u, image.GetPaletteEntryRGBA(5, &r, &g, &b, &a));
    EXPECT_EQ(1, r);
    EXPECT_EQ(4, a);
    image.SetPaletteEntry(5, 9, 9, 9);
    EXPECT_EQ(0x04090909u, image.GetPaletteEntry(5, nullptr, nullptr, nullptr));
}

TEST(DibImageCreate, FillColourRules) {
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 5, 3, 0x123456));
    for (uint32_t i = 0; i < image.imageSize; ++i) ASSERT_EQ(0x56, image.bits[i]);
    ASSERT_TRUE(image.Create(4, 5, 3, 0x9));
    EXPECT_EQ(9u, image.GetPixel(4, 2));
    ASSERT_TRUE(image.Create(12, 5, 3, 0x00ff8040));
    for (int x = 0; x < 5; ++x) EXPECT_EQ(0x00f08040u, image.GetPixel(x, 1));
    ASSERT_TRUE(image.Create(32, 5, 3, 0x80112233));
    EXPECT_EQ(0x80112233u, image.GetPixel(4, 2));
}

// A heap block that held another image's rows: the bytes past the pixels come out as from zeroed memory.
TEST(DibImageCreate, RowEndsInAReusedBlockAreZero) {
    const struct { uint32_t depth, width, fill; } cases[] = {
        {24, 641, kDibNoFill}, {24, 641, 0x123456}, {1, 13, kDibNoFill}, {1, 13, 0xffffff},
        {4, 7, 0x808080}, {12, 5, 0x102030}, {15, 3, 0x00ff00}};
    for (const auto& c : cases) {
        CDibImage image, zeroed;
        ASSERT_TRUE(image.Create(c.depth, c.width, 100, kDibNoFill));
        memset(image.bits, 0xff, image.imageSize);
        const uint8_t* block = image.bits;
        ASSERT_TRUE(image.Create(c.depth, c.width, 100, c.fill)); // the same size takes its block again
        ASSERT_EQ(image.bits, block);
        std::vector<uint8_t> memory(image.imageSize);
        ASSERT_TRUE(zeroed.Create(c.depth, c.width, 100, c.fill, (uintptr_t)memory.data()));
        const size_t whole = (size_t)(c.depth == 15 ? 16 : c.depth) * c.width / 8;
        for (uint32_t y = 0; y < 100; ++y)
            ASSERT_TRUE(std::equal(image.bits + y * image.stride + whole, image.bits + (y + 1) * image.stride,
                                   memory.data() + y * image.stride + whole))
                << c.depth << " bits, " << c.width << " wide, row " << y;
    }
}

TEST(DibImageCreate, WriterReaderRoundTripAtEveryDepth) {
    std::mt19937 rng(11);
    for (uint32_t depth : AllDepths()) {
        CDibImage image;
        ASSERT_TRUE(image.Create(depth, 37, 9, kDibNoFill));
        std::vector<uint32_t> expect(37 * 9);
        for (int pass = 0; pass < 2; ++pass) {
            // Written in a scattered order so that a writer touching a neighbour shows up.
            for (int i = 0; i < 37 * 9; ++i) {
                const int k = (i * 97 + pass * 13) % (37 * 9);
                expect[k] = RandomValue(image, rng);
                image.SetPixel(k % 37, k / 37, expect[k]);
            }
            for (int k = 0; k < 37 * 9; ++k) ASSERT_EQ(expect[k], image.GetPixel(k % 37, k / 37)) << depth;
        }
    }
}

TEST(DibImageCreate, ChannelPrecisionOfTheWordDepths) {
    CDibImage image;
    ASSERT_TRUE(image.Create(16, 2, 1, 0));
    image.SetPixel(0, 0, 0x00ff8040);
    EXPECT_EQ(0x00f88040u, image.GetPixel(0, 0));
    EXPECT_EQ(0xfc08u, image.packColour(0x00ff8040));
    ASSERT_TRUE(image.Create(15, 2, 1, 0));
    image.SetPixel(0, 0, 0x00ff8040);
    EXPECT_EQ(0x00f88040u, image.GetPixel(0, 0));
    image.SetPixel(1, 0, 0x80ff8040);
    EXPECT_EQ(0x80f88040u, image.GetPixel(1, 0));
    ASSERT_TRUE(image.Create(12, 3, 1, 0));
    EXPECT_EQ(0xf84u, image.packColour(0x00ff8040));
    image.SetPixel(0, 0, 0x00ffffff);
    image.SetPixel(2, 0, 0x00ffffff);
    image.SetPixel(1, 0, 0x00123456);
    EXPECT_EQ(0x00103050u, image.GetPixel(1, 0));
    EXPECT_EQ(0x00f0f0f0u, image.GetPixel(0, 0));
    EXPECT_EQ(0x00f0f0f0u, image.GetPixel(2, 0));
}

TEST(DibImageCreate, RowConverters) {
    CDibImage image;
    ASSERT_TRUE(image.Create(4, 3, 1, 0));
    image.SetPixel(0, 0, 12);
    image.SetPixel(1, 0, 1);
    image.SetPixel(2, 0, 15);
    const uint8_t* idx = image.rowToIndex8(image.RowAddress(0), &image);
    EXPECT_EQ(12, idx[0]);
    EXPECT_EQ(15, idx[2]);
    const uint8_t* c24 = image.rowTo24(image.RowAddress(0), &image);
    EXPECT_EQ(0x00, c24[0]);
    EXPECT_EQ(0x00, c24[1]);
    EXPECT_EQ(0xff, c24[2]); // entry 12 is red
    EXPECT_EQ(0x80, c24[3]); // entry 1 is 0x000080
    const uint8_t* c32 = image.rowTo32(image.RowAddress(0), &image);
    uint32_t word;
    memcpy(&word, c32 + 8, 4);
    EXPECT_EQ(0xffffffu, word);

    ASSERT_TRUE(image.Create(24, 2, 1, 0));
    image.SetPixel(0, 0, 0x00ff0000);
    image.SetPixel(1, 0, 0x0000ff00);
    EXPECT_EQ(image.RowAddress(0), image.rowTo24(image.RowAddress(0), &image));
    EXPECT_NE(image.RowAddress(0), image.rowCopy24(image.RowAddress(0), &image));
    const uint8_t* grey = image.rowToIndex8(image.RowAddress(0), &image);
    EXPECT_EQ((76 * 255) >> 8, grey[0]);
    EXPECT_EQ((152 * 255) >> 8, grey[1]);
    memcpy(&word, image.rowTo32(image.RowAddress(0), &image) + 4, 4);
    EXPECT_EQ(0x0000ff00u, word);

    ASSERT_TRUE(image.Create(8, 3, 1, 7));
    EXPECT_EQ(image.RowAddress(0), image.rowToIndex8(image.RowAddress(0), &image));
    EXPECT_EQ(7, image.rowCopy8(image.RowAddress(0), &image)[2]);
}

TEST(DibImageCreate, CopyIsIndependentAndSelfCopyKeepsPixels) {
    std::mt19937 rng(3);
    CDibImage a = RandomImage(8, 13, 7, rng);
    a.SetPaletteColor(3, 0x123456);
    CDibImage b(a);
    EXPECT_TRUE(SameBytes(a, b));
    b.SetPixel(0, 0, (a.GetPixel(0, 0) + 1) & 255);
    b.SetPaletteColor(3, 0);
    EXPECT_NE(a.GetPixel(0, 0), b.GetPixel(0, 0));
    EXPECT_EQ(0x123456u, a.GetPaletteEntry(3, nullptr, nullptr, nullptr));

    const CDibImage before(a);
    CDibImage& alias = a;
    a = alias;
    EXPECT_TRUE(SameBytes(before, a));
    EXPECT_TRUE(a.Copy(a));
    EXPECT_TRUE(SameBytes(before, a));
    EXPECT_EQ(0x123456u, a.GetPaletteEntry(3, nullptr, nullptr, nullptr));
}

TEST(DibImageCreate, CopyOfASectionImageIsOnTheHeap) {
    CDibImage section;
    ASSERT_TRUE(section.Create(24, 10, 4, 0x00abcdef, kDibSectionPixels));
    EXPECT_NE(nullptr, section.dibSection);
    EXPECT_TRUE(section.foreignPixels);
    CDibImage copy(section);
    EXPECT_EQ(nullptr, copy.dibSection);
    EXPECT_FALSE(copy.foreignPixels);
    EXPECT_EQ(0x00abcdefu, copy.GetPixel(9, 3));
}

TEST(DibImageCreate, LastPixelOfCallerMemoryAtAPageEndIsReadable) {
    // One 24-bit row that ends exactly where an inaccessible page begins.
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    const size_t page = si.dwPageSize;
    uint8_t* block = (uint8_t*)VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(nullptr, block);
    DWORD old;
    ASSERT_TRUE(VirtualProtect(block + page, page, PAGE_NOACCESS, &old));
    const uint32_t width = 1024; // stride 3072, no padding
    uint8_t* pixels = block + page - 3 * width;
    {
        CDibImage image;
        ASSERT_TRUE(image.Create(24, width, 1, 0x00102030, (uintptr_t)pixels));
        EXPECT_EQ(0x00102030u, image.GetPixel(width - 1, 0));
        EXPECT_EQ(pixels, image.bits);
    }
    // The caller's memory survives the image.
    EXPECT_EQ(0x30, pixels[0]);
    VirtualFree(block, 0, MEM_RELEASE);
}

TEST(DibImageCreate, ResetEmptiesAndProgressCallbackCancels) {
    CDibImage image;
    ASSERT_TRUE(image.Create(32, 4, 4, 0));
    EXPECT_EQ(0, image.Reset());
    EXPECT_EQ(0u, image.width);
    EXPECT_EQ(0u, image.header->bmiHeader.biSize);
    EXPECT_EQ(0, image.Reset());

    struct Log {
        int calls = 0, lastPercent = 0;
    } log;
    image.SetProgressCallback(
        [](CDibImage*, void* context, int phase, int, int percent, bool* cancel) {
            Log* l = static_cast<Log*>(context);
            ++l->calls;
            l->lastPercent = percent;
            *cancel = phase == 2;
        },
        &log);
    image.ReportProgress(1, 2, 250);
    EXPECT_EQ(100, log.lastPercent);
    int thrown = 0;
    try {
        image.ReportProgress(2, 2, 10);
    } catch (int code) {
        thrown = code;
    }
    EXPECT_EQ(1, thrown);
    EXPECT_EQ(2, log.calls);
}
