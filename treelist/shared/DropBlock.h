// The CF_HDROP block of one dragged or copied path, as the folder widgets offer it.
#pragma once

#include <windows.h>

// A fixed, zero-filled global block of 284 bytes: a DROPFILES header (ANSI, files right behind it), the
// path and a double NUL. Null when the path is empty or does not fit.
HGLOBAL BuildPathDropBlock(const char* path);
