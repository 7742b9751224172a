// A memory DC on a 32-bit top-down DIB section, for tests that read back what GDI drew. The pixels are
// 0x00RRGGBB, top row first; a canvas starts filled with one colour, best one that nothing under test draws.
#pragma once

#include <windows.h>

#include <vector>

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;  // selected into dc
    DWORD* bits = nullptr;
    int width = 0, height = 0;

    Canvas(int w, int h, COLORREF fill = RGB(255, 255, 255));
    Canvas(Canvas&& other) noexcept;
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Canvas& operator=(Canvas&&) = delete;

    void Clear(COLORREF colour);
    COLORREF At(int x, int y) const;                  // CLR_INVALID outside the canvas
    std::vector<COLORREF> Area(const RECT& r) const;  // the pixels of r, row by row
    int Count(const RECT& r, COLORREF colour) const;  // the pixels of r in colour
};
