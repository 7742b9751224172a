// Bitmap-font text in images, on hand-built tiny font blobs.
#include "image/BitmapFont.h"

#include "tests/image/DibImageTestSupport.h"

#include <map>
#include <string>

namespace {

// A glyph drawn as text rows, top row first: '#' ink, '.' background.
using GlyphArt = std::vector<std::string>;

struct FontLayout {
    unsigned first = 0, last = 255;
    bool longHeader = false;
    uint8_t flags = 0;
    std::map<unsigned, GlyphArt> glyphs; // characters without art get an empty 0 x 0 glyph
    std::vector<uint8_t> metrics;        // raw metrics block, placed behind the offset table
};

void Put16(std::vector<uint8_t>& b, unsigned v) {
    b.push_back((uint8_t)v);
    b.push_back((uint8_t)(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xffff);
    Put16(b, v >> 16);
}
void Set32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (uint8_t)(v >> (8 * i));
}

std::vector<uint8_t> BuildFont(const FontLayout& layout) {
    std::vector<uint8_t> b;
    if (layout.longHeader) {
        Put32(b, kBitmapFontMagic);
        b.push_back(layout.flags);
        b.insert(b.end(), 3, 0);
        Put16(b, layout.first);
        Put16(b, layout.last);
        b.insert(b.end(), 4, 0);
    } else {
        b.push_back((uint8_t)layout.first);
        b.push_back((uint8_t)layout.last);
    }
    const size_t table = b.size();
    const unsigned count = layout.last >= layout.first ? layout.last - layout.first + 1 : 0;
    b.resize(b.size() + 4 * count);
    b.insert(b.end(), layout.metrics.begin(), layout.metrics.end());
    const size_t empty = b.size();
    b.push_back(0);
    b.push_back(0);
    for (unsigned i = 0; i < count; ++i) Set32(b, table + 4 * i, (uint32_t)empty);
    for (const auto& [code, art] : layout.glyphs) {
        Set32(b, table + 4 * (code - layout.first), (uint32_t)b.size());
        const size_t w = art.empty() ? 0 : art[0].size(), rowBytes = (w + 7) / 8;
        b.push_back((uint8_t)w);
        b.push_back((uint8_t)art.size());
        for (size_t r = art.size(); r-- > 0;) { // bottom row first
            std::vector<uint8_t> row(rowBytes, 0);
            for (size_t c = 0; c < w; ++c)
                if (art[r][c] != '#') row[c / 8] |= (uint8_t)(0x80 >> (c % 8)); // a set bit is background
            b.insert(b.end(), row.begin(), row.end());
        }
    }
    return b;
}

GlyphArt Block(int w, int h) { return GlyphArt(h, std::string(w, '#')); }

std::vector<uint8_t> MetricsBlock(uint32_t length, std::vector<std::pair<unsigned, int>> records) {
    std::vector<uint8_t> b;
    Put32(b, 0x55aa00ff);
    Put32(b, length);
    for (auto [type, value] : records) {
        Put16(b, type);
        Put16(b, 1);
        b.push_back((uint8_t)(int8_t)value);
    }
    return b;
}

// The drawn picture as text rows: '#' colour 1, '.' colour 2, ' ' untouched (0).
std::vector<std::string> Picture(const CDibImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < (int)image.height; ++y) {
        std::string row;
        for (int x = 0; x < (int)image.width; ++x) {
            const uint32_t v = image.GetPixel(x, y);
            row += v == 1 ? '#' : v == 2 ? '.' : v == 0 ? ' ' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(BitmapFont, GlyphRowsBottomFirstAndClearBitsAreInk) {
    FontLayout layout;
    layout.first = 'A';
    layout.last = 'A';
    layout.glyphs['A'] = {"#.#", "...", ".##"};
    const std::vector<uint8_t> font = BuildFont(layout);
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 5, 4, 0));
    image.SetFont(font.data());
    image.SetTextColor(CDibImage::PlotPixel, 1, 0);
    image.SetTextColor(CDibImage::PlotPixel, 2, 1);
    EXPECT_EQ(3, image.DrawText(1, 1, "A"));
    EXPECT_EQ((std::vector<std::string>{"     ", " #.# ", " ... ", " .## "}), Picture(image));
    // Without a background pen only the ink is drawn.
    image.FillRect(0, 0, 5, 4, 0);
    image.SetTextColor(nullptr, 2, 1);
    image.DrawGlyph(0, 0, BitmapFontGlyph(font.data(), {'A', 'A', 2, 0}, 'A'));
    EXPECT_EQ((std::vector<std::string>{"# #  ", "     ", " ##  ", "     "}), Picture(image));
    // Text runs off the edges without harm.
    image.DrawText(-2, -1, "AAAAAA");
    image.DrawText(3, 3, "A");
}

TEST(BitmapFont, MeasuringSkipsMissingCharactersAndAddsTheGap) {
    FontLayout layout;
    layout.first = 'A';
    layout.last = 'B';
    layout.glyphs['A'] = Block(10, 2);
    layout.glyphs['B'] = Block(12, 2);
    layout.metrics = MetricsBlock(8 + 5, {{0, -2}});
    const std::vector<uint8_t> font = BuildFont(layout);
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 40, 4, 0));
    EXPECT_EQ(0, image.DrawText(0, 0, "AB")); // no font yet
    image.SetFont(font.data());
    EXPECT_EQ(-2, image.charAdvanceGap);
    EXPECT_EQ(20, image.DrawText(0, kDibMeasureText, "AB"));
    EXPECT_EQ(20, image.DrawText(0, kDibMeasureText, "A\x01Z B"));
    EXPECT_EQ(0, image.DrawText(0, kDibMeasureText, ""));
    EXPECT_EQ(0u, image.GetPixel(0, 0)); // measuring draws nothing
    image.SetTextColor(CDibImage::PlotPixel, 1, 0);
    EXPECT_EQ(20, image.DrawText(0, 0, "AB"));
    EXPECT_EQ(1u, image.GetPixel(19, 1));
    EXPECT_EQ(0u, image.GetPixel(20, 1));
}

