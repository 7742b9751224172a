// The quantizer's boxes: median splitting, the longest axis, a box's mean colour and the box of a colour.
#include "image/DibImageDetail.h"
#include "image/quantizer/QuantizeTable.h"


namespace {

// Moves the colours of [first, last) whose value on the axis is at most cut to the front; returns the end
// of those. Without a branch on the colour (the values come in no order, so a branch would be mispredicted
// half the time): each colour swaps with the first of the others and the front grows by the comparison.
DibQuantColour* PartitionAt(DibQuantColour* first, DibQuantColour* last, int axis, uint32_t cut) {
    DibQuantColour* front = first;
    for (DibQuantColour* at = first; at < last; ++at) {
        const DibQuantColour colour = *at;
        *at = *front;
        *front = colour;
        front += colour.Channel(axis) <= cut;
    }
    return front;
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
    DibQuantColourTable& table = *quantColours;
    for (;;) {
        DibQuantBox& b = quantBoxes[box];
        if (b.colours <= 1 || quantBoxCount >= 256) return;
        bool turn = b.min[axis] == b.max[axis];
        uint32_t v = b.min[axis], lowColours = 0, lowPixels = 0;
        uint32_t sliceColours[256] = {}, slicePixels[256] = {};
        if (!turn) {
            // The box's colours by their value on the axis, then up the axis until the slices below and
            // at v hold half the box's pixels.
            for (uint32_t k = table.rangeBegin[box]; k < table.rangeEnd[box]; ++k) {
                const DibQuantColour& c = table.colours[k];
                ++sliceColours[c.Channel(axis)];
                slicePixels[c.Channel(axis)] += c.count;
            }
        }
        while (!turn) {
            if (v > b.max[axis]) throw "INTERNAL ERROR - Quantization uArea pixel count invalid";
            if (sliceColours[v] == b.colours) turn = true;
            else if (sliceColours[v] > b.colours) throw "INTERNAL ERROR - Quantization area color count invalid";
            else if ((b.pixels >> 1) <= lowPixels + slicePixels[v]) break;
            else lowColours += sliceColours[v], lowPixels += slicePixels[v], ++v;
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
        if (lowPixels + slicePixels[v] == b.pixels) --cut;
        else lowColours += sliceColours[v], lowPixels += slicePixels[v];

        const uint32_t upperIndex = quantBoxCount++;
        DibQuantBox& upper = quantBoxes[upperIndex];
        upper = b;
        upper.min[axis] = (uint8_t)(cut + 1);
        upper.colours = b.colours - lowColours;
        upper.pixels = b.pixels - lowPixels;
        b.max[axis] = (uint8_t)cut;
        b.colours = lowColours;
        b.pixels = lowPixels;
        DibQuantColour* colours = table.colours.data();
        DibQuantColour* middle = PartitionAt(colours + table.rangeBegin[box], colours + table.rangeEnd[box], axis, cut);
        table.rangeBegin[upperIndex] = (uint32_t)(middle - colours);
        table.rangeEnd[upperIndex] = table.rangeEnd[box];
        table.rangeEnd[box] = table.rangeBegin[upperIndex];

        if (depth == 0) return;
        --depth;
        QuantizeSplitBox(depth, 0, upperIndex, QuantizeLongestAxis(upperIndex));
        axis = QuantizeLongestAxis(box);
        tries = 0;
    }
}

void CDibImage::QuantizeBoxMean(uint32_t box) {
    DibQuantColourTable& table = *quantColours;
    uint64_t sums[3] = {}, n = 0;
    for (uint32_t k = table.rangeBegin[box]; k < table.rangeEnd[box]; ++k) {
        if (k + kQuantAhead < table.rangeEnd[box]) table.PrefetchSlot(table.colours[k + kQuantAhead]);
        const DibQuantColour& colour = table.colours[k];
        for (int c = 0; c < 3; ++c) sums[c] += (uint64_t)colour.count * colour.Channel(c);
        n += colour.count;
        table.SetBox(colour, box); // the mapping finds the box through the colour's slot
    }
    if (n == 0) return;
    SetPaletteEntry((int)box, (uint8_t)((sums[kQuantRed] + n / 2) / n), (uint8_t)((sums[kQuantGreen] + n / 2) / n),
                    (uint8_t)((sums[kQuantBlue] + n / 2) / n));
}

uint32_t CDibImage::QuantizeFindBox(uint8_t red, uint8_t green, uint8_t blue) const {
    for (uint32_t i = 0; i < quantBoxCount; ++i)
        if (BoxHolds(quantBoxes[i], red, green, blue)) return i;
    throw "INTERNAL ERROR - uPos not quantized";
}
