// CDibImage exchange: clipboard, GDI bitmaps, resources and packed DIBs (under Wine with a display).
#include "tests/image/DibImageTestSupport.h"
#include "tests/support/ClipboardTestLock.h"

#include <cstdlib>

namespace {

// A hidden window that owns the clipboard while a test runs, holding the suite's clipboard lock.
class ClipboardOwner {
public:
    ClipboardOwner() { hwnd = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr); }
    ~ClipboardOwner() {
        if (hwnd) DestroyWindow(hwnd);
    }
    ClipboardTestLock lock;
    // Places a raw block on the clipboard as the given format.
    bool Place(UINT format, const void* data, size_t size) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(block), data, size);
        GlobalUnlock(block);
        if (!OpenClipboard(hwnd)) return false;
        EmptyClipboard();
        const bool ok = SetClipboardData(format, block) != nullptr;
        CloseClipboard();
        return ok;
    }
    HWND hwnd;
};

// The colour a pixel shows, whatever the depth.
uint32_t ShownColour(const CDibImage& image, int x, int y) {
    const uint32_t v = image.GetPixel(x, y);
    return (image.trueColour ? v : image.GetPaletteEntry((int)v, nullptr, nullptr, nullptr)) & 0xffffff;
}

// Colours equal within the precision of a depth's channels.
bool CloseColours(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs((int)((a >> shift) & 255) - (int)((b >> shift) & 255)) > tolerance) return false;
    return true;
}

CDibImage PatternImage(uint32_t depth, uint32_t w, uint32_t h, std::mt19937& rng) {
    CDibImage image = RandomImage(depth, w, h, rng);
    for (uint32_t i = 0; i < image.paletteSize; ++i) image.SetPaletteColor((int)i, rng() & 0xffffff);
    return image;
}

std::vector<uint8_t> PackedDib(const CDibImage& image, uint32_t clrUsed, uint32_t entries) {
    BITMAPINFOHEADER h = image.header->bmiHeader;
    h.biClrUsed = clrUsed;
    std::vector<uint8_t> block(sizeof h + 4 * entries + image.imageSize);
    memcpy(block.data(), &h, sizeof h);
    memcpy(block.data() + sizeof h, image.palette, 4 * entries);
    memcpy(block.data() + sizeof h + 4 * entries, image.bits, image.imageSize);
    return block;
}

} // namespace

TEST(DibImageExchange, ClipboardRoundTripAtEveryDepth) {
    ClipboardOwner owner;
    ASSERT_NE(nullptr, owner.hwnd);
    std::mt19937 rng(23);
    for (uint32_t depth : AllDepths()) {
        CDibImage image = PatternImage(depth, 13, 5, rng), pasted;
        ASSERT_TRUE(image.CopyToClipboard(owner.hwnd)) << depth;
        ASSERT_TRUE(pasted.PasteFromClipboard(owner.hwnd, kDibPasteKeepAlpha)) << depth;
        EXPECT_EQ(depth, pasted.depth);
        EXPECT_TRUE(SamePixels(image, pasted)) << depth;
        for (uint32_t i = 0; i < image.paletteSize; ++i)
            ASSERT_EQ(image.GetPaletteEntry((int)i, nullptr, nullptr, nullptr),
                      pasted.GetPaletteEntry((int)i, nullptr, nullptr, nullptr));
    }
}

TEST(DibImageExchange, ClipboardBlockAndAlpha) {
    ClipboardOwner owner;
    CDibImage image, pasted;
    ASSERT_TRUE(image.Create(16, 5, 3, 0x00ff0000));
    ASSERT_TRUE(image.CopyToClipboard(owner.hwnd));
    ASSERT_TRUE(OpenClipboard(owner.hwnd));
    HANDLE data = GetClipboardData(CF_DIB);
    ASSERT_NE(nullptr, data);
    EXPECT_GE(GlobalSize(data), 40 + 12 + image.imageSize); // the three masks travel along
    CloseClipboard();

    ASSERT_TRUE(image.Create(32, 3, 2, 0x80123456));
    ASSERT_TRUE(image.CopyToClipboard(owner.hwnd));
    ASSERT_TRUE(pasted.PasteFromClipboard(owner.hwnd, 0));
    EXPECT_EQ(0x00123456u, pasted.GetPixel(2, 1));
    ASSERT_TRUE(pasted.PasteFromClipboard(owner.hwnd, kDibPasteKeepAlpha));
    EXPECT_EQ(0x80123456u, pasted.GetPixel(2, 1));

    CDibImage empty;
    EXPECT_FALSE(empty.CopyToClipboard(owner.hwnd));
}

