// The pointer sprites, the winner marker and the value labels, redrawn only when something moved.
#include "game/BoardPainter.h"

#include <cmath>

namespace game {

namespace {

constexpr int kSpriteRow = 62;         // below the band's top
constexpr int kMarkerRow = 98;
constexpr int kLabelBottomRows = 52;   // the labels' strip at the bottom of the view
constexpr int kLabelTextRows = 50;     // the labels' text starts this far above the bottom
constexpr int kLabelEdge = 3;          // red and blue labels keep this far from the edges
constexpr int kLabelRecordExtra = 8;
constexpr int kHaloMargin = 2;         // halo and soft stamp reach this far beyond the text

int SpriteLeft(int32_t position) { return kScaleOrigin - kSpriteWidth / 2 + position; }

}  // namespace

void BoardPainter::DrawPointers(GameState& state, uint32_t dirty) {
    if (!m_image || !m_image->HasPixels()) return;
    const int top = state.geometry.BandTop();
    const CDibImage& marker = m_art.starSmall;
    const int32_t* position = state.pointers.position;
    const int32_t markerPosition = state.round.markerPosition;
    DrawnBoard& drawn = state.drawn;

    for (int i = 0; i < 3; ++i) {
        if (position[i] == drawn.position[i]) continue;
        dirty |= 1u << i;
        if (drawn.position[i] > kNotDrawn)
            Fill(SpriteLeft(drawn.position[i]), top + kSpriteRow, kSpriteWidth, kSpriteHeight, kBlack, true);
    }
    if (markerPosition != drawn.markerPosition) {
        if (drawn.markerPosition > kNotDrawn)
            Fill(kScaleOrigin - int(marker.width) / 2 + drawn.markerPosition, top + kMarkerRow, marker.width,
                 marker.height, kBlack, true);
        drawn.markerPosition = markerPosition;
        dirty |= kDirtyMarker;
    }
    if (!dirty) return;

    EraseLabels(drawn, state.geometry.clientHeight);
    for (int i = 0; i < 3; ++i) {
        // A pointer off the board is recorded as not drawn, so that it counts as moved only when it comes back.
        const bool shown = position[i] > kNotDrawn && !state.shared.noQuestion &&
                           (i != kSolution || state.round.revealState != kRevealNone);
        drawn.position[i] = shown ? position[i] : kNotDrawn;
        if (!shown) continue;
        const int x = SpriteLeft(position[i]), y = top + kSpriteRow;
        if (m_art.sprite[i].HasPixels()) m_image->AlphaPut(m_art.sprite[i], x, y);
        if (m_invalidate) m_invalidate(x, y, kSpriteWidth, kSpriteHeight);
    }
    if (markerPosition > kNotDrawn && marker.HasPixels()) {
        const int x = kScaleOrigin - int(marker.width) / 2 + markerPosition, y = top + kMarkerRow;
        m_image->Put(marker, x, y, kPutSkipSourceKey | kBlack);  // the star's black ground lets the pointers show
        if (m_invalidate) m_invalidate(x, y, marker.width, marker.height);
    }
    DrawLabels(state);
}

void BoardPainter::EraseLabels(DrawnBoard& drawn, int32_t clientHeight) {
    for (int i = 0; i < 3; ++i) {
        if (drawn.labelWidth[i] == 0) continue;
        Fill(drawn.labelLeft[i] - kHaloMargin, clientHeight - kLabelBottomRows + 1, drawn.labelWidth[i] + kHaloMargin,
             kLabelBottomRows - 1, kBlack, true);
        drawn.labelWidth[i] = 0;
    }
}

void BoardPainter::DrawLabels(GameState& state) {
    if (state.shared.noQuestion || !m_art.labelFont) return;
    const BoardGeometry& geometry = state.geometry;
    const Question& question = state.question;
    for (int player : {kRed, kBlue}) {
        const int32_t position = state.pointers.position[player];
        const double units = geometry.pixelsPerUnit > 0 ? position / geometry.pixelsPerUnit : 0.0;
        const double value = question.logScale
                                 ? std::pow(10.0, std::log10(question.minimum) + units) * geometry.decimalFactor
                                 : units + question.minimum * geometry.decimalFactor;
        DrawLabel(state, player, value);
    }
    if (state.round.revealState == kRevealFinished)
        DrawLabel(state, kSolution, question.solution * geometry.decimalFactor);
}

void BoardPainter::DrawLabel(GameState& state, int pointer, double value) {
    char text[512];
    FormatScaleNumber(text, sizeof text, value, state.geometry.decimals);
    const int align = pointer == kRed ? kTextStartsAtX : (pointer == kBlue ? kTextEndsAtX : kTextCentredOnX);
    m_labels.SetFont(m_art.labelFont);
    const int w = m_labels.Measure(text);
    const int height = state.geometry.clientHeight, width = state.geometry.clientWidth;
    int x, left;
    if (pointer == kRed) {
        x = kLabelEdge;
        left = 0;
    } else if (pointer == kBlue) {
        x = width - kLabelEdge;
        left = width - w - kLabelEdge;
    } else {
        x = kScaleOrigin + state.round.reveal.target;
        left = x - w / 2;
    }
    // A white halo one pixel round the text, then the face in yellow for the winner, else the pointer's colour.
    const uint32_t colour = state.round.winner == pointer ? kWinnerYellow : state.pointers.colour[pointer];
    m_labels.Draw(*m_image, x, height - kLabelTextRows, text, align, colour);

    state.drawn.labelLeft[pointer] = left;
    state.drawn.labelWidth[pointer] = w + kLabelRecordExtra;
    state.drawn.labelValue[pointer] = value;
    // The halo and the soft edge reach a little beyond the text: the whole drawn strip is invalidated.
    if (m_invalidate)
        m_invalidate(left - kHaloMargin, height - kLabelBottomRows, w + kLabelRecordExtra + kHaloMargin, kLabelBottomRows);
}

}  // namespace game
