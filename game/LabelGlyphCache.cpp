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
    CDibImage drawn;
    if (glyph && tile->advance > 0 && drawn.Create(32, tile->advance + 2 * kReach, glyph[1] + 2 * kReach, 0)) {
        DrawDirect(drawn, m_font, kReach, kReach, text, 0, colour);
        // Only the glyph's own pixels are kept, so that each frame copies no more than they cover.
        RECT ink = {LONG(drawn.width), LONG(drawn.height), 0, 0};
        for (int ty = 0; ty < int(drawn.height); ++ty)
            for (int tx = 0; tx < int(drawn.width); ++tx)
                if (drawn.GetPixel(tx, ty)) {
                    ink.left = std::min<LONG>(ink.left, tx);
                    ink.top = std::min<LONG>(ink.top, ty);
                    ink.right = std::max<LONG>(ink.right, tx + 1);
                    ink.bottom = std::max<LONG>(ink.bottom, ty + 1);
                }
        if (ink.left < ink.right && tile->pixels.CropFrom(drawn, ink.left, ink.top, ink.right - ink.left, ink.bottom - ink.top)) {
            tile->left = ink.left - kReach;
            tile->top = ink.top - kReach;
        }
    }
    return m_tiles.emplace(key, std::move(tile)).first->second.get();
}

int LabelGlyphCache::Draw(CDibImage& target, int x, int y, const char* text, int align, uint32_t colour) {
    const int width = Measure(text);
    if (width <= 0) return 0;
    if (align == kTextCentredOnX)
        x -= static_cast<int>(static_cast<uint32_t>(width) / 2);
    else if (align != kTextStartsAtX)
        x -= width;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const Tile* tile = TileFor(*p, colour);
        // The tile's black ground (key 0) stays out.
        if (tile->pixels.HasPixels()) target.Put(tile->pixels, x + tile->left, y + tile->top, kPutSkipSourceKey);
        x += tile->advance;
    }
    return width;
}

}  // namespace game
