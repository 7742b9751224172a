// Synchronisation objects: CSemaphore, CMutex, CEvent, CCriticalSection, and CSingleLock over them.
#pragma once

#include <windows.h>

#include "framework/RuntimeClass.h"

class CSyncObject : public CObject {
public:
    ~CSyncObject() override;
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    HANDLE m_hObject = nullptr;
    operator HANDLE() const { return m_hObject; }

    // TRUE when the object was acquired within the time.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;

protected:
    constexpr CSyncObject() = default;
};

class CSemaphore : public CSyncObject {
public:
    explicit CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCSTR pstrName = nullptr,
                        LPSECURITY_ATTRIBUTES lpsaAttributes = nullptr);
    BOOL Unlock() override { return Unlock(1, nullptr); }
    BOOL Unlock(LONG lCount, LPLONG lpPrevCount = nullptr);
};

class CMutex : public CSyncObject {
public:
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCSTR lpszName = nullptr, LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL Unlock() override { return ::ReleaseMutex(m_hObject); }
};

class CEvent : public CSyncObject {
public:
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
    BOOL Unlock() override { return TRUE; }
};

// Usable from the start of the program: a global one may be locked by other objects' constructors
// before its own constructor has run, because it sets itself up on first use.
class CCriticalSection : public CSyncObject {
public:
    constexpr CCriticalSection() = default;
    ~CCriticalSection() override;

    operator CRITICAL_SECTION*() { return Section(); }
    BOOL Lock() {
        ::EnterCriticalSection(Section());
        return TRUE;
    }
    // A critical section cannot wait with a limit; the timeout is ignored.
    BOOL Lock(DWORD) override { return Lock(); }
    BOOL Unlock() override {
        ::LeaveCriticalSection(Section());
        return TRUE;
    }

private:
    CRITICAL_SECTION* Section();
    INIT_ONCE m_once = INIT_ONCE_STATIC_INIT;
    CRITICAL_SECTION m_sect = {};
};

// Locks an object for the lifetime of the lock (or between Lock and Unlock).
class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;
    BOOL Lock(DWORD dwTimeOut = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};
