// A device-dependent bitmap from a packed DIB, optionally in the current 3D system colours.
#pragma once

#include <windows.h>

// Map the greys 0x808080, 0xC0C0C0 and 0xDFDFDF to COLOR_BTNSHADOW, COLOR_BTNFACE and COLOR_3DLIGHT.
constexpr int kDibMapSysGreys = 1;
// 32-bit pixels: premultiply the colour by the alpha.
constexpr int kDibPremultiply = 2;

// `dib` is a BITMAPINFOHEADER (40 bytes) followed by its colour table or masks and the pixels.
// The bitmap is made on the DC of `window` (null: the screen). Returns 0 on failure.
HBITMAP CreateBitmapFromPackedDib(const void* dib, int flags, HWND window);
