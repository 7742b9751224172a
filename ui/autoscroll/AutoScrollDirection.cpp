#include "ui/autoscroll/AutoScrollDirection.h"

#include <cstdlib>

namespace {

constexpr int kMarkSize = 32;

enum Code { kNone = 0, kDown = 1, kUp = 2, kRight = 3, kDownRight = 4, kUpRight = 5, kLeft = 6, kDownLeft = 7, kUpLeft = 8 };

int Grey(const uint8_t* grey, int x, int y) {
    const uint8_t pair = grey[(y * kMarkSize + x) / 2];
    return x % 2 ? pair & 0x0F : pair >> 4;
}

}  // namespace

int AutoScrollCode(int dx, int dy, int axes) {
    if (dx == 0) dx = 1;
    if (dy == 0) dy = 1;
    const int64_t x = dx, y = dy;
    if (x * x + y * y < kAutoScrollDeadRadius * kAutoScrollDeadRadius) return kNone;
    const int64_t r = 100 * y / x;
    int code;
    if (dx < 0)
        code = r > 240 ? kUp : r > 40 ? kUpLeft : r > -40 ? kLeft : r > -240 ? kDownLeft : kDown;
    else
        code = r > 240 ? kDown : r > 40 ? kDownRight : r > -40 ? kRight : r > -240 ? kUpRight : kUp;
    if (axes == kAutoScrollHorizontal) return code - code % 3;
    if (axes == kAutoScrollVertical) return code % 3;
    return code;
}

int AutoScrollStep(int dx, int dy, int axes) {
    const int64_t a = (axes & kAutoScrollHorizontal) ? std::llabs(static_cast<int64_t>(dx >> 4)) : 0;
    const int64_t b = (axes & kAutoScrollVertical) ? std::llabs(static_cast<int64_t>(dy >> 4)) : 0;
    const int64_t step = a + b;
    return step > INT32_MAX ? INT32_MAX : static_cast<int>(step);
}

int AutoScrollTarget(int code, int bar, int pos, int step, int minPos, int maxPos) {
    const int part = bar == 0 ? code / 3 : code % 3;
    if (part == 0) return pos;
    int64_t target = static_cast<int64_t>(pos) + (part == 2 ? -static_cast<int64_t>(step) : step);
    if (target > maxPos) target = maxPos;
    if (target < minPos) target = minPos;
    return static_cast<int>(target);
}

std::vector<uint8_t> OriginMarkBits(const uint8_t* grey, int bitsPixel) {
    std::vector<uint8_t> bits;
    if (bitsPixel == 1) {
        bits.assign(kMarkSize * kMarkSize / 8, 0);
        for (int y = 0; y < kMarkSize; ++y)
            for (int x = 0; x < kMarkSize; ++x)
                if (Grey(grey, x, y) > 14) bits[(y * kMarkSize + x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        return bits;
    }
    if (bitsPixel == 4) return std::vector<uint8_t>(grey, grey + kMarkSize * kMarkSize / 2);
    for (int y = 0; y < kMarkSize; ++y) {
        for (int x = 0; x < kMarkSize; ++x) {
            const int v = Grey(grey, x, y);
            switch (bitsPixel) {
            case 8: bits.push_back(static_cast<uint8_t>(v)); break;
            case 15:
            case 16: {
                const int g = 2 * v + 1;
                const int word = (g << 10) | (g << 5) | g;
                bits.push_back(static_cast<uint8_t>(word & 0xFF));
                bits.push_back(static_cast<uint8_t>(word >> 8));
                break;
            }
            case 24:
            case 32: {
                const uint8_t g = static_cast<uint8_t>(16 * v + 15);
                bits.insert(bits.end(), {g, g, g});
                if (bitsPixel == 32) bits.push_back(0);
                break;
            }
            default: return {};
            }
        }
    }
    return bits;
}
