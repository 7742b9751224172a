// The full redraw of the band: the bevelled frame round the question panel, the colour line, the ticks and
// the scale labels.
#include "game/BoardPainter.h"

namespace game {

namespace {

// Bevel colours from the light to the dark edge, one per pixel of the 6-pixel bevel.
constexpr uint32_t kBevel[6] = {0xDEDEDE, 0xBCBCBC, 0x858585, 0x858585, 0x585858, 0x2C2C2C};
constexpr int kBevelWidth = 6;
constexpr int kLabelRow = 12;       // scale labels, below the band's top
constexpr int kLongTickRow = 47;    // ticks with a label reach up to here
constexpr int kShortTickRow = 53;
constexpr int kTickEndRow = 58;
constexpr int kColourLineRow = 59;  // two rows

}  // namespace

void BoardPainter::DrawBand(GameState& state, const ScaleLayout& layout) {
    if (!m_image || !m_image->HasPixels()) return;
    DrawBevels(state.geometry, state.stars.cellWidth);
    DrawColourLine(state.geometry, state.settings.scaleColour != 0);
    DrawTicks(state, layout);
    if (m_invalidate) m_invalidate(0, state.geometry.BandTop() + kBevelWidth, state.geometry.clientWidth, 60);
}

void BoardPainter::DrawBevels(const BoardGeometry& geometry, int32_t cellW) {
    const int top = geometry.BandTop(), width = geometry.clientWidth;
    for (int i = 0; i < kBevelWidth; ++i) {
        Fill(cellW + i, 0, 1, top, kBevel[i], false);
        Fill(width - cellW - kBevelWidth + i, 0, 1, top, kBevel[i], false);
        Fill(0, top + i, width, 1, kBevel[i], false);
    }
    Fill(0, top + kBevelWidth, width, geometry.clientHeight - top - kBevelWidth, kBlack, false);
    if (m_invalidate) {
        m_invalidate(cellW, 0, kBevelWidth, top);
        m_invalidate(width - cellW - kBevelWidth, 0, kBevelWidth, top);
        m_invalidate(0, top, width, kBevelWidth);
    }
}

void BoardPainter::DrawColourLine(const BoardGeometry& geometry, bool coloured) {
    const int row = geometry.BandTop() + kColourLineRow, w = geometry.scaleLength;
    if (!coloured) {
        Fill(kScaleOrigin - 1, row, w + 2, 2, kScaleGreen, false);
        return;
    }
    for (int i = -1; i <= w; ++i) Fill(kScaleOrigin + i, row, 1, 2, ScaleGradientColour(i, w), false);
}

void BoardPainter::DrawTicks(const GameState& state, const ScaleLayout& layout) {
    const int top = state.geometry.BandTop(), w = layout.scaleLength, width = state.geometry.clientWidth;
    SelectBoardFont(*m_image, m_art.scaleFont, kTextCentredOnX, kBlack);
    for (const ScaleTick& tick : layout.ticks) {
        const uint32_t colour = state.settings.scaleColour ? ScaleGradientColour(tick.x, w) : kScaleGreen;
        const int firstRow = top + (tick.even ? kLongTickRow : kShortTickRow);
        Fill(kScaleOrigin + tick.x - 1, firstRow, 2, top + kTickEndRow + 1 - firstRow, colour, false);
        if (!tick.even || state.shared.noQuestion || !m_art.scaleFont) continue;

        char text[512];
        FormatScaleNumber(text, sizeof text, tick.value, layout.decimals);
        m_image->SetTextColor(CDibImage::PlotSoft, colour, 0);
        const int textWidth = m_image->DrawText(0, kDibMeasureText, text);
        int centre = kScaleOrigin + tick.x;
        if (centre < textWidth / 2 - 2) centre = textWidth / 2 + 2;
        if (centre + textWidth / 2 + 2 > width) centre = width - textWidth / 2 - 2;
        m_image->DrawText(centre, top + kLabelRow, text);
    }
}

}  // namespace game
