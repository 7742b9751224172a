// CRecordArray: an array of fixed-size records, each allocated singly, searchable by the record's
// first 32-bit word.
#pragma once

#include <cstdint>
#include <vector>

// Modes of SearchSortedInt.
enum : int {
    RA_SIGNED = 0x1,  // the keys compare as signed 32-bit values (else unsigned)
    RA_EXACT = 0x2,   // exact match: the index, or -(insertion point) - 1 when the key is missing
    RA_AFTER = 0x4,   // the last equal record; as insertion point: after the equal records
    RA_INSERT = 0x8,  // the insertion point, whether the key is present or not
};

class CRecordArray {
public:
    explicit CRecordArray(int recordSize);
    ~CRecordArray();
    CRecordArray(const CRecordArray&) = delete;
    CRecordArray& operator=(const CRecordArray&) = delete;

    int GetRecordSize() const { return m_recordSize; }
    int GetCount() const { return (int)m_records.size(); }
    // The record at index, null when out of range.
    void* GetRecord(int index) const;

    // Binary search by the first 32-bit word over records sorted by it (mode: RA_* bits; 3 = exact
    // signed, 9 = insertion point).
    int SearchSortedInt(int32_t key, int mode, int from = 0, int to = -1) const;
    // Inserts count records copied from records (null = zeroed) at index (clamped; negative
    // appends). Returns the index of the first, -1 when memory ran out (nothing inserted).
    int InsertRecords(int index, int count, const void* records);
    // Removes [from, to) (to -1 or beyond = count); returns the number removed.
    int RemoveRange(int from, int to);
    // Removes every record and releases the array's memory.
    void Free();

private:
    int m_recordSize;
    std::vector<void*> m_records;
};
