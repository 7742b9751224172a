// Searching in ANSI texts.
#pragma once

// Index of the first occurrence of `what` in `text`, letter case ignored (Windows-1252); -1 when none.
// An empty `what` is found at 0.
int StrFindIA(const char* text, const char* what);
// Index of the first ch in text, or of the terminating NUL.
int StrIndexOfCharA(const char* text, char ch);
