// The per-window lock: a recursive critical section that knows how deep its owner holds it, so that a
// notification can leave every level and take them all again after the parent has answered.
#pragma once

#include <windows.h>

#include <atomic>

class TreeListLock {
public:
    void Init() { InitializeCriticalSection(&m_section); }
    void Delete() { DeleteCriticalSection(&m_section); }

    void Enter() {
        EnterCriticalSection(&m_section);
        if (m_depth++ == 0) m_owner = GetCurrentThreadId();
    }
    void Leave() {
        if (--m_depth == 0) m_owner = 0;
        LeaveCriticalSection(&m_section);
    }
    bool HeldByMe() const { return m_owner == GetCurrentThreadId(); }

    // Leaves every level this thread holds; the count to hand to EnterAgain.
    int LeaveAll() {
        if (!HeldByMe()) return 0;
        const int levels = m_depth;
        for (int i = 0; i < levels; ++i) Leave();
        return levels;
    }
    void EnterAgain(int levels) {
        for (int i = 0; i < levels; ++i) Enter();
    }

private:
    CRITICAL_SECTION m_section;
    int m_depth = 0;                  // only touched by the owner
    std::atomic<DWORD> m_owner{0};
};

// Leaves the lock for the lifetime of the object (around a send), and takes it again.
class TreeListUnlocked {
public:
    explicit TreeListUnlocked(TreeListLock& lock) : m_lock(lock), m_levels(lock.LeaveAll()) {}
    ~TreeListUnlocked() { m_lock.EnterAgain(m_levels); }
    TreeListUnlocked(const TreeListUnlocked&) = delete;
    TreeListUnlocked& operator=(const TreeListUnlocked&) = delete;

private:
    TreeListLock& m_lock;
    int m_levels;
};
