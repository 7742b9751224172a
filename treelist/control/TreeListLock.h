// The per-window lock: a recursive critical section that knows how deep its owner holds it, so that a
// notification can leave every level and take them all again after the parent has answered.
#pragma once

#include <windows.h>

#include <atomic>

class TreeListLock {
public:
    void Init() { InitializeCriticalSection(&section_); }
    void Delete() { DeleteCriticalSection(&section_); }

    void Enter() {
        EnterCriticalSection(&section_);
        if (depth_++ == 0) owner_ = GetCurrentThreadId();
    }
    void Leave() {
        if (--depth_ == 0) owner_ = 0;
        LeaveCriticalSection(&section_);
    }
    bool HeldByMe() const { return owner_ == GetCurrentThreadId(); }

    // Leaves every level this thread holds; the count to hand to EnterAgain.
    int LeaveAll() {
        if (!HeldByMe()) return 0;
        const int levels = depth_;
        for (int i = 0; i < levels; ++i) Leave();
        return levels;
    }
    void EnterAgain(int levels) {
        for (int i = 0; i < levels; ++i) Enter();
    }

private:
    CRITICAL_SECTION section_;
    int depth_ = 0;                  // only touched by the owner
    std::atomic<DWORD> owner_{0};
};

// Leaves the lock for the lifetime of the object (around a send), and takes it again.
class TreeListUnlocked {
public:
    explicit TreeListUnlocked(TreeListLock& lock) : lock_(lock), levels_(lock.LeaveAll()) {}
    ~TreeListUnlocked() { lock_.EnterAgain(levels_); }
    TreeListUnlocked(const TreeListUnlocked&) = delete;
    TreeListUnlocked& operator=(const TreeListUnlocked&) = delete;

private:
    TreeListLock& lock_;
    int levels_;
};
