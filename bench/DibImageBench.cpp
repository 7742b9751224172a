// CDibImage fills and composition against GDI on DIB sections of the same size, in one process.
// Prints the best of several runs for each side and the ratio ours / GDI (below 1.0: ours is faster).
#include "bench/BenchClock.h"
#include "bench/BenchFigure.h"
#include "bench/BenchSection.h"
#include "image/DibImage.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kSize = 2048;
constexpr int kRuns = 15;

double BestOf(const std::function<void()>& work) { return BenchBestOf(kRuns, work); }

// A GDI picture of kSize x kSize, painted with one byte value unless told otherwise.
struct Section : BenchSection {
    explicit Section(int bitCount, bool paint = true) : BenchSection(kSize, kSize, bitCount) {
        if (paint) memset(bits, 0x5a, (size_t)kSize * kSize * bitCount / 8);
    }
};

void Report(const char* what, double ours, double gdi) {
    printf("%-26s ours %8.3f ms   GDI %8.3f ms   ratio %5.2f\n", what, ours, gdi, ours / gdi);
    BenchFigure(what, ours, gdi, "ms");
}

} // namespace

int main() {
    printf("CDibImage against GDI, %d x %d pixels, best of %d runs\n", kSize, kSize, kRuns);

    CDibImage dest, source32, source24, crop;
    if (!dest.Create(32, kSize, kSize, 0) || !source32.Create(32, kSize, kSize, 0x00336699) ||
        !source24.Create(24, kSize, kSize, 0x00336699)) {
        printf("cannot create the images\n");
        return 1;
    }
    Section gdiDest(32), gdiSource32(32), gdiSource24(24);
    HBRUSH brush = CreateSolidBrush(RGB(0x99, 0x66, 0x33));
    HGDIOBJ oldBrush = SelectObject(gdiDest.dc, brush);

    Report("FillRect / PatBlt", BestOf([&] { dest.FillRect(0, 0, kSize, kSize, 0x00996633); }),
           BestOf([&] { PatBlt(gdiDest.dc, 0, 0, kSize, kSize, PATCOPY); }));
    Report("Put 32->32 / BitBlt", BestOf([&] { dest.Put(source32, 0, 0); }),
           BestOf([&] { BitBlt(gdiDest.dc, 0, 0, kSize, kSize, gdiSource32.dc, 0, 0, SRCCOPY); }));
    Report("Put 24->32 / BitBlt", BestOf([&] { dest.Put(source24, 0, 0); }),
           BestOf([&] { BitBlt(gdiDest.dc, 0, 0, kSize, kSize, gdiSource24.dc, 0, 0, SRCCOPY); }));
    // A cut-out makes a new image: the GDI side creates a section and copies into it.
    Report("CropFrom / section+BitBlt", BestOf([&] { crop.CropFrom(source32, 0, 0, kSize, kSize); }), BestOf([&] {
               Section cut(32, false);
               BitBlt(cut.dc, 0, 0, kSize, kSize, gdiSource32.dc, 0, 0, SRCCOPY);
           }));
    Report("CropFrom 1024 inner", BestOf([&] { crop.CropFrom(source32, 512, 512, 1024, 1024); }), BestOf([&] {
               BITMAPINFO info = {};
               info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1024, 1024, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
               void* bits;
               HDC dc = CreateCompatibleDC(nullptr);
               HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
               HGDIOBJ old = SelectObject(dc, bitmap);
               BitBlt(dc, 0, 0, 1024, 1024, gdiSource32.dc, 512, 512, SRCCOPY);
               SelectObject(dc, old);
               DeleteObject(bitmap);
               DeleteDC(dc);
           }));

    // Sprites: a 32-bit source with alpha, and a keyed copy whose black ground stays out.
    CDibImage sprite, keyed;
    sprite.Create(32, kSize, kSize, 0x80336699);
    keyed.Create(32, kSize, kSize, 0x00336699);
    keyed.FillRect(0, 0, kSize, kSize / 2, 0);
    Section gdiSprite(32);
    for (size_t i = 0; i < (size_t)kSize * kSize; ++i) reinterpret_cast<uint32_t*>(gdiSprite.bits)[i] = 0x80336699;
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    Report("AlphaPut / AlphaBlend", BestOf([&] { dest.AlphaPut(sprite, 0, 0); }),
           BestOf([&] { GdiAlphaBlend(gdiDest.dc, 0, 0, kSize, kSize, gdiSprite.dc, 0, 0, kSize, kSize, blend); }));
    Report("Put keyed / TransparentBlt", BestOf([&] { dest.Put(keyed, 0, 0, kPutSkipSourceKey); }),
           BestOf([&] { GdiTransparentBlt(gdiDest.dc, 0, 0, kSize, kSize, gdiSource32.dc, 0, 0, kSize, kSize, 0); }));

    SelectObject(gdiDest.dc, oldBrush);
    DeleteObject(brush);
    return 0;
}
