// Alpha frame glyphs of the toolbar control, stretched onto buttons of any size.
#pragma once

#include <windows.h>

// glyph 0-5 (rest/hot, checked/pressed, drop-down main part x2, arrow part x2); tint CLR_INVALID = none.
// Returns a new w x h 32-bit image record, or null.
BITMAPINFOHEADER* MakeFrameGlyph(int glyph, int w, int h, BYTE** pixels, COLORREF tint);
// Blends the glyph of a frame kind (a look, + 8 for the main part of a drop-down button, 0x10-0x15 for its
// arrow part) into a 32-bit image record; the tint applies to the hot kinds only.
void DrawFrameGlyph(BITMAPINFOHEADER* image, BYTE* pixels, int x, int y, int w, int h, int kind, COLORREF tint);
