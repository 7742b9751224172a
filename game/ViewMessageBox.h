// The game view's message boxes go through here, so that tests can read their texts instead of blocking on them.
#pragma once

#include <windows.h>

using ViewMessageBoxFn = int (*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Replaces the message box (null restores the system's); returns the previous one.
ViewMessageBoxFn SetViewMessageBox(ViewMessageBoxFn fn);
int ShowViewMessage(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
