#include "framework/Sync.h"

CSyncObject::~CSyncObject() {
    if (m_hObject) ::CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD dwTimeout) {
    DWORD rc = ::WaitForSingleObject(m_hObject, dwTimeout);
    return rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED;
}

CSemaphore::CSemaphore(LONG lInitialCount, LONG lMaxCount, LPCSTR pstrName, LPSECURITY_ATTRIBUTES lpsaAttributes) {
    if (lMaxCount < 1) lMaxCount = 1;
    if (lInitialCount < 0) lInitialCount = 0;
    if (lInitialCount > lMaxCount) lInitialCount = lMaxCount;
    m_hObject = ::CreateSemaphoreA(lpsaAttributes, lInitialCount, lMaxCount, pstrName);
}

BOOL CSemaphore::Unlock(LONG lCount, LPLONG lpPrevCount) {
    return ::ReleaseSemaphore(m_hObject, lCount, lpPrevCount);
}

CMutex::CMutex(BOOL bInitiallyOwn, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute) {
    m_hObject = ::CreateMutexA(lpsaAttribute, bInitiallyOwn, lpszName);
}

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute) {
    m_hObject = ::CreateEventA(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
}

namespace {
BOOL CALLBACK InitSection(PINIT_ONCE, PVOID section, PVOID*) {
    ::InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(section));
    return TRUE;
}
}  // namespace

CRITICAL_SECTION* CCriticalSection::Section() {
    ::InitOnceExecuteOnce(&m_once, &InitSection, &m_sect, nullptr);
    return &m_sect;
}

CCriticalSection::~CCriticalSection() {
    BOOL pending = FALSE;
    // Only a section that was ever set up is deleted.
    if (::InitOnceBeginInitialize(&m_once, INIT_ONCE_CHECK_ONLY, &pending, nullptr) && !pending)
        ::DeleteCriticalSection(&m_sect);
}

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock) : m_pObject(pObject) {
    if (bInitialLock) Lock();
}

BOOL CSingleLock::Lock(DWORD dwTimeOut) {
    if (!m_pObject || m_bAcquired) return m_bAcquired;
    m_bAcquired = m_pObject->Lock(dwTimeOut);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock() {
    if (m_pObject && m_bAcquired) m_bAcquired = !m_pObject->Unlock();
    return !m_bAcquired;
}
