// The entry table of the selection dialogs: a text, a 32-bit user value and a tick per entry, in the
// order the caller gives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// AddItem positions besides 0..count: in text order (case-insensitive) and in value order.
constexpr int kInsertByText = -12345;
constexpr int kInsertByValue = -12346;

enum class SelectSortOrder { ByText, ByValue };

class SelectEntries {
public:
    // index 0..count inserts there; kInsertByText before the first text that compares greater (without regard
    // to case); kInsertByValue before the first greater value (after equal ones); anything else appends.
    // Returns the index used, or -1 when memory ran out.
    int Add(int index, uint32_t value, const char* text, bool check = false);
    // The first entry with this text (byte-wise, or without regard to case); -1 when none.
    int Find(const char* text, bool ignoreCase) const;
    int Count() const { return static_cast<int>(m_entries.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    // Out of range: 0 / null, and nothing changes.
    uint32_t Value(int index) const { return Valid(index) ? m_entries[index].value : 0; }
    uint32_t SetValue(int index, uint32_t value);
    const char* Text(int index) const { return Valid(index) ? m_entries[index].text.c_str() : nullptr; }
    bool Check(int index) const { return Valid(index) && m_entries[index].check; }
    void SetCheck(int index, bool check) {
        if (Valid(index)) m_entries[index].check = check;
    }
    void RemoveAll() { m_entries.clear(); }
    // Stable: equal entries keep their order.
    void Sort(SelectSortOrder order);

private:
    struct Entry {
        uint32_t value;
        bool check;
        std::string text;
    };
    std::vector<Entry> m_entries;
};

// The type-ahead's upper-case folding: a-z and the Windows-1252 codes 224-254 lose 32.
unsigned char FoldSelectChar(unsigned char c);
// Compares as _stricmp does (ASCII letters without regard to case).
int CompareSelectText(const char* a, const char* b);