TEST(BitmapFont, HorizontalAlignment) {
    FontLayout layout;
    layout.first = 'a';
    layout.last = 'c';
    layout.glyphs['a'] = Block(20, 1);
    layout.glyphs['b'] = Block(25, 1);
    layout.glyphs['c'] = Block(5, 1);
    const std::vector<uint8_t> font = BuildFont(layout);
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 100, 1, 0));
    image.textAlign = 1;
    image.SetFont(font.data());
    image.SetTextColor(CDibImage::PlotPixel, 1, 0);
    EXPECT_EQ(45, image.DrawText(50, 0, "ab"));
    EXPECT_EQ(0u, image.GetPixel(27, 0)); // x moves left by 45 / 2 = 22
    EXPECT_EQ(1u, image.GetPixel(28, 0));
    EXPECT_EQ(1u, image.GetPixel(72, 0));
    EXPECT_EQ(0u, image.GetPixel(73, 0));
    image.FillRect(0, 0, 100, 1, 0);
    image.textAlign = 2;
    image.DrawText(50, 0, "c");
    EXPECT_EQ(1u, image.GetPixel(45, 0));
    EXPECT_EQ(1u, image.GetPixel(49, 0));
    EXPECT_EQ(0u, image.GetPixel(50, 0));
    // A spacing so negative that the width turns negative still centres near x.
    image.FillRect(0, 0, 100, 1, 0);
    image.textAlign = 1;
    image.SetCharSpacing((uint32_t)-200 + 1);
    const int width = image.DrawText(0, kDibMeasureText, "ccc");
    EXPECT_LT(width, 0);
    EXPECT_EQ(-385, width);
    // x = 50 + 192; the second glyph lands at 242 + 5 - 200 = 47.
    image.DrawText(50, 0, "ccc");
    EXPECT_EQ(1u, image.GetPixel(47, 0));
}

TEST(BitmapFont, MetricsBlockAndSpacing) {
    FontLayout layout;
    layout.first = 'x';
    layout.last = 'x';
    layout.glyphs['x'] = Block(2, 2);
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 4, 4, 0));
    for (uint32_t badLength : {8u, 4097u}) {
        layout.metrics = MetricsBlock(badLength, {{0, -3}, {1, 4}, {2, 5}});
        const std::vector<uint8_t> font = BuildFont(layout);
        image.SetFont(font.data());
        EXPECT_EQ(0, image.fontSpacing) << badLength;
        EXPECT_EQ(1, image.fontRefSpacing);
        EXPECT_EQ(0, image.fontBaseline);
    }
    layout.metrics = MetricsBlock(8 + 3 * 5, {{7, 9}, {0, -3}, {1, 1}});
    std::vector<uint8_t> font = BuildFont(layout);
    image.SetFont(font.data());
    EXPECT_EQ(-3, image.fontSpacing);
    EXPECT_EQ(1, image.fontRefSpacing);
    EXPECT_EQ(-3, image.charAdvanceGap);
    image.SetCharSpacing(2);
    EXPECT_EQ(-2, image.charAdvanceGap);
    image.SetCharSpacing(kDibFontSpacing);
    EXPECT_EQ(-3, image.charAdvanceGap);
    // A record past the block's length is not read.
    layout.metrics = MetricsBlock(8 + 5, {{0, -3}, {2, 6}});
    font = BuildFont(layout);
    image.SetFont(font.data());
    EXPECT_EQ(0, image.fontBaseline);
}

