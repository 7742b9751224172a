// CDibImage conversions: depths, palettes, grey levels, threshold, alpha masks, and sources that are
// the image itself.
#include "tests/image/DibImageTestSupport.h"

#include <functional>

TEST(DibImageConvert, ConvertDepthWritesEachPixelsColour) {
    ForRandomImages(11, 2, 5, [](uint32_t depth, CDibImage& source, std::mt19937&) {
        for (uint32_t target : {12u, 15u, 16u, 24u, 32u}) {
            CDibImage out, reference;
            ASSERT_TRUE(out.ConvertDepth(source, target));
            reference.Create(target, source.width, source.height, kDibNoFill);
            for (int i = 0; i < (int)(source.width * source.height); ++i)
                reference.SetPixel(i % (int)source.width, i / (int)source.width,
                                   PixelColour(source, i % (int)source.width, i / (int)source.width));
            ASSERT_TRUE(SamePixels(out, reference)) << depth << " -> " << target;
        }
    });
    CDibImage out, empty;
    EXPECT_FALSE(out.ConvertDepth(ImageOf(24, 1, {1}), 8));
    EXPECT_FALSE(out.ConvertDepth(empty, 24));
}

TEST(DibImageConvert, ToPaletteChoosesDepthAndNearestLowestEntry) {
    const CDibImage source = ImageOf(24, 4, {0x000000, 0x0a0a0a, 0xff0000, 0x101010});
    const uint32_t colours[6] = {0xffffff, 0x00ff00, 0x000000, 0x0000ff, 0xff00ff, 0x141414};
    CDibImage out;
    for (auto [spec, depth] : {std::pair{3u, 2u}, std::pair{0x08000003u, 8u}, std::pair{6u, 4u}}) {
        ASSERT_TRUE(out.ToPalette(source, spec, colours));
        EXPECT_EQ(out.depth, depth) << spec;
    }
    // 0x0a0a0a lies 30 from entries 2 and 5, red 255 from entries 2 and 4: the lower index wins.
    EXPECT_EQ(ValuesOf(out), (std::vector<uint32_t>{2, 2, 2, 5}));
    EXPECT_EQ(memcmp(out.palette, colours, sizeof colours), 0);
    EXPECT_FALSE(out.ToPalette(source, 0x03000004, colours)); // no 3-bit images
}

TEST(DibImageConvert, ToPaletteWithoutPaletteKeepsThisImagesOwn) {
    // This image's own 16 entries (white down to black), or for an empty image the default palette
    // of the chosen depth (black and white at 1 bit).
    CDibImage own, fresh;
    own.Create(4, 2, 2, 0);
    for (int i = 0; i < 16; ++i) own.SetPaletteColor(i, 0x111111u * (uint32_t)(15 - i));
    const CDibImage before(own), source = ImageOf(24, 3, {0xeeeeee, 0x121212, 0x000000});
    ASSERT_TRUE(own.ToPalette(source, 0, nullptr));
    ASSERT_TRUE(fresh.ToPalette(source, 2, nullptr));
    EXPECT_EQ(memcmp(own.palette, before.palette, 16 * sizeof(RGBQUAD)), 0);
    EXPECT_EQ(ValuesOf(own), (std::vector<uint32_t>{1, 14, 15}));
    EXPECT_EQ(ValuesOf(fresh), (std::vector<uint32_t>{1, 0, 0}));
}

TEST(DibImageConvert, GreyLevelsAndThreshold) {
    const CDibImage image = ImageOf(24, 4, {0xff0000, 0xffffff, 0x00ff00, 0x0000ff});
    const std::vector<uint32_t> greys = {0x4b4b4b, 0xffffff, 0x979797, 0x1c1c1c};
    CDibImage grey, index, threshold, levels = ImageOf(8, 2, {1, 2});
    ASSERT_TRUE(grey.GreyFrom(image));
    ASSERT_TRUE(index.GreyIndex8From(image));
    EXPECT_EQ(ValuesOf(grey), greys);
    EXPECT_EQ(ValuesOf(index, true), greys);
    // Grey levels 127 and 128 in a palette image; MakeGrey turns its entries grey and keeps its pixels.
    levels.SetPaletteColor(1, 0x7f7f7f);
    levels.SetPaletteColor(2, 0x808080);
    ASSERT_TRUE(threshold.Threshold1From(levels));
    EXPECT_EQ(ValuesOf(threshold), (std::vector<uint32_t>{0, 1}));
    levels.SetPaletteColor(3, 0xff0000);
    ASSERT_TRUE(levels.MakeGrey());
    EXPECT_EQ(levels.GetPixel(1, 0), 2u);
    EXPECT_EQ(levels.GetPaletteEntry(3, 0, 0, 0), 0x4b4b4bu);
}

