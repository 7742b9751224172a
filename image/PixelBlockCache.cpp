// CPixelBlockCache: large pixel blocks kept for the next image of about their size.
#include "image/PixelBlockCache.h"

#include <algorithm>
#include <cstdlib>
#include <malloc.h>
#include <new>

#include <windows.h>

CPixelBlockCache::CPixelBlockCache(size_t leastBytes, size_t mostBytes, uint32_t mostBlocks)
    : m_leastBytes(leastBytes), m_mostBytes(mostBytes), m_mostBlocks(std::min(mostBlocks, kMostBlocks)) {}

CPixelBlockCache::~CPixelBlockCache() { Empty(); }

uint8_t* CPixelBlockCache::Take(size_t bytes) {
    // A kept block is at least m_leastBytes and may be up to twice the request.
    if (bytes == 0 || bytes < m_leastBytes / 2) return nullptr;
    const std::lock_guard<std::mutex> guard(m_lock);
    uint32_t best = m_count;
    for (uint32_t i = m_count; i-- > 0;) {
        const size_t kept = m_kept[i].bytes;
        if (bytes <= kept && kept / 2 <= bytes && (best == m_count || kept < m_kept[best].bytes)) best = i;
    }
    if (best == m_count) return nullptr;
    uint8_t* const block = m_kept[best].block;
    m_bytes -= m_kept[best].bytes;
    std::copy(m_kept + best + 1, m_kept + m_count, m_kept + best);
    m_kept[--m_count] = {};
    return block;
}

void CPixelBlockCache::Give(uint8_t* block) {
    if (!block) return;
    const size_t bytes = _msize(block);
    if (bytes < m_leastBytes || bytes > m_mostBytes || m_mostBlocks == 0) {
        free(block);
        return;
    }
    // The oldest go (freed outside the lock) until the new block fits the bounds.
    uint8_t* leaving[kMostBlocks];
    uint32_t left = 0;
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        uint32_t drop = 0;
        size_t held = m_bytes;
        while (m_count - drop + 1 > m_mostBlocks || held + bytes > m_mostBytes) {
            held -= m_kept[drop].bytes;
            leaving[left++] = m_kept[drop++].block;
        }
        std::copy(m_kept + drop, m_kept + m_count, m_kept);
        m_count -= drop;
        std::fill(m_kept + m_count, m_kept + kMostBlocks, Kept{});
        m_kept[m_count++] = {block, bytes};
        m_bytes = held + bytes;
    }
    for (uint32_t i = 0; i < left; ++i) free(leaving[i]);
}

void CPixelBlockCache::Empty() {
    Kept leaving[kMostBlocks];
    uint32_t count;
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        std::copy(m_kept, m_kept + kMostBlocks, leaving);
        count = m_count;
        std::fill(m_kept, m_kept + kMostBlocks, Kept{});
        m_count = 0;
        m_bytes = 0;
    }
    for (uint32_t i = 0; i < count; ++i) free(leaving[i].block);
}

uint32_t CPixelBlockCache::HeldBlocks() const {
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_count;
}

size_t CPixelBlockCache::HeldBytes() const {
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_bytes;
}

namespace {

// Whether the process's heaps check freed blocks for late writes, or give each block pages of its own that
// go when it is freed (debugging set-ups of the program's or the system's global flags): a kept block would
// hide such a write.
bool HeapChecksFreedBlocks() {
    using Query = ULONG(WINAPI*)();
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetNtGlobalFlags");
    constexpr ULONG kFreeCheck = 0x20, kPageHeap = 0x02000000; // FLG_HEAP_ENABLE_FREE_CHECK, FLG_HEAP_PAGE_ALLOCS
    return found && (reinterpret_cast<Query>(reinterpret_cast<void*>(found))() & (kFreeCheck | kPageHeap));
}

} // namespace

CPixelBlockCache& DibPixelBlocks() {
    // Blocks from 64 KB, up to 8 of them and 64 MB in all (a 4-megapixel photograph at twice its size
    // takes 48 MB); none while the heaps check freed blocks. Made in place, as the program may have its
    // operator new fail.
    alignas(CPixelBlockCache) static unsigned char storage[sizeof(CPixelBlockCache)];
    static CPixelBlockCache* const cache =
        new (storage) CPixelBlockCache(64u << 10, 64u << 20, HeapChecksFreedBlocks() ? 0 : 8);
    return *cache;
}
