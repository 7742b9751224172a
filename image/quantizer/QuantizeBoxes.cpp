// The quantizer's boxes: median splitting, the longest axis, a box's mean colour and the box of a colour.
#include "image/DibImageDetail.h"
#include "image/quantizer/QuantizeTable.h"

namespace {

bool Inside(const DibQuantBox& box, const DibQuantNode& node, int c) {
    return node.channel[c] >= box.min[c] && node.channel[c] <= box.max[c];
}

// The colours and pixels of the slice `value` of a box on one axis.
void CountSlice(const DibQuantColourTable& table, const DibQuantBox& box, int axis, uint32_t value,
                uint32_t* colours, uint32_t* pixels) {
    const int other1 = (axis + 1) % 3, other2 = (axis + 2) % 3;
    uint32_t c = 0, p = 0;
    for (const DibQuantNode* n = table.heads[value][axis]; n; n = n->next[axis])
        if (Inside(box, *n, other1) && Inside(box, *n, other2)) ++c, p += n->count;
    *colours = c;
    *pixels = p;
}

} // namespace

int CDibImage::QuantizeLongestAxis(uint32_t box) const {
    const DibQuantBox& b = quantBoxes[box];
    const int blue = b.max[kQuantBlue] - b.min[kQuantBlue], green = b.max[kQuantGreen] - b.min[kQuantGreen],
              red = b.max[kQuantRed] - b.min[kQuantRed];
    if (red >= blue && red >= green) return kQuantRed;
    if (blue >= red && blue >= green) return kQuantBlue;
    return kQuantGreen;
}

void CDibImage::QuantizeSplitBox(int depth, int tries, uint32_t box, int axis) {
    const DibQuantColourTable& table = *quantColours;
    for (;;) {
        DibQuantBox& b = quantBoxes[box];
        if (b.colours <= 1 || quantBoxCount >= 256) return;
        // Walk up the axis until the slices below and at v hold half the box's pixels.
        bool turn = b.min[axis] == b.max[axis];
        uint32_t v = b.min[axis], lowColours = 0, lowPixels = 0, sliceColours = 0, slicePixels = 0;
        while (!turn) {
            if (v > b.max[axis]) throw "INTERNAL ERROR - Quantization uArea pixel count invalid";
            CountSlice(table, b, axis, v, &sliceColours, &slicePixels);
            if (sliceColours == b.colours) turn = true;
            else if (sliceColours > b.colours) throw "INTERNAL ERROR - Quantization area color count invalid";
            else if ((b.pixels >> 1) <= lowPixels + slicePixels) break;
            else lowColours += sliceColours, lowPixels += slicePixels, ++v;
        }
        if (turn) {
            // Nothing to cut on this axis: try the next one, at most twice.
            if (tries > 1) return;
            ++tries;
            axis = (axis + 1) % 3;
            continue;
        }
        // The slice joins the lower part, unless that would leave nothing above: then the cut moves down.
        uint32_t cut = v;
        if (lowPixels + slicePixels == b.pixels) --cut;
        else lowColours += sliceColours, lowPixels += slicePixels;

        DibQuantBox& upper = quantBoxes[quantBoxCount];
        const uint32_t upperIndex = quantBoxCount++;
        upper = b;
        upper.min[axis] = (uint8_t)(cut + 1);
        upper.colours = b.colours - lowColours;
        upper.pixels = b.pixels - lowPixels;
        b.max[axis] = (uint8_t)cut;
        b.colours = lowColours;
        b.pixels = lowPixels;

        if (depth == 0) return;
        --depth;
        QuantizeSplitBox(depth, 0, upperIndex, QuantizeLongestAxis(upperIndex));
        axis = QuantizeLongestAxis(box);
        tries = 0;
    }
}

void CDibImage::QuantizeBoxMean(uint32_t box) {
    const DibQuantColourTable& table = *quantColours;
    const DibQuantBox& b = quantBoxes[box];
    uint64_t red = 0, green = 0, blue = 0, n = 0;
    for (uint32_t v = b.min[kQuantRed]; v <= b.max[kQuantRed]; ++v)
        for (DibQuantNode* node = table.heads[v][kQuantRed]; node; node = node->next[kQuantRed]) {
            if (!Inside(b, *node, kQuantGreen) || !Inside(b, *node, kQuantBlue)) continue;
            red += (uint64_t)node->count * node->channel[kQuantRed];
            green += (uint64_t)node->count * node->channel[kQuantGreen];
            blue += (uint64_t)node->count * node->channel[kQuantBlue];
            n += node->count;
            node->box = (uint8_t)box; // the mapping finds the box through the colour's node
        }
    if (n == 0) return;
    SetPaletteEntry((int)box, (uint8_t)((red + n / 2) / n), (uint8_t)((green + n / 2) / n),
                    (uint8_t)((blue + n / 2) / n));
}

uint32_t CDibImage::QuantizeFindBox(uint8_t red, uint8_t green, uint8_t blue) const {
    for (uint32_t i = 0; i < quantBoxCount; ++i) {
        const DibQuantBox& b = quantBoxes[i];
        if (red >= b.min[kQuantRed] && red <= b.max[kQuantRed] && green >= b.min[kQuantGreen] &&
            green <= b.max[kQuantGreen] && blue >= b.min[kQuantBlue] && blue <= b.max[kQuantBlue])
            return i;
    }
    throw "INTERNAL ERROR - uPos not quantized";
}
