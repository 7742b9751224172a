// A memory DC on a 32-bit top-down DIB section, filled white, for tests that read back what GDI drew.
#pragma once

#include <windows.h>

#include <cstdint>

struct Canvas {
    HDC dc;
    HBITMAP bitmap, old;
    uint32_t* bits;
    int w, h;
    Canvas(int width, int height) : w(width), h(height) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        old = (HBITMAP)SelectObject(dc, bitmap);
        Clear(0xffffff);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    void Clear(COLORREF c) {
        GdiFlush();
        const uint32_t v = (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
        for (int i = 0; i < w * h; ++i) bits[i] = v;
    }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint32_t v = bits[y * w + x];
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }
};
