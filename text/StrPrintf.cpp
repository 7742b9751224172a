#include "text/StrPrintf.h"

#include <climits>

int StrPrintfA(char* buffer, const char* format, ...) {
    va_list args;
    va_start(args, format);
    BufferSinkA sink(buffer, INT_MAX);
    FormatToSinkA(sink, format, args);
    va_end(args);
    return sink.GetLength();
}

int StrPrintfNA(char* buffer, int size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    BufferSinkA sink(buffer, size);
    FormatToSinkA(sink, format, args);
    va_end(args);
    return sink.GetLength();
}

int StrPrintfNW(wchar_t* buffer, int size, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    BufferSinkW sink(buffer, size);
    FormatToSinkW(sink, format, args);
    va_end(args);
    return sink.GetLength();
}
