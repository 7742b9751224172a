// CByteArray: a growable array of bytes.
#pragma once

#include <windows.h>

#include <vector>

class CByteArray {
public:
    INT_PTR GetSize() const { return (INT_PTR)m_data.size(); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    void SetSize(INT_PTR nNewSize) { m_data.resize(nNewSize > 0 ? (size_t)nNewSize : 0); }
    void RemoveAll() { m_data.clear(); }
    BYTE GetAt(INT_PTR nIndex) const { return m_data.at((size_t)nIndex); }
    void SetAt(INT_PTR nIndex, BYTE value) { m_data.at((size_t)nIndex) = value; }
    BYTE& ElementAt(INT_PTR nIndex) { return m_data.at((size_t)nIndex); }
    BYTE operator[](INT_PTR nIndex) const { return m_data.at((size_t)nIndex); }
    BYTE& operator[](INT_PTR nIndex) { return m_data.at((size_t)nIndex); }
    BYTE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }
    const BYTE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    INT_PTR Add(BYTE value) {
        m_data.push_back(value);
        return GetSize() - 1;
    }
    INT_PTR Append(const CByteArray& src) {
        INT_PTR at = GetSize();
        m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        return at;
    }
    void Copy(const CByteArray& src) { m_data = src.m_data; }
    void InsertAt(INT_PTR nIndex, BYTE value, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount <= 0) return;
        if ((size_t)nIndex > m_data.size()) m_data.resize((size_t)nIndex);
        m_data.insert(m_data.begin() + nIndex, (size_t)nCount, value);
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount <= 0 || (size_t)nIndex >= m_data.size()) return;
        size_t end = (size_t)nIndex + (size_t)nCount;
        if (end > m_data.size()) end = m_data.size();
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + (INT_PTR)end);
    }

private:
    std::vector<BYTE> m_data;
};
