// Bitmap-font blobs from a module's resources: the check the game makes before it takes one, and everything
// the text engine then reads (header, metrics block, glyphs).
#include "tests/fuzz/FuzzEngine.h"

#include "game/BoardArt.h"
#include "image/BitmapFont.h"
#include "image/DibImage.h"

namespace {

// A long-header font of three glyphs with a metrics block.
fuzz::Bytes LongFont() {
    fuzz::Bytes out;
    fuzz::Put32(out, kBitmapFontMagic);
    fuzz::Put32(out, 0x01);
    fuzz::Put16(out, 'A');
    fuzz::Put16(out, 'C');
    fuzz::Put32(out, 0);
    const size_t table = out.size();
    out.resize(table + 12);
    fuzz::Put32(out, kBitmapFontMetricsMagic);
    fuzz::Put32(out, 23);
    for (uint32_t type = 0; type < 3; ++type) {
        fuzz::Put16(out, type);
        fuzz::Put16(out, 1);
        out.push_back(static_cast<uint8_t>(type == 1 ? 2 : -1));
    }
    for (uint32_t glyph = 0; glyph < 3; ++glyph) {
        const uint32_t at = static_cast<uint32_t>(out.size());
        for (int i = 0; i < 4; ++i) out[table + 4 * glyph + i] = static_cast<uint8_t>(at >> (8 * i));
        out.push_back(static_cast<uint8_t>(5 + glyph * 4));  // width
        out.push_back(6);                                     // height
        for (uint32_t row = 0; row < 6 * ((5 + glyph * 4 + 7) / 8); ++row) out.push_back(static_cast<uint8_t>(row * 37));
    }
    return out;
}

std::vector<fuzz::Bytes> Seeds() { return {fuzz::ResourceBytes("SCALEFONT", "SEED"), LongFont()}; }

void Pen(CDibImage* image, int x, int y, uint32_t colour) {
    if (image->Contains(x, y)) image->SetPixel(x, y, colour);
}

bool Run(const uint8_t* data, size_t size) {
    if (!game::IsValidBitmapFont(data, size)) return false;
    BitmapFontHeader header;
    FUZZ_CHECK(ReadBitmapFontHeader(data, &header));
    ReadBitmapFontMetrics(data, header);
    CDibImage image;
    FUZZ_CHECK(image.Create(32, 96, 64));
    for (uint8_t align : {0, 1, 2, 3}) {
        image.textVAlign = align;
        image.SetFont(data);
        image.SetTextColor(Pen, 0xFFFFFF, 0);
        image.SetTextColor(Pen, 0x000080, 1);
        char text[65];
        for (int first = 1; first < 256; first += 64) {
            for (int i = 0; i < 64; ++i) text[i] = static_cast<char>(first + i);
            text[64] = 0;
            image.DrawText(-20, 40, text);
            image.DrawText(10, kDibMeasureText, text);
        }
    }
    return true;
}

// Found: a metrics block whose length (2071) reaches past the blob's end was walked beyond it.
const char* const kMetricsPastTheEnd =
    "0000464e010000004100430000000000330000003b00000049000000ff00aa551708000000000500ff010001000202010100ff050600254a6f94"
    "b9090600254a6f9499de03284d76970d0600254a6f94b9de03284d7297";

fuzz::Registration registration{{"BitmapFont", 8000, Seeds, Run, {kMetricsPastTheEnd}}};

}  // namespace
