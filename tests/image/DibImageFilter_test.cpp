// CDibImage::Filter3x3 against a plain kernel, and the colour distances.
#include "image/ColourDistance.h"
#include "tests/image/DibImageTestSupport.h"

namespace {

// The kernel applied directly: neighbours outside the image take the centre's colour.
uint32_t Filtered(const CDibImage& source, int x, int y, uint32_t total) {
    uint32_t out = 0;
    for (int s = 0; s <= 16; s += 8) {
        uint32_t sum = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const uint32_t weight = dx == 0 && dy == 0 ? total - 12 : dx == 0 || dy == 0 ? 2 : 1;
                const bool inside = source.Contains(x + dx, y + dy);
                sum += weight * ((PixelColour(source, inside ? x + dx : x, inside ? y + dy : y) >> s) & 255);
            }
        out |= (sum / total) << s;
    }
    return out;
}

} // namespace

TEST(DibImageFilter, KernelMatchesReferenceForStrengths) {
    ForRandomImages(8, 1, 6, [](uint32_t depth, CDibImage& source, std::mt19937&) {
        // Strength 0 and 11 give W = 12 (centre 0); 15 a shift by 4; 19 a division by 20; 255 a shift by 8.
        for (uint32_t strength : {0u, 11u, 15u, 19u, 0x1ffu}) {
            const uint32_t total = (strength & 255) >= 11 ? (strength & 255) + 1 : 12;
            CDibImage out;
            ASSERT_TRUE(out.Filter3x3(source, strength, 32));
            for (int i = 0; i < (int)(source.width * source.height); ++i) {
                const int x = i % (int)source.width, y = i / (int)source.width;
                ASSERT_EQ(out.GetPixel(x, y), Filtered(source, x, y, total)) << depth << " " << strength;
            }
        }
    });
    // One pixel is its own neighbourhood; no pixels or a bad depth fail and leave the image empty.
    CDibImage one = ImageOf(24, 1, {0x8090a0}), out, empty;
    ASSERT_TRUE(out.Filter3x3(one, 100, 24));
    EXPECT_EQ(out.GetPixel(0, 0), 0x8090a0u);
    EXPECT_FALSE(out.Filter3x3(empty, 20, 24));
    EXPECT_FALSE(out.Filter3x3(one, 20, 7));
    EXPECT_FALSE(out.HasPixels());
}

TEST(DibImageFilter, ColourDistances) {
    EXPECT_EQ(ColourDistanceSq(0x000000, 0x010203), 14u);
    EXPECT_EQ(ColourDistanceAbs(0x000000, 0x010203), 6u);
    EXPECT_EQ(ColourDistanceAbs(0xff00ff00, 0x0000ff00), 0u); // the fourth byte does not count
    EXPECT_EQ(ColourDistanceSq(0xffffff, 0x000000), 3u * 255 * 255);
}
