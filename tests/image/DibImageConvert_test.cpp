// CDibImage conversions: depths, palettes, grey levels, threshold, alpha masks, and sources that are
// the image itself.
#include "image/ColourDistance.h"
#include "tests/image/DibImageTestSupport.h"

#include <functional>

namespace {

// The colour a pixel shows (palette images through their palette), without the fourth byte.
uint32_t Shown(const CDibImage& image, int x, int y) {
    const uint32_t v = image.GetPixel(x, y);
    return (image.trueColour ? v : image.GetPaletteEntry((int)v, nullptr, nullptr, nullptr)) & 0xffffff;
}

CDibImage OneRow24(std::initializer_list<uint32_t> colours) {
    CDibImage image;
    image.Create(24, (uint32_t)colours.size(), 1, 0);
    int x = 0;
    for (uint32_t c : colours) image.SetPixel(x++, 0, c);
    return image;
}

} // namespace

TEST(DibImageConvert, ConvertDepthKeepsEveryColourTheTargetCanHold) {
    ForRandomImages(11, 2, 5, [](uint32_t depth, CDibImage& source, std::mt19937&) {
        for (uint32_t target : {12u, 15u, 16u, 24u, 32u}) {
            CDibImage out, reference;
            ASSERT_TRUE(out.ConvertDepth(source, target));
            ASSERT_EQ(out.depth, target);
            reference.Create(target, source.width, source.height, kDibNoFill);
            for (int y = 0; y < (int)source.height; ++y)
                for (int x = 0; x < (int)source.width; ++x) {
                    const uint32_t v = source.GetPixel(x, y);
                    reference.SetPixel(x, y, source.trueColour ? v : source.GetPaletteEntryRGBA((int)v, 0, 0, 0, 0));
                }
            ASSERT_TRUE(SamePixels(out, reference)) << depth << " -> " << target;
        }
    });
    CDibImage out, empty;
    EXPECT_FALSE(out.ConvertDepth(OneRow24({1}), 8));
    EXPECT_FALSE(out.ConvertDepth(empty, 24));
}

TEST(DibImageConvert, ToPaletteChoosesDepthAndNearestLowestEntry) {
    const CDibImage source = OneRow24({0x000000, 0x0a0a0a, 0xff0000, 0x101010});
    const uint32_t colours[6] = {0xffffff, 0x00ff00, 0x000000, 0x0000ff, 0xff00ff, 0x141414};
    CDibImage out;
    ASSERT_TRUE(out.ToPalette(source, 3, colours));
    EXPECT_EQ(out.depth, 2u);
    ASSERT_TRUE(out.ToPalette(source, 0x08000003, colours));
    EXPECT_EQ(out.depth, 8u);
    ASSERT_TRUE(out.ToPalette(source, 6, colours));
    EXPECT_EQ(out.depth, 4u);
    // 0x0a0a0a lies 30 from entries 2 and 5, red 255 from entries 2 and 4: the lower index wins.
    const uint32_t expect[4] = {2, 2, 2, 5};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(out.GetPixel(x, 0), expect[x]) << x;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(out.GetPaletteEntry(i, 0, 0, 0), colours[i]);
    EXPECT_FALSE(out.ToPalette(source, 0x03000004, colours)); // no 3-bit images
}

