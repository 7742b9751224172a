#include "tests/game/GameTestSupport.h"

#include "game/BoardPainter.h"
#include "game/GameFrame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace game;
using gametest::ArmQuestion;

namespace {

// A board rendered into a plain 32-bit image, with the invalidated rectangles recorded.
class BoardTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadBoardArt(m_art, GetModuleHandleA(nullptr)));
        for (int i = 0; i < 3; ++i) BuildPointerSprite(m_art, i, m_state.pointers.colour[i]);
        SelectStarImage(m_art, 0);
        m_painter = std::make_unique<BoardPainter>(m_art, [this](int x, int y, int cx, int cy) {
            m_rects.push_back({x, y, x + cx, y + cy});
        });
    }
    void Size(int width, int height) {
        ASSERT_TRUE(m_image.Create(32, width, height, 0));
        m_painter->SetImage(&m_image);
        m_state.geometry.clientWidth = width;
        m_state.geometry.clientHeight = height;
    }
    uint32_t Pixel(int x, int y) const { return m_image.GetPixel(x, y) & 0xFFFFFF; }
    // Whether a pixel of the rectangle is not black, or (with a colour) close to that colour: the soft text
    // stamp blends, so text pixels only come near their colour.
    bool AnyInk(int x0, int y0, int x1, int y1, uint32_t colour = 0xFFFFFFFF) const {
        auto matches = [colour](uint32_t p) {
            for (int shift : {0, 8, 16})
                if (std::abs(int((p >> shift) & 0xFF) - int((colour >> shift) & 0xFF)) > 24) return false;
            return true;
        };
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (colour == 0xFFFFFFFF ? Pixel(x, y) != 0 : matches(Pixel(x, y))) return true;
        return false;
    }
    // Whether the colour channel at shift clearly outweighs the other two.
    static bool Dominant(uint32_t p, int shift) {
        const int c = (p >> shift) & 0xFF;
        for (int other : {0, 8, 16})
            if (other != shift && c < int((p >> other) & 0xFF) + 100) return false;
        return true;
    }
    bool Invalidated(int x, int y) const {
        for (const RECT& r : m_rects)
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
        return false;
    }
    long long InvalidatedArea() const {
        long long area = 0;
        for (const RECT& r : m_rects) area += (long long)(r.right - r.left) * (r.bottom - r.top);
        return area;
    }

    GameState m_state;
    BoardArt m_art;
    CDibImage m_image;
    std::unique_ptr<BoardPainter> m_painter;
    std::vector<RECT> m_rects;
};

}  // namespace

TEST_F(BoardTest, ArtLoadsFromTheResources) {
    EXPECT_EQ(m_art.starLarge.width, 128u);
    EXPECT_LE(m_art.starMedium.width, 102u);
    EXPECT_LE(m_art.starSmall.width, 68u);
    EXPECT_LE(m_art.starSmall.height, 68u);
    ASSERT_TRUE(m_art.sprite[kRed].HasPixels());
    EXPECT_EQ(m_art.sprite[kRed].width, 28u);
    EXPECT_EQ(m_art.sprite[kRed].height, 92u);
    EXPECT_NE(m_art.scaleFont, nullptr);
    EXPECT_NE(m_art.labelFont, nullptr);
}

