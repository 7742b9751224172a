// The pointer sprites, the winner marker and the value labels, redrawn only when something moved.
#include "game/BoardPainter.h"

#include <cmath>

namespace game {

namespace {

constexpr int kSpriteRow = 62;         // below the band's top
constexpr int kMarkerRow = 98;
constexpr int kLabelBottomRows = 52;   // the labels' strip at the bottom of the view
constexpr int kLabelEdge = 3;          // red and blue labels keep this far from the edges
constexpr int kLabelRecordExtra = 8;
constexpr int kHaloMargin = 2;         // halo and soft stamp reach this far beyond the text

int SpriteLeft(int32_t position) { return kScaleOrigin - kSpriteWidth / 2 + position; }

}  // namespace

void BoardPainter::DrawPointers(GameState& state, uint32_t dirty) {
    if (!m_image || !m_image->HasPixels()) return;
    const int top = state.BandTop();
    const CDibImage& marker = m_art.starSmall;

    for (int i = 0; i < 3; ++i) {
        if (state.position[i] == state.drawnPosition[i]) continue;
        dirty |= 1u << i;
        if (state.drawnPosition[i] > kNotDrawn)
            Fill(SpriteLeft(state.drawnPosition[i]), top + kSpriteRow, kSpriteWidth, kSpriteHeight, kBlack, true);
    }
    if (state.markerPosition != state.drawnMarkerPosition) {
        if (state.drawnMarkerPosition > kNotDrawn)
            Fill(kScaleOrigin - int(marker.width) / 2 + state.drawnMarkerPosition, top + kMarkerRow, marker.width,
                 marker.height, kBlack, true);
        state.drawnMarkerPosition = state.markerPosition;
        dirty |= kDirtyMarker;
    }
    if (!dirty) return;

    EraseLabels(state);
    if (!state.noQuestion) {
        for (int i = 0; i < 3; ++i) {
            if (i == kSolution && state.revealState == kRevealNone) continue;
            state.drawnPosition[i] = state.position[i];
            const int x = SpriteLeft(state.position[i]), y = top + kSpriteRow;
            if (m_art.sprite[i].HasPixels()) m_image->AlphaPut(m_art.sprite[i], x, y);
            if (m_invalidate) m_invalidate(x, y, kSpriteWidth, kSpriteHeight);
        }
    }
    if (state.markerPosition > kNotDrawn && marker.HasPixels()) {
        const int x = kScaleOrigin - int(marker.width) / 2 + state.markerPosition, y = top + kMarkerRow;
        m_image->Put(marker, x, y, kPutSkipSourceKey | kBlack);  // the star's black ground lets the pointers show
        if (m_invalidate) m_invalidate(x, y, marker.width, marker.height);
    }
    DrawLabels(state);
}

void BoardPainter::EraseLabels(GameState& state) {
    for (int i = 0; i < 3; ++i) {
        if (state.labelWidth[i] == 0) continue;
        Fill(state.labelLeft[i] - kHaloMargin, state.clientHeight - kLabelBottomRows + 1,
             state.labelWidth[i] + kHaloMargin, kLabelBottomRows - 1, kBlack, true);
        state.labelWidth[i] = 0;
    }
}

void BoardPainter::DrawLabels(GameState& state) {
    if (state.noQuestion || !m_art.labelFont) return;
    for (int player : {kRed, kBlue}) {
        const double units = state.pixelsPerUnit > 0 ? state.position[player] / state.pixelsPerUnit : 0.0;
        const double value = state.logScale ? std::pow(10.0, std::log10(state.minimum) + units) * state.decimalFactor
                                            : units + state.minimum * state.decimalFactor;
        DrawLabel(state, player, value);
    }
    if (state.revealState == kRevealFinished) DrawLabel(state, kSolution, state.solution * state.decimalFactor);
}

void BoardPainter::DrawLabel(GameState& state, int pointer, double value) {
    char text[512];
    FormatScaleNumber(text, sizeof text, value, state.decimals);
    const int align = pointer == kRed ? 0 : (pointer == kBlue ? 2 : 1);
    m_labels.SetFont(m_art.labelFont);
    const int w = m_labels.Measure(text);
    const int height = state.clientHeight;
    int x, left;
    if (pointer == kRed) {
        x = kLabelEdge;
        left = 0;
    } else if (pointer == kBlue) {
        x = state.clientWidth - kLabelEdge;
        left = state.clientWidth - w - kLabelEdge;
    } else {
        x = kScaleOrigin + state.targetPixel;
        left = x - w / 2;
    }
    // A white halo one pixel round the text, then the face in yellow for the winner, else the pointer's colour.
    const uint32_t colour = state.winner == pointer ? kWinnerYellow : state.pointerColour[pointer];
    m_labels.Draw(*m_image, x, height - 50, text, align, colour);

    state.labelLeft[pointer] = left;
    state.labelWidth[pointer] = w + kLabelRecordExtra;
    state.labelValue[pointer] = value;
    // The halo and the soft edge reach a little beyond the text: the whole drawn strip is invalidated.
    if (m_invalidate)
        m_invalidate(left - kHaloMargin, height - kLabelBottomRows, w + kLabelRecordExtra + kHaloMargin, kLabelBottomRows);
}

}  // namespace game
