#include "text/RecordArray.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
struct CutOut {  // 28 bytes: key, description, handle
    int32_t key;
    uint16_t parts[8];
    uint64_t handle;
};
static_assert(sizeof(CutOut) == 28 + 4, "padded to 8");
}  // namespace

TEST(RecordArray, SortedInsertAndLookupByFirstWord) {
    CRecordArray cache(28);
    for (int32_t key : {50, -3, 7, 1000, 7}) {
        CutOut r{};
        r.key = key;
        r.parts[0] = (uint16_t)(key & 0xFFFF);
        int at = cache.SearchSortedInt(key, 9);
        EXPECT_EQ(cache.InsertRecords(at, 1, &r), at);
    }
    ASSERT_EQ(cache.GetCount(), 5);
    int32_t keys[5];
    for (int i = 0; i < 5; ++i) memcpy(&keys[i], cache.GetRecord(i), 4);
    EXPECT_EQ(keys[0], -3);
    EXPECT_EQ(keys[1], 7);
    EXPECT_EQ(keys[4], 1000);
    EXPECT_EQ(cache.SearchSortedInt(50, 3), 3);
    EXPECT_EQ(cache.SearchSortedInt(-3, 3), 0);
    EXPECT_LT(cache.SearchSortedInt(8, 3), 0);
    EXPECT_EQ(cache.SearchSortedInt(8, 3), -(3) - 1);
    EXPECT_EQ(cache.SearchSortedInt(7, 9 | RA_AFTER), 3);
    EXPECT_EQ(cache.GetRecord(5), nullptr);

    // The record is a copy of the caller's 28 bytes.
    CutOut big{};
    big.key = 2000;
    memset(big.parts, 0xAB, sizeof(big.parts));
    cache.InsertRecords(-1, 1, &big);
    EXPECT_EQ(memcmp(cache.GetRecord(5), &big, 28), 0);

    EXPECT_EQ(cache.RemoveRange(0, -1), 6);
    EXPECT_EQ(cache.GetCount(), 0);
    cache.Free();
    EXPECT_EQ(cache.SearchSortedInt(1, 3), -1);
}

TEST(RecordArray, UnsignedModeAndBadArguments) {
    CRecordArray arr(4);
    int32_t vals[3] = {1, 2, (int32_t)0x80000000};
    EXPECT_EQ(arr.InsertRecords(0, 3, vals), 0);  // unsigned order: 1, 2, 0x80000000
    EXPECT_EQ(arr.SearchSortedInt((int32_t)0x80000000, RA_EXACT), 2);
    EXPECT_EQ(arr.SearchSortedInt(3, RA_INSERT), 2);
    EXPECT_EQ(arr.InsertRecords(0, 0, vals), -1);
    EXPECT_EQ(arr.InsertRecords(99, 1, nullptr), 3);
    EXPECT_EQ(arr.RemoveRange(2, 1), 0);
    EXPECT_EQ(arr.RemoveRange(-5, 1), 1);
}
