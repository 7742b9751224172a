// Drawing the board into the board window's back buffer: the star columns, the bevelled frame, the band with
// its scale, the pointer sprites, the winner marker and the value labels. Every change is handed on as its
// own rectangle to be invalidated.
#pragma once

#include "game/BoardArt.h"
#include "game/GameFrame.h"
#include "game/LabelGlyphCache.h"

#include <functional>

namespace game {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kWinnerYellow = 0xFFFF00;
constexpr uint32_t kScaleGreen = 0x00FF00;

class BoardPainter : public FrameDrawing {
public:
    using Invalidate = std::function<void(int x, int y, int cx, int cy)>;

    BoardPainter(BoardArt& art, Invalidate invalidate);

    // The back buffer to draw into (the board window replaces it on a resize); null draws nothing.
    void SetImage(CDibImage* image) { m_image = image; }

    void DrawStarColumns(GameState& state) override;
    void DrawBand(GameState& state, const ScaleLayout& layout) override;
    void DrawPointers(GameState& state, uint32_t dirty) override;

private:
    bool DrawStarColumn(GameState& state, int player, bool forceRepaint);
    void DrawBevels(const BoardGeometry& geometry, int32_t cellW);
    void DrawColourLine(const BoardGeometry& geometry, bool coloured);
    void DrawTicks(const GameState& state, const ScaleLayout& layout);
    void EraseLabels(DrawnBoard& drawn, int32_t clientHeight);
    void DrawLabels(GameState& state);
    void DrawLabel(GameState& state, int pointer, double value);
    void Fill(int x, int y, int cx, int cy, uint32_t colour, bool invalidate);

    BoardArt& m_art;
    Invalidate m_invalidate;
    CDibImage* m_image = nullptr;
    LabelGlyphCache m_labels;
};

}  // namespace game
