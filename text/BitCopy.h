// Bit-run copying between pixel rows.
#pragma once

#include <cstdint>

// Copies `bitLength` bits that start `bitOffset` bits into `source` to the start of
// `dest`, and zero-fills the rest of the destination's `wordCount` 32-bit words.
// Rows are bit streams in memory order, the most significant bit of each byte
// first (as in 1-, 2- and 4-bit DIB rows). Never reads a source byte past the
// last copied bit; never writes past `wordCount` words.
void ShiftCopyBitsLeft(int bitOffset, int wordCount, const void* source, void* dest, int bitLength);
