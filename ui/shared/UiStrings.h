// The toolkit's UI strings: twelve captions, menu entries and buttons with German defaults, which a module
// may override with string resources of the same ids.
#pragma once

#include <windows.h>

constexpr UINT kUiInformation = 1287;
constexpr UINT kUiQuestion = 1288;
constexpr UINT kUiWarning = 1289;
constexpr UINT kUiDeleteLine = 1290;
constexpr UINT kUiCopyField = 1291;
constexpr UINT kUiCopy = 1292;
constexpr UINT kUiMarkAll = 1293;
constexpr UINT kUiSelectAll = 1294;
constexpr UINT kUiDeselectAll = 1295;
constexpr UINT kUiDeleteAll = 1296;
constexpr UINT kUiNever = 1297;
constexpr UINT kUiAlways = 1298;

// The text of a UI string (null for an id outside the table); length, when given, receives its length.
// The first call builds the table from the string resources of `instance` (null: the executable).
// The texts stay valid until FreeUIStrings.
const char* GetUIStringA(HINSTANCE instance, UINT id, int* length = nullptr);
const wchar_t* GetUIStringW(HINSTANCE instance, UINT id, int* length = nullptr);
// Frees the table (registered with atexit when it is built); the next call builds it again.
void FreeUIStrings();
