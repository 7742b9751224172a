#include "game/BoardArt.h"
#include "game/LabelGlyphCache.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace game;

// Put together from cached glyph tiles, a label has exactly the pixels of the text engine drawing the whole
// string with its halo on a black ground.
TEST(LabelGlyphCache, TilesGiveThePixelsOfTheWholeString) {
    BoardArt art;
    ASSERT_TRUE(LoadBoardArt(art, GetModuleHandleA(nullptr)));
    LabelGlyphCache cache;
    cache.SetFont(art.labelFont);
    const char* texts[] = {"1 234.56", "-987", "0", "10 000 000", "4.5", "-0.05", "88"};
    const uint32_t colours[] = {0xFF0000, 0x0000FF, 0x00FF00, 0xFFFF00};
    for (const char* text : texts)
        for (uint32_t colour : colours)
            for (int align : {0, 1, 2}) {
                CDibImage direct, tiled;
                ASSERT_TRUE(direct.Create(32, 400, 80, 0));
                ASSERT_TRUE(tiled.Create(32, 400, 80, 0));
                const int x = align == 0 ? 3 : (align == 1 ? 200 : 397);
                const int w1 = LabelGlyphCache::DrawDirect(direct, art.labelFont, x, 20, text, align, colour);
                const int w2 = cache.Draw(tiled, x, 20, text, align, colour);
                EXPECT_EQ(w1, w2);
                EXPECT_EQ(cache.Measure(text), w1);
                ASSERT_EQ(direct.imageSize, tiled.imageSize);
                int differing = 0, firstX = -1, firstY = -1;
                for (int y = 0; y < 80; ++y)
                    for (int xx = 0; xx < 400; ++xx)
                        if (direct.GetPixel(xx, y) != tiled.GetPixel(xx, y)) {
                            if (!differing++) firstX = xx, firstY = y;
                        }
                EXPECT_EQ(differing, 0) << '"' << text << "\" colour " << std::hex << colour << " align " << align
                                        << std::dec << " at " << firstX << "," << firstY << " "
                                        << std::hex << direct.GetPixel(firstX, firstY) << " vs " << tiled.GetPixel(firstX, firstY);
            }
}

TEST(LabelGlyphCache, WithoutAFontNothingIsDrawn) {
    LabelGlyphCache cache;
    CDibImage image;
    ASSERT_TRUE(image.Create(32, 50, 50, 0));
    EXPECT_EQ(cache.Draw(image, 5, 5, "12", 0, 0xFF0000), 0);
    EXPECT_EQ(image.GetPixel(10, 20), 0u);
}
