// Test processes run side by side under one Wine server and share one clipboard: a test that puts
// something on it and reads it back holds this lock for the whole round trip.
#pragma once

#include <windows.h>

class ClipboardTestLock {
public:
    ClipboardTestLock() {
        mutex_ = CreateMutexA(nullptr, FALSE, "WertlaufTestClipboard");
        // An abandoned lock (a crashed test) is taken over; a minute is far beyond any test's use.
        held_ = mutex_ && WaitForSingleObject(mutex_, 60000) != WAIT_TIMEOUT;
    }
    ~ClipboardTestLock() {
        if (held_) ReleaseMutex(mutex_);
        if (mutex_) CloseHandle(mutex_);
    }
    ClipboardTestLock(const ClipboardTestLock&) = delete;
    ClipboardTestLock& operator=(const ClipboardTestLock&) = delete;

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};
