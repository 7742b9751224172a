// CDibImage::Filter3x3: a 3 x 3 smoothing kernel with a settable centre weight.
//
//   1 2 1
//   2 c 2     c = W - 12; W = strength + 1 for strengths of 11 and above, else 12.
//   1 2 1
#include "image/DibImageDetail.h"

#include <vector>

namespace {

// Colour words of source row y with one extra column on either side; outside rows and columns are
// marked absent (a neighbour outside the image takes the centre's colour).
constexpr uint32_t kAbsent = 0xffffffff;

void LoadRow(const CDibImage& source, int y, std::vector<uint32_t>& row) {
    std::fill(row.begin(), row.end(), kAbsent);
    if (y < 0 || y >= (int)source.height) return;
    const uint8_t* in = DibColourRow(source, y);
    for (uint32_t x = 0; x < source.width; ++x) row[x + 1] = LoadU32(in + 4 * x) & 0xffffff;
}

} // namespace

bool CDibImage::Filter3x3(const CDibImage& image, uint32_t strength, uint32_t outDepth) {
    return DibFromSource(*this, image, [&](const CDibImage& source) {
        if (!source.HasPixels() || !Create(outDepth, source.width, source.height, kDibNoFill, kDibHeapPixels))
            return false;
        const uint32_t total = (strength & 255) >= 11 ? (strength & 255) + 1 : 12, centreWeight = total - 12;
        int shift = 0;
        for (int k = 4; k <= 8; ++k)
            if (total == 1u << k) shift = k;

        std::vector<uint32_t> above(width + 2), middle(width + 2), below(width + 2), colours(width);
        LoadRow(source, -1, above);
        LoadRow(source, 0, middle);
        for (uint32_t y = 0; y < height; ++y) {
            LoadRow(source, (int)y + 1, below);
            uint8_t* out = RowAddress((int)y);
            for (uint32_t x = 1; x <= width; ++x) {
                const uint32_t centre = middle[x];
                auto at = [centre](uint32_t v) { return v == kAbsent ? centre : v; };
                const uint32_t edges[4] = {at(above[x]), at(middle[x - 1]), at(middle[x + 1]), at(below[x])};
                const uint32_t corners[4] = {at(above[x - 1]), at(above[x + 1]), at(below[x - 1]), at(below[x + 1])};
                uint32_t colour = 0;
                for (int s = 0; s <= 16; s += 8) {
                    uint32_t sum = ((centre >> s) & 255) * centreWeight;
                    for (int i = 0; i < 4; ++i) sum += 2 * ((edges[i] >> s) & 255) + ((corners[i] >> s) & 255);
                    colour |= (shift ? sum >> shift : sum / total) << s;
                }
                colours[x - 1] = colour;
            }
            DibTraitsOf(*this).writeRow(out, colours.data(), width);
            above.swap(middle);
            middle.swap(below);
        }
        return true;
    });
}
