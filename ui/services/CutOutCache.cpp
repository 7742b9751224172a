#include "ui/services/CutOutCache.h"

#include <cstdlib>

HGDIOBJ CutOutCache::Find(const CutOutKey& key) const {
    auto it = m_objects.find(key);
    return it == m_objects.end() ? nullptr : it->second;
}

void CutOutCache::Insert(const CutOutKey& key, HGDIOBJ object) { m_objects[key] = object; }

void CutOutCache::Clear() {
    std::lock_guard<std::recursive_mutex> hold(m_lock);
    for (auto& entry : m_objects) ::DeleteObject(entry.second);
    m_objects.clear();
}

CutOutCache& TheCutOutCache() {
    static CutOutCache* cache = [] {
        // Never destroyed: the exit handler below empties it, and a late user still finds a valid object.
        auto* made = new CutOutCache;
        std::atexit([] { TheCutOutCache().Clear(); });
        return made;
    }();
    return *cache;
}
