#include "text/TextList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
std::vector<std::string> Texts(const CTextList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetCount(); ++i) out.emplace_back(list.GetItemText(i), (size_t)list.GetItemLength(i));
    return out;
}
struct Job {  // 13 bytes of user data, as the folder tree's job queue keeps them
    uint32_t item;
    uint32_t semaphore;
    uint32_t word;
    uint8_t counted;
};
}  // namespace

TEST(TextList, InsertClampsIndicesAndKeepsUserData) {
    CTextList list(13);
    EXPECT_EQ(list.GetUserDataSize(), 13);
    Job a{1, 2, 3, 1}, b{4, 5, 6, 0};
    EXPECT_EQ(list.InsertItem("b", -1, &a), 0);
    EXPECT_EQ(list.InsertItem("a", 0, &b), 0);
    EXPECT_EQ(list.InsertItem(nullptr, 99, nullptr), 2);
    EXPECT_EQ(list.InsertItemN(3, "cdefg", 2), 2);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "cde", ""}));

    Job got{};
    ASSERT_NE(list.GetItemData(1, &got), nullptr);
    EXPECT_EQ(memcmp(&got, &a, 13), 0);
    unsigned char zero[13] = {};
    EXPECT_EQ(memcmp(list.GetItemData(3), zero, 13), 0);
    EXPECT_EQ(list.GetItemData(4, &got), nullptr);
    EXPECT_EQ(list.GetItemData(-1), nullptr);
    EXPECT_EQ(list.GetItemText(4), nullptr);
    EXPECT_EQ(list.GetItemLength(-1), -1);

    EXPECT_EQ(list.SetItemKey(0, 77), 4u);
    EXPECT_EQ(list.FindItemKey(77, 0, -1), 0);
    EXPECT_EQ(list.FindItemKey(77, 1, -1), -1);
    EXPECT_EQ(list.FindItemKey(1, 0, -1), 1);
    EXPECT_EQ(list.SetItemKey(9, 1), 0u);

    // The size changes only while the list is empty.
    EXPECT_EQ(list.SetUserDataSize(4), 13);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.SetUserDataSize(4), 4);
    EXPECT_EQ(list.SetUserDataSize(-1), 4);
}

TEST(TextList, ListWithoutUserDataHasNoKeys) {
    CTextList list;
    list.InsertItem("x");
    EXPECT_EQ(list.GetItemData(0), nullptr);
    EXPECT_EQ(list.SetItemKey(0, 5), 0u);
    EXPECT_EQ(list.FindItemKey(0, 0, -1), -1);
}

TEST(TextList, FindItemByTextAndRange) {
    CTextList list;
    for (const char* t : {"Alpha", "beta", "alpha", "Beta"}) list.InsertItem(t);
    EXPECT_EQ(list.FindItem(-1, "alpha", 0, -1, 0), 2);
    EXPECT_EQ(list.FindItem(-1, "ALPHA", 0, -1, 1), 0);
    EXPECT_EQ(list.FindItem(-1, "ALPHA", 1, -1, 1), 2);
    EXPECT_EQ(list.FindItem(-1, "ALPHA", 1, 2, 1), -1);
    EXPECT_EQ(list.FindItem(4, "betaX", 0, 100, 0), 1);
    EXPECT_EQ(list.FindItem(-1, "alp", 0, -1, 1), -1);
}

