// The star columns at the left (red) and right (blue) edges, repainted only when a slot changes.
#include "game/BoardPainter.h"

namespace game {

namespace {

constexpr int kSlotsPerColumn = 16;

}  // namespace

void BoardPainter::DrawStarColumns(GameState& state) {
    if (!m_image || !m_image->HasPixels()) return;
    const bool redChanged = DrawStarColumn(state, kRed, false);
    DrawStarColumn(state, kBlue, redChanged);
}

// Returns whether any slot of the column changed.
bool BoardPainter::DrawStarColumn(GameState& state, int player, bool forceRepaint) {
    const int top = state.geometry.BandTop();
    const int cellW = state.stars.cellWidth, cellH = state.stars.cellHeight;
    const int columns = state.stars.columns == 2 ? 2 : 1;
    const int slotW = cellW / columns;
    const int left = player == kRed ? 0 : state.geometry.clientWidth - cellW;
    uint8_t* cache = state.drawn.starSlots + player * kStarSlotsPerPlayer;
    const int count = state.stars.count[player];

    int slots = 0;
    uint32_t changedRows = 0;
    for (int s = 0; s < kSlotsPerColumn * columns; ++s) {
        const int row = s / columns;
        if (cellH <= 0 || row * cellH >= top) break;
        const uint8_t want = s < count ? kStarSlotStar : kStarSlotEmpty;
        if (cache[s] != want) changedRows |= 1u << row;
        ++slots;
    }
    if (!changedRows && !forceRepaint) return false;

    const CDibImage& star = m_art.starCurrent;
    for (int s = 0; s < slots; ++s) {
        const int row = s / columns;
        const int x = left + (s % columns) * slotW;
        const int y = top - (row + 1) * cellH;
        m_image->FillRect(x, y, slotW, cellH, kBlack);
        cache[s] = s < count ? kStarSlotStar : kStarSlotEmpty;
        if (cache[s] == kStarSlotStar && star.HasPixels())
            m_image->Put(star, x + (slotW - int(star.width)) / 2, y + (cellH - int(star.height)) / 2);
    }
    for (int row = 0; row < kSlotsPerColumn; ++row)
        if ((changedRows & (1u << row)) && m_invalidate) m_invalidate(left, top - (row + 1) * cellH, cellW, cellH);
    return changedRows != 0;
}

}  // namespace game