TEST_F(BoardTest, BandHasBevelsColourLineTicksAndLabels) {
    ArmQuestion(m_state, 0, 1000, 500);
    Size(864, 600);
    const ScaleLayout layout = ComputeScaleLayout(864, 0, 1000, false);
    m_state.geometry.scaleLength = layout.scaleLength;
    m_painter->DrawBand(m_state, layout);
    const int top = 400;
    const uint32_t bevel[6] = {0xDEDEDE, 0xBCBCBC, 0x858585, 0x858585, 0x585858, 0x2C2C2C};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Pixel(136 + i, 10), bevel[i]) << i;
        EXPECT_EQ(Pixel(136 + i, top - 1), bevel[i]) << i;
        EXPECT_EQ(Pixel(864 - 136 - 6 + i, 200), bevel[i]) << i;
        EXPECT_EQ(Pixel(500, top + i), bevel[i]) << i;
    }
    EXPECT_EQ(Pixel(5, top + 6), 0u);
    EXPECT_EQ(Pixel(135, 10), 0u);  // the star column keeps its own pixels
    // Colour line: orange at the left end, green in the middle, sky blue at the right end.
    for (int row : {top + 59, top + 60}) {
        EXPECT_EQ(Pixel(31, row), 0xFFC000u);
        EXPECT_EQ(Pixel(32, row), 0xFFC000u);
        EXPECT_EQ(Pixel(32 + 400, row), 0x00FF00u);
        EXPECT_EQ(Pixel(32 + 800, row), 0x00C0FFu);
    }
    EXPECT_EQ(Pixel(30, top + 59), 0u);
    EXPECT_EQ(Pixel(834, top + 59), 0u);
    // Ticks every 200 pixels, two columns wide; long ones at the labelled (even) ticks.
    for (int x : {0, 200, 400, 600, 800}) {
        const bool even = x % 400 == 0;
        for (int column : {32 + x - 1, 32 + x}) {
            EXPECT_NE(Pixel(column, top + 58), 0u) << x;
            EXPECT_NE(Pixel(column, top + 53), 0u) << x;
            EXPECT_EQ(Pixel(column, top + 50) != 0, even) << x;
            EXPECT_EQ(Pixel(column, top + 46), 0u) << x;
        }
        EXPECT_EQ(Pixel(32 + x + 1, top + 55), 0u) << x;
    }
    EXPECT_EQ(Pixel(32 + 100, top + 55), 0u);
    // Labels 0, 500 and 1 000 (the last pulled in from the right edge); none over the odd ticks.
    EXPECT_TRUE(AnyInk(20, top + 12, 44, top + 47));
    EXPECT_TRUE(AnyInk(410, top + 12, 455, top + 47));
    EXPECT_TRUE(AnyInk(780, top + 12, 864, top + 47));
    EXPECT_FALSE(AnyInk(215, top + 12, 250, top + 47));
    EXPECT_FALSE(AnyInk(615, top + 12, 650, top + 47));
    EXPECT_TRUE(Invalidated(0, top + 6) && Invalidated(863, top + 65) && Invalidated(138, 50) && Invalidated(725, 50));
}

TEST_F(BoardTest, SingleColourScaleAndNoLabelsWithoutQuestion) {
    ArmQuestion(m_state, 0, 1000, 500);
    m_state.settings.scaleColour = 0;
    m_state.shared.noQuestion = 1;
    Size(864, 600);
    const ScaleLayout layout = ComputeScaleLayout(864, 0, 1000, false);
    m_state.geometry.scaleLength = layout.scaleLength;
    m_painter->DrawBand(m_state, layout);
    EXPECT_EQ(Pixel(31, 459), 0x00FF00u);
    EXPECT_EQ(Pixel(832, 460), 0x00FF00u);
    EXPECT_EQ(Pixel(432, 450), 0x00FF00u);
    EXPECT_FALSE(AnyInk(0, 412, 864, 447));
}

TEST_F(BoardTest, StarSlotsFillFromTheBottomUp) {
    Size(864, 1100);  // band top at 900
    m_state.stars.count[kRed] = 7;
    m_painter->DrawStarColumns(m_state);
    for (int k = 0; k < 7; ++k) {
        const int cellTop = 900 - (k + 1) * 136;
        EXPECT_NE(Pixel(68, cellTop + 68), 0u) << k;  // the star's middle
        if (cellTop >= 0) {
            EXPECT_EQ(Pixel(1, cellTop + 1), 0u) << k;  // the cell's corner stays black
        }
        EXPECT_TRUE(Invalidated(0, cellTop) && Invalidated(135, cellTop + 135)) << k;
        EXPECT_EQ(m_state.drawn.starSlots[k], 1);
    }
    EXPECT_EQ(m_state.drawn.starSlots[7], 0xFF);  // beyond the band's top: not laid out
    EXPECT_EQ(Pixel(864 - 68, 900 - 68), 0u);  // blue has none
    EXPECT_EQ(m_state.drawn.starSlots[32], 0);

    // Nothing changed: nothing is drawn or invalidated.
    m_rects.clear();
    m_painter->DrawStarColumns(m_state);
    EXPECT_TRUE(m_rects.empty());
    // One star less: only that row is invalidated, and it is black again.
    m_state.stars.count[kRed] = 6;
    m_painter->DrawStarColumns(m_state);
    ASSERT_EQ(m_rects.size(), 1u);
    EXPECT_EQ(m_rects[0].top, 900 - 7 * 136);
    EXPECT_EQ(Pixel(68, 900 - 7 * 136 + 68), 0u);
}

