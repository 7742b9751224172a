#include "image/PixelBlockCache.h"
#include "tests/image/DibImageTestSupport.h"
#include "tests/support/HeapCheck.h"
#include "tests/support/TimeBound.h"

#include <utility>

namespace {
constexpr size_t kK = 1024;
uint8_t* Block(size_t bytes) { return static_cast<uint8_t*>(malloc(bytes)); }
} // namespace

// The oldest go first; blocks too small or too large to keep are freed at once.
TEST(PixelBlockCache, KeepsOnlyTheNewestBlocksWithinItsBounds) {
    CPixelBlockCache cache(64 * kK, 350 * kK, 3);
    for (size_t kilobytes : {100, 100, 100, 100, 16, 400, 200}) cache.Give(Block(kilobytes * kK));
    EXPECT_EQ(std::pair(cache.HeldBlocks(), cache.HeldBytes()), std::pair(2u, 300 * kK));
    EXPECT_EQ(cache.Take(201 * kK), nullptr);  // larger than any kept block
    cache.Empty();
}

TEST(PixelBlockCache, AFreedImagesPixelsServeTheNextImageOfTheirSizeOnly) {
    if (!DibPixelBlocks().MostBlocks()) GTEST_SKIP() << "the heaps check freed blocks: none are kept";
    DibPixelBlocks().Empty();
    auto* image = new CDibImage;
    ASSERT_TRUE(image->Create(24, 640, 480, kDibNoFill));
    const uint8_t* first = image->bits;
    delete image;
    CDibImage small, same;
    ASSERT_TRUE(small.Create(24, 320, 240, kDibNoFill)); // a quarter of the size
    ASSERT_TRUE(same.Create(24, 640, 480, 0));
    EXPECT_NE(small.bits, first);
    EXPECT_EQ(same.bits, first);
    EXPECT_EQ(same.GetPixel(639, 0), 0u);
}

// Under tests/run.sh --heap-check the heaps check freed blocks, and a kept block would hide a late write.
TEST(PixelBlockCache, KeepsNothingWhileTheTestsCheckTheHeaps) {
    if (HeapValidationAfterTests()) {
        EXPECT_EQ(DibPixelBlocks().MostBlocks(), 0u);
    }
}

// Four blocks for four threads: each thread always finds one, marks it and finds its mark still there
// before it gives the block back.
TEST(PixelBlockCache, ThreadsNeverShareABlock) {
    static CPixelBlockCache cache(64 * kK, 1024 * kK, 4);
    for (int i = 0; i < 4; ++i) cache.Give(Block(100 * kK));
    const auto work = [](void* mark) -> DWORD {
        for (int i = 0; i < 2000; ++i) {
            uint8_t* block = cache.Take(100 * kK);
            if (!block) return 1;
            memset(block, (int)(uintptr_t)mark, 100 * kK);
            Sleep(0);
            if (block[0] != block[100 * kK - 1] || block[0] != (uint8_t)(uintptr_t)mark) return 1;
            cache.Give(block);
        }
        return 0;
    };
    HANDLE threads[4];
    for (uintptr_t t = 0; t < 4; ++t) threads[t] = CreateThread(nullptr, 0, work, (void*)(t + 1), 0, nullptr);
    ASSERT_EQ(WaitForMultipleObjects(4, threads, TRUE, Bound(20000)), WAIT_OBJECT_0);
    for (HANDLE thread : threads) {
        DWORD code = 2;
        EXPECT_TRUE(GetExitCodeThread(thread, &code) && code == 0);
        CloseHandle(thread);
    }
    cache.Empty();
}
