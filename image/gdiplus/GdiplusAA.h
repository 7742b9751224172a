// Anti-aliased lines and ellipse outlines: through GDI+ when gdiplus.dll can be loaded at run time, through
// plain GDI otherwise. Callers write one code path; the handles are GDI+ objects or the HDC and an HPEN.
#pragma once

#include <windows.h>

#include <cstdint>

typedef void* GdipGraphicsHandle; // a GDI+ Graphics, or the HDC itself
typedef void* GdipPenHandle;      // a GDI+ Pen, or an HPEN

// Every start is balanced by one stop. The first start loads and starts GDI+ and returns 1, or 0 when it is
// not available; later starts count an extra user and return the same answer.
int GdipStart();
// Drops an extra user (returns 1), or unloads GDI+ when none is left (1; 0 when nothing was started).
int GdipStop();

// A graphics with anti-aliasing for the DC, or the DC itself without GDI+; null on failure.
GdipGraphicsHandle GdipBeginGraphics(HDC dc);
BOOL GdipEndGraphics(GdipGraphicsHandle graphics);

GdipPenHandle GdipCreatePenAA(int width, COLORREF colour);
BOOL GdipDeletePenAA(GdipPenHandle pen);

BOOL GdipDrawLineAA(GdipGraphicsHandle graphics, GdipPenHandle pen, int x1, int y1, int x2, int y2);
// The outline of the ellipse in the box (x, y, width, height); the inside is left alone on both paths.
BOOL GdipDrawEllipseAA(GdipGraphicsHandle graphics, GdipPenHandle pen, int x, int y, int width, int height);

// GDI+'s 0xAARRGGBB for a COLORREF, fully opaque.
inline uint32_t ArgbFromColorRef(COLORREF c) {
    return 0xFF000000u | (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
}
