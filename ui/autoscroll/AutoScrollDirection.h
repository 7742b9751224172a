// Middle-button autoscroll arithmetic: the direction code and the step for a mouse offset from the start
// point, and the origin mark's pixels at a screen depth.
#pragma once

#include <cstdint>
#include <vector>

// Axes: 1 horizontal, 2 vertical, 3 both.
constexpr int kAutoScrollHorizontal = 1;
constexpr int kAutoScrollVertical = 2;
// Within this distance of the start nothing scrolls.
constexpr int kAutoScrollDeadRadius = 20;

// Direction code 0-8: 3 * horizontal + vertical, each part 0 none, 1 right / down, 2 left / up; 0 within
// 20 pixels of the start. The part of an axis that is not scrolled is dropped.
int AutoScrollCode(int dx, int dy, int axes);
// Scroll units per tick: |dx >> 4| + |dy >> 4| over the scrolled axes.
int AutoScrollStep(int dx, int dy, int axes);
// The position a tick scrolls to: pos moved by step in the code's direction along one axis (bar 0
// horizontal, 1 vertical), kept within [minPos, maxPos]; pos itself when the code has no part on the axis.
int AutoScrollTarget(int code, int bar, int pos, int step, int minPos, int maxPos);

// A 32 x 32 origin mark (4-bit grey, two pixels a byte) as bitmap bits for CreateIcon at bitsPixel 1, 4,
// 8, 15, 16, 24 or 32 (rows of 32 pixels; other depths give an empty result).
std::vector<uint8_t> OriginMarkBits(const uint8_t* grey, int bitsPixel);
