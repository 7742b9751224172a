#include "ui/services/CutOutBitmap.h"

#include <gtest/gtest.h>

#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// A 32-bit strip whose pixel (x, y) is x + 4096 * y, and grey at x = 1.
struct Strip {
    HBITMAP bitmap = nullptr;
    int width, height;
    Strip(int w, int h) : width(w), height(h) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* p = static_cast<uint32_t*>(bits);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) p[y * w + x] = x == 1 ? 0xC0C0C0 : static_cast<uint32_t>(x + 4096 * y);
    }
    ~Strip() { DeleteObject(bitmap); }
    UINT_PTR Source() const { return reinterpret_cast<UINT_PTR>(bitmap); }
};

uint32_t Pixel(HBITMAP bitmap, int x, int y) {
    BITMAP bm = {};
    GetObjectA(bitmap, sizeof bm, &bm);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return pixels[static_cast<size_t>(y) * bm.bmWidth + x] & 0xFFFFFF;
}

std::pair<LONG, LONG> SizeOf(HBITMAP bitmap) {
    BITMAP bm = {};
    GetObjectA(bitmap, sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

}  // namespace

TEST(CutOutBitmap, ToolbarResourcePositions) {
    const WORD toolbar[] = {1, 16, 15, 5, 100, 0, 101, 102, 0};
    // Separators have no image; a resource cut short (12 or 6 bytes) finds nothing.
    struct Case { UINT id, size; int x; } cases[] = {{101, sizeof toolbar, 16}, {102, sizeof toolbar, 32},
                                                   {0, sizeof toolbar, -1}, {999, sizeof toolbar, -1},
                                                   {102, 12, -1}, {100, 6, -1}};
    for (const Case& c : cases) {
        int x = -1, w = 0, h = 0;
        EXPECT_EQ(ToolbarImagePosition(toolbar, c.size, c.id, &x, &w, &h), c.x >= 0) << c.id << " " << c.size;
        if (c.x >= 0) {
            EXPECT_EQ(std::tuple(x, w, h), std::tuple(c.x, 16, 15)) << c.id;
        }
    }
}

TEST(CutOutBitmap, CopiesRecoloursAndCachesByTheWholeDescription) {
    Strip strip(2100, 8);
    EXPECT_EQ(CutOutBitmap(strip.Source(), 0, 0, 0, 4, 0, 0), nullptr);
    EXPECT_EQ(CutOutBitmap(0, 0, 0, 4, 4, 0, 0), nullptr);
    HBITMAP plain = CutOutBitmap(strip.Source(), 3, 2, 4, kCutOutFullHeight, 0, 0);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(SizeOf(plain), std::pair(4L, 8L));
    EXPECT_EQ(Pixel(plain, 1, 1), 4u + 4096 * 3);
    DeleteObject(plain);
    HBITMAP menu = CutOutBitmap(strip.Source(), 0, 0, 4, 4, 0x08000000, RGB(1, 2, 3));
    EXPECT_EQ(Pixel(menu, 1, 0), 0x010203u);  // the grey became the colour (as BGR in the pixel)
    EXPECT_EQ(Pixel(menu, 2, 0), 2u);
    DeleteObject(menu);
    // The cache returns the same object for the same description, and a new one for any difference, even
    // where a key folded to 32 bits would collide: (x 0, y 1) and (x 2011, y 0) give the same such key.
    const DWORD cached = kCutOutCacheResult;
    HBITMAP a = CutOutBitmap(strip.Source(), 0, 1, 4, 4, cached, 0);
    EXPECT_EQ(CutOutBitmap(strip.Source(), 0, 1, 4, 4, cached, 0), a);
    HBITMAP b = CutOutBitmap(strip.Source(), 2011, 0, 4, 4, cached, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(std::pair(Pixel(a, 0, 0), Pixel(b, 0, 0)), std::pair(4096u, 2011u));
    EXPECT_NE(CutOutBitmap(strip.Source(), 0, 1, 4, 4, cached | 0x08000000, 5), a);
    FreeCutOutCache();
}

TEST(CutOutBitmap, TwoThreadsShareTheCache) {
    Strip strip(64, 4);
    HBITMAP seen[2][8] = {};
    auto work = [&](int thread) {
        for (int i = 0; i < 400; ++i) {
            HBITMAP image = CutOutBitmap(strip.Source(), (i % 8) * 4, 0, 4, 4, kCutOutCacheResult, 0);
            if (!seen[thread][i % 8]) seen[thread][i % 8] = image;
            EXPECT_EQ(seen[thread][i % 8], image);
        }
    };
    std::thread other(work, 1);
    work(0);
    other.join();
    for (int k = 0; k < 8; ++k) {
        EXPECT_NE(seen[0][k], nullptr);
        EXPECT_EQ(seen[0][k], seen[1][k]) << k;
        EXPECT_EQ(Pixel(seen[0][k], 0, 0), k == 0 ? 0u : static_cast<uint32_t>(k * 4)) << k;
    }
    FreeCutOutCache();
}

TEST(CutOutBitmap, ToolbarAndBitmapResourcesAndMenuImages) {
    // Toolbar 130 of the test program: commands 100, separator, 101 over the frame toolbar's strip.
    HBITMAP byCommand = CutOutBitmap(130, 101, 0, 1, 1, kCutOutFromToolbar, 0);
    HBITMAP byPosition = CutOutBitmap(130, 16, 0, 16, 15, kCutOutFromResource | kCutOutCacheSource, 0);
    ASSERT_NE(byCommand, nullptr);
    ASSERT_NE(byPosition, nullptr);
    EXPECT_EQ(SizeOf(byCommand), std::pair(16L, 15L));
    for (int y = 0; y < 15; y += 3)
        for (int x = 0; x < 16; x += 3) EXPECT_EQ(Pixel(byCommand, x, y), Pixel(byPosition, x, y));
    EXPECT_EQ(CutOutBitmap(130, 555, 0, 1, 1, kCutOutFromToolbar, 0), nullptr);
    EXPECT_EQ(CutOutBitmap(4321, 0, 0, 16, 15, kCutOutFromResource, 0), nullptr);
    DeleteObject(byCommand);
    DeleteObject(byPosition);

    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 500, "eins");
    AppendMenuA(menu, MF_STRING, 501, "zwei");
    EXPECT_TRUE(SetMenuItemImage(menu, 500, 128, 2, 16));
    EXPECT_TRUE(SetMenuItemImage(menu, static_cast<int>(0x80000001), 128, 3, 16));  // position 1
    EXPECT_FALSE(SetMenuItemImage(menu, 500, 4321, 0, 16));
    for (UINT id : {500u, 501u}) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_CHECKMARKS;
        ASSERT_TRUE(GetMenuItemInfoA(menu, id, FALSE, &info));
        EXPECT_EQ(info.hbmpChecked, nullptr) << id;
        EXPECT_EQ(SizeOf(info.hbmpUnchecked), std::pair(16L, 15L)) << id;  // and so not null
    }
    DestroyMenu(menu);
    FreeCutOutCache();
}

// On a screen that is not 32-bit, a cut-out whose screen bitmap cannot be made is null and the strip stays.
TEST(CutOutBitmap, WithoutAScreenBitmapNullAndTheStripUntouched) {
    Strip strip(16, 4);
    CutOutScreen& screen = TheCutOutScreen();
    const CutOutScreen kept = screen;
    screen = {[] { return false; }, [](int, int) -> HBITMAP { return nullptr; }};
    HBITMAP image = CutOutBitmap(strip.Source(), 8, 0, 4, 4, 0, 0);
    screen = kept;
    EXPECT_EQ(image, nullptr);
    EXPECT_EQ(std::pair(Pixel(strip.bitmap, 0, 0), Pixel(strip.bitmap, 3, 3)), std::pair(0u, 3u + 4096 * 3));
}
