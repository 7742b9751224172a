// "ColorListBox": a read-only list of attributed lines (per-character colours, bold and underline, tabs)
// that scrolls; the message box shows its text in one.
#pragma once

#include <windows.h>

constexpr UINT kColorListReset = 14363;    // clears the lines; lParam: flags, kept for the caller
constexpr UINT kColorListAddLine = 14342;  // wParam kColorListWide, lParam a const ColorListLine*
constexpr WPARAM kColorListWide = 0x20000000;

enum ColorListMarker { kColorListText = 0, kColorListUnderline = 1, kColorListSeparator = 2 };

struct ColorListLine {
    const wchar_t* text;
    const BYTE* attrs;     // one per character, or null
    int length;
    int height;            // up to 12: one text line; more: that many pixels
    int markerWidth;       // underline and separator lines: how wide the line is drawn (0: the whole width)
    int marker;            // ColorListMarker
};

// Registers the class once per process; false when that failed.
bool RegisterColorListBox();
// The height of a text line in the list's font.
int ColorListLineHeight();
// The four fonts lines are drawn and measured with (normal, bold, fixed, fixed bold).
const HFONT* ColorListFonts();

// Also understood: LB_SETTABSTOPS (one stop, dialog units), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT (UTF-16).
