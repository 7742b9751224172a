// CDibImage composition against plain pixel-by-pixel references.
#include "tests/image/DibImageTestSupport.h"

namespace {

uint32_t LoadPalette(const CDibImage& image, uint32_t index) {
    return image.GetPaletteEntry((int)(index & image.valueMask), nullptr, nullptr, nullptr);
}

// What Put with flags 0 writes for one source value.
uint32_t PutValue(const CDibImage& dest, const CDibImage& source, uint32_t s) {
    if (!dest.trueColour) return s;
    uint32_t v = source.trueColour ? s : LoadPalette(source, s);
    if (dest.depth == 32 && source.depth <= 24) v |= 0xff000000;
    return v;
}

// The pixel values of row y, left to right.
std::vector<uint32_t> Row(const CDibImage& image, int y = 0) {
    std::vector<uint32_t> row;
    for (int x = 0; x < (int)image.width; ++x) row.push_back(image.GetPixel(x, y));
    return row;
}

} // namespace

TEST(DibImageCompose, PutMatchesPixelReferenceForEveryDepthPair) {
    std::mt19937 rng(7);
    for (uint32_t dd : AllDepths()) {
        for (uint32_t sd : AllDepths()) {
            for (int round = 0; round < 12; ++round) {
                const uint32_t dw = 1 + rng() % 40, dh = 1 + rng() % 6, sw = 1 + rng() % 40, sh = 1 + rng() % 6;
                CDibImage dest = RandomImage(dd, dw, dh, rng), source = RandomImage(sd, sw, sh, rng);
                for (int i = 0; i < 256; ++i) source.SetPaletteColor(i, rng());
                const int x = (int)(rng() % (dw + sw)) - (int)sw, y = (int)(rng() % (dh + sh)) - (int)sh;
                CDibImage expect(dest);
                bool expectAny = false;
                for (int sy = 0; sy < (int)sh; ++sy)
                    for (int sx = 0; sx < (int)sw; ++sx)
                        if (expect.Contains(x + sx, y + sy)) {
                            expect.SetPixel(x + sx, y + sy, PutValue(dest, source, source.GetPixel(sx, sy)));
                            expectAny = true;
                        }
                ASSERT_EQ(expectAny, dest.Put(source, x, y, 0));
                ASSERT_TRUE(SameBytes(expect, dest)) << sd << " -> " << dd << " at " << x << "," << y << " src "
                                                     << sw << "x" << sh << " dst " << dw << "x" << dh;
            }
        }
    }
}

TEST(DibImageCompose, PutEdgeCases) {
    CDibImage source, dest;
    ASSERT_TRUE(source.Create(32, 10, 10, 0));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) source.SetPixel(x, y, (uint32_t)(y * 10 + x));
    ASSERT_TRUE(dest.Create(32, 20, 20, 0xffffffff));
    EXPECT_TRUE(dest.Put(source, -5, -5));
    EXPECT_EQ(55u, dest.GetPixel(0, 0));
    EXPECT_EQ(99u, dest.GetPixel(4, 4));
    EXPECT_EQ(0xffffffffu, dest.GetPixel(5, 0));
    EXPECT_FALSE(dest.Put(source, 20, 0));
    EXPECT_FALSE(dest.Put(source, -10, 0));
    EXPECT_TRUE(dest.Put(source, -9, 19));

    CDibImage rgb;
    ASSERT_TRUE(rgb.Create(24, 2, 1, 0x00123456));
    EXPECT_TRUE(dest.Put(rgb, 0, 0));
    EXPECT_EQ(0xff123456u, dest.GetPixel(1, 0));
    CDibImage rgb2;
    ASSERT_TRUE(rgb2.Create(24, 2, 1, 0));
    EXPECT_TRUE(rgb2.Put(rgb, 0, 0));
    EXPECT_EQ(0x00123456u, rgb2.GetPixel(1, 0));

    CDibImage idx8, idx4;
    ASSERT_TRUE(idx8.Create(8, 2, 1, 0xab));
    ASSERT_TRUE(idx4.Create(4, 2, 1, 0));
    EXPECT_TRUE(idx4.Put(idx8, 0, 0));
    EXPECT_EQ(0xbu, idx4.GetPixel(0, 0));

    // An image drawn into itself reads the picture as it was.
    CDibImage self;
    ASSERT_TRUE(self.Create(8, 6, 1, 0));
    for (int x = 0; x < 6; ++x) self.SetPixel(x, 0, (uint32_t)x + 1);
    EXPECT_TRUE(self.Put(self, 2, 0));
    EXPECT_EQ(1u, self.GetPixel(2, 0));
    EXPECT_EQ(4u, self.GetPixel(5, 0));
}

