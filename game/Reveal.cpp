#include "game/Reveal.h"

#include "game/GameState.h"

#include <cmath>
#include <cstdlib>

namespace game {

namespace {

constexpr double kRadiansPerMs = 0.001847995678582231;  // pi / 1700: one half wave per 1700 ms

int NonNegativeModulo(int value, int modulus) {
    const int r = value % modulus;
    return r < 0 ? r + modulus : r;
}

}  // namespace

int32_t SolutionPixel(const Question& question, const BoardGeometry& geometry) {
    const int32_t width = geometry.scaleLength > 0 ? geometry.scaleLength : 1;
    double pixel;
    if (question.logScale)
        pixel = (std::log10(question.solution) - std::log10(question.minimum)) * geometry.pixelsPerUnit;
    else
        pixel = (question.solution - question.minimum) * geometry.decimalFactor * geometry.pixelsPerUnit;
    if (!(pixel > 0)) return 0;  // also NaN
    if (pixel >= width) return width;
    return static_cast<int32_t>(pixel);
}

RevealPlan PlanReveal(int32_t target, int32_t scaleLength, int swingRandom, int amplitudeRandom) {
    const int32_t width = scaleLength > 0 ? scaleLength : 1;
    RevealPlan plan;
    plan.swingCount = NonNegativeModulo(swingRandom, 6) + 3;
    plan.target = target < 0 ? 0 : (target > width ? width : target);
    plan.runUpMs = static_cast<int32_t>(static_cast<int64_t>(plan.target) * kRunUpMsPerWidth / width);
    int32_t amplitude = width / 3 + NonNegativeModulo(amplitudeRandom, 100);
    if (plan.target + amplitude > width + 32) amplitude = width - plan.target + 32;
    if (plan.target - amplitude < -32) amplitude = plan.target + 32;
    plan.amplitude = amplitude;
    return plan;
}

int32_t RevealPosition(const RevealPlan& plan, int32_t scaleLength, uint32_t elapsedMs, bool* finished) {
    *finished = false;
    const int64_t elapsed = elapsedMs;
    if (elapsed < plan.runUpMs)
        return static_cast<int32_t>(static_cast<int64_t>(scaleLength) * elapsed / kRunUpMsPerWidth);
    const int64_t u = elapsed - plan.runUpMs;
    const int64_t swingMs = static_cast<int64_t>(plan.swingCount) * kHalfWaveMs;
    if (u < swingMs) {
        const double damping = 1.0 - static_cast<double>(u) / static_cast<double>(swingMs);
        return plan.target + static_cast<int32_t>(std::sin(u * kRadiansPerMs) * damping * plan.amplitude);
    }
    *finished = true;
    return plan.target;
}

int DecideWinner(int32_t target, int32_t redPosition, int32_t bluePosition) {
    const int64_t red = std::llabs(static_cast<int64_t>(target) - redPosition);
    const int64_t blue = std::llabs(static_cast<int64_t>(target) - bluePosition);
    if (blue < red) return kBlue;
    if (red < blue) return kRed;
    return -1;
}

}  // namespace game
