// The driver's slot table, shared by the port and the I/O halves of the serial driver.
#pragma once
#include <windows.h>
#include <atomic>
#include <cstdint>

struct SerialLineSettings {
    int baud = 9600;
    int parity = 0;
    int stop = 0;
    int data = 0;
    int handshake = 0;
};

enum class SerialSlotState : int { Free, Opening, Open };

struct SerialSlot {
    std::atomic<SerialSlotState> state{SerialSlotState::Free};
    HANDLE handle = INVALID_HANDLE_VALUE;
    SerialLineSettings line;
    bool noModemLines = false;
    // The wait's one-byte read is outstanding (into heldByte, through waitOv).
    bool waitPending = false;
    // A byte that the wait's read took from the port and no read has given out yet: it comes first.
    bool held = false;
    unsigned char heldByte = 0;
    uint32_t lineMask = 0;
    uint32_t byteTime = 0;
    std::atomic<uint32_t> writeStart{0};
    std::atomic<uint32_t> pendingWrite{0};
    OVERLAPPED readOv{};
    OVERLAPPED writeOv{};
    OVERLAPPED waitOv{};
};

// The slot when the number is in range and the port is open, else null.
SerialSlot* SerialOpenSlot(int slot);

// Bytes in the receive queue; -1 when the port does not answer.
int SerialQueueBytes(SerialSlot& s);

// Cancels one overlapped operation and waits (bounded) until the system has let go of it; the second form
// returns the bytes it had transferred before the cancel took effect.
void SerialCancel(SerialSlot& s, OVERLAPPED& ov);
DWORD SerialCancelAndWait(SerialSlot& s, OVERLAPPED& ov);

// The port's time-outs: reads return at once with what is buffered, or (waitForByte) wait without a limit
// until a byte comes; writes may take 12 bit times per byte. baud must be above 0.
COMMTIMEOUTS SerialTimeouts(int baud, bool waitForByte);

// Takes the outcome of the wait's read, first cancelling it when cancel is set: a byte it brought is held.
// False when it ended without its byte (a failing port).
bool SerialSettleWait(SerialSlot& s, bool cancel);

// Bytes a read would give now: the held byte and the receive queue (counted as 0 when the port does not
// answer).
int SerialPendingInput(SerialSlot& s);

// Every pause of SerialWaitReceive goes through one call: on the wait's event, or (null event) a plain
// pause after a failure. Tests count the waiting thread's wake-ups through it; null restores the system's.
using SerialPauseCall = DWORD (*)(HANDLE event, DWORD ms);
void SerialSetPauseCall(SerialPauseCall call);

// Milliseconds count characters take at a byte time (64-bit product, capped below 2^30 so that
// deadlines built from it compare correctly by signed difference).
uint32_t SerialSpanMs(uint32_t byteTime, uint64_t count);
inline uint32_t SerialBytesToMs(const SerialSlot& s, uint64_t count) { return SerialSpanMs(s.byteTime, count); }

// Milliseconds from now until a tick-count deadline; negative once it has passed. Correct across
// the wrap of the 32-bit tick count.
inline int32_t SerialMsLeft(DWORD deadline, DWORD now) { return static_cast<int32_t>(deadline - now); }
