// Packed DIBs as another program puts them on the clipboard (CF_DIB, CF_DIBV5): a block and its size.
#include "tests/fuzz/DibSeeds.h"
#include "tests/fuzz/FuzzEngine.h"

#include "image/DibImage.h"

namespace {

bool Run(const uint8_t* data, size_t size) {
    CDibImage image;
    if (!image.LoadDibBlock(data, size)) {
        FUZZ_CHECK(!image.HasPixels());
        return false;
    }
    BITMAPINFOHEADER h;
    memcpy(&h, data, sizeof h);
    FUZZ_CHECK(image.width == static_cast<uint32_t>(h.biWidth) && image.height == static_cast<uint32_t>(h.biHeight));
    // The pixels taken are whole: every one can be read back.
    uint64_t sum = 0;
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) sum += image.GetPixel(static_cast<int>(x), static_cast<int>(y));
    return sum != 1;  // taken (the sum keeps the reads)
}

fuzz::Registration registration{{"ClipboardDib", 150000, fuzz::PackedDibSeeds, Run, {}}};

}  // namespace