TEST(DibImageConvert, ToPaletteWithoutPaletteKeepsThisImagesOwn) {
    CDibImage out;
    out.Create(4, 2, 2, 0);
    for (int i = 0; i < 16; ++i) out.SetPaletteColor(i, 0x111111u * (uint32_t)(15 - i));
    const CDibImage source = OneRow24({0xeeeeee, 0x121212, 0x000000});
    ASSERT_TRUE(out.ToPalette(source, 0, nullptr));
    ASSERT_EQ(out.depth, 4u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(out.GetPaletteEntry(i, 0, 0, 0), 0x111111u * (uint32_t)(15 - i));
    EXPECT_EQ(out.GetPixel(0, 0), 1u);
    EXPECT_EQ(out.GetPixel(1, 0), 14u);
    EXPECT_EQ(out.GetPixel(2, 0), 15u);
    // An empty image maps to the default palette of the chosen depth.
    CDibImage fresh;
    ASSERT_TRUE(fresh.ToPalette(source, 2, nullptr));
    EXPECT_EQ(fresh.depth, 1u);
    EXPECT_EQ(fresh.GetPixel(0, 0), 1u);
    EXPECT_EQ(fresh.GetPixel(2, 0), 0u);
}

TEST(DibImageConvert, GreyLevelsAndThreshold) {
    CDibImage image = OneRow24({0xff0000, 0xffffff, 0x00ff00, 0x0000ff});
    CDibImage grey, index, threshold;
    ASSERT_TRUE(grey.GreyFrom(image));
    const uint32_t greys[4] = {0x4b4b4b, 0xffffff, 0x979797, 0x1c1c1c};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(grey.GetPixel(x, 0), greys[x]);
    ASSERT_TRUE(index.GreyIndex8From(image));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(index.GetPixel(x, 0), greys[x] & 255);
    EXPECT_EQ(index.GetPaletteEntryRGBA(200, 0, 0, 0, 0), 0xc8c8c8u);
    // Grey levels 127 and 128 (a palette image: its pixels stay, its entries turn grey).
    CDibImage levels;
    levels.Create(8, 2, 1, 0);
    levels.SetPaletteColor(1, 0x7f7f7f);
    levels.SetPaletteColor(2, 0x808080);
    levels.SetPixel(0, 0, 1);
    levels.SetPixel(1, 0, 2);
    ASSERT_TRUE(threshold.Threshold1From(levels));
    EXPECT_EQ(threshold.GetPixel(0, 0), 0u);
    EXPECT_EQ(threshold.GetPixel(1, 0), 1u);
    levels.SetPaletteColor(3, 0xff0000);
    ASSERT_TRUE(levels.MakeGrey());
    EXPECT_EQ(levels.GetPixel(1, 0), 2u);
    EXPECT_EQ(levels.GetPaletteEntry(3, 0, 0, 0), 0x4b4b4bu);
}

TEST(DibImageConvert, MaskToColorModes) {
    CDibImage mask, out;
    mask.Create(8, 2, 1, 0);
    mask.SetPixel(1, 0, 200);
    mask.SetPaletteColor(0, 0x000030);
    mask.SetPaletteColor(200, 0x0000a0);
    const uint32_t expect[4][2] = {{0, 200}, {255, 55}, {0x30, 0xa0}, {0xcf, 0x5f}};
    for (int mode = 0; mode < 4; ++mode) {
        ASSERT_TRUE(out.MaskToColor(mask, mode, RGB(0x12, 0x34, 0x56)));
        for (int x = 0; x < 2; ++x) EXPECT_EQ(out.GetPixel(x, 0), 0x123456u | expect[mode][x] << 24) << mode;
    }
    // A rejected source leaves the image as it was.
    EXPECT_FALSE(out.MaskToColor(OneRow24({0}), 0, 0));
    EXPECT_EQ(out.depth, 32u);
}

TEST(DibImageConvert, CompactPaletteMovesUsedEntriesToTheFront) {
    CDibImage image;
    image.Create(8, 3, 2, 0);
    for (int i = 0; i < 256; ++i) image.SetPaletteColor(i, 0x010203u * (uint32_t)i);
    image.SetPaletteColor(77, image.GetPaletteEntry(200, 0, 0, 0)); // a duplicate of 200
    const uint8_t pixels[6] = {10, 200, 77, 200, 10, 10};
    for (int i = 0; i < 6; ++i) image.SetPixel(i % 3, i / 3, pixels[i]);
    const CDibImage before(image);
    ASSERT_TRUE(image.CompactPalette());
    const uint8_t expect[6] = {1, 0, 0, 0, 1, 1};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(image.GetPixel(i % 3, i / 3), expect[i]) << i;
        EXPECT_EQ(Shown(image, i % 3, i / 3), Shown(before, i % 3, i / 3)) << i;
    }
    CDibImage truecolour = OneRow24({1});
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
            CDibImage self(original), other(original), expect(original);
            const bool expectResult = ops[i](expect, original);
            EXPECT_EQ(ops[i](self, self), expectResult) << "op " << i << " depth " << depth;
            EXPECT_TRUE(SamePixels(self, expect)) << "op " << i << " depth " << depth;
            EXPECT_EQ(memcmp(self.palette, expect.palette, 1024), 0) << "op " << i << " depth " << depth;
        }
}