TEST(DibImageExchange, PasteTakesForeignBlocksWithCare) {
    ClipboardOwner owner;
    CDibImage source, pasted;
    ASSERT_TRUE(source.Create(8, 4, 2, 0));
    for (int x = 0; x < 4; ++x) source.SetPixel(x, 0, 250 + (uint32_t)x);
    source.SetPaletteColor(253, 0x00abcdef);
    // biClrUsed 0 on an 8-bit DIB means 256 entries.
    std::vector<uint8_t> dib = PackedDib(source, 0, 256);
    ASSERT_TRUE(owner.Place(CF_DIB, dib.data(), dib.size()));
    ASSERT_TRUE(pasted.PasteFromClipboard(owner.hwnd, 0));
    EXPECT_EQ(253u, pasted.GetPixel(3, 0));
    EXPECT_EQ(0x00abcdefu, pasted.GetPaletteEntry(253, nullptr, nullptr, nullptr));

    // Top-down DIBs are refused.
    BITMAPINFOHEADER* h = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
    h->biHeight = -2;
    ASSERT_TRUE(owner.Place(CF_DIB, dib.data(), dib.size()));
    EXPECT_FALSE(pasted.PasteFromClipboard(owner.hwnd, 0));
    EXPECT_EQ(0u, pasted.width);

    // More colours than a palette holds: only 256 are taken, and the pixels follow them.
    h->biHeight = 2;
    h->biClrUsed = 1000;
    ASSERT_TRUE(owner.Place(CF_DIB, dib.data(), dib.size()));
    ASSERT_TRUE(pasted.PasteFromClipboard(owner.hwnd, 0));
    EXPECT_EQ(253u, pasted.GetPixel(3, 0));
    // A colour table or pixels the block cannot hold: refused, no crash.
    CDibImage rgb;
    ASSERT_TRUE(rgb.Create(24, 4, 2, 0));
    std::vector<uint8_t> rgbDib = PackedDib(rgb, 1000, 0);
    ASSERT_TRUE(owner.Place(CF_DIB, rgbDib.data(), rgbDib.size()));
    EXPECT_FALSE(pasted.PasteFromClipboard(owner.hwnd, 0));
    h->biClrUsed = 0;
    h->biHeight = 2000;
    ASSERT_TRUE(owner.Place(CF_DIB, dib.data(), dib.size()));
    EXPECT_FALSE(pasted.PasteFromClipboard(owner.hwnd, 0));
    h->biHeight = 2;
    ASSERT_TRUE(owner.Place(CF_DIB, dib.data(), 60));
    EXPECT_FALSE(pasted.PasteFromClipboard(owner.hwnd, 0));
    ASSERT_TRUE(owner.Place(CF_DIB, dib.data(), 20));
    EXPECT_FALSE(pasted.PasteFromClipboard(owner.hwnd, 0));
    h->biCompression = BI_RLE8;
    ASSERT_TRUE(owner.Place(CF_DIB, dib.data(), dib.size()));
    EXPECT_FALSE(pasted.PasteFromClipboard(owner.hwnd, 0));

    // A palette DIB with fewer colours than its depth allows.
    h->biCompression = BI_RGB;
    std::vector<uint8_t> few = PackedDib(source, 2, 2);
    reinterpret_cast<BITMAPINFOHEADER*>(few.data())->biClrUsed = 2;
    source.FillRect(0, 0, 4, 2, 1);
    memcpy(few.data() + 40 + 8, source.bits, source.imageSize);
    ASSERT_TRUE(owner.Place(CF_DIB, few.data(), few.size()));
    ASSERT_TRUE(pasted.PasteFromClipboard(owner.hwnd, 0));
    EXPECT_EQ(1u, pasted.GetPixel(0, 0));
}

TEST(DibImageExchange, GdiBitmapRoundTripAtEveryDepth) {
    std::mt19937 rng(29);
    for (uint32_t depth : AllDepths()) {
        CDibImage image = PatternImage(depth, 11, 4, rng), back;
        HBITMAP bitmap = image.ToBitmap(nullptr);
        ASSERT_NE(nullptr, bitmap) << depth;
        ASSERT_TRUE(back.FromBitmap(nullptr, bitmap)) << depth;
        DeleteObject(bitmap);
        ASSERT_EQ(image.width, back.width);
        ASSERT_EQ(image.height, back.height);
        // GDI widens 4- and 5-bit channels by repeating their top bits.
        const int tolerance = depth == 12 ? 15 : (depth == 15 || depth == 16) ? 7 : 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 11; ++x)
                ASSERT_TRUE(CloseColours(ShownColour(image, x, y), ShownColour(back, x, y), tolerance))
                    << depth << " at " << x << "," << y << ": " << std::hex << ShownColour(image, x, y) << " vs "
                    << ShownColour(back, x, y);
    }
    CDibImage empty, image;
    EXPECT_EQ(nullptr, empty.ToBitmap(nullptr));
    EXPECT_FALSE(image.FromBitmap(nullptr, nullptr));

    // A monochrome bitmap comes back at 1 bit with its two colours.
    const uint8_t rows[4] = {0x80, 0, 0x40, 0};
    HBITMAP mono = CreateBitmap(2, 2, 1, 1, rows);
    ASSERT_TRUE(image.FromBitmap(nullptr, mono));
    DeleteObject(mono);
    EXPECT_EQ(1u, image.depth);
    EXPECT_EQ(0xffffffu, ShownColour(image, 0, 0));
    EXPECT_EQ(0u, ShownColour(image, 1, 0));
    EXPECT_EQ(0xffffffu, ShownColour(image, 1, 1));
}

