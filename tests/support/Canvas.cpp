#include "tests/support/Canvas.h"

#include <utility>

Canvas::Canvas(int w, int h, COLORREF fill) : width(w), height(h) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = static_cast<DWORD*>(pixels);
    SelectObject(dc, bitmap);
    Clear(fill);
}

Canvas::Canvas(Canvas&& other) noexcept
    : dc(std::exchange(other.dc, nullptr)),
      bitmap(std::exchange(other.bitmap, nullptr)),
      bits(std::exchange(other.bits, nullptr)),
      width(other.width),
      height(other.height) {}

Canvas::~Canvas() {
    // Deleting the DC first releases the bitmap it holds.
    if (dc) DeleteDC(dc);
    if (bitmap) DeleteObject(bitmap);
}

void Canvas::Clear(COLORREF colour) {
    GdiFlush();
    const DWORD value = (DWORD)GetRValue(colour) << 16 | (DWORD)GetGValue(colour) << 8 | GetBValue(colour);
    for (size_t i = 0; i < (size_t)width * height; ++i) bits[i] = value;
}

COLORREF Canvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    GdiFlush();
    const DWORD v = bits[(size_t)y * width + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

std::vector<COLORREF> Canvas::Area(const RECT& r) const {
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) pixels.push_back(At(x, y));
    return pixels;
}

int Canvas::Count(const RECT& r, COLORREF colour) const {
    int n = 0;
    for (COLORREF pixel : Area(r)) n += pixel == colour;
    return n;
}