TEST(DibImageCompose, PutFlagTests) {
    CDibImage source, dest;
    ASSERT_TRUE(source.Create(32, 3, 1, 0));
    source.SetPixel(0, 0, 0x00ff00ff); // the key
    source.SetPixel(1, 0, 0x40000001); // bit 30 set
    source.SetPixel(2, 0, 0x00000002);
    ASSERT_TRUE(dest.Create(32, 3, 1, 0x11111111));
    EXPECT_TRUE(dest.Put(source, 0, 0, kPutSkipSourceKey | 0xff00ff));
    EXPECT_EQ(0x11111111u, dest.GetPixel(0, 0));
    EXPECT_EQ(0x40000001u, dest.GetPixel(1, 0));
    dest.FillRect(0, 0, 3, 1, 0x11111111);
    EXPECT_TRUE(dest.Put(source, 0, 0, kPutSkipSourceBit30));
    EXPECT_EQ(0x00ff00ffu, dest.GetPixel(0, 0));
    EXPECT_EQ(0x11111111u, dest.GetPixel(1, 0));
    // Destination pixels equal to the key stay, others change.
    dest.SetPixel(1, 0, 0x00abcdef);
    EXPECT_TRUE(dest.Put(source, 0, 0, kPutKeepDestKey | 0xabcdef));
    EXPECT_EQ(0x00abcdefu, dest.GetPixel(1, 0));
    EXPECT_EQ(0x00000002u, dest.GetPixel(2, 0));
    // The key is compared at the destination's precision.
    CDibImage dest16;
    ASSERT_TRUE(dest16.Create(16, 3, 1, 0x00ffffff));
    EXPECT_TRUE(dest16.Put(source, 0, 0, kPutKeepDestKey | 0xffffff));
    EXPECT_EQ(0x00f8fcf8u, dest16.GetPixel(2, 0));
    // Bit-30 tests make no sense on a 24-bit destination and are dropped.
    CDibImage dest24;
    ASSERT_TRUE(dest24.Create(24, 3, 1, 0));
    EXPECT_TRUE(dest24.Put(source, 0, 0, kPutKeepDestBit30));
    EXPECT_EQ(0x00000001u, dest24.GetPixel(1, 0));
    // Palette images compare indices.
    CDibImage p8, p8dest;
    ASSERT_TRUE(p8.Create(8, 2, 1, 0));
    p8.SetPixel(0, 0, 5);
    p8.SetPixel(1, 0, 6);
    ASSERT_TRUE(p8dest.Create(8, 2, 1, 9));
    EXPECT_TRUE(p8dest.Put(p8, 0, 0, kPutSkipSourceKey | 5));
    EXPECT_EQ(9u, p8dest.GetPixel(0, 0));
    EXPECT_EQ(6u, p8dest.GetPixel(1, 0));
}

TEST(DibImageCompose, CropFromMatchesPixelReferenceAtEveryDepth) {
    ForRandomImages(9, 40, 6, [](uint32_t depth, CDibImage& source, std::mt19937& rng) {
        const int w = (int)source.width, h = (int)source.height;
        source.SetPaletteColor(1, 0x123456);
        const int x = (int)(rng() % (w + 10)) - 5, y = (int)(rng() % (h + 4)) - 2;
        const int cw = (int)(rng() % 30) - 10, ch = (int)(rng() % 8) - 3;
        CDibImage crop;
        ASSERT_TRUE(crop.CropFrom(source, x, y, cw, ch));
        ASSERT_EQ((uint32_t)std::abs(cw), crop.width);
        ASSERT_EQ((uint32_t)std::abs(ch), crop.height);
        ASSERT_EQ(depth, crop.depth);
        const int left = cw >= 0 ? x : x + cw + 1, top = ch >= 0 ? y : y + ch + 1;
        for (int cy = 0; cy < (int)crop.height; ++cy)
            for (int cx = 0; cx < (int)crop.width; ++cx) {
                const int sx = left + cx, sy = top + cy;
                const uint32_t expect = source.Contains(sx, sy) ? source.GetPixel(sx, sy) : 0;
                ASSERT_EQ(expect, crop.GetPixel(cx, cy)) << "depth " << depth << " crop " << x << "," << y << " "
                                                         << cw << "x" << ch << " at " << cx << "," << cy;
            }
        if (crop.paletteSize) {
            EXPECT_EQ(0x123456u, crop.GetPaletteEntry(1, nullptr, nullptr, nullptr));
        }
    });
}

