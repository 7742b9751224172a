#include "text/TextList.h"

#include "text/StrCompare.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

// Item block: header, then the user data (8-byte aligned), then the text and its NUL.
struct CTextList::Item {
    int32_t length;
    int32_t reserved;
};

namespace {
constexpr int kMaxUserData = 4096;
int MeasureText(const char* text, int length) {
    if (!text) return 0;
    return length < 0 ? (int)strlen(text) : length;
}
}  // namespace

CTextList::CTextList(int userDataSize) { SetUserDataSize(userDataSize); }

CTextList::~CTextList() { RemoveAll(); }

int CTextList::SetUserDataSize(int size) {
    if (m_items.empty() && size >= 0 && size <= kMaxUserData) m_userDataSize = size;
    return m_userDataSize;
}

const char* CTextList::TextOf(const Item* item) const { return (const char*)(item + 1) + m_userDataSize; }

void* CTextList::DataOf(const Item* item) const { return (void*)(item + 1); }

CTextList::Item* CTextList::NewItem(int length, const char* text, const void* userData) const {
    if (length < 0 || length > 0x7FFFFFF0 - kMaxUserData) return nullptr;
    Item* item = (Item*)malloc(sizeof(Item) + (size_t)m_userDataSize + (size_t)length + 1);
    if (!item) return nullptr;
    item->length = length;
    item->reserved = 0;
    if (m_userDataSize) {
        if (userData) memcpy(DataOf(item), userData, (size_t)m_userDataSize);
        else memset(DataOf(item), 0, (size_t)m_userDataSize);
    }
    char* t = (char*)TextOf(item);
    if (length) memcpy(t, text, (size_t)length);
    t[length] = 0;
    return item;
}

int CTextList::InsertItem(const char* text, int index, const void* userData) {
    return InsertItemN(-1, text, index, userData);
}

int CTextList::InsertItemN(int length, const char* text, int index, const void* userData) {
    length = MeasureText(text, length);
    Item* item = NewItem(length, text, userData);
    if (!item) return -1;
    int count = GetCount();
    if (index < 0 || index > count) index = count;
    try {
        m_items.insert(m_items.begin() + index, item);
    } catch (const std::bad_alloc&) {
        free(item);
        return -1;
    }
    if (m_historyMax <= 0) return index;
    // History: drop other equal items, then cut to the limit.
    bool noCase = m_historyCompare == 1;
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (i != index && Compare(m_items[(size_t)i], TextOf(item), length, noCase) == 0) {
            free(m_items[(size_t)i]);
            m_items.erase(m_items.begin() + i);
            if (i < index) --index;
        }
    }
    ApplyHistoryLimit();
    return index < m_historyMax ? index : -1;
}

int CTextList::InsertSorted(int length, const char* text, int flags, const void* userData) {
    int at = SearchSorted(length, text, 0, -1, flags | TL_INSERT);
    return InsertItemN(length, text, at, userData);
}

const char* CTextList::GetItemText(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return TextOf(m_items[(size_t)index]);
}

int CTextList::GetItemLength(int index) const {
    if (index < 0 || index >= GetCount()) return -1;
    return m_items[(size_t)index]->length;
}

void* CTextList::GetItemData(int index, void* dest) const {
    if (index < 0 || index >= GetCount() || m_userDataSize == 0) return nullptr;
    void* data = DataOf(m_items[(size_t)index]);
    if (dest) memcpy(dest, data, (size_t)m_userDataSize);
    return data;
}

uint32_t CTextList::SetItemKey(int index, uint32_t value) {
    if (index < 0 || index >= GetCount() || m_userDataSize < 4) return 0;
    uint32_t old;
    void* data = DataOf(m_items[(size_t)index]);
    memcpy(&old, data, 4);
    memcpy(data, &value, 4);
    return old;
}

uint32_t CTextList::GetItemKey(int index) const {
    if (index < 0 || index >= GetCount() || m_userDataSize < 4) return 0;
    uint32_t key;
    memcpy(&key, DataOf(m_items[(size_t)index]), 4);
    return key;
}

int CTextList::Compare(const Item* item, const char* text, int length, bool noCase) const {
    return CompareTextNA(TextOf(item), item->length, text, length, noCase);
}

void CTextList::ClampRange(int& from, int& to) const {
    int count = GetCount();
    if (to < 0 || to > count) to = count;
    if (from < 0) from = 0;
    if (from > to) from = to;
}

int CTextList::FindItem(int length, const char* text, int from, int to, int compareMode) const {
    length = MeasureText(text, length);
    if (!text) text = "";
    ClampRange(from, to);
    bool noCase = compareMode == 1;
    for (int i = from; i < to; ++i) {
        const Item* item = m_items[(size_t)i];
        if (item->length == length && Compare(item, text, length, noCase) == 0) return i;
    }
    return -1;
}

