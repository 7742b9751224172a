// Image operations when memory runs out: no exception leaves them. This program's operator new fails every
// allocation after a set number while a test arms it.
#include "tests/image/DibImageTestSupport.h"

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

namespace {

std::atomic<long> g_allocationsLeft{-1}; // -1: no limit
std::atomic<size_t> g_largestBlock{SIZE_MAX};

// Lets `count` allocations through, then fails every one until the scope ends.
struct AllocationLimit {
    explicit AllocationLimit(long count) { g_allocationsLeft = count; }
    ~AllocationLimit() { g_allocationsLeft = -1; }
    bool Reached() const { return g_allocationsLeft == 0; }
};

} // namespace

void* operator new(size_t size) {
    long left = g_allocationsLeft;
    while (left > 0 && !g_allocationsLeft.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 0 || size > g_largestBlock) throw std::bad_alloc();
    if (void* p = malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// Out of line: inlined into a caller of new, free() would look mismatched to the compiler.
__attribute__((noinline)) void operator delete(void* p) noexcept { free(p); }
__attribute__((noinline)) void operator delete(void* p, size_t) noexcept { free(p); }

TEST(DibImageMemory, OperationsOnAnImageOrItselfResetItInsteadOfThrowing) {
    using Op = std::function<bool(CDibImage& out, const CDibImage& source)>;
    const Op ops[] = {
        [](CDibImage& o, const CDibImage& s) { return o.Scale(s, 13, 11, kDibScaleSmooth); },
        [](CDibImage& o, const CDibImage& s) { return o.Scale(s, 90, 61, kDibScaleSmooth); },
        [](CDibImage& o, const CDibImage& s) { return o.Scale(s, 9, 70, 0); },
        [](CDibImage& o, const CDibImage& s) { return o.Filter3x3(s, 20, 24); },
        [](CDibImage& o, const CDibImage& s) { return o.ConvertDepth(s, 16); },
        [](CDibImage& o, const CDibImage& s) { return o.ToPalette(s, 16, nullptr); },
        [](CDibImage& o, const CDibImage& s) { return o.GreyIndex8From(s); },
        [](CDibImage& o, const CDibImage& s) { return o.Threshold1From(s); },
        [](CDibImage& o, const CDibImage& s) {
            int cx = 3, cy = 2;
            return o.Rotate(s, 0x3000, 0, &cx, &cy, 0);
        },
    };
    std::mt19937 rng(30);
    const CDibImage source = RandomImage(24, 40, 30, rng);
    for (size_t i = 0; i < std::size(ops); ++i)
        for (bool itself : {false, true})
            for (long allowed = 0;; ++allowed) {
                CDibImage out(source);
                bool done = false, threw = false, failed;
                {
                    const AllocationLimit limit(allowed);
                    try {
                        done = ops[i](out, itself ? out : source);
                    } catch (...) {
                        threw = true;
                    }
                    failed = limit.Reached();
                }
                ASSERT_FALSE(threw) << "op " << i << (itself ? " on itself" : "") << ", " << allowed << " allowed";
                if (!failed) break;
                EXPECT_TRUE(done || !out.HasPixels()) << "op " << i << ", " << allowed << " allowed";
            }
}

TEST(DibImageMemory, CompositionOnItselfFailsWithoutThrowingWhenItCannotCopyIt) {
    // Puts leave the image as it was; the operations that rebuild it reset it.
    using Op = std::function<bool(CDibImage& image)>;
    const std::pair<Op, bool> ops[] = {
        {[](CDibImage& i) { return i.Put(i, 3, 2, 0); }, false},
        {[](CDibImage& i) { return i.AlphaPut(i, 3, 2); }, false},
        {[](CDibImage& i) { return i.AlphaBlendPut(i, 3, 2); }, false},
        {[](CDibImage& i) { return i.MaskedPut(i, 3, 2, i); }, false},
        {[](CDibImage& i) { return i.CropFrom(i, 1, 1, 5, 5); }, true},
        {[](CDibImage& i) { return i.TransformFrom(i, 1, 0, 1); }, true},
    };
    std::mt19937 rng(103);
    const CDibImage original = RandomImage(32, 9, 7, rng);
    for (const auto& [op, resets] : ops) {
        CDibImage image(original);
        bool done = true, threw = false;
        {
            const AllocationLimit limit(0);
            try {
                done = op(image);
            } catch (...) {
                threw = true;
            }
        }
        EXPECT_FALSE(threw || done);
        EXPECT_TRUE(resets ? !image.HasPixels() : SameBytes(image, original));
    }
}

TEST(DibImageMemory, PlainFloodFillNeedsNoMemoryBeyondItsStack) {
    CDibImage image = Blank(8, 64, 64);
    bool filled;
    {
        const AllocationLimit limit(1); // the stack's first block
        filled = image.FloodFill(10, 10, 7);
    }
    ASSERT_TRUE(filled);
    EXPECT_EQ(image.GetPixel(63, 63), 7u);
}

// A strong reduction in height keeps a few rows of work memory, not one per source row under a result row.
TEST(DibImageMemory, ATallReductionWorksInAFewRows) {
    CDibImage tall = Blank(24, 400, 4000);
    for (int y = 0; y < 4000; y += 2) tall.FillRect(0, y, 400, 1, 0xFFFFFF);  // rows white and black in turn
    CDibImage result;
    g_largestBlock = 64 * 1024;
    const bool scaled = result.Scale(tall, 400, 1, kDibScaleSmooth);
    g_largestBlock = SIZE_MAX;
    ASSERT_TRUE(scaled);
    EXPECT_EQ(result.GetPixel(0, 0), 0x808080u);  // the mean 127.5, rounded
    EXPECT_EQ(result.GetPixel(399, 0), 0x808080u);
}