TEST(DibImageCompose, CropFromEdgeCases) {
    CDibImage source, crop;
    ASSERT_TRUE(source.Create(8, 20, 3, 0));
    for (int x = 0; x < 20; ++x) source.SetPixel(x, 1, (uint32_t)x);
    ASSERT_TRUE(crop.CropFrom(source, 10, 1, -3, 1));
    EXPECT_EQ(3u, crop.width);
    EXPECT_EQ(8u, crop.GetPixel(0, 0));
    EXPECT_EQ(10u, crop.GetPixel(2, 0));
    // Cropping an image from itself.
    ASSERT_TRUE(source.CropFrom(source, 5, 1, 4, 1));
    EXPECT_EQ(4u, source.width);
    EXPECT_EQ(8u, source.GetPixel(3, 0));
    CDibImage empty;
    EXPECT_FALSE(crop.CropFrom(empty, 0, 0, 3, 3));
    EXPECT_EQ(0u, crop.width);
}

TEST(DibImageCompose, MoveRectMatchesPixelReferenceAtEveryDepth) {
    ForRandomImages(13, 60, 8, [](uint32_t depth, CDibImage& image, std::mt19937& rng) {
        const int w = (int)image.width, h = (int)image.height;
        const CDibImage snapshot(image);
        CDibImage expect(image);
        const int x = (int)(rng() % (w + 6)) - 3, y = (int)(rng() % (h + 4)) - 2;
        int mw = (int)(rng() % (w + 4)) - 2, mh = (int)(rng() % (h + 2)) - 1;
        if (mw == 0) mw = 1;
        if (mh == 0) mh = 1;
        const int toX = (int)(rng() % (w + 6)) - 3, toY = rng() % 3 ? (int)(rng() % (h + 4)) - 2 : y;
        const int left = mw > 0 ? x : x + mw + 1, top = mh > 0 ? y : y + mh + 1;
        for (int ry = 0; ry < std::abs(mh); ++ry)
            for (int rx = 0; rx < std::abs(mw); ++rx)
                if (snapshot.Contains(left + rx, top + ry) && expect.Contains(toX + rx, toY + ry))
                    expect.SetPixel(toX + rx, toY + ry, snapshot.GetPixel(left + rx, top + ry));
        image.MoveRect(x, y, mw, mh, toX, toY);
        ASSERT_TRUE(SameBytes(expect, image)) << "depth " << depth << " move " << x << "," << y << " " << mw << "x"
                                              << mh << " to " << toX << "," << toY;
    });
}

TEST(DibImageCompose, ScrollMatchesPixelReferenceAtEveryDepth) {
    ForRandomImages(17, 60, 8, [](uint32_t depth, CDibImage& image, std::mt19937& rng) {
        const int w = (int)image.width, h = (int)image.height;
        const CDibImage snapshot(image);
        CDibImage expect(image);
        const int dx = (int)(rng() % (2 * w + 1)) - w, dy = (int)(rng() % (2 * h + 1)) - h;
        const bool fill = rng() % 4 != 0;
        const uint32_t colour = RandomValue(image, rng);
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx) {
                if (snapshot.Contains(xx - dx, yy - dy)) expect.SetPixel(xx, yy, snapshot.GetPixel(xx - dx, yy - dy));
                else if (fill && (dx || dy)) expect.SetPixel(xx, yy, colour);
            }
        image.Scroll(dx, dy, fill ? colour : kDibNoFill);
        ASSERT_TRUE(SamePixels(expect, image)) << "depth " << depth << " scroll " << dx << "," << dy;
    });
}

