// The greyed (disabled) copy of a button picture.
#include "image/buttons/ButtonImages.h"

namespace {

void GreyTriple(uint8_t* bgr) {
    if (bgr[0] == 0xC0 && bgr[1] == 0xC0 && bgr[2] == 0xC0) return; // the mask colour
    bgr[0] = bgr[1] = bgr[2] = ButtonGreyLevel(bgr[2], bgr[1], bgr[0]);
}

} // namespace

uint8_t ButtonGreyLevel(uint8_t red, uint8_t green, uint8_t blue) {
    const int y = (29 * blue + 152 * green + 76 * red) >> 8;
    if (y < 192) return (uint8_t)(144 + y / 4);
    if (y == 192) return 191;
    return (uint8_t)((y + 579) / 4);
}

void GreyButtonDib(BITMAPINFO* info, void* bits) {
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount <= 8) {
        const DWORD count = h.biClrUsed && h.biClrUsed < (1u << h.biBitCount) ? h.biClrUsed : 1u << h.biBitCount;
        for (DWORD i = 0; i < count; ++i) GreyTriple(&info->bmiColors[i].rgbBlue);
        return;
    }
    if (h.biBitCount != 24 && h.biBitCount != 32) return;
    const int bytes = h.biBitCount / 8;
    const size_t stride = ((size_t)h.biWidth * h.biBitCount + 31) / 32 * 4;
    const LONG rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    for (LONG y = 0; y < rows; ++y) {
        uint8_t* row = (uint8_t*)bits + y * stride;
        for (LONG x = 0; x < h.biWidth; ++x) GreyTriple(row + x * bytes);
    }
}
