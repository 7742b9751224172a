#include "game/ScaleLayout.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace game {

namespace {

constexpr double kLogFloor = 0.00001;

double NiceStep(double step) {
    const double p = std::pow(10.0, std::floor(std::log10(step)));
    const double r = step / p;
    if (r <= 2.5) return 2.5 * p;
    if (r <= 5.0) return 5.0 * p;
    return 10.0 * p;
}

// The integer digits of a truncated value, without sign.
std::string IntegerDigits(double value) {
    char digits[400];
    const double magnitude = std::fabs(value);
    if (magnitude < 9.2e18)
        std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(magnitude));
    else
        std::snprintf(digits, sizeof digits, "%.0f", magnitude);  // exact digits of the double
    return digits;
}

}  // namespace

ScaleLayout ComputeScaleLayout(int32_t clientWidth, double minimum, double maximum, bool logarithmic) {
    ScaleLayout layout;
    layout.scaleLength = clientWidth - 64 >= 1 ? clientWidth - 64 : 1;
    const int32_t width = layout.scaleLength;

    if (logarithmic) {
        if (minimum < kLogFloor) minimum = maximum * 0.05;
        if (minimum < kLogFloor) minimum = kLogFloor;
        if (maximum < 2 * kLogFloor) maximum = 2 * kLogFloor;
    }
    layout.minimum = minimum;
    layout.maximum = maximum;

    double a = minimum, b = maximum;
    int32_t d = 0;
    while (std::fabs(b) < 100 && d < 6) {
        a *= 10;
        b *= 10;
        ++d;
    }
    layout.decimals = d;
    layout.decimalFactor = std::pow(10.0, d);
    if (logarithmic) {
        a = std::log10(a);
        b = std::log10(b);
    }

    const double extent = b - a;
    if (!(extent > 0) || !std::isfinite(extent)) return layout;  // no extent: no ticks, pixelsPerUnit 0
    layout.pixelsPerUnit = width / extent;

    const int32_t n = width / 100;
    if (n < 1) return layout;
    const double step = NiceStep(extent / n);
    if (!(step > 0) || !std::isfinite(step)) return layout;

    // Ticks by an integer counter: with |a| far above the step, t + step == t would never end a loop.
    const double firstIndex = std::trunc((a + 0.995 * step) / step);
    int32_t lastX = INT32_MIN;
    for (int32_t k = 0; k <= width + 1; ++k) {
        const double index = firstIndex + k;
        const double t = index * step;
        const double x = std::trunc((t - a) * layout.pixelsPerUnit);
        if (!(x <= width)) break;
        if (x < -width || static_cast<int32_t>(x) <= lastX) continue;
        lastX = static_cast<int32_t>(x);
        layout.ticks.push_back({lastX, logarithmic ? std::pow(10.0, t) : t, std::fmod(index, 2.0) == 0});
    }
    return layout;
}

int FormatScaleNumber(char* buffer, size_t size, double value, int decimals) {
    if (!buffer || size == 0) return 0;
    if (decimals < 0) decimals = 0;
    if (!std::isfinite(value)) value = 0;
    value = std::trunc(value);
    const bool negative = value < 0;

    std::string digits = IntegerDigits(value);
    const size_t places = static_cast<size_t>(decimals);
    if (digits.size() < places + 1) digits.insert(0, places + 1 - digits.size(), '0');
    const size_t integerLength = digits.size() - places;
    std::string fraction = digits.substr(integerLength);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    digits = digits.substr(0, integerLength);

    std::string text = negative ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ' ';
        text += digits[i];
    }
    if (!fraction.empty()) text += '.' + fraction;

    const size_t length = text.size() < size ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = 0;
    return static_cast<int>(length);
}

uint32_t ScaleGradientColour(int32_t i, int32_t n) {
    if (n == 0) n = 1;
    int64_t v = static_cast<int64_t>(i) * 511 / n;
    if (v < 0) return 0xFFC000;
    if (v > 511) v = 511;
    if (v <= 255) {
        const uint32_t red = static_cast<uint32_t>(255 - v);
        const uint32_t green = static_cast<uint32_t>(v / 4 - 64) & 0xFF;
        return red << 16 | green << 8;
    }
    const int64_t w = 511 - v;
    const uint32_t green = static_cast<uint32_t>(w / 4 - 64) & 0xFF;
    const uint32_t blue = static_cast<uint32_t>(255 - w);
    return green << 8 | blue;
}

}  // namespace game