TEST(DibImageCompose, ScrollAndMoveEdgeCases) {
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 10, 10, 0));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) image.SetPixel(x, y, (uint32_t)(y * 10 + x));
    CDibImage right(image);
    right.Scroll(3, 0, 200);
    EXPECT_EQ(200u, right.GetPixel(2, 5));
    EXPECT_EQ(50u, right.GetPixel(3, 5));
    CDibImage up(image);
    up.Scroll(0, -4, 201);
    EXPECT_EQ(40u, up.GetPixel(0, 0));
    EXPECT_EQ(201u, up.GetPixel(0, 6));
    EXPECT_EQ(201u, up.GetPixel(9, 9));
    up.Scroll(0, 10, 7);
    EXPECT_EQ(7u, up.GetPixel(5, 5));
    EXPECT_FALSE(image.MoveRect(0, 0, 0, 3, 1, 1));
    EXPECT_TRUE(image.MoveRect(2, 2, 3, 3, 2, 2));
    EXPECT_FALSE(image.MoveRect(12, 0, 3, 3, 0, 0));
    EXPECT_FALSE(image.MoveRect(0, 0, 3, 3, 10, 0));
}

TEST(DibImageCompose, TransformFromTurnsAndMirrors) {
    CDibImage source, turned;
    ASSERT_TRUE(source.Create(8, 3, 2, 0));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) source.SetPixel(x, y, (uint32_t)(y * 3 + x));
    ASSERT_TRUE(turned.TransformFrom(source, 1, 0, 0));
    EXPECT_EQ(2u, turned.width);
    EXPECT_EQ(3u, turned.height);
    // Top row: the source's left column read from bottom to top.
    EXPECT_EQ(3u, turned.GetPixel(0, 0));
    EXPECT_EQ(0u, turned.GetPixel(1, 0));

    std::mt19937 rng(19);
    for (uint32_t depth : {1u, 12u, 24u}) {
        CDibImage image = RandomImage(depth, 7, 4, rng);
        for (int turn = 0; turn < 8; ++turn) {
            for (int mirror = 0; mirror < 4; ++mirror) {
                ASSERT_TRUE(turned.TransformFrom(image, turn, mirror & 1, mirror & 2));
                const int W = 7, H = 4, tw = (int)turned.width, th = (int)turned.height;
                for (int y = 0; y < H; ++y)
                    for (int x = 0; x < W; ++x) {
                        int tx, ty;
                        switch (turn & 3) {
                        case 0: tx = x, ty = y; break;
                        case 1: tx = H - 1 - y, ty = x; break;
                        case 2: tx = W - 1 - x, ty = H - 1 - y; break;
                        default: tx = y, ty = W - 1 - x; break;
                        }
                        if (mirror & 1) ty = th - 1 - ty;
                        if (mirror & 2) tx = tw - 1 - tx;
                        ASSERT_EQ(image.GetPixel(x, y), turned.GetPixel(tx, ty));
                    }
            }
        }
        CDibImage copy(image);
        ASSERT_TRUE(copy.TransformFrom(copy, 2, 0, 0));
        EXPECT_EQ(image.GetPixel(0, 0), copy.GetPixel(6, 3));
    }
}

TEST(DibImageCompose, AlphaPut) {
    CDibImage source;
    ASSERT_TRUE(source.Create(32, 3, 1, 0));
    source.SetPixel(0, 0, 0x00ffffff); // alpha 0: leaves the destination
    source.SetPixel(1, 0, 0x80ffffff);
    source.SetPixel(2, 0, 0xffff0000);

    // Destinations below 32 bits have no alpha of their own: they are opaque and get blended.
    for (uint32_t depth : {24u, 16u, 12u}) {
        CDibImage dest;
        ASSERT_TRUE(dest.Create(depth, 3, 1, 0));
        EXPECT_TRUE(dest.AlphaPut(source, 0, 0)) << depth;
        EXPECT_EQ(0u, dest.GetPixel(0, 0));
        EXPECT_EQ(dest.GetPixel(1, 0), dest.GetPixel(1, 0) & 0x808080) << depth; // half, not full white
        EXPECT_NE(0u, dest.GetPixel(1, 0));
        EXPECT_EQ(0x00ff0000u & dest.significantBits, dest.GetPixel(2, 0));
    }
    CDibImage dest24;
    ASSERT_TRUE(dest24.Create(24, 3, 1, 0));
    dest24.AlphaPut(source, 0, 0);
    EXPECT_EQ(0x00808080u, dest24.GetPixel(1, 0)); // (255 * 129) >> 8

    CDibImage dest32;
    ASSERT_TRUE(dest32.Create(32, 3, 1, 0));
    dest32.SetPixel(1, 0, 0xff000000);
    dest32.SetPixel(2, 0, 0x00000000);
    EXPECT_TRUE(dest32.AlphaPut(source, 0, 0));
    EXPECT_EQ(0xff808080u, dest32.GetPixel(1, 0));
    EXPECT_EQ(0xffff0000u, dest32.GetPixel(2, 0)); // an empty layer takes the source
    dest32.SetPixel(1, 0, 0x40000000);
    dest32.AlphaPut(source, 0, 0);
    // alpha (128 * 129 + 64 * 128) >> 8 = 96
    EXPECT_EQ(0x60808080u, dest32.GetPixel(1, 0));

    CDibImage idx;
    ASSERT_TRUE(idx.Create(8, 3, 1, 0));
    EXPECT_FALSE(idx.AlphaPut(source, 0, 0));
    EXPECT_FALSE(dest32.AlphaPut(dest24, 0, 0));
}

