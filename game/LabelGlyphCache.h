// Value labels are drawn with a white halo (the text four times, offset diagonally by one pixel) and a soft
// coloured face. Drawing them glyph by glyph through the text engine every frame is costly, so each glyph is drawn
// once per colour into a tile on a black ground and the tiles are put together. The label font keeps every glyph's
// halo and soft edge inside its own cell, so the result equals drawing the whole string on a black ground.
#pragma once

#include "image/DibImage.h"

#include <cstdint>
#include <memory>
#include <unordered_map>

namespace game {

// Alignments of the board's texts on x, as CDibImage::textAlign takes them (any other value aligns right).
enum BoardTextAlign : int { kTextStartsAtX = 0, kTextCentredOnX = 1, kTextEndsAtX = 2 };

// The board's text style on an image: the bitmap font, the alignment (a BoardTextAlign), no background and the
// soft pen in the colour.
void SelectBoardFont(CDibImage& image, const uint8_t* font, int align, uint32_t colour);

class LabelGlyphCache {
public:
    // The font the labels are drawn in; a change forgets every tile.
    void SetFont(const uint8_t* font);

    // Width of the text in the font.
    int Measure(const char* text);
    // Draws the text with its top row at y (the face's row; the halo reaches one row higher and lower), aligned
    // on x by align (a BoardTextAlign). Returns the text's width.
    int Draw(CDibImage& target, int x, int y, const char* text, int align, uint32_t colour);

    // The engine's own drawing of one label, which the tiles reproduce.
    static int DrawDirect(CDibImage& target, const uint8_t* font, int x, int y, const char* text, int align,
                          uint32_t colour);

private:
    struct Tile {
        CDibImage pixels;  // the glyph with its halo, cut to the pixels it sets (none: empty)
        int left = 0;      // where those pixels sit relative to the glyph's origin
        int top = 0;
        int advance = 0;
    };
    const Tile* TileFor(unsigned char ch, uint32_t colour);

    const uint8_t* m_font = nullptr;
    CDibImage m_measure;
    std::unordered_map<uint64_t, std::unique_ptr<Tile>> m_tiles;
};

}  // namespace game
