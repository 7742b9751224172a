#include "game/LabelGlyphCache.h"

#include "image/BitmapFont.h"

#include <algorithm>

namespace game {

namespace {

constexpr uint32_t kHalo = 0xFFFFFF;
constexpr int kReach = 2;  // halo offset plus the soft stamp's radius

}  // namespace

void SelectBoardFont(CDibImage& image, const uint8_t* font, int align, uint32_t colour) {
    image.textAlign = static_cast<uint8_t>(align);
    image.textVAlign = 0;
    image.SetFont(font);
    image.SetTextColor(nullptr, 0, 1);
    image.SetTextColor(CDibImage::PlotSoft, colour, 0);
}

int LabelGlyphCache::DrawDirect(CDibImage& target, const uint8_t* font, int x, int y, const char* text, int align,
                                uint32_t colour) {
    SelectBoardFont(target, font, align, kHalo);
    for (int dy : {-1, 1})
        for (int dx : {-1, 1}) target.DrawText(x + dx, y + dy, text);
    target.SetTextColor(CDibImage::PlotSoft, colour, 0);
    return target.DrawText(x, y, text);
}

void LabelGlyphCache::SetFont(const uint8_t* font) {
    if (font == m_font) return;
    m_font = font;
    m_tiles.clear();
    if (!m_measure.HasPixels()) m_measure.Create(32, 1, 1, 0);
    SelectBoardFont(m_measure, font, 0, kHalo);
}

int LabelGlyphCache::Measure(const char* text) {
    if (!m_font || !text) return 0;
    return m_measure.DrawText(0, kDibMeasureText, text);
}

const LabelGlyphCache::Tile* LabelGlyphCache::TileFor(unsigned char ch, uint32_t colour) {
    const uint64_t key = uint64_t(colour) << 8 | ch;
    auto found = m_tiles.find(key);
    if (found != m_tiles.end()) return found->second.get();

    auto tile = std::make_unique<Tile>();
    const char text[2] = {static_cast<char>(ch), 0};
    tile->advance = Measure(text);
    BitmapFontHeader header;
    const uint8_t* glyph = m_font && ReadBitmapFontHeader(m_font, &header) ? BitmapFontGlyph(m_font, header, ch) : nullptr;
    if (glyph && tile->advance > 0 &&
        tile->pixels.Create(32, tile->advance + 2 * kReach, glyph[1] + 2 * kReach, 0)) {
        DrawDirect(tile->pixels, m_font, kReach, kReach, text, 0, colour);
        RECT& t = tile->touched;
        t = {LONG(tile->pixels.width), LONG(tile->pixels.height), 0, 0};
        for (int ty = 0; ty < int(tile->pixels.height); ++ty)
            for (int tx = 0; tx < int(tile->pixels.width); ++tx)
                if (tile->pixels.GetPixel(tx, ty)) {
                    t.left = std::min<LONG>(t.left, tx);
                    t.top = std::min<LONG>(t.top, ty);
                    t.right = std::max<LONG>(t.right, tx + 1);
                    t.bottom = std::max<LONG>(t.bottom, ty + 1);
                }
    }
    return m_tiles.emplace(key, std::move(tile)).first->second.get();
}

// Copies the tile's changed pixels (the others are black) to (x, y) of the target.
void LabelGlyphCache::PutTile(CDibImage& target, const Tile& tile, int x, int y) {
    const RECT& t = tile.touched;
    if (t.left >= t.right) return;
    if (target.depth != 32) {
        target.Put(tile.pixels, x, y, kPutSkipSourceKey);
        return;
    }
    const int left = std::max<int>(t.left, -x), right = std::min<int>(t.right, int(target.width) - x);
    const int top = std::max<int>(t.top, -y), bottom = std::min<int>(t.bottom, int(target.height) - y);
    for (int ty = top; ty < bottom; ++ty) {
        const uint32_t* source = reinterpret_cast<const uint32_t*>(tile.pixels.RowAddress(ty));
        uint32_t* dest = reinterpret_cast<uint32_t*>(target.RowAddress(y + ty)) + x;
        for (int tx = left; tx < right; ++tx)
            if (source[tx]) dest[tx] = source[tx];
    }
}

int LabelGlyphCache::Draw(CDibImage& target, int x, int y, const char* text, int align, uint32_t colour) {
    const int width = Measure(text);
    if (width <= 0) return 0;
    if (align == 1)
        x -= static_cast<int>(static_cast<uint32_t>(width) / 2);
    else if (align != 0)
        x -= width;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const Tile* tile = TileFor(*p, colour);
        if (tile->pixels.HasPixels()) PutTile(target, *tile, x - kReach, y - kReach);
        x += tile->advance;
    }
    return width;
}

}  // namespace game
