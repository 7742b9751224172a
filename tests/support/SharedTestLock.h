// Test processes run side by side under one Wine server and share its clipboard and its mouse cursor. A test
// that relies on one of them from start to end holds the lock of that resource: a named mutex, held for the
// lifetime of the object.
#pragma once

#include <windows.h>

class SharedTestLock {
public:
    explicit SharedTestLock(const char* name) {
        mutex_ = CreateMutexA(nullptr, FALSE, name);
        // An abandoned lock (a crashed test) is taken over; a minute is far beyond any test's use.
        held_ = mutex_ && WaitForSingleObject(mutex_, 60000) != WAIT_TIMEOUT;
    }
    ~SharedTestLock() {
        if (held_) ReleaseMutex(mutex_);
        if (mutex_) CloseHandle(mutex_);
    }
    SharedTestLock(const SharedTestLock&) = delete;
    SharedTestLock& operator=(const SharedTestLock&) = delete;

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

// For a test that moves the cursor and reads it back (timers that look where the mouse is).
class CursorTestLock : public SharedTestLock {
public:
    CursorTestLock() : SharedTestLock("WertlaufTestCursor") {}
};