TEST(DibImageCompose, AlphaBlendPut) {
    CDibImage dest;
    ASSERT_TRUE(dest.Create(32, 2, 1, 0xff000000));
    CDibImage rgb;
    ASSERT_TRUE(rgb.Create(24, 2, 1, 0x00ffffff));
    EXPECT_TRUE(dest.AlphaBlendPut(rgb, 0, 0));
    EXPECT_EQ(0xff000000u, dest.GetPixel(0, 0));
    CDibImage argb;
    ASSERT_TRUE(argb.Create(32, 2, 1, 0x80ffffff));
    argb.SetPixel(1, 0, 0xff102030);
    EXPECT_TRUE(dest.AlphaBlendPut(argb, 0, 0));
    EXPECT_EQ(0xff808080u, dest.GetPixel(0, 0));
    EXPECT_EQ(0xff102030u, dest.GetPixel(1, 0));

    CDibImage idx;
    ASSERT_TRUE(idx.Create(4, 2, 1, 0));
    idx.SetPixel(1, 0, 1);
    idx.SetPaletteColor(1, 0x80ffffff);
    ASSERT_TRUE(dest.Create(32, 2, 1, 0x00000000));
    EXPECT_TRUE(dest.AlphaBlendPut(idx, 0, 0));
    EXPECT_EQ(0xff000000u, dest.GetPixel(0, 0)); // entry 0 has alpha 0: the pixel becomes opaque
    EXPECT_EQ(0xff808080u, dest.GetPixel(1, 0));
    EXPECT_FALSE(idx.AlphaBlendPut(argb, 0, 0));
}

TEST(DibImageCompose, MaskedPut) {
    CDibImage source, mask, dest;
    ASSERT_TRUE(source.Create(8, 4, 2, 0));
    for (int x = 0; x < 4; ++x) source.SetPixel(x, 0, (uint32_t)x + 1), source.SetPixel(x, 1, (uint32_t)x + 5);
    ASSERT_TRUE(mask.Create(1, 4, 2, 0));
    mask.SetPixel(1, 0, 1);
    ASSERT_TRUE(dest.Create(24, 6, 3, 0x00ffffff));
    EXPECT_TRUE(dest.MaskedPut(source, 1, 1, mask));
    EXPECT_EQ(source.GetPaletteEntry(1, nullptr, nullptr, nullptr), dest.GetPixel(1, 1));
    EXPECT_EQ(0x00ffffffu, dest.GetPixel(2, 1)); // masked
    EXPECT_EQ(source.GetPaletteEntry(8, nullptr, nullptr, nullptr), dest.GetPixel(4, 2));
    // Clipped at the left: the mask is read at the source's own columns.
    ASSERT_TRUE(dest.Create(8, 6, 3, 0));
    EXPECT_TRUE(dest.MaskedPut(source, -1, 0, mask));
    EXPECT_EQ(0u, dest.GetPixel(0, 0)); // source column 1 is masked
    EXPECT_EQ(3u, dest.GetPixel(1, 0));
    // A mask smaller than the source is refused.
    CDibImage small;
    ASSERT_TRUE(small.Create(1, 3, 2, 0));
    EXPECT_FALSE(dest.MaskedPut(source, 0, 0, small));
    ASSERT_TRUE(small.Create(1, 4, 1, 0));
    EXPECT_FALSE(dest.MaskedPut(source, 0, 0, small));
}