TEST_F(BoardTest, TwoRowsOfHalfWidthStars) {
    Size(864, 600);
    m_state.settings.starSize = 3;
    ApplyStarSize(m_state);
    SelectStarImage(m_art, 3);
    m_state.stars.count[kBlue] = 3;
    m_painter->DrawStarColumns(m_state);
    const int left = 864 - 136, top = 400;
    EXPECT_NE(Pixel(left + 34, top - 34), 0u);        // slot 0: left half of row 0
    EXPECT_NE(Pixel(left + 68 + 34, top - 34), 0u);   // slot 1: right half
    EXPECT_NE(Pixel(left + 34, top - 68 - 34), 0u);   // slot 2: row 1
    EXPECT_EQ(Pixel(left + 68 + 34, top - 68 - 34), 0u);
}

TEST_F(BoardTest, RevealLeavesSpritesMarkerAndLabels) {
    ArmQuestion(m_state, 0, 1000, 500);
    Size(864, 600);
    GameFrame frame(m_state, nullptr, m_painter.get(), [] { return 0; });
    uint32_t now = 1000;
    frame.Run(now);
    StartPlayer(m_state.shared, kRed, now);
    StartPlayer(m_state.shared, kBlue, now);
    StopPlayer(m_state.shared, kRed, now + 1560, nullptr);   // 390
    StopPlayer(m_state.shared, kBlue, now + 1520, nullptr);  // 420
    for (now += 2000; m_state.round.revealState != kRevealFinished; now += 30) frame.Run(now);
    frame.Run(now);
    const int top = 400, spriteRow = top + 62;
    // Sprites where the pointers stand: red, blue and the green solution at the target.
    auto sample = [&](int position) { return Pixel(32 + position - 8, spriteRow + 20); };  // left half of the head
    EXPECT_TRUE(Dominant(sample(390), 16));
    EXPECT_TRUE(Dominant(sample(420), 0));
    EXPECT_TRUE(Dominant(Pixel(32 + 400, spriteRow + 20), 8));
    EXPECT_TRUE(Dominant(Pixel(32 + 420, spriteRow + 80), 0));  // the shaft shows through the marker's ground
    EXPECT_EQ(Pixel(32 + 300, spriteRow + 20), 0u);
    // The winner's marker: the small star below red's pointer.
    EXPECT_EQ(m_state.round.winner, kRed);
    const uint32_t gold = Pixel(32 + 395, top + 98 + 32);
    EXPECT_TRUE((gold >> 16) > 150 && ((gold >> 8) & 0xFF) > 100 && (gold & 0xFF) < 100) << std::hex << gold;
    // Value labels with a white halo: red at the left in yellow (the winner), blue at the right, the solution
    // centred over the target.
    auto anyMatching = [&](int x0, int x1, auto predicate) {
        for (int y = 548; y < 600; ++y)
            for (int x = x0; x < x1; ++x)
                if (predicate(Pixel(x, y))) return true;
        return false;
    };
    auto yellow = [](uint32_t p) { return (p >> 16) > 200 && ((p >> 8) & 0xFF) > 200 && (p & 0xFF) < 120; };
    EXPECT_TRUE(anyMatching(0, 120, yellow));
    EXPECT_FALSE(anyMatching(700, 864, yellow));
    EXPECT_TRUE(anyMatching(0, 120, [](uint32_t p) { return (p >> 16) >= 0xC0 && ((p >> 8) & 0xFF) >= 0xC0 && (p & 0xFF) >= 0xC0; }));
    EXPECT_TRUE(anyMatching(700, 864, [&](uint32_t p) { return Dominant(p, 0); }));
    EXPECT_TRUE(anyMatching(32 + 400 - 40, 32 + 400 + 40, [&](uint32_t p) { return Dominant(p, 8); }));
    EXPECT_FALSE(anyMatching(200, 330, [](uint32_t p) { return p != 0; }));
    EXPECT_EQ(m_state.drawn.labelLeft[kRed], 0);
    EXPECT_GT(m_state.drawn.labelWidth[kSolution], 8);
}

TEST_F(BoardTest, SweepingFrameTouchesOnlyWhatMoved) {
    ArmQuestion(m_state, 0, 1000, 500);
    Size(864, 600);
    GameFrame frame(m_state, nullptr, m_painter.get(), [] { return 0; });
    frame.Run(0);
    StartPlayer(m_state.shared, kRed, 0);
    StartPlayer(m_state.shared, kBlue, 0);
    frame.Run(30);
    m_rects.clear();
    frame.Run(60);
    ASSERT_FALSE(m_rects.empty());
    EXPECT_LT(InvalidatedArea(), 864LL * 600 / 10);
    for (const RECT& r : m_rects) EXPECT_GE(r.top, 400);  // nothing above the band
    // The red sprite moved from pixel 7 to 15: its old place is black, the new one drawn.
    EXPECT_EQ(m_state.drawn.position[kRed], 15);
    EXPECT_NE(Pixel(32 + 15, 462 + 60), 0u);
}

