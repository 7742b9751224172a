// Sizing-border hit test, and the drawing and hit test of splitter bars and their grips.
#pragma once

#include <windows.h>

#include <cstdint>

// Sizing codes: edges and their sums at the corners.
enum : int {
    kBorderNone = 0,
    kBorderLeft = 1,
    kBorderRight = 2,
    kBorderTop = 4,
    kBorderBottom = 8,
    kBorderTopLeft = 5,
    kBorderTopRight = 6,
    kBorderBottomLeft = 9,
    kBorderBottomRight = 10,
};

// Which sizing edge of `rect` lies under (x, y). border > 0: the point must lie in the band of that
// width inside the rectangle; border < 0: in the band |border| wide on both sides of the edge; 0: no
// band test. Edges in `disabled` are removed. *cursor (when asked) gets the matching sizing cursor or 0.
int HitTestBorder(const RECT& rect, int x, int y, int border, int disabled, HCURSOR* cursor);

// Splitter position word: low 16 bits a signed offset along the bar; bits 16-17 anchoring (1 centred,
// 2 at the far end, else at the offset); bits 18-19 non-zero: the grip's arrow points forwards.
constexpr uint32_t kGripCentred = 1u << 16;
constexpr uint32_t kGripAtEnd = 2u << 16;
constexpr uint32_t kGripArrowForward = 1u << 18;

// Draw the 19-pixel grip of a vertical (V) or horizontal (H) splitter; return the DC's previous
// background colour (which they restore).
COLORREF DrawSplitterGripV(HDC dc, int across, int length, uint32_t position);
COLORREF DrawSplitterGripH(HDC dc, int across, int length, uint32_t position);
// An 8-pixel splitter bar from 0 (or `start`) along `length`; horizontal non-zero: rows, else columns.
int DrawSplitterBar(HDC dc, int across, int length, int horizontal);
int DrawSplitterBarAt(int start, HDC dc, int across, int length, int horizontal);
// 1 when the point lies on the grip.
int HitTestSplitterGrip(int across, int length, uint32_t position, int pointAcross, int pointAlong);
