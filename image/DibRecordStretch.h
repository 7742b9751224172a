// Pixel-level operations on DibRecord images: alpha-aware area-averaging scaling, drawing DIBs into records,
// records from parts of bitmaps, single pixels and a 3 x 3 softening filter. Rectangles count from the top-left.
#pragma once

#include "image/DibRecord.h"

BOOL StretchDib(BITMAPINFO* dst, void* dstPixels, const BITMAPINFO* src, const void* srcPixels, UINT srcX, UINT srcY,
                UINT srcWidth, UINT srcHeight, UINT dstX, UINT dstY, UINT dstWidth, UINT dstHeight);
BOOL DrawDibIntoDib(const BITMAPINFO* info, const void* pixels, int x, int y, DibRecord* target);
BOOL DrawDibPartIntoDib(const BITMAPINFO* info, const void* pixels, int x, int y, UINT srcX, UINT srcY, UINT width,
                        UINT height, DibRecord* target);
// depth 0xffffffff takes the bitmap's own depth.
DibRecord* CreateDibFromBitmapPart(HDC dc, HBITMAP bitmap, int srcX, int srcY, int width, int height, DWORD depth,
                                   void** outPixels);
// value: a 32-bit pixel word, the low three bytes for 24 bits, or for palette images a COLORREF or 0x80000000 + index.
BOOL SetDibPixel(const BITMAPINFO* info, void* pixels, DWORD value, int x, int y);
BOOL SmoothDibRect(const BITMAPINFO* info, void* pixels, UINT x, UINT y, UINT width, UINT height);
