// The board painter's construction and the fill its drawing steps share; the steps themselves are in
// BoardStars.cpp, BoardBand.cpp and BoardPointers.cpp.
#include "game/BoardPainter.h"

namespace game {

BoardPainter::BoardPainter(BoardArt& art, Invalidate invalidate) : m_art(art), m_invalidate(std::move(invalidate)) {}

void BoardPainter::Fill(int x, int y, int cx, int cy, uint32_t colour, bool invalidate) {
    m_image->FillRect(x, y, cx, cy, colour);
    if (invalidate && m_invalidate) m_invalidate(x, y, cx, cy);
}

}  // namespace game
