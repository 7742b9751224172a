// A DIB section selected into a memory DC of its own: the GDI side of the image benchmarks.
#pragma once

#include <windows.h>

#include <cstdint>

struct BenchSection {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr, old = nullptr;
    uint8_t* bits = nullptr;
    int width, height; // height as in the header: below 0 for top-down rows

    BenchSection(int w, int h, int bitCount) : width(w), height(h) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = (WORD)bitCount;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        old = (HBITMAP)SelectObject(dc, bitmap);
    }
    ~BenchSection() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    BenchSection(const BenchSection&) = delete;
    BenchSection& operator=(const BenchSection&) = delete;

    // Pixel (x, y) of a 32-bit section, y from the top.
    uint32_t Pixel32(int x, int y) const {
        const int row = height < 0 ? y : height - 1 - y;
        return *(const uint32_t*)(bits + 4 * ((size_t)width * row + x));
    }
};
