#include "tests/fuzz/DibSeeds.h"

namespace fuzz {

namespace {

struct Format {
    uint16_t bits;
    uint32_t compression;
    uint32_t masks[3];
    uint32_t clrUsed;
};

uint64_t Stride(int64_t width, uint32_t bits) { return (static_cast<uint64_t>(width) * bits + 31) / 32 * 4; }

Bytes MakeDib(uint32_t headerSize, const Format& f, int32_t width, int32_t height) {
    Bytes out;
    Put32(out, headerSize);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, f.bits);
    Put32(out, f.compression);
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    const bool rle = f.compression == BI_RLE8 || f.compression == BI_RLE4;
    // RLE: each row one run of `width` pixels and an end of line, then the end of the bitmap.
    const uint32_t pixelBytes = rle ? rows * 4 + 2 : static_cast<uint32_t>(Stride(width, f.bits) * rows);
    Put32(out, pixelBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, f.clrUsed);
    Put32(out, 0);
    const bool bitFields = f.compression == BI_BITFIELDS;
    while (out.size() < headerSize) {
        // V4/V5 headers: the masks, the alpha mask and then zeros (colour space, end points, gamma).
        const size_t at = out.size();
        Put32(out, at < 52 && bitFields ? f.masks[(at - 40) / 4] : at == 52 && f.bits == 32 ? 0xFF000000u : 0);
    }
    if (bitFields && headerSize < 52)
        for (uint32_t mask : f.masks) Put32(out, mask);
    const uint32_t entries = f.bits <= 8 ? (f.clrUsed ? f.clrUsed : 1u << f.bits) : f.clrUsed;
    for (uint32_t i = 0; i < entries; ++i) Put32(out, i * 0x00102030u);
    for (uint32_t row = 0; row < rows && rle; ++row) {
        out.insert(out.end(), {static_cast<uint8_t>(width), static_cast<uint8_t>(row * 17), 0, 0});
    }
    if (rle) out.insert(out.end(), {0, 1});
    for (uint32_t i = 0; i < pixelBytes && !rle; ++i) out.push_back(static_cast<uint8_t>(i * 29 + 3));
    return out;
}

}  // namespace

std::vector<Bytes> PackedDibSeeds() {
    static const Format kFormats[] = {
        {1, BI_RGB, {}, 0},          {4, BI_RGB, {}, 0},
        {8, BI_RGB, {}, 0},          {8, BI_RGB, {}, 16},
        {16, BI_RGB, {}, 0},         {16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, 0},
        {16, BI_BITFIELDS, {0x7C00, 0x03E0, 0x001F}, 0}, {24, BI_RGB, {}, 0},
        {24, BI_RGB, {}, 4},         {32, BI_RGB, {}, 0},
        {32, BI_BITFIELDS, {0xFF0000, 0x00FF00, 0x0000FF}, 0}, {8, BI_RLE8, {}, 0},
        {4, BI_RLE4, {}, 0},
    };
    static const uint32_t kHeaderSizes[] = {40, 52, 56, 108, 124};
    std::vector<Bytes> seeds;
    size_t version = 0;
    for (const Format& format : kFormats) {
        seeds.push_back(MakeDib(40, format, 5, 3));
        seeds.push_back(MakeDib(kHeaderSizes[1 + version++ % 4], format, 7, -2));
    }
    // The artwork: a .bmp file without its 14-byte file header, and a sprite stored as a packed DIB.
    Bytes star = ResourceBytes("STARSMALL", "SEED");
    if (star.size() > 14) seeds.emplace_back(star.begin() + 14, star.end());
    seeds.push_back(ResourceBytes("POINTER", "SEED"));
    return seeds;
}

uint64_t ClaimedDibBytes(const uint8_t* data, size_t size) {
    BITMAPINFOHEADER h;
    if (size < sizeof h) return 0;
    memcpy(&h, data, sizeof h);
    const uint32_t bits = h.biBitCount ? h.biBitCount : 32;
    uint64_t entries = h.biClrUsed;
    if (bits <= 8 && (entries == 0 || entries > (1u << bits))) entries = 1u << bits;
    uint64_t claim = static_cast<uint64_t>(h.biSize < sizeof h ? sizeof h : h.biSize) + 12 + 4 * entries;
    const int64_t rows = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
    if (h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS)
        claim += Stride(h.biWidth < 0 ? 0 : h.biWidth, bits) * static_cast<uint64_t>(rows);
    else
        claim += h.biSizeImage;
    return claim;
}

}  // namespace fuzz
