// The cut-out cache: objects keyed by the whole description they were made from.
#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <tuple>

struct CutOutKey {
    DWORD flags;         // kind and colour bits; 0x80000000 toggled for a cached strip
    UINT_PTR source;
    int x, y, cx, cy;
    COLORREF colour;

    bool operator<(const CutOutKey& o) const {
        return std::tie(flags, source, x, y, cx, cy, colour) < std::tie(o.flags, o.source, o.x, o.y, o.cx, o.cy, o.colour);
    }
};

class CutOutCache {
public:
    // Every use of the cache, and of the strips it holds, runs under this lock.
    std::recursive_mutex& Lock() { return m_lock; }
    HGDIOBJ Find(const CutOutKey& key) const;
    void Insert(const CutOutKey& key, HGDIOBJ object);
    void Clear();

private:
    std::recursive_mutex m_lock;
    std::map<CutOutKey, HGDIOBJ> m_objects;
};

// The process's cache, emptied at exit.
CutOutCache& TheCutOutCache();