TEST(DibImageCompose, AlphaHelpers) {
    CDibImage image;
    ASSERT_TRUE(image.Create(32, 3, 2, 0xff000000));
    EXPECT_TRUE(image.HasAlpha());
    EXPECT_EQ(1, image.GetAlphaKind());
    EXPECT_TRUE(image.SetAlpha(0));
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_EQ(0, image.GetAlphaKind());
    image.SetPixel(2, 1, 0x80000000);
    EXPECT_TRUE(image.HasAlpha());
    EXPECT_EQ(2, image.GetAlphaKind());
    image.SetAlpha(255);
    image.SetPixel(0, 0, 0x00000000);
    EXPECT_EQ(2, image.GetAlphaKind());

    image.SetPixel(0, 0, 0x80000000);
    image.SetPixel(1, 0, 0x00123456);
    image.SetPixel(2, 0, 0xff123456);
    EXPECT_TRUE(image.FlattenAlpha(0x00ffffff));
    EXPECT_EQ(0xff7f7f7fu, image.GetPixel(0, 0));
    EXPECT_EQ(0xffffffffu, image.GetPixel(1, 0));
    EXPECT_EQ(0xff123456u, image.GetPixel(2, 0));

    CDibImage idx;
    ASSERT_TRUE(idx.Create(2, 3, 1, 0));
    EXPECT_FALSE(idx.SetAlpha(1));
    EXPECT_FALSE(idx.HasAlpha());
    EXPECT_FALSE(idx.FlattenAlpha(0));
    EXPECT_EQ(0, idx.GetAlphaKind());
    for (int i = 0; i < 4; ++i) idx.SetPaletteEntryRGBA(i, 0, 0, 0, 255);
    EXPECT_EQ(1, idx.GetAlphaKind());
}

TEST(DibImageCompose, ClippedWordPathsAndSelfSources) {
    // A keyed 32-bit put and a 32-bit alpha put cut at the left take the source from its second column.
    CDibImage source, dest;
    ASSERT_TRUE(source.Create(32, 3, 1, 0));
    source.SetPixel(0, 0, 0xff111111);
    source.SetPixel(1, 0, 0xff222222);
    source.SetPixel(2, 0, 0x00000000); // the key (and alpha 0)
    ASSERT_TRUE(dest.Create(32, 3, 1, 0xff999999));
    const std::vector<uint32_t> expected = {0xff222222, 0xff999999, 0xff999999};
    EXPECT_TRUE(dest.Put(source, -1, 0, kPutSkipSourceKey));
    EXPECT_EQ(expected, Row(dest));
    dest.FillRect(0, 0, 3, 1, 0xff999999);
    EXPECT_TRUE(dest.AlphaPut(source, -1, 0));
    EXPECT_EQ(expected, Row(dest));

    // A 15-bit destination keeps its top bit under a blend.
    CDibImage dest15;
    ASSERT_TRUE(dest15.Create(15, 1, 1, 0x80000000));
    CDibImage half;
    ASSERT_TRUE(half.Create(32, 1, 1, 0x80ffffff));
    EXPECT_TRUE(dest15.AlphaPut(half, 0, 0));
    EXPECT_EQ(0x80808080u, dest15.GetPixel(0, 0));

    // Every composition reads a source that is the image itself as it was before.
    CDibImage self;
    ASSERT_TRUE(self.Create(32, 3, 1, 0));
    for (int x = 0; x < 3; ++x) self.SetPixel(x, 0, 0xff000000u | (uint32_t)(x + 1));
    EXPECT_TRUE(self.AlphaPut(self, 1, 0));
    EXPECT_EQ((std::vector<uint32_t>{0xff000001, 0xff000001, 0xff000002}), Row(self));
    EXPECT_TRUE(self.AlphaBlendPut(self, -1, 0));
    EXPECT_EQ((std::vector<uint32_t>{0xff000001, 0xff000002, 0xff000002}), Row(self));
    CDibImage bits;
    ASSERT_TRUE(bits.Create(1, 3, 1, 0));
    bits.SetPixel(1, 0, 1);
    bits.SetPixel(2, 0, 1);
    EXPECT_TRUE(bits.MaskedPut(bits, 1, 0, bits)); // only the pixels that are 0 are copied, one step right
    // Source pixel 1 is masked: the pixel it would cover keeps its value.
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 1}), Row(bits));
}
