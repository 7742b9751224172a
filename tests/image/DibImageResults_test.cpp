// The results of the conversions, scaling, filtering, rotation and quantizing over random pictures of every
// depth and alpha kind, one hash per operation, against hashes recorded from the plain per-pixel code: the
// specialised row loops, integer paths and tables must give the same pixels and palettes.
#include "image/loops/DibLoops.h"
#include "tests/image/DibImageTestSupport.h"

#include <functional>
#include <map>
#include <string>

namespace {

struct Hash {
    uint64_t value = 0xcbf29ce484222325ull;
    void Add(uint64_t word) {
        for (int i = 0; i < 8; ++i, word >>= 8) value = (value ^ (word & 255)) * 0x100000001b3ull;
    }
};

// Size, depth, palette and every pixel as the reader gives it (padding and unused bits left out).
void AddImage(Hash& h, const CDibImage& image) {
    h.Add(image.depth | (uint64_t)image.width << 8 | (uint64_t)image.height << 32);
    for (uint32_t i = 0; i < image.paletteSize; ++i) h.Add(image.GetPaletteEntryRGBA((int)i, 0, 0, 0, 0));
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) h.Add(image.GetPixel((int)x, (int)y));
}

// Random pictures: every depth at a few sizes, 32 bits with each kind of alpha, and pictures of few colours
// in runs (as photographs and drawings repeat colours).
std::vector<CDibImage> Pictures() {
    std::mt19937 rng(32);
    std::vector<CDibImage> out;
    for (auto [w, h] : {std::pair{1u, 1u}, {5u, 3u}, {31u, 17u}, {67u, 43u}}) {
        for (uint32_t depth : AllDepths()) out.push_back(RandomImage(depth, w, h, rng));
        for (uint32_t alpha : {0u, 255u, 256u}) {
            out.push_back(RandomImage(32, w, h, rng));
            if (alpha < 256) out.back().SetAlpha((uint8_t)alpha);
            else
                for (uint32_t i = 0; i < w * h; ++i) out.back().bits[4 * i + 3] = rng() & 1 ? 255 : 0;
        }
        for (uint32_t depth : {24u, 32u}) {
            CDibImage runs;
            runs.Create(depth, w, h, 0);
            for (uint32_t i = 0, colour = 0; i < w * h; ++i) {
                if (rng() % 4 == 0) colour = (rng() % 300) * 0x010305u;
                runs.SetPixel((int)(i % w), (int)(i / w), colour);
            }
            out.push_back(std::move(runs));
        }
    }
    // Larger: rotations in several bands and blocks of columns.
    for (uint32_t depth : {8u, 16u, 24u, 32u}) out.push_back(RandomImage(depth, 260, 150, rng));
    return out;
}

// An operation adds its results (returned value and images) to the hash.
using Operation = std::function<void(Hash& h, const CDibImage& source)>;

// One result image of out.f(source, ...) and what it returned.
template <typename F>
Operation Making(F f) {
    return [f](Hash& h, const CDibImage& source) {
        CDibImage out;
        h.Add((uint64_t)f(out, source));
        AddImage(h, out);
    };
}

// Result sizes as fractions of the source's: (numerator x, denominator x, numerator y, denominator y).
const uint32_t kRatios[][4] = {{2, 1, 2, 1}, {3, 1, 1, 1}, {1, 2, 1, 3}, {3, 2, 2, 3}, {1, 9, 1, 9},
                               {7, 5, 5, 7}, {1, 1, 4, 3}, {10, 3, 1, 5}, {1, 31, 1, 17}};

Operation ScaleAll(uint32_t flags) {
    return [flags](Hash& h, const CDibImage& source) {
        for (const auto& r : kRatios) {
            CDibImage out;
            h.Add(out.Scale(source, (int)std::max(1u, source.width * r[0] / r[1]),
                            (int)std::max(1u, source.height * r[2] / r[3]), flags));
            AddImage(h, out);
        }
    };
}

Operation RotateBy(uint32_t angle, uint32_t flags) {
    return Making([angle, flags](CDibImage& out, const CDibImage& source) {
        int cx = (int)source.width / 3, cy = (int)source.height / 2 + 1;
        const bool done = out.Rotate(source, angle, flags, &cx, &cy, 0x80a0b0c0);
        return (uint64_t)done | (uint64_t)(uint32_t)cx << 8 | (uint64_t)(uint32_t)cy << 40;
    });
}

