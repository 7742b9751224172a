// Question-page heads: the markers, the question they make and the scale drawn from it.
#include "tests/fuzz/FuzzEngine.h"
#include "tests/support/GuardPage.h"

#include "game/GameState.h"
#include "game/PageMarkers.h"
#include "game/ScaleLayout.h"

#include <cmath>

namespace {

std::vector<fuzz::Bytes> Seeds() {
    return fuzz::TextSeeds({
        "<html><!--MIN0--><!--MAX1000--><!--VAL347--><!--LOG0--><body>Wie hoch ist der Turm?",
        "<!--min1--><!--max1e6--><!--val52000--><!--log1-->",
        "<!--MIN-273.15--><!--MAX5500--><!--VAL100--><!--LOG0-->",
        "<!--MIN0.001--><!--MAX0.002--><!--VAL0.0015--><!--LOG0-->",
        "<!--MIN1e-300--><!--MAX1e300--><!--VAL1--><!--LOG7-->",
        "<!--FIN--><html>Ende des Spiels</html>",
        "<!--MAX100--><!--MIN0--><!--VAL0x40--><!--LOG-->",
    });
}

bool Run(const uint8_t* data, size_t size) {
    // A head as the game reads it: at most 254 bytes and two zero bytes, the last one against the guard.
    fuzz::Bytes head(data, data + (size < 254 ? size : 254));
    head.insert(head.end(), {0, 0});
    GuardedBytes guarded(head.data(), head.size());
    const game::PageMarkers markers = game::ParsePageMarkers(guarded.Data());
    game::Question question;
    if (game::TakeQuestionMarkers(question, markers) != game::kQuestionOk) return false;
    FUZZ_CHECK(std::isfinite(question.minimum) && std::isfinite(question.maximum) && std::isfinite(question.solution));
    FUZZ_CHECK(question.minimum <= question.solution && question.solution <= question.maximum);
    for (int32_t width : {100, 1000, 3840}) {
        const game::ScaleLayout scale = game::ComputeScaleLayout(width, question.minimum, question.maximum, question.logScale != 0);
        FUZZ_CHECK(std::isfinite(scale.pixelsPerUnit) && scale.ticks.size() <= static_cast<size_t>(width) + 1);
        for (const game::ScaleTick& tick : scale.ticks) {
            char label[64];
            FUZZ_CHECK(game::FormatScaleNumber(label, sizeof label, tick.value, scale.decimals) < 64);
        }
    }
    return true;
}

fuzz::Registration registration{{"PageMarkers", 80000, Seeds, Run, {}}};

}  // namespace
