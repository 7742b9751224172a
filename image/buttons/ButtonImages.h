// Pictures on push buttons. With visual styles the button gets a cached six-state image list whose disabled
// state is a greyed copy; otherwise (or when the button does not take an image list) a plain bitmap.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

// One cached image list per picture source. It begins with the block sent to the button.
struct ButtonImageEntry {
    BUTTON_IMAGELIST list; // six images, no margin, centred
    uintptr_t source;
    ButtonImageEntry* next;
};

// source below 0x10000: a bitmap resource id of the resource module; otherwise the address of a packed DIB
// (BITMAPINFOHEADER, colour table, pixels). FALSE when there is no picture or the button took none.
BOOL SetButtonBitmap(HWND button, uintptr_t source);
// Removes and deletes the plain bitmap of a button; 0 when it has none.
BOOL DeleteButtonBitmap(HWND button);
// Destroys every cached image list (registered with atexit by the first cached entry).
void FreeButtonImageCache();

// The washed-out grey of a disabled picture: y = (29 B + 152 G + 76 R) >> 8 mapped to 144..208.
uint8_t ButtonGreyLevel(uint8_t red, uint8_t green, uint8_t blue);
// Greys a DIB in place: the colour table at 1-8 bits, the pixels at 24 and 32 bits (15 and 16 bits stay).
// The mask colour 0xC0C0C0 is kept.
void GreyButtonDib(BITMAPINFO* info, void* bits);
