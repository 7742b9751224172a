// Packed DIBs in memory without a size (resources, records): the image and the bitmap made from them. Each
// input is made as long as its header claims, so a read past the guard is a read past the claim.
#include "tests/fuzz/DibSeeds.h"
#include "tests/fuzz/FuzzEngine.h"
#include "tests/support/GuardPage.h"

#include "image/DibImage.h"
#include "image/PackedDibBitmap.h"

namespace {

constexpr uint64_t kLongestClaim = 4 << 20;

bool Run(const uint8_t* data, size_t size) {
    const uint64_t claim = fuzz::ClaimedDibBytes(data, size);
    if (claim == 0 || claim > kLongestClaim) return false;
    fuzz::Bytes whole(data, data + size);
    if (whole.size() < claim) whole.resize(claim);
    GuardedBytes guarded(whole.data(), whole.size());
    bool taken = false;
    CDibImage image;
    if (image.FromPackedDibBlock(guarded.Data())) {
        FUZZ_CHECK(image.HasPixels() && image.width > 0 && image.height > 0);
        taken = true;
    }
    for (int flags : {0, kDibMapSysGreys | kDibPremultiply}) {
        if (HBITMAP bitmap = CreateBitmapFromPackedDib(guarded.Data(), flags, nullptr)) {
            DeleteObject(bitmap);
            taken = true;
        }
    }
    return taken;
}

fuzz::Registration registration{{"MemoryDib", 8000, fuzz::PackedDibSeeds, Run, {}}};

}  // namespace