// Whatever came before, a frame in which nothing moves sends no pixel to the screen: a question just loaded,
// after a resize, one pointer stopped and one idle, after the reveal, after a reset, on the closing page.
TEST_F(BoardTest, RestingFrameInvalidatesNothing) {
    ArmQuestion(m_state, 0, 1000, 500);
    Size(864, 600);
    GameFrame frame(m_state, nullptr, m_painter.get(), [] { return 0; });
    uint32_t now = 1000;
    auto expectRest = [&](const char* after) {
        frame.Run(now += 30);  // the frame that shows the change
        m_rects.clear();
        for (int i = 0; i < 3; ++i) frame.Run(now += 30);
        EXPECT_TRUE(m_rects.empty()) << "at rest after " << after << ": " << m_rects.size() << " rectangles";
    };
    expectRest("loading a question");
    m_state.drawn.board = 0;
    for (int32_t& drawn : m_state.drawn.position) drawn = kNotDrawn;
    expectRest("a resize");
    StartPlayer(m_state.shared, kRed, now);
    StopPlayer(m_state.shared, kRed, now + 900, nullptr);
    now += 900;
    expectRest("red stopped");
    auto finishRound = [&] {
        for (int player : {kRed, kBlue}) {
            StartPlayer(m_state.shared, player, now);
            StopPlayer(m_state.shared, player, now + 500 + 100 * player, nullptr);
        }
        while (m_state.round.revealState != kRevealFinished) frame.Run(now += 30);
        ASSERT_GE(m_state.round.winner, 0);
    };
    finishRound();
    expectRest("the reveal");
    ResetGame(m_state);
    expectRest("a reset");
    EXPECT_EQ(m_state.drawn.position[kSolution], kNotDrawn);
    finishRound();
    ResetRound(m_state);  // the closing page after the game's last reveal
    m_state.shared.noQuestion = 1;
    expectRest("the closing page");
}

TEST(BoardArt, SpriteRecolouringFollowsTheTemplate) {
    // A synthetic template: shade 100 and weight 200 (clipped to 155), alpha 77 everywhere.
    std::vector<uint8_t> dib(40 + 28 * 92 * 4);
    BITMAPINFOHEADER header = {40, 28, 92, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    memcpy(dib.data(), &header, sizeof header);
    for (size_t i = 40; i < dib.size(); i += 4) {
        dib[i] = 1;
        dib[i + 1] = 100;
        dib[i + 2] = 200;
        dib[i + 3] = 77;
    }
    BoardArt art;
    art.playerTemplate = ParseSpriteTemplate(dib.data(), dib.size());
    ASSERT_NE(art.playerTemplate.pixels, nullptr);
    BuildPointerSprite(art, kRed, 0xFF0000);
    // s = 255 - 200 = 55; red = 55 + 200, green = blue = 55.
    EXPECT_EQ(art.sprite[kRed].GetPixel(3, 5), (77u << 24) | 0xFF3737u);
    BuildPointerSprite(art, 3, 0xFF0000);  // no such sprite: nothing happens
    EXPECT_FALSE(ParseSpriteTemplate(dib.data(), dib.size() - 1).pixels);
    header.biWidth = 27;
    memcpy(dib.data(), &header, sizeof header);
    EXPECT_FALSE(ParseSpriteTemplate(dib.data(), dib.size()).pixels);
}

TEST(BoardArt, MalformedFontsAreRefused) {
    std::vector<uint8_t> font(2 + 256 * 4 + 4, 0);
    font[1] = 255;
    const uint32_t glyphAt = 2 + 256 * 4;
    for (int i = 0; i < 256; ++i) memcpy(&font[2 + i * 4], &glyphAt, 4);
    font[glyphAt] = 8;
    font[glyphAt + 1] = 2;
    EXPECT_TRUE(IsValidBitmapFont(font.data(), font.size()));
    EXPECT_FALSE(IsValidBitmapFont(font.data(), font.size() - 1));  // the glyph's rows run past the end
    const uint32_t outside = 99999;
    memcpy(&font[2 + 65 * 4], &outside, 4);
    EXPECT_FALSE(IsValidBitmapFont(font.data(), font.size()));
    EXPECT_FALSE(IsValidBitmapFont(font.data(), 100));
    EXPECT_FALSE(IsValidBitmapFont(nullptr, 0));
}
