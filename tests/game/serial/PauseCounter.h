// Counts the pauses of the serial driver's wait (each one wake-up of the waiting thread) while it is put
// in place of the system's pause through SerialSetPauseCall.
#pragma once
#include "game/serial/SerialSlot.h"

#include <atomic>

inline std::atomic<int> gSerialPauses{0};

inline DWORD CountedSerialPause(HANDLE event, DWORD ms) {
    ++gSerialPauses;
    if (!event) {
        Sleep(ms);
        return WAIT_TIMEOUT;
    }
    return WaitForSingleObject(event, ms);
}
