// Serial-port driver: waiting for input. The wait keeps a one-byte read outstanding, so that the system
// itself wakes the waiting thread when a byte comes, on every kind of port (a comm-event wait ends at once
// on some, Wine's ptys among them). The byte that read takes is held in the slot; every count of waiting
// bytes includes it and the next read gives it out first, so nothing that arrived during a wait is lost.
#include "game/serial/Serial.h"
#include "game/serial/SerialSlot.h"

#include <algorithm>
#include <atomic>

namespace {

constexpr DWORD kMaxSliceMs = 500;

std::atomic<SerialPauseCall> gPauseCall{nullptr};

DWORD Pause(HANDLE event, DWORD ms) {
    if (SerialPauseCall call = gPauseCall.load()) return call(event, ms);
    if (event) return WaitForSingleObject(event, ms);
    Sleep(ms);
    return WAIT_TIMEOUT;
}

// After a failure the next pass comes after a pause, so that a failing port is not asked in a tight loop.
DWORD FailurePauseMs(DWORD wait) { return wait <= 100 ? 10 : 50; }

// Starts the wait's read with time-outs under which it lasts until its byte comes; reads made later get
// the port's usual time-outs back. False when the port refuses.
bool ArmWait(SerialSlot& s) {
    COMMTIMEOUTS waiting = SerialTimeouts(s.line.baud, true);
    if (!SetCommTimeouts(s.handle, &waiting)) return false;
    DWORD got = 0;
    const BOOL done = ReadFile(s.handle, &s.heldByte, 1, &got, &s.waitOv);
    const bool started = done || GetLastError() == ERROR_IO_PENDING;
    COMMTIMEOUTS usual = SerialTimeouts(s.line.baud, false);
    const bool restored = SetCommTimeouts(s.handle, &usual) != FALSE;
    if (!started) return false;
    s.waitPending = true;  // also when done at once: the next settle takes the byte
    if (!restored) {
        // Reads would wait as this one does: give the wait up rather than block them.
        SerialSettleWait(s, true);
        return false;
    }
    return true;
}

}  // namespace

void SerialSetPauseCall(SerialPauseCall call) { gPauseCall.store(call); }

bool SerialSettleWait(SerialSlot& s, bool cancel) {
    if (!s.waitPending) return true;
    if (cancel) SerialCancel(s, s.waitOv);
    DWORD got = 0;
    if (!GetOverlappedResult(s.handle, &s.waitOv, &got, FALSE)) {
        const DWORD error = GetLastError();
        if (error == ERROR_IO_INCOMPLETE) return true;  // still waiting (a cancel that did not take in time too)
        s.waitPending = false;
        return error == ERROR_OPERATION_ABORTED;
    }
    s.waitPending = false;
    if (got != 1) return false;
    s.held = true;
    return true;
}

int SerialPendingInput(SerialSlot& s) {
    SerialSettleWait(s, false);
    const bool reading = s.waitPending;
    int queued = std::max(SerialQueueBytes(s), 0);
    // The wait's read may take its byte from the port while the port's bytes are counted: it would then be
    // in neither count. Once that read has ended nothing else takes bytes, so a second count is exact.
    if (reading && SerialSettleWait(s, false) && !s.waitPending) queued = std::max(SerialQueueBytes(s), 0);
    return (s.held ? 1 : 0) + queued;
}

int SerialWaitReceive(int slot, int timeoutMs) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return -1;
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(std::max(timeoutMs, 0));
    bool lastPass = false;
    for (;;) {
        const bool failed = !SerialSettleWait(*s, false);
        if (s->held || SerialQueueBytes(*s) > 0) return 1;
        if (lastPass) return 0;
        const int32_t remaining = SerialMsLeft(deadline, GetTickCount());
        lastPass = remaining <= 0;
        const DWORD wait = lastPass ? 0 : static_cast<DWORD>(std::min<int32_t>(remaining, kMaxSliceMs));
        if (failed || (!s->waitPending && !ArmWait(*s))) {
            Pause(nullptr, FailurePauseMs(wait));
            continue;
        }
        Pause(s->waitOv.hEvent, wait);
    }
}
