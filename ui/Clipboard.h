// Plain text (CF_TEXT) from and to the clipboard.
#pragma once

#include <windows.h>

// A copy of the clipboard text that the caller releases with free(); its length goes to
// *length. Null (length 0) when there is no text or it is empty.
char* GetClipboardTextAlloc(int* length);
// Copies at most size - 1 characters of the clipboard text into buffer, NUL-terminated;
// returns the count (0 and an empty buffer without text; 0 when size < 1).
int GetClipboardText(char* buffer, int size);
// Replaces the clipboard's content by text (length -1: up to the NUL); returns the length,
// 0 when the text is empty or the clipboard cannot be used.
int SetClipboardText(LPCSTR text, int length);
