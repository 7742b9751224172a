// Recently-used lists kept in list boxes and combo boxes.
//
// A window whose class is "ListBox" is driven with LB_ messages, every other window with
// CB_ messages.
#pragma once

#include <windows.h>

// Puts text at the top of the list, removes equal entries (strcmp when caseSensitive,
// else case-insensitive) and every entry beyond position maxIndex. A selection moves
// to the top entry. Returns 0.
int InsertListHistoryString(HWND hwnd, LPCSTR text, int maxIndex, BOOL caseSensitive);

// Adds the pieces of text separated by `separator` (0: a multi-string ended by two NULs);
// empty pieces are skipped and long ones cut to 255 characters. With clear the list is
// emptied first. Returns the number of entries added.
int FillListFromText(HWND hwnd, LPCSTR text, char separator, BOOL clear);
