// The folder tree's job queue: what the worker is asked to read, in order. Each job has an identity of
// its own, so that the worker finds the job it took again however the queue changed meanwhile (two jobs
// may name the same item). Not locked here: the folder tree holds its lock around every use.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <deque>

// Job words: 1 expand, 2 synchronous refresh, or a generation (low 28 bits) with a kind bit; 0 cancelled.
enum : uint32_t {
    FJ_CANCELLED = 0,
    FJ_EXPAND = 1,
    FJ_REFRESH = 2,
    FJ_SELECTED = 0x80000000,   // the selected item
    FJ_ANCESTOR = 0x40000000,   // an ancestor of the selected item
    FJ_PREFETCH = 0x20000000,   // a child's first subfolder
    FJ_TOPLEVEL = 0x10000000,   // an expanded top-level item
    FJ_KIND_BITS = 0xF0000000,
    FJ_GENERATION_MASK = 0x0FFFFFFF,
};

struct FolderJob {
    uint32_t id;
    HTREEITEM item;
    HANDLE done;  // released once when the job is finished (the waiter owns it); null none
    uint32_t word;
    bool counted;  // counted among the pending expansions
};

// Places of a new job.
enum : int { FJ_FRONT = 0, FJ_SECOND = 1, FJ_END = -1 };

class FolderJobQueue {
public:
    // Adds a job at place (FJ_FRONT, FJ_SECOND or FJ_END); its identity.
    uint32_t Add(HTREEITEM item, uint32_t word, bool counted, int place, HANDLE done = nullptr);
    // The first job, null when none.
    FolderJob* First() { return m_jobs.empty() ? nullptr : &m_jobs.front(); }
    FolderJob* Find(uint32_t id);
    // Removes the job of that identity into out (may be null); false when it is gone.
    bool Remove(uint32_t id, FolderJob* out);
    // True when a job that is not cancelled reads item (with that word, unless word is 0).
    bool Holds(HTREEITEM item, uint32_t word = FJ_CANCELLED) const;
    int Count() const { return (int)m_jobs.size(); }
    // Cancels every job with a kind bit whose generation is not the given one; the number cancelled.
    int CancelStale(uint32_t generation);

private:
    std::deque<FolderJob> m_jobs;
    uint32_t m_nextId = 1;
};

inline bool IsStaleWord(uint32_t word, uint32_t generation) {
    return (word & FJ_KIND_BITS) && (word & FJ_GENERATION_MASK) != (generation & FJ_GENERATION_MASK);
}
