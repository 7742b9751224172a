// The toolkit's message box in one call.
#pragma once

#include <windows.h>

// Shows text and caption (ANSI) with a message-box style, without attributes or time-out; returns the
// id of the button pressed.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);
