// The message box's text: control codes turned into attribute bytes and marker lines, and lines broken to
// the width the box allows. Pure: the caller measures.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

enum class MsgBoxMarker { None, Underline, Separator };

// The texts of the marker lines: "_" and the separator byte 159.
constexpr wchar_t kUnderlineMarker = L'_';
constexpr wchar_t kSeparatorMarker = 0x9F;

struct MsgBoxLine {
    std::wstring text;
    std::vector<BYTE> attrs;  // one per character
    MsgBoxMarker marker = MsgBoxMarker::None;
    int width = 0;            // text lines: measured width; marker lines: the width of the line they mark
};

// Splits the text at carriage returns and line feeds. Without attributes the control codes are read:
// 7 resets the attribute; 8 and 12 before a line feed end the line with an underline or a separator
// line, elsewhere they (and 11) set bit 0x40; 9 stays as a tab; 10 and 13 end the line and reset; the
// other codes set the colour (1-6 give 3-8, 14-31 give 10-27) in the low 5 bits, and a 7 right after one
// is skipped. With attributes (one per character) the text is taken as it is.
std::vector<MsgBoxLine> DecodeMessageText(const std::wstring& text, const BYTE* attrs);

// Width in pixels of a run of a line.
using MsgBoxMeasure = std::function<int(const wchar_t* text, const BYTE* attrs, int length)>;

struct BrokenText {
    std::vector<MsgBoxLine> lines;
    int widest = 0;          // the widest line, at most the width allowed
    bool scrolling = false;  // some line could not be made narrow enough
};

// Breaks every line to at most maxWidth pixels: at most maxWidth / 4 + 40 characters, cut at the last
// blank (space, tab, no-break space) with trailing blanks dropped; a line without a usable blank loses ten
// characters at a time while it is longer than 32, and the text is then marked as scrolling.
BrokenText BreakMessageLines(const std::vector<MsgBoxLine>& lines, int maxWidth, const MsgBoxMeasure& measure);