std::map<std::string, Operation> Operations() {
    std::map<std::string, Operation> ops = {
        {"scale nearest", ScaleAll(0)},
        {"scale nearest 32", ScaleAll(kDibScaleTo32)},
        {"scale smooth", ScaleAll(kDibScaleSmooth)},
        {"scale smooth 32", ScaleAll(kDibScaleSmooth | kDibScaleTo32)},
        {"grey index", Making([](CDibImage& o, const CDibImage& s) { return o.GreyIndex8From(s); })},
        {"grey", Making([](CDibImage& o, const CDibImage& s) { return o.GreyFrom(s); })},
        {"threshold", Making([](CDibImage& o, const CDibImage& s) { return o.Threshold1From(s); })},
        {"palette 16", Making([](CDibImage& o, const CDibImage& s) { return o.ToPalette(s, 16, nullptr); })},
        {"quantize", Making([](CDibImage& o, const CDibImage& s) { return o.Quantize(s); })},
        {"mask", Making([](CDibImage& o, const CDibImage& s) { return o.MaskToColor(s, 2, 0x123456); })},
        {"filter", Making([](CDibImage& o, const CDibImage& s) {
             return o.Filter3x3(s, 19, s.trueColour ? s.depth : 24);
         })},
        {"filter 32", Making([](CDibImage& o, const CDibImage& s) { return o.Filter3x3(s, 15, 32); })},
        {"rotate 30", RotateBy(0x20000 / 12, 0)},
        {"rotate 30 nearest", RotateBy(0x20000 / 12, kDibRotateNearest)},
        {"rotate 90", RotateBy(0x8000, 0)},
        {"rotate odd", RotateBy(0x1e345, kDibRotateQuarterPixels)},
        {"rotate odd nearest", RotateBy(12345, kDibRotateNearest | kDibRotateQuarterPixels)},
    };
    for (uint32_t depth : {12u, 15u, 16u, 24u, 32u}) {
        ops["convert " + std::to_string(depth)] =
            Making([depth](CDibImage& o, const CDibImage& s) { return o.ConvertDepth(s, depth); });
        ops["put into " + std::to_string(depth)] = Making([depth](CDibImage& o, const CDibImage& s) {
            return o.Create(depth, s.width, s.height, 0x00405060) && o.Put(s, 0, 0, 0);
        });
    }
    return ops;
}

// Pictures whose sizes do not reduce, so that a result pixel weighs more than 2^20 units (1411 x 757).
uint64_t LargeWeightsHash() {
    std::mt19937 rng(470);
    Hash h;
    for (uint32_t kind : {24u, 32u, 33u}) {
        CDibImage source = RandomImage(kind == 24 ? 24 : 32, 1411, 757, rng), out;
        if (kind == 32) source.SetAlpha(255);
        h.Add(out.Scale(source, 470, 252, kDibScaleSmooth));
        AddImage(h, out);
    }
    return h.value;
}

const std::map<std::string, uint64_t> kRecorded = {
    {"convert 12", 0x8191ada3913f7d9dull},
    {"convert 15", 0xea2e380823d93af5ull},
    {"convert 16", 0x6841b7126665bc15ull},
    {"convert 24", 0x1258dbc30ea4930aull},
    {"convert 32", 0x3a0e90b6fa1bc493ull},
    {"filter 32", 0x19ec183fc2139d80ull},
    {"filter", 0xabc9fed2c23c9279ull},
    {"grey index", 0xd71a05f6caef4b3ull},
    {"grey", 0xf8556ed9e8c00bbbull},
    {"mask", 0x68538805a1ef0e68ull},
    {"palette 16", 0x8f8914e3ceb09c98ull},
    {"put into 12", 0x8191ada3913f7d9dull},
    {"put into 15", 0xea2e380823d93af5ull},
    {"put into 16", 0x6841b7126665bc15ull},
    {"put into 24", 0x1258dbc30ea4930aull},
    {"put into 32", 0x3fed6282847f6fffull},
    {"quantize", 0xeec4c2c8914734cull},
    {"rotate 30 nearest", 0xebb09c9271d7469full},
    {"rotate 30", 0x6d5a6ed6dfaa0f0full},
    {"rotate 90", 0x724acd998b2ef079ull},
    {"rotate odd nearest", 0x330160d19ceb00a9ull},
    {"rotate odd", 0xd454d03b7f0158d9ull},
    {"scale large weights", 0xcc17274c24667f5aull},
    {"scale nearest 32", 0x214883fb4a2b41b3ull},
    {"scale nearest", 0x22782736a10c61e8ull},
    {"scale smooth 32", 0xf5014baa34c5e6e8ull},
    {"scale smooth", 0xdc152c74c537780dull},
    {"threshold", 0x4122a88158ec47fcull},
};

} // namespace

TEST(DibImageResults, EveryOperationGivesTheRecordedPixelsWithEitherLoopSet) {
    const std::vector<CDibImage> pictures = Pictures();
    for (bool portable : {false, true}) {
        DibUsePortableLoops(portable);
        std::map<std::string, uint64_t> got;
        for (const auto& [name, operation] : Operations()) {
            Hash h;
            for (const CDibImage& source : pictures) operation(h, source);
            got[name] = h.value;
        }
        got["scale large weights"] = LargeWeightsHash();
        for (const auto& [name, hash] : got) {
            const auto recorded = kRecorded.find(name);
            EXPECT_TRUE(recorded != kRecorded.end() && recorded->second == hash)
                << (portable ? "portable: " : "") << "{\"" << name << "\", 0x" << std::hex << hash << "ull},";
        }
    }
    DibUsePortableLoops(false);
}
