// Text widths and fitting: widths with a font or a window's font, 256-entry character-width tables for
// fast measuring, and shortening of a path to a pixel width ("C:\...\datei.txt").
#pragma once

#include <windows.h>

#include <cstdint>

// Width of `length` characters (< 0: up to the NUL) on a screen DC with `font`; *height gets the height.
// 0 (and height 0) on failure; a null text gives 0.
int GetTextWidthFont(const char* text, HFONT font, int length, int* height);
// The same with the window's own font (WM_GETFONT) on the window's DC.
int GetTextWidthWnd(const char* text, HWND window, int length, int* height);

// Sum of the table widths of the characters before the first NUL, LF or CR within `length`; without a
// table the number of those characters. length < 1 gives 0.
int TextWidthFromTable(const char* text, const uint8_t* table, int length);

// Width tables: entry c is the advance width of character code c, truncated to 8 bits. Return 256.
int GetCharWidthTableDC(HDC dc, uint8_t table[256]);
int GetCharWidthTableStock(uint8_t table[256], int stockObject); // -1: ANSI_VAR_FONT
int GetCharWidthTableFont(uint8_t table[256], HFONT font);

// Shortens `path` to `maxWidth` by replacing middle directories with "...\": the root and the last
// component always stay, `headCount` leading directories are preferred, then directories from the end.
// Widths come from the table (every character 1 without one). Writes at most outSize - 1 characters
// and a NUL; returns the length written.
int CompactPathToWidth(const char* path, char* out, int outSize, int maxWidth, const uint8_t* table, int headCount);
// The same for a path shown between a prefix and a suffix: their widths are taken off maxWidth first.
// When the path lies inside the prefix buffer, only the prefix part before the path counts.
int CompactPathInText(const char* path, char* out, int outSize, int maxWidth, const uint8_t* table, int headCount,
                      const char* prefix, const char* suffix, int suffixLength, int prefixLength);
