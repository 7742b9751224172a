// Seeds and bounds shared by the packed-DIB fuzz targets.
#pragma once

#include "tests/fuzz/FuzzEngine.h"

namespace fuzz {

// Packed DIBs in every header version (40, 52, 56, 108, 124 bytes) with palettes of full and cut length,
// bit-field masks (5-5-5, 5-6-5, 8-8-8) inside and behind the header, top-down rows and RLE pixels, and the
// program's own artwork.
std::vector<Bytes> PackedDibSeeds();

// The bytes a packed DIB claims by its header, taken generously (a colour table of biClrUsed entries on any
// depth, masks behind any header): readers of DIBs without a size may read this far and no further.
// 0 when not even a header is there.
uint64_t ClaimedDibBytes(const uint8_t* data, size_t size);

}  // namespace fuzz
