#include "text/RecordArray.h"

#include <cstdlib>
#include <cstring>
#include <new>

CRecordArray::CRecordArray(int recordSize) : m_recordSize(recordSize < 4 ? 4 : recordSize) {}

CRecordArray::~CRecordArray() { Free(); }

void* CRecordArray::GetRecord(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_records[(size_t)index];
}

int CRecordArray::SearchSortedInt(int32_t key, int mode, int from, int to) const {
    int count = GetCount();
    if (to < 0 || to > count) to = count;
    if (from < 0) from = 0;
    if (from > to) from = to;
    auto compare = [&](const void* record) {
        int32_t k;
        memcpy(&k, record, 4);
        if (mode & RA_SIGNED) return k < key ? -1 : k > key ? 1 : 0;
        return (uint32_t)k < (uint32_t)key ? -1 : (uint32_t)k > (uint32_t)key ? 1 : 0;
    };
    bool after = (mode & RA_AFTER) != 0;
    int lo = from, hi = to;
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        int c = compare(m_records[(size_t)mid]);
        if (c < 0 || (after && c == 0)) lo = mid + 1;
        else hi = mid;
    }
    if (mode & RA_INSERT) return lo;
    int candidate = after ? lo - 1 : lo;
    if (candidate >= from && candidate < to && compare(m_records[(size_t)candidate]) == 0) return candidate;
    return -lo - 1;
}

int CRecordArray::InsertRecords(int index, int count, const void* records) {
    if (count <= 0) return -1;
    int total = GetCount();
    if (index < 0 || index > total) index = total;
    std::vector<void*> fresh;
    try {
        fresh.reserve((size_t)count);
        for (int i = 0; i < count; ++i) {
            void* r = malloc((size_t)m_recordSize);
            if (!r) throw std::bad_alloc();
            if (records) memcpy(r, (const char*)records + (size_t)i * (size_t)m_recordSize, (size_t)m_recordSize);
            else memset(r, 0, (size_t)m_recordSize);
            fresh.push_back(r);
        }
        m_records.insert(m_records.begin() + index, fresh.begin(), fresh.end());
    } catch (const std::bad_alloc&) {
        for (void* r : fresh) free(r);
        return -1;
    }
    return index;
}

int CRecordArray::RemoveRange(int from, int to) {
    int count = GetCount();
    if (to < 0 || to > count) to = count;
    if (from < 0) from = 0;
    if (from >= to) return 0;
    for (int i = from; i < to; ++i) free(m_records[(size_t)i]);
    m_records.erase(m_records.begin() + from, m_records.begin() + to);
    return to - from;
}

void CRecordArray::Free() {
    RemoveRange(0, -1);
    std::vector<void*>().swap(m_records);
}
