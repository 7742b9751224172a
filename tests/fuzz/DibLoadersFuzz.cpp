// The bitmap, icon, cursor and PNG loaders over resource data of other modules: input bytes 0-3 are the
// converter's flag word, the rest the data. Data that is no PNG goes to the converter when it passes the
// loaders' size check, as LoadDibResourceA hands it on.
#include "tests/fuzz/DibSeeds.h"
#include "tests/fuzz/FuzzEngine.h"

#include "image/DibRecord.h"
#include "image/DibRecordLoad.h"

namespace {

using namespace DibLoad;

constexpr BYTE kPng[4] = {0x89, 'P', 'N', 'G'};

fuzz::Bytes WithFlags(DWORD flags, const fuzz::Bytes& data) {
    fuzz::Bytes out;
    fuzz::Put32(out, flags);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<fuzz::Bytes> Seeds() {
    constexpr DWORD kTo32 = kConvertDepth, kTo8 = kConvertDepth | 8u << kDepthShift;
    const DWORD kIcon = kKindIcon << kKindShift, kCursor = kKindCursor << kKindShift, kGroup = kKindGroup << kKindShift;
    const DWORD kMask = kKeyIconMask << kTransparencyShift, kCorner = kKeyCorner << kTransparencyShift;
    std::vector<fuzz::Bytes> seeds;
    const std::vector<fuzz::Bytes> dibs = fuzz::PackedDibSeeds();
    const DWORD kPackedFlags[] = {0, kTo32, kTo8, kMapSysColors, kCorner | kTo32, kComposeAlpha | kTo32,
                                  kForceCopy | kConvertDepth | 4u << kDepthShift};
    for (size_t i = 0; i < dibs.size(); ++i) seeds.push_back(WithFlags(kPackedFlags[i % std::size(kPackedFlags)], dibs[i]));
    const fuzz::Bytes icon = fuzz::ResourceBytes(nullptr, RT_ICON);
    const fuzz::Bytes cursor = fuzz::ResourceBytes(nullptr, RT_CURSOR);
    const fuzz::Bytes group = fuzz::ResourceBytes(MAKEINTRESOURCEA(7001), RT_GROUP_ICON);
    seeds.push_back(WithFlags(kIcon | kMask | kTo32, icon));
    seeds.push_back(WithFlags(kIcon, icon));
    seeds.push_back(WithFlags(kCursor | kMask | kTo32, cursor));
    seeds.push_back(WithFlags(kGroup, group));
    seeds.push_back(WithFlags(kGroup | kChooseBySize | kLargest | kTo32, group));
    seeds.push_back(WithFlags(kGroup | kChooseBySize | (16 + (16 << 8)) | 29u << kDepthShift, group));
    const fuzz::Bytes png = fuzz::ResourceBytes("IMAGE", "PNGSEED");
    seeds.push_back(WithFlags(0, png));
    seeds.push_back(WithFlags(kMask | kTo32, png));
    return seeds;
}

// What a loader returned: a record to check and free, or the data's own header.
void Release(DibRecord* result, const uint8_t* data, size_t size, DWORD flags) {
    if (!result) return;
    if (IsDibRecord(result)) {
        const BITMAPINFOHEADER* h = reinterpret_cast<const BITMAPINFOHEADER*>(result);
        FUZZ_CHECK(h->biWidth >= 1 && h->biWidth <= 65535 && h->biHeight != 0);
        FreeDib(result);
        return;
    }
    // A group's member comes from this program's own resources.
    const uint8_t* at = reinterpret_cast<const uint8_t*>(result);
    if (((flags & kKindMask) >> kKindShift) != kKindGroup) FUZZ_CHECK(at >= data && at + sizeof(BITMAPINFOHEADER) <= data + size);
}

bool Run(const uint8_t* input, size_t inputSize) {
    if (inputSize < 4) return false;
    DWORD flags;
    memcpy(&flags, input, 4);
    // The pattern by which the loaders' own calls hand in a pixel pointer is not a caller's.
    if ((flags & 0x8060ffff) == 0x8060edcb) flags ^= 1;
    const uint8_t* data = input + 4;
    const DWORD size = static_cast<DWORD>(inputSize - 4);
    bool taken = false;
    for (bool withOut : {true, false}) {
        ULONG_PTR inout = reinterpret_cast<ULONG_PTR>(GetModuleHandleA(nullptr));
        DibRecord* result;
        if (size >= 4 && memcmp(data, kPng, 4) == 0)
            result = CreateDibFromPng(nullptr, data, size, flags, withOut ? &inout : nullptr);
        else if (PackedDibDataFits(data, size, flags))
            result = CreateDibFromPackedData(nullptr, data, flags, withOut ? &inout : nullptr);
        else
            return false;
        taken |= result != nullptr;
        Release(result, data, size, flags);
    }
    return taken;
}

// Found: a cursor image whose biSizeImage names the plain rows of the whole height passed the size check as an
// icon image (half the rows) and was then read as the whole height. Also bounded since: an icon image's AND
// mask, which the size check left out.
const char* const kPlainRowsPastTheEnd =
    "00004043000000002800000002000000040000000100200000000000200000000000000000000000000000000000000"
    "0ffffffffffffffffffffffffffffffffffffffffffffffff";
const char* const kMaskPastTheEnd =
    "0000204328000000020000000400000001002000000000000000000000000000000000000000000000000000"
    "ffffffffffffffffffffffffffffffff";

fuzz::Registration registration{{"DibLoaders", 60000, Seeds, Run, {kPlainRowsPastTheEnd, kMaskPastTheEnd}}};

}  // namespace
