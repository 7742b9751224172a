#include "text/BitCopy.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {
int GetBit(const std::vector<uint8_t>& row, int i) { return (row[i >> 3] >> (7 - (i & 7))) & 1; }
}  // namespace

// Compares against a bit-by-bit copy for every offset and length over random rows.
TEST(ShiftCopyBitsLeft, MatchesBitwiseReference) {
    std::mt19937 rng(7);
    for (int offset = 0; offset < 70; ++offset) {
        for (int length = 0; length < 140; length += 3) {
            std::vector<uint8_t> src(32);
            for (auto& b : src) b = (uint8_t)rng();
            int words = (length + 31) / 32 + 1;
            std::vector<uint8_t> dst(words * 4 + 4, 0xAA);
            ShiftCopyBitsLeft(offset, words, src.data(), dst.data(), length);
            for (int i = 0; i < words * 32; ++i) {
                int expected = i < length ? GetBit(src, offset + i) : 0;
                ASSERT_EQ(GetBit(dst, i), expected) << "offset " << offset << " length " << length << " bit " << i;
            }
            // Nothing past the destination's words.
            for (int i = words * 4; i < (int)dst.size(); ++i) ASSERT_EQ(dst[i], 0xAA);
        }
    }
}

// The source ends right after the last copied bit: the copy must not read further.
TEST(ShiftCopyBitsLeft, ReadsNoByteBeyondTheLastCopiedBit) {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    uint8_t* pages = (uint8_t*)VirtualAlloc(nullptr, si.dwPageSize * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(pages, nullptr);
    DWORD old;
    VirtualProtect(pages + si.dwPageSize, si.dwPageSize, PAGE_NOACCESS, &old);
    uint8_t* end = pages + si.dwPageSize;
    end[-1] = 0xFF;
    end[-2] = 0x0F;
    uint32_t dst[2];
    // Bits 4..15 of the last two bytes.
    ShiftCopyBitsLeft(4, 2, end - 2, dst, 12);
    const uint8_t* d = (const uint8_t*)dst;
    EXPECT_EQ(d[0], 0xFF);
    EXPECT_EQ(d[1], 0xF0);
    EXPECT_EQ(d[2], 0);
    VirtualFree(pages, 0, MEM_RELEASE);
}
