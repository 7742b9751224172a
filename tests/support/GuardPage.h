// Places bytes right in front of an inaccessible page, so that any read past them faults.
#pragma once

#include <windows.h>

#include <cstring>

class GuardedBytes {
public:
    GuardedBytes(const void* data, size_t size) {
        SYSTEM_INFO si;
        GetSystemInfo(&si);
        const size_t page = si.dwPageSize;
        const size_t usable = (size + page - 1) / page * page;
        m_base = static_cast<char*>(VirtualAlloc(nullptr, usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(m_base + usable, page, PAGE_NOACCESS, &old);
        m_data = m_base + usable - size;
        if (size) memcpy(m_data, data, size);
    }
    // A text without its NUL, ending at the guard.
    explicit GuardedBytes(const char* text) : GuardedBytes(text, strlen(text)) {}
    ~GuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    char* Data() const { return m_data; }

private:
    char* m_base;
    char* m_data;
};
