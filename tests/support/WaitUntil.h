// A bounded wait for a condition that another thread or process brings about.
#pragma once

#include "tests/support/TimeBound.h"

#include <windows.h>

// Polls done() every stepMs until it holds or the bound of timeoutMs has passed (done() is asked once more
// after the last pause); true when it held.
template <typename Done>
bool WaitUntil(Done done, DWORD timeoutMs, DWORD stepMs = 5) {
    timeoutMs = Bound(timeoutMs);
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(stepMs);
    }
    return true;
}