TEST(TextList, SortedSearchFlags) {
    CTextList list(4);
    for (const char* t : {"b", "B", "a", "c", "b"}) list.InsertSorted(-1, t, TL_NOCASE);
    // Equal items (by the flags) keep their insertion order.
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "B", "b", "c"}));
    EXPECT_EQ(list.SearchSorted(-1, "B", 0, -1, TL_NOCASE), 1);
    EXPECT_EQ(list.SearchSorted(-1, "B", 0, -1, TL_NOCASE | TL_AFTER), 3);
    EXPECT_EQ(list.SearchSorted(-1, "B", 0, -1, TL_NOCASE | TL_INSERT), 1);
    EXPECT_EQ(list.SearchSorted(-1, "B", 0, -1, TL_NOCASE | TL_INSERT | TL_AFTER), 4);
    EXPECT_EQ(list.SearchSorted(-1, "bb", 0, -1, TL_NOCASE), -1);
    EXPECT_EQ(list.SearchSorted(-1, "bb", 0, -1, TL_NOCASE | TL_INSERT), 4);
    EXPECT_EQ(list.SearchSorted(-1, "0", 0, -1, TL_NOCASE | TL_INSERT), 0);
    EXPECT_EQ(list.SearchSorted(-1, "z", 0, -1, TL_NOCASE | TL_INSERT), 5);
    // Within a sub-range.
    EXPECT_EQ(list.SearchSorted(-1, "a", 1, -1, TL_NOCASE), -1);
    EXPECT_EQ(list.SearchSorted(-1, "c", 0, 4, TL_NOCASE | TL_INSERT), 4);

    CTextList exact;
    for (const char* t : {"b", "B", "a"}) exact.InsertSorted(-1, t, 0);
    EXPECT_EQ(Texts(exact), (std::vector<std::string>{"B", "a", "b"}));
    EXPECT_EQ(exact.SearchSorted(-1, "b", 0, -1, 0), 2);
    EXPECT_EQ(exact.SearchSorted(-1, "A", 0, -1, 0), -1);
}

TEST(TextList, SortModes) {
    CTextList list;
    for (const char* t : {"file10", "File2", "file1", "FILE2"}) list.InsertItem(t);
    list.Sort(TL_NATURAL);  // File2 and FILE2 are equal in natural order: they keep their order
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"file1", "File2", "FILE2", "file10"}));
    list.Sort(0);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"FILE2", "File2", "file1", "file10"}));
    list.Sort(TL_NOCASE);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"file1", "file10", "FILE2", "File2"}));
}

TEST(TextList, HistoryModeKeepsNewestUniqueEntries) {
    CTextList list(8);
    for (const char* t : {"a", "b", "c", "d"}) list.InsertItem(t);
    list.InsertItem("B");
    list.SetHistoryMode(3, 1);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b", "c"}));
    uint64_t tag = 0x1122334455667788ull;
    EXPECT_EQ(list.InsertItem("C", 0, &tag), 0);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"C", "a", "b"}));
    uint64_t got = 0;
    list.GetItemData(0, &got);
    EXPECT_EQ(got, tag);
    // An entry inserted beyond the limit falls out at once.
    EXPECT_EQ(list.InsertItem("z", -1), -1);
    EXPECT_EQ(list.GetCount(), 3);

    // Promote: an equal entry moves to the top; a missing one is reported.
    EXPECT_EQ(list.PromoteHistoryItem("B"), 0);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "C", "a"}));
    EXPECT_NE(list.PromoteHistoryItem("new"), 0);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"b", "C", "a"}));
}

TEST(TextList, JoinMultiStringAndRemovals) {
    CTextList list;
    for (const char* t : {"one", "", "three", "four"}) list.InsertItem(t);
    char* block = nullptr;
    int size = list.JoinMultiString(0, -1, &block);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(size, 17);
    EXPECT_EQ(memcmp(block, "one\0\0three\0four\0\0", 17), 0);
    free(block);
    size = list.JoinMultiString(2, 99, &block);
    EXPECT_EQ(size, 12);
    EXPECT_EQ(memcmp(block, "three\0four\0\0", 12), 0);
    free(block);
    // An empty range still gives a double-NUL-terminated block.
    size = list.JoinMultiString(3, 1, &block);
    EXPECT_EQ(size, 1);
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[1], 0);
    free(block);

    EXPECT_EQ(list.RemoveItem(4), 0);
    EXPECT_EQ(list.RemoveItem(-1), 0);
    EXPECT_EQ(list.RemoveItem(1), 1);
    EXPECT_EQ(list.RemoveRange(1, 100), 2);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"one"}));
    EXPECT_EQ(list.RemoveRange(5, 9), 0);
    EXPECT_EQ(list.RemoveRange(0, -1), 1);
}
