// A DIB section selected into a memory DC of its own: the GDI side of the image benchmarks.
#pragma once

#include <windows.h>

#include <cstdint>

struct BenchSection {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr, old = nullptr;
    uint8_t* bits = nullptr;
    int width, height;
    bool topDown; // rows from the top, as a CDibImage addresses them

    BenchSection(int w, int h, int bitCount, bool fromTop = false) : width(w), height(h), topDown(fromTop) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = fromTop ? -h : h;
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
        const int row = topDown ? y : height - 1 - y;
        return *(const uint32_t*)(bits + 4 * ((size_t)width * row + x));
    }
};
