// Large pixel blocks kept for a while after their image let them go. A large heap block is fresh mapped
// memory, and the first write to each of its pages costs more than most operations spend on the pixels;
// a new image of about the same size takes a kept block instead, whose pages are already in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

class CPixelBlockCache {
public:
    // Keeps blocks of at least leastBytes, at most mostBlocks of them and mostBytes in all.
    CPixelBlockCache(size_t leastBytes, size_t mostBytes, uint32_t mostBlocks);
    ~CPixelBlockCache();
    CPixelBlockCache(const CPixelBlockCache&) = delete;
    CPixelBlockCache& operator=(const CPixelBlockCache&) = delete;

    // A kept block (from malloc) of at least `bytes` and at most twice as many, the smallest such, now
    // the caller's; nullptr when none fits.
    uint8_t* Take(size_t bytes);
    // Takes a block from malloc (or nullptr): kept as the newest, the oldest freed while the bounds are
    // passed; a block too small or too large to keep is freed at once.
    void Give(uint8_t* block);
    // Frees every kept block.
    void Empty();

    uint32_t HeldBlocks() const;
    size_t HeldBytes() const;
    uint32_t MostBlocks() const { return m_mostBlocks; }

    static constexpr uint32_t kMostBlocks = 8;

private:
    struct Kept {
        uint8_t* block;
        size_t bytes;
    };
    const size_t m_leastBytes, m_mostBytes;
    const uint32_t m_mostBlocks;
    mutable std::mutex m_lock;
    Kept m_kept[kMostBlocks] = {}; // oldest first
    uint32_t m_count = 0;
    size_t m_bytes = 0;
};

// The cache of the process's images (never destroyed: an image may be freed during the exit).
CPixelBlockCache& DibPixelBlocks();