int CTextList::FindItemKey(uint32_t key, int from, int to) const {
    if (m_userDataSize < 4) return -1;
    ClampRange(from, to);
    for (int i = from; i < to; ++i) {
        uint32_t k;
        memcpy(&k, DataOf(m_items[(size_t)i]), 4);
        if (k == key) return i;
    }
    return -1;
}

int CTextList::SearchSorted(int length, const char* text, int from, int to, int flags) const {
    length = MeasureText(text, length);
    if (!text) text = "";
    ClampRange(from, to);
    bool noCase = (flags & TL_NOCASE) != 0;
    bool after = (flags & TL_AFTER) != 0;
    // lo = first item not before text (or, with TL_AFTER, first item after it).
    int lo = from, hi = to;
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        int c = Compare(m_items[(size_t)mid], text, length, noCase);
        if (c < 0 || (after && c == 0)) lo = mid + 1;
        else hi = mid;
    }
    if (flags & TL_INSERT) return lo;
    int candidate = after ? lo - 1 : lo;
    if (candidate >= from && candidate < to && Compare(m_items[(size_t)candidate], text, length, noCase) == 0)
        return candidate;
    return -1;
}

void CTextList::Sort(int flags) {
    const int uds = m_userDataSize;
    auto text = [uds](const Item* item) { return (const char*)(item + 1) + uds; };
    if (flags & TL_NATURAL) {
        std::stable_sort(m_items.begin(), m_items.end(),
                         [&](const Item* a, const Item* b) { return StrCmpNaturalIA(text(a), text(b)) < 0; });
    } else {
        bool noCase = (flags & TL_NOCASE) != 0;
        std::stable_sort(m_items.begin(), m_items.end(), [&](const Item* a, const Item* b) {
            return CompareTextNA(text(a), a->length, text(b), b->length, noCase) < 0;
        });
    }
}

void CTextList::SortBy(CompareFn compare, void* context) {
    if (!compare) return;
    std::stable_sort(m_items.begin(), m_items.end(), [&](const Item* a, const Item* b) {
        return compare(TextOf(a), a->length, DataOf(a), TextOf(b), b->length, DataOf(b), context) < 0;
    });
}

void CTextList::SetHistoryMode(int maxEntries, int compareMode) {
    m_historyMax = maxEntries > 0 ? maxEntries : 0;
    m_historyCompare = compareMode;
    if (!m_historyMax) return;
    // Keep the first of equal items.
    bool noCase = compareMode == 1;
    for (int i = 0; i < GetCount(); ++i) {
        const Item* keep = m_items[(size_t)i];
        for (int k = GetCount() - 1; k > i; --k) {
            if (m_items[(size_t)k]->length == keep->length &&
                Compare(m_items[(size_t)k], TextOf(keep), keep->length, noCase) == 0) {
                free(m_items[(size_t)k]);
                m_items.erase(m_items.begin() + k);
            }
        }
    }
    ApplyHistoryLimit();
}

void CTextList::ApplyHistoryLimit() {
    if (m_historyMax > 0 && GetCount() > m_historyMax) RemoveRange(m_historyMax, -1);
}

int CTextList::PromoteHistoryItem(const char* text) {
    int limit = m_historyMax > 0 ? m_historyMax : -1;
    int at = FindItem(-1, text, 0, limit, m_historyMax > 0 ? m_historyCompare : 0);
    if (at < 0) return 1;
    Item* item = m_items[(size_t)at];
    std::move_backward(m_items.begin(), m_items.begin() + at, m_items.begin() + at + 1);
    m_items[0] = item;
    return 0;
}

int CTextList::JoinMultiString(int from, int to, char** outPointer) const {
    if (!outPointer) return 0;
    *outPointer = nullptr;
    ClampRange(from, to);
    size_t size = 1;
    for (int i = from; i < to; ++i) size += (size_t)m_items[(size_t)i]->length + 1;
    if (size > 0x7FFFFFF0) return 0;
    // One spare NUL so that even an empty list reads as a double-NUL-terminated block.
    char* block = (char*)malloc(size + 1);
    if (!block) return 0;
    char* p = block;
    for (int i = from; i < to; ++i) {
        const Item* item = m_items[(size_t)i];
        memcpy(p, TextOf(item), (size_t)item->length + 1);
        p += item->length + 1;
    }
    p[0] = 0;
    p[1] = 0;
    *outPointer = block;
    return (int)size;
}

void CTextList::RemoveAll() {
    for (Item* item : m_items) free(item);
    m_items.clear();
}

int CTextList::RemoveItem(int index) {
    if (index < 0 || index >= GetCount()) return 0;
    free(m_items[(size_t)index]);
    m_items.erase(m_items.begin() + index);
    return 1;
}

int CTextList::RemoveRange(int from, int to) {
    ClampRange(from, to);
    for (int i = from; i < to; ++i) free(m_items[(size_t)i]);
    m_items.erase(m_items.begin() + from, m_items.begin() + to);
    return to - from;
}
