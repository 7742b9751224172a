// The passes of CDibImage::Scale; each throws std::bad_alloc when its work rows cannot be had.
#pragma once

#include "image/DibImage.h"

// Area average into a 24-bit or 32-bit result of the result's size.
void DibAreaAverage(CDibImage& result, const CDibImage& source);
// The same for a 32-bit result, leaving out the colours of clear pixels.
void DibAreaAverageCounted(CDibImage& result, const CDibImage& source);
