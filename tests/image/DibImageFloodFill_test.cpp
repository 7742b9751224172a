// CDibImage flood fill against a plain 4-connected search, and the fills that must end.
#include "tests/image/DibImageTestSupport.h"

#include <deque>

namespace {

// The 4-connected region of the seed's value.
Points Region(const CDibImage& image, int x, int y) {
    const uint32_t value = image.GetPixel(x, y);
    Points seen = {{x, y}};
    std::deque<std::pair<int, int>> queue = {{x, y}};
    while (!queue.empty()) {
        auto [px, py] = queue.front();
        queue.pop_front();
        for (auto [nx, ny] : {std::make_pair(px - 1, py), std::make_pair(px + 1, py), std::make_pair(px, py - 1),
                              std::make_pair(px, py + 1)})
            if (image.Contains(nx, ny) && !seen.count({nx, ny}) && image.GetPixel(nx, ny) == value) {
                seen.insert({nx, ny});
                queue.push_back({nx, ny});
            }
    }
    return seen;
}

int g_plots;
void CountOnly(CDibImage*, uint8_t*, int, int, uint32_t) { ++g_plots; }

} // namespace

TEST(DibImageFloodFill, FillsExactlyTheRegionAtEveryDepth) {
    std::mt19937 rng(116);
    for (uint32_t depth : AllDepths())
        for (int round = 0; round < 12; ++round) {
            const int w = 1 + rng() % 40, h = 1 + rng() % 30;
            CDibImage image;
            ASSERT_TRUE(image.Create(depth, w, h, 0));
            // Two values in noise: regions of every shape, many touching the edges.
            const uint32_t a = RandomValue(image, rng), b = RandomValue(image, rng) ^ 1;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) image.SetPixel(x, y, rng() % 3 ? a : b);
            const int sx = rng() % w, sy = rng() % h;
            const Points region = Region(image, sx, sy);
            CDibImage before(image);
            uint32_t fill = RandomValue(image, rng);
            while (fill == image.GetPixel(sx, sy)) fill = RandomValue(image, rng);
            EXPECT_TRUE(image.FloodFill(sx, sy, fill));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    EXPECT_EQ(region.count({x, y}) ? fill : before.GetPixel(x, y), image.GetPixel(x, y))
                        << depth << " " << x << "," << y;
            // The callback form visits the same pixels once each, even when it leaves them as they were.
            g_plots = 0;
            EXPECT_TRUE(before.FloodFillCallback(sx, sy, fill, CountOnly, nullptr, kDibRegionAtSeed));
            EXPECT_EQ((int)region.size(), g_plots) << depth;
        }
}

TEST(DibImageFloodFill, FillColoursStoredAsTheRegionColourEnd) {
    // 8 bits: index 0x1FF is stored as 0xFF; 16 bits: 0xFF0000 is stored as the region's 0xF80000.
    struct Case { uint32_t depth, region, fill; } cases[] = {
        {8, 0xff, 0x1ff}, {16, 0xff0000, 0xff0000}, {16, 0xf80000, 0xff0000}, {15, 0xf80000, 0xff0000},
        {15, 0x80f80000, 0x80ff0000}, {4, 3, 0x13}, {1, 1, 0xffffffff}};
    for (const Case& k : cases) {
        CDibImage image;
        ASSERT_TRUE(image.Create(k.depth, 32, 16, k.region));
        const uint32_t stored = image.GetPixel(0, 0);
        image.SetPixel(5, 5, stored ^ 0x100000 ^ 1); // something that is not the region
        CDibImage before(image);
        EXPECT_TRUE(image.FloodFill(3, 3, k.fill)) << k.depth;
        EXPECT_TRUE(SameBytes(before, image)) << k.depth;
    }
}

TEST(DibImageFloodFill, RegionsTouchingTheLastRowAndEdges) {
    for (int seedRow : {0, 1, 14, 15}) {
        CDibImage image;
        ASSERT_TRUE(image.Create(8, 20, 16, 0));
        // A comb: teeth down from the top, so the last row joins the columns between them.
        for (int x = 2; x < 20; x += 4) image.FillRect(x, 0, 1, 15, 9);
        EXPECT_TRUE(image.FloodFill(0, seedRow, 5));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 20; ++x)
                EXPECT_EQ((x % 4 == 2 && y < 15) ? 9u : 5u, image.GetPixel(x, y)) << seedRow << ": " << x << "," << y;
    }
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 4, 4, 0));
    for (auto [x, y] : {std::pair(4, 0), std::pair(0, -1)}) EXPECT_FALSE(image.FloodFill(x, y, 1)) << x << "," << y;
    EXPECT_FALSE(image.FloodFillCallback(0, 0, 1, nullptr, nullptr, kDibRegionAtSeed));
    EXPECT_TRUE(image.FloodFill(1, 1, 0)); // the region's own colour: nothing to do
    EXPECT_EQ(0u, image.GetPixel(0, 0));
}
