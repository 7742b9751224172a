// Places bytes right in front of an inaccessible page, so that any read past them faults.
#pragma once

#include <windows.h>

#include <cstring>

class GuardedBytes {
public:
    GuardedBytes(const void* data, size_t size) {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        m_page = si.dwPageSize;
        m_base = (char*)VirtualAlloc(nullptr, m_page * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD old;
        VirtualProtect(m_base + m_page, m_page, PAGE_NOACCESS, &old);
        m_data = m_base + m_page - size;
        memcpy(m_data, data, size);
    }
    // A text without its NUL, ending at the guard.
    explicit GuardedBytes(const char* text) : GuardedBytes(text, strlen(text)) {}
    ~GuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }
    char* Data() const { return m_data; }

private:
    char* m_base;
    char* m_data;
    size_t m_page;
};