TEST(DibImageExchange, LoadResource) {
    CDibImage image;
    ASSERT_TRUE(image.LoadResource(MAKEINTRESOURCEA(200), nullptr));
    EXPECT_EQ(2u, image.width);
    EXPECT_EQ(2u, image.height);
    EXPECT_EQ(0xff0000u, ShownColour(image, 0, 0));
    EXPECT_EQ(0xffffffu, ShownColour(image, 1, 0));
    EXPECT_EQ(0x0000ffu, ShownColour(image, 0, 1));
    EXPECT_EQ(0x00ff00u, ShownColour(image, 1, 1));
    EXPECT_FALSE(image.LoadResource(MAKEINTRESOURCEA(201), nullptr));
    EXPECT_EQ(0u, image.width);
}

TEST(DibImageExchange, PackedDibRoundTripAtEveryDepth) {
    std::mt19937 rng(31);
    for (uint32_t depth : AllDepths()) {
        CDibImage image = PatternImage(depth, 9, 3, rng), back;
        ASSERT_TRUE(back.FromPackedDib(&image.header->bmiHeader, image.bits, image.palette)) << depth;
        EXPECT_EQ(depth, back.depth);
        EXPECT_TRUE(SameBytes(image, back)) << depth;
        for (uint32_t i = 0; i < image.paletteSize; ++i)
            ASSERT_EQ(image.GetPaletteEntry((int)i, nullptr, nullptr, nullptr),
                      back.GetPaletteEntry((int)i, nullptr, nullptr, nullptr));
        // The same as one block: header, colour table (or masks), pixels.
        const uint32_t entries = image.paletteSize ? image.paletteSize : (depth == 15 || depth == 16) ? 3 : 0;
        std::vector<uint8_t> block = PackedDib(image, image.header->bmiHeader.biClrUsed, entries);
        CDibImage fromBlock;
        ASSERT_TRUE(fromBlock.FromPackedDibBlock(block.data())) << depth;
        EXPECT_TRUE(SameBytes(image, fromBlock)) << depth;
    }
}

TEST(DibImageExchange, PackedDibUsesItsColourCount) {
    CDibImage image, back;
    ASSERT_TRUE(image.Create(8, 5, 2, 0));
    image.SetPaletteColor(0, 0x00111111);
    image.SetPaletteColor(1, 0x00222222);
    image.SetPixel(4, 0, 1);
    // Two colours, then the pixels right behind them.
    std::vector<uint8_t> block = PackedDib(image, 2, 2);
    ASSERT_TRUE(back.FromPackedDibBlock(block.data()));
    EXPECT_EQ(1u, back.GetPixel(4, 0));
    EXPECT_EQ(0u, back.GetPixel(3, 0));
    EXPECT_EQ(0x00222222u, back.GetPaletteEntry(1, nullptr, nullptr, nullptr));

    BITMAPINFOHEADER h = image.header->bmiHeader;
    h.biSizeImage = 0;
    EXPECT_FALSE(back.FromPackedDib(&h, image.bits, image.palette));
    EXPECT_EQ(0u, back.width);
    h = image.header->bmiHeader;
    h.biHeight = -2;
    EXPECT_FALSE(back.FromPackedDib(&h, image.bits, image.palette));
    h.biHeight = 2;
    h.biPlanes = 2;
    EXPECT_FALSE(back.FromPackedDib(&h, image.bits, image.palette));
    EXPECT_FALSE(back.FromPackedDib(nullptr, image.bits, image.palette));
    // A 16-bit BI_RGB DIB is 5-5-5.
    h = image.header->bmiHeader;
    h.biBitCount = 16;
    h.biSizeImage = 1000;
    const uint16_t red555[8] = {0x7c00, 0x7c00, 0x7c00, 0x7c00, 0x7c00, 0x7c00, 0x7c00, 0x7c00};
    h.biWidth = 2;
    ASSERT_TRUE(back.FromPackedDib(&h, red555, nullptr));
    EXPECT_EQ(15u, back.depth);
    EXPECT_EQ(0x00f80000u, back.GetPixel(1, 1));
}

TEST(DibImageExchange, SwapAndResolution) {
    CDibImage a, b;
    ASSERT_TRUE(a.Create(8, 3, 3, 5));
    ASSERT_TRUE(b.Create(32, 7, 1, 0x00123456, kDibSectionPixels));
    a.textAlign = 2;
    uint8_t* aBits = a.bits;
    EXPECT_TRUE(a.Swap(b));
    EXPECT_EQ(32u, a.depth);
    EXPECT_EQ(0x00123456u, a.GetPixel(6, 0));
    EXPECT_NE(nullptr, a.dibSection);
    EXPECT_EQ(aBits, b.bits);
    EXPECT_EQ(5u, b.GetPixel(2, 2));
    EXPECT_EQ(2, b.textAlign);
    EXPECT_EQ(b.header->bmiColors, b.palette);

    EXPECT_TRUE(a.SetResolution(3780, 2000));
    LONG x, y;
    EXPECT_TRUE(a.GetResolution(&x, &y));
    EXPECT_EQ(3780, x);
    EXPECT_EQ(2000, y);
}
