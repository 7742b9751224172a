// Test processes run side by side under one Wine server and share one clipboard: a test that puts
// something on it and reads it back holds this lock for the whole round trip.
#pragma once

#include <windows.h>

class ClipboardTestLock {
public:
    ClipboardTestLock() {
        m_mutex = CreateMutexA(nullptr, FALSE, "WertlaufTestClipboard");
        // An abandoned lock (a crashed test) is taken over; a minute is far beyond any test's use.
        m_held = m_mutex && WaitForSingleObject(m_mutex, 60000) != WAIT_TIMEOUT;
    }
    ~ClipboardTestLock() {
        if (m_held) ReleaseMutex(m_mutex);
        if (m_mutex) CloseHandle(m_mutex);
    }
    ClipboardTestLock(const ClipboardTestLock&) = delete;
    ClipboardTestLock& operator=(const ClipboardTestLock&) = delete;

private:
    HANDLE m_mutex = nullptr;
    bool m_held = false;
};