TEST(DibImageConvert, MaskToColorModes) {
    CDibImage mask = ImageOf(8, 2, {0, 200}), out;
    mask.SetPaletteColor(0, 0x000030);
    mask.SetPaletteColor(200, 0x0000a0);
    const uint32_t expect[4][2] = {{0, 200}, {255, 55}, {0x30, 0xa0}, {0xcf, 0x5f}};
    for (int mode = 0; mode < 4; ++mode) {
        ASSERT_TRUE(out.MaskToColor(mask, mode, RGB(0x12, 0x34, 0x56)));
        for (int x = 0; x < 2; ++x) EXPECT_EQ(out.GetPixel(x, 0), 0x123456u | expect[mode][x] << 24) << mode;
    }
    EXPECT_FALSE(out.MaskToColor(ImageOf(24, 1, {0}), 0, 0));
    EXPECT_EQ(out.depth, 32u); // a rejected source leaves the image as it was
}

TEST(DibImageConvert, CompactPaletteMovesUsedEntriesToTheFront) {
    // Entries 10, 200 and 77 (a copy of 200) are used: 200 and 77 share slot 0, 10 takes slot 1.
    CDibImage image = ImageOf(8, 3, {10, 200, 77, 200, 10, 10});
    for (int i = 0; i < 256; ++i) image.SetPaletteColor(i, 0x010203u * (uint32_t)i);
    image.SetPaletteColor(77, image.GetPaletteEntry(200, 0, 0, 0));
    const CDibImage before(image);
    ASSERT_TRUE(image.CompactPalette());
    EXPECT_EQ(ValuesOf(image), (std::vector<uint32_t>{1, 0, 0, 0, 1, 1}));
    EXPECT_EQ(ValuesOf(image, true), ValuesOf(before, true));
    CDibImage truecolour = ImageOf(24, 1, {1});
    EXPECT_FALSE(truecolour.CompactPalette());
}

TEST(DibImageConvert, OperationsOnThemselvesMatchOperationsOnACopy) {
    using Op = std::function<bool(CDibImage&, const CDibImage&)>;
    const Op ops[] = {
        [](CDibImage& d, const CDibImage& s) { return d.Scale(s, 7, 3, kDibScaleSmooth); },
        [](CDibImage& d, const CDibImage& s) { return d.Scale(s, 5, 9, 0); },
        [](CDibImage& d, const CDibImage& s) { return d.ConvertDepth(s, 16); },
        [](CDibImage& d, const CDibImage& s) { return d.ToPalette(s, 0, nullptr); },
        [](CDibImage& d, const CDibImage& s) { return d.GreyFrom(s); },
        [](CDibImage& d, const CDibImage& s) { return d.GreyIndex8From(s); },
        [](CDibImage& d, const CDibImage& s) { return d.Threshold1From(s); },
        [](CDibImage& d, const CDibImage& s) { return d.MaskToColor(s, 1, 0x0000ff); },
        [](CDibImage& d, const CDibImage& s) { return d.Quantize(s); },
        [](CDibImage& d, const CDibImage& s) { return d.Filter3x3(s, 20, 24); },
        [](CDibImage& d, const CDibImage& s) {
            int cx = 3, cy = 2;
            return d.Rotate(s, 0x3000, 0, &cx, &cy, 0x123456);
        },
    };
    std::mt19937 rng(5);
    for (uint32_t depth : {4u, 8u, 24u, 32u})
        for (size_t i = 0; i < std::size(ops); ++i) {
            const CDibImage original = RandomImage(depth, 11, 6, rng);
            CDibImage self(original), expect(original);
            const bool expectResult = ops[i](expect, original);
            EXPECT_EQ(ops[i](self, self), expectResult) << "op " << i << " depth " << depth;
            EXPECT_TRUE(SamePixels(self, expect)) << "op " << i << " depth " << depth;
            EXPECT_EQ(memcmp(self.palette, expect.palette, 1024), 0) << "op " << i << " depth " << depth;
        }
}
