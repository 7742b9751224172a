#include "ui/dialogs/SelectEntries.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

unsigned char FoldSelectChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 224 && c <= 254) ? static_cast<unsigned char>(c - 32) : c;
}

int CompareSelectText(const char* a, const char* b) {
    auto lower = [](char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        return u >= 'A' && u <= 'Z' ? u + 32 : u;
    };
    for (;; ++a, ++b) {
        const int d = lower(*a) - lower(*b);
        if (d || !*a) return d;
    }
}

int SelectEntries::Add(int index, uint32_t value, const char* text, bool check) {
    if (!text) text = "";
    auto at = m_entries.end();
    if (index >= 0 && index <= Count()) {
        at = m_entries.begin() + index;
    } else if (index == kInsertByText) {
        at = std::find_if(m_entries.begin(), m_entries.end(),
                          [text](const Entry& e) { return CompareSelectText(e.text.c_str(), text) > 0; });
    } else if (index == kInsertByValue) {
        at = std::find_if(m_entries.begin(), m_entries.end(), [value](const Entry& e) { return e.value > value; });
    }
    try {
        at = m_entries.insert(at, Entry{value, check, text});
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return static_cast<int>(at - m_entries.begin());
}

int SelectEntries::Find(const char* text, bool ignoreCase) const {
    if (!text) return -1;
    for (int i = 0; i < Count(); ++i) {
        const char* entry = m_entries[i].text.c_str();
        if (ignoreCase ? CompareSelectText(entry, text) == 0 : std::strcmp(entry, text) == 0) return i;
    }
    return -1;
}

uint32_t SelectEntries::SetValue(int index, uint32_t value) {
    if (!Valid(index)) return 0;
    return std::exchange(m_entries[index].value, value);
}

void SelectEntries::Sort(SelectSortOrder order) {
    if (order == SelectSortOrder::ByText)
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [](const Entry& a, const Entry& b) { return CompareSelectText(a.text.c_str(), b.text.c_str()) < 0; });
    else
        std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) { return a.value < b.value; });
}
