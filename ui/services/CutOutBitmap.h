// Single images cut out of bitmap strips (a bitmap, a bitmap resource, or a toolbar resource and its
// strip), with a process-wide cache that any thread may use, and menu items showing such images.
#pragma once

#include <windows.h>

#include <cstddef>

// CutOutBitmap flags.
constexpr DWORD kCutOutKindMask = 0xC0000000;
constexpr DWORD kCutOutFromHandle = 0x00000000;    // source is an HBITMAP
constexpr DWORD kCutOutFromResource = 0x40000000;  // source is a bitmap resource id of the module
constexpr DWORD kCutOutFromToolbar = 0xC0000000;   // source is a toolbar resource id, x a command id
constexpr DWORD kCutOutColourMask = 0x0C000000;    // the strip's grey background becomes `colour`
constexpr DWORD kCutOutCacheResult = 0x02000000;   // the cache owns the result and returns it again
constexpr DWORD kCutOutCacheSource = 0x01000000;   // a loaded strip stays in the cache
constexpr int kCutOutFullHeight = 65535;
// The background grey of the strips.
constexpr COLORREF kCutOutBackground = RGB(192, 192, 192);

// A new cx x cy bitmap copied from (x, y) of the source (cy 65535: the source's full height): a 32-bit DIB
// section on a 32-bit screen, else a screen-compatible bitmap. Null for a null source, cx or cy below 1,
// a source that cannot be loaded, or a command id the toolbar does not have. Without kCutOutCacheResult
// the caller owns the result.
HBITMAP CutOutBitmap(UINT_PTR source, int x, int y, int cx, int cy, DWORD flags, COLORREF colour);

// Image `index` of a strip of square images `size` pixels wide (a bitmap resource) as the item's
// unchecked bitmap, on the menu's colour. A negative item is a position (its top bit removed).
BOOL SetMenuItemImage(HMENU menu, int item, UINT source, int index, int size);

// In a toolbar resource (16-bit version, image width, image height, count, command ids): the x of the
// command's image (the image width for every non-zero id before it) and the image size. False when the
// command is not there or the resource is cut short.
bool ToolbarImagePosition(const void* resource, size_t size, UINT commandId, int* x, int* width, int* height);

// Deletes every cached image and strip (also done at process exit).
void FreeCutOutCache();

// What a cut-out asks of the screen: whether it has 32 bits per pixel, and a bitmap compatible with it
// (null when none can be made). Tests replace them; the program leaves them as they are.
struct CutOutScreen {
    bool (*is32Bit)();
    HBITMAP (*compatibleBitmap)(int cx, int cy);
};
CutOutScreen& TheCutOutScreen();
