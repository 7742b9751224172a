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
    bool waitPending = false;
    // Set once a comm-event wait came back without an event: the system cannot wait on this
    // port, so waiting falls back to polling the queue.
    bool waitCannotBlock = false;
    uint32_t lineMask = 0;
    uint32_t byteTime = 0;
    std::atomic<uint32_t> writeStart{0};
    std::atomic<uint32_t> pendingWrite{0};
    DWORD eventMask = 0;
    OVERLAPPED readOv{};
    OVERLAPPED writeOv{};
    OVERLAPPED waitOv{};
};

// The slot when the number is in range and the port is open, else null.
SerialSlot* SerialOpenSlot(int slot);

// Bytes in the receive queue; -1 when the port does not answer.
int SerialQueueBytes(SerialSlot& s);

// Cancels one overlapped operation and waits (bounded) until the system has let go of it.
// Returns the bytes it had transferred before the cancel took effect.
DWORD SerialCancelAndWait(SerialSlot& s, OVERLAPPED& ov);

// Milliseconds count characters take at a byte time (64-bit product, capped below 2^30 so that
// deadlines built from it compare correctly by signed difference).
uint32_t SerialSpanMs(uint32_t byteTime, uint64_t count);
inline uint32_t SerialBytesToMs(const SerialSlot& s, uint64_t count) { return SerialSpanMs(s.byteTime, count); }

// Milliseconds from now until a tick-count deadline; negative once it has passed. Correct across
// the wrap of the 32-bit tick count.
inline int32_t SerialMsLeft(DWORD deadline, DWORD now) { return static_cast<int32_t>(deadline - now); }
