// sprintf-like formatting into caller buffers through the printf engine.
#pragma once

#include "text/FormatSink.h"

// Formats into buffer like sprintf, NUL-terminates and returns the length. The buffer must be
// large enough, as with sprintf; prefer StrPrintfNA where the size is known.
int StrPrintfA(char* buffer, const char* format, ...);
// Bounded: writes at most size - 1 characters plus the NUL; returns the length written.
int StrPrintfNA(char* buffer, int size, const char* format, ...);
int StrPrintfNW(wchar_t* buffer, int size, const wchar_t* format, ...);
