// Bounded copies and appends of ANSI texts.
#pragma once

// Copies src (null = empty) into dest, at most destSize - 1 characters, always NUL-terminated
// when destSize > 0. Returns the number of characters copied.
int StrCopyNA(char* dest, const char* src, int destSize);
// Copies at most maxCount characters of src (never reading further), also bounded by destSize - 1;
// always NUL-terminated when destSize > 0. Returns the number of characters copied.
int StrCopyNNA(char* dest, const char* src, int destSize, int maxCount);
// Appends src to the text in dest, truncating so that dest (destSize characters) stays terminated.
// Returns the new length of dest.
int StrCatNA(char* dest, const char* src, int destSize);
// Adds '\' unless the text already ends in '\' or '/' (an empty text gets '\'); len -1 measures
// the text. The buffer must have room for one more character. Returns the new length.
int AppendSeparatorA(char* buf, int len);
