// Loaders that turn the platform's bitmap data (packed DIBs, icon and cursor images and groups, PNG data, icon
// handles, module resources) into DibRecord images, and the pixel services they use.
#pragma once

#include "image/DibRecord.h"

// Converter flag word.
namespace DibLoad {
constexpr DWORD kEntryMask = 0xFFFF;           // group: entry index, or wanted width + (height << 8)
constexpr DWORD kLargest = 0xFFFF;             // group with kChooseBySize: the largest entry
constexpr int kDepthShift = 16;                // wanted depth: 0 = 32, 31 = the screen's
constexpr DWORD kDepthMask = 0x1F0000;
constexpr int kKindShift = 21;
constexpr DWORD kKindMask = 0x600000;
constexpr DWORD kKindPacked = 0, kKindIcon = 1, kKindCursor = 2, kKindGroup = 3;
constexpr int kTransparencyShift = 24;
constexpr DWORD kTransparencyMask = 0x3000000;
constexpr DWORD kKeyCorner = 1, kKeyTextColor = 2, kKeyIconMask = 3;
constexpr DWORD kMapSysColors = 1u << 27;
constexpr DWORD kComposeAlpha = 1u << 28;
constexpr DWORD kForceCopy = 1u << 29;
constexpr DWORD kConvertDepth = 1u << 30;
constexpr DWORD kChooseBySize = 1u << 31;
// Internal: the pixels come in through inout rather than after the header (a group kind with this entry
// pattern and bit 31).
constexpr DWORD kPixelsFromInout = 0x8060edcb;
}  // namespace DibLoad

// inout: module handle in (for group members), pixel pointer out.
DibRecord* CreateDibFromPackedData(HDC dc, const void* data, DWORD flags, ULONG_PTR* inout);
DibRecord* CreateDibFromPng(HDC dc, const void* data, DWORD size, DWORD flags, ULONG_PTR* inout);
DibRecord* LoadDibResourceA(HDC dc, HMODULE module, LPCSTR name, LPCSTR type, DWORD flags, ULONG_PTR* inout);
DibRecord* LoadDibResourceW(HDC dc, HMODULE module, LPCWSTR name, LPCWSTR type, DWORD flags, ULONG_PTR* inout);
DibRecord* CreateDibFromIcon(HDC dc, HICON icon, void** outPixels, COLORREF key);
HBITMAP CreateBitmapFromDib(HDC dc, const BITMAPINFO* info, const void* pixels, DWORD flags);

BOOL AlphaBlendDib(BITMAPINFO* dst, void* dstPixels, UINT x, UINT y, const BITMAPINFO* src, const void* srcPixels,
                   UINT srcX, UINT srcY, UINT width, UINT height);
// from: a colour, or kReplacePaletteIndex + an index in a palette image; with kReplaceOpaqueOthers the other
// pixels of a 32-bit image become opaque.
constexpr COLORREF kReplacePaletteIndex = 0x80000000u;
constexpr COLORREF kReplaceOpaqueOthers = 0x40000000u;
BOOL ReplaceDibColor(BITMAPINFO* info, void* pixels, COLORREF from, COLORREF to);
BOOL ComposeDibOnColor(BITMAPINFO* info, void* pixels, COLORREF background);
// mask: 1-bit rows of ((width + 31) / 32) x 4 bytes, stored in the image's row order.
BOOL ApplyDibMask(BITMAPINFO* info, void* pixels, const void* mask, COLORREF key);