TEST(BitmapFont, VerticalReference) {
    FontLayout layout; // 0..255, short header, no metrics: the reference glyph is glyph 0
    layout.glyphs[0] = Block(1, 6);
    layout.glyphs['A'] = Block(1, 3);
    const std::vector<uint8_t> font = BuildFont(layout);
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 2, 10, 0));
    image.textVAlign = 2;
    image.SetFont(font.data());
    EXPECT_EQ(6, image.textYOffset);
    image.textVAlign = 1;
    image.SetFont(font.data());
    EXPECT_EQ(3, image.textYOffset);
    image.textVAlign = 0;
    image.SetFont(font.data());
    EXPECT_EQ(0, image.textYOffset);
    // y is the row below the reference glyph: 'A' (3 rows) drawn at y 8 fills rows 2-4.
    image.textVAlign = 2;
    image.SetFont(font.data());
    image.SetTextColor(CDibImage::PlotPixel, 1, 0);
    image.DrawText(0, 8, "A");
    EXPECT_EQ(0u, image.GetPixel(0, 1));
    EXPECT_EQ(1u, image.GetPixel(0, 2));
    EXPECT_EQ(1u, image.GetPixel(0, 4));
    EXPECT_EQ(0u, image.GetPixel(0, 5));

    // A small font from the blank on: the blank is the reference; a baseline wins for alignment 3.
    FontLayout small;
    small.first = 30;
    small.last = 40;
    small.glyphs[32] = Block(1, 4);
    small.metrics = MetricsBlock(8 + 5, {{2, 7}});
    const std::vector<uint8_t> smallFont = BuildFont(small);
    image.textVAlign = 2;
    image.SetFont(smallFont.data());
    EXPECT_EQ(4, image.textYOffset);
    image.textVAlign = 3;
    image.SetFont(smallFont.data());
    EXPECT_EQ(-7, image.textYOffset);
}

TEST(BitmapFont, BackgroundWithNegativeAndPositiveGaps) {
    FontLayout layout;
    layout.first = 'a';
    layout.last = 'b';
    layout.glyphs['a'] = {"##.."};
    layout.glyphs['b'] = {"..##"};
    const std::vector<uint8_t> font = BuildFont(layout);
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 10, 1, 0));
    image.SetFont(font.data());
    image.SetTextColor(CDibImage::PlotPixel, 1, 0);
    image.SetTextColor(CDibImage::PlotPixel, 2, 1);
    // Gap -2: b's background must not cover a's ink where they overlap.
    image.SetCharSpacing((uint32_t)-2 + 1);
    ASSERT_EQ(-2, image.charAdvanceGap);
    EXPECT_EQ(6, image.DrawText(0, 0, "ab"));
    EXPECT_EQ((std::vector<std::string>{"##..##    "}), Picture(image));
    // Gap +2: the gap is filled with the background.
    image.FillRect(0, 0, 10, 1, 0);
    image.SetCharSpacing(3);
    EXPECT_EQ(10, image.DrawText(0, 0, "ab"));
    EXPECT_EQ((std::vector<std::string>{"##......##"}), Picture(image));
    // FillTextBox plots every pixel of the box with the background colour.
    image.FillRect(0, 0, 10, 1, 0);
    image.FillTextBox(2, 0, 3, 1, CDibImage::PlotPixel);
    EXPECT_EQ((std::vector<std::string>{"  ...     "}), Picture(image));
}

TEST(BitmapFont, HighCharactersLongHeaderAndUnusableBlobs) {
    FontLayout layout;
    layout.first = 0xc0;
    layout.last = 0x1ff;
    layout.longHeader = true;
    layout.flags = 0x5a;
    layout.glyphs[0xe4] = Block(3, 1); // 'ä' in Windows-1252
    const std::vector<uint8_t> font = BuildFont(layout);
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 4, 1, 0));
    image.SetFont(font.data());
    EXPECT_EQ(0x5a, image.fontFlags);
    EXPECT_EQ(16, image.fontHeaderSize);
    EXPECT_EQ(0x1ff, image.fontLastChar);
    image.SetTextColor(CDibImage::PlotPixel, 1, 0);
    EXPECT_EQ(3, image.DrawText(0, 0, "\xe4"));
    EXPECT_EQ(1u, image.GetPixel(2, 0));

    const uint8_t reversed[] = {5, 4, 0, 0};
    image.SetFont(reversed);
    EXPECT_EQ(nullptr, image.fontBlob);
    EXPECT_EQ(0, image.DrawText(0, 0, "\x04"));
    image.SetFont(font.data());
    image.SetFont(nullptr);
    EXPECT_EQ(nullptr, image.fontBlob);
}

TEST(BitmapFont, SoftPenDependsOnTheDepth) {
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 2, 2, 0));
    image.SetTextColor(CDibImage::PlotSoft, 5, 0);
    EXPECT_EQ((DibPen)CDibImage::PlotPixel, image.textPen);
    ASSERT_TRUE(image.Create(32, 2, 2, 0));
    image.SetTextColor(CDibImage::PlotSoft, 5, 1);
    EXPECT_EQ((DibPen)CDibImage::PlotSoft32, image.textBkPen);
    EXPECT_EQ(5u, image.textBkColor);
    ASSERT_TRUE(image.Create(24, 2, 2, 0));
    image.SetTextColor(CDibImage::PlotSoft, 5, 0);
    EXPECT_EQ((DibPen)CDibImage::PlotSoft, image.textPen);
}
