// CTextList: a list of texts, each a heap item holding its length, a fixed-size block of user data
// and the text with its NUL. Items are addressed by index. Sortable, searchable, and usable as a
// history list of bounded length. A list belongs to one thread at a time.
#pragma once

#include <cstdint>
#include <vector>

// Flags of SearchSorted, InsertSorted and Sort.
enum : int {
    TL_NOCASE = 0x1,    // compare without regard to letter case
    TL_AFTER = 0x4,     // SearchSorted: the last equal item; with TL_INSERT after the last equal item
    TL_INSERT = 0x8,    // SearchSorted: return the insertion point, found or not
    TL_NATURAL = 0x2000 // Sort: natural order (digit runs by value, case ignored)
};

class CTextList {
public:
    // Compares two items for SortBy: <0, 0, >0.
    using CompareFn = int (*)(const char* textA, int lengthA, const void* dataA, const char* textB, int lengthB,
                              const void* dataB, void* context);

    explicit CTextList(int userDataSize = 0);
    ~CTextList();
    CTextList(const CTextList&) = delete;
    CTextList& operator=(const CTextList&) = delete;

    // Sets the per-item user-data size (0 to 4096 bytes) while the list is empty; returns the size in force.
    int SetUserDataSize(int size);
    int GetUserDataSize() const { return m_userDataSize; }
    int GetCount() const { return (int)m_items.size(); }

    // Inserts a NUL-terminated text (null = empty) at index (clamped; negative appends) with a copy of
    // userData (null = zeroed). Returns the new index; -1 when memory ran out or, in history mode,
    // when the item falls beyond maxEntries.
    int InsertItem(const char* text, int index = -1, const void* userData = nullptr);
    // The same with an explicit length (-1 measures the text).
    int InsertItemN(int length, const char* text, int index = -1, const void* userData = nullptr);
    // Inserts at the insertion point that SearchSorted(flags | TL_INSERT) gives over the whole list.
    int InsertSorted(int length, const char* text, int flags = 0, const void* userData = nullptr);

    // Text of an item (NUL-terminated), null when index is out of range.
    const char* GetItemText(int index) const;
    // Length of an item's text, -1 when index is out of range.
    int GetItemLength(int index) const;
    // Copies the item's user data to dest (when not null); returns the user-data pointer, null when
    // index is out of range or the list has no user data.
    void* GetItemData(int index, void* dest = nullptr) const;
    // Stores value in the item's first 32-bit user-data word; returns the old word (0 when out of range).
    uint32_t SetItemKey(int index, uint32_t value);
    uint32_t GetItemKey(int index) const;

    // First item in [from, to) (to -1 = count) with exactly that text (compareMode 1: case-insensitive);
    // length -1 measures the text. -1 when none.
    int FindItem(int length, const char* text, int from = 0, int to = -1, int compareMode = 0) const;
    // First item in [from, to) whose first 32-bit user-data word equals key; -1 when none.
    int FindItemKey(uint32_t key, int from = 0, int to = -1) const;
    // Binary search in [from, to) of a list sorted with the same flags. Without TL_INSERT: the first
    // equal item (TL_AFTER: the last), -1 when none; with TL_INSERT the insertion point before the
    // equal items (TL_AFTER: after them).
    int SearchSorted(int length, const char* text, int from = 0, int to = -1, int flags = 0) const;

    // Sorts by text: byte order, TL_NOCASE, or TL_NATURAL. Equal items keep their order.
    void Sort(int flags = 0);
    void SortBy(CompareFn compare, void* context);

    // History mode: at most maxEntries items (0 = off); inserting a text removes other items equal
    // to it by compareMode (1: case-insensitive). Applies to the items present at once.
    void SetHistoryMode(int maxEntries, int compareMode);
    // Moves an item equal to text among the first maxEntries to index 0 and returns 0; nonzero when
    // the text is not there.
    int PromoteHistoryItem(const char* text);

    // One heap block (free() it) with the texts of [from, to), each with its NUL, plus a final NUL.
    // Returns the size in bytes, 0 when memory ran out (*outPointer null).
    int JoinMultiString(int from, int to, char** outPointer) const;

    void RemoveAll();
    // Removes one item; nonzero when done, 0 when index is out of range.
    int RemoveItem(int index);
    // Removes [from, to) (to clamped to the count, -1 = count); returns the number removed.
    int RemoveRange(int from, int to);

private:
    struct Item;
    Item* NewItem(int length, const char* text, const void* userData) const;
    const char* TextOf(const Item* item) const;
    void* DataOf(const Item* item) const;
    int Compare(const Item* item, const char* text, int length, bool noCase) const;
    void ClampRange(int& from, int& to) const;
    void ApplyHistoryLimit();

    std::vector<Item*> m_items;
    int m_userDataSize = 0;
    int m_historyMax = 0;
    int m_historyCompare = 0;
};
