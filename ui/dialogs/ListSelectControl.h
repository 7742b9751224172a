// The list control of the list selection dialog (styles 1-3): its subclass procedure, installed with the
// previous procedure kept in the list's GWLP_USERDATA, and the drawing of one owner-drawn row.
#pragma once

#include <windows.h>

// One click in the tick area (x < 20), or anywhere on a list without ticks, also counts as a double click;
// a right click asks the dialog for its context menu (1137); a space toggles the current entry; other
// characters go to the dialog for type-ahead.
LRESULT CALLBACK ListSelectSubclassProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam);
// The row's background, the tick box with its tick, and the text 30 pixels in.
void DrawSelectTick(HDC dc, const RECT& row, bool selected, bool ticked, const char* text);
