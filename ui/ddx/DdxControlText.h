// Shared steps of the dialog exchange helpers: bounded text reads, writes that spare unchanged fields, and
// the range-error report.
#pragma once

#include "framework/CString.h"
#include "framework/DataExchange.h"

namespace ddx {

// Text limits of the fields: numbers, dates and times; plain text; combo texts.
constexpr int kShortText = 32;
constexpr int kPlainText = 260;
constexpr int kComboText = 1024;

// At most `limit` characters of the window's text.
CString ReadText(HWND hWnd, int limit);
// Sets the text only when it differs from the current one.
void WriteText(HWND hWnd, LPCSTR text);
// Tells the user the typed value is out of range and fails the exchange.
void FailOutOfRange(CDataExchange* pDX);

}  // namespace ddx
