// Serial-port driver: reading and writing with overlapped I/O.
// Tick deadlines are compared by signed difference so that they survive the 49.7-day wrap.
#include "game/serial/Serial.h"
#include "game/serial/SerialSlot.h"

#include <algorithm>

namespace {

constexpr DWORD kCancelWaitMs = 5000;

int32_t MsUntil(DWORD deadline) { return SerialMsLeft(deadline, GetTickCount()); }

// Bytes an overlapped operation transferred, or -1 when it failed. A read that the system
// ended by its own time-out (Wine reports ERROR_TIMEOUT) transferred nothing.
int OverlappedBytes(SerialSlot& s, OVERLAPPED& ov) {
    DWORD done = 0;
    if (GetOverlappedResult(s.handle, &ov, &done, FALSE)) return static_cast<int>(done);
    return GetLastError() == ERROR_TIMEOUT ? 0 : -1;
}

bool HasTerminator(const unsigned char* bytes, int count, int terminator) {
    return terminator >= 0 && std::find(bytes, bytes + count, static_cast<unsigned char>(terminator)) != bytes + count;
}

// One overlapped read of up to count bytes: what it brought, or -1.
int ReadPort(SerialSlot& s, unsigned char* buffer, int count) {
    DWORD got = 0;
    if (ReadFile(s.handle, buffer, static_cast<DWORD>(count), &got, &s.readOv)) return OverlappedBytes(s, s.readOv);
    if (GetLastError() != ERROR_IO_PENDING) return -1;
    const DWORD limit = SerialBytesToMs(s, static_cast<uint64_t>(count)) + 1000;
    if (WaitForSingleObject(s.readOv.hEvent, limit) == WAIT_OBJECT_0) return OverlappedBytes(s, s.readOv);
    // Time-out: take the read back so that it cannot land in the caller's buffer later.
    // Bytes that arrived before the cancel took effect are the caller's.
    const DWORD late = SerialCancelAndWait(s, s.readOv);
    return late > 0 ? static_cast<int>(late) : -1;
}

// Reads until count bytes, the terminator (when not negative) or the deadline.
int ReadWithDeadline(int slot, void* buffer, int count, int timeoutMs, int terminator) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return -1;
    timeoutMs = std::max(timeoutMs, 0);
    if (count < 1) {
        Sleep(static_cast<DWORD>(timeoutMs));
        return 0;
    }
    if (!buffer) return -1;
    DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutMs);
    const bool first = timeoutMs == 0 ? SerialBytesWaiting(slot) > 0 : SerialWaitReceive(slot, timeoutMs) == 1;
    if (!first) return 0;

    auto* out = static_cast<unsigned char*>(buffer);
    int total = 0;
    for (;;) {
        const int waiting = SerialBytesWaiting(slot);
        if (waiting > 0) {
            const int got = SerialRead(slot, out + total, std::min(waiting, count - total));
            if (got < 0) return total > 0 ? total : -1;
            const bool ended = HasTerminator(out + total, got, terminator);
            total += got;
            deadline += SerialBytesToMs(*s, static_cast<uint64_t>(got));
            if (total >= count || ended) return total;
        }
        const int32_t remaining = MsUntil(deadline);
        if (remaining <= 0 || SerialWaitReceive(slot, remaining) != 1) return total;
    }
}

}  // namespace

void SerialCancel(SerialSlot& s, OVERLAPPED& ov) {
    CancelIoEx(s.handle, &ov);
    WaitForSingleObject(ov.hEvent, kCancelWaitMs);
}

DWORD SerialCancelAndWait(SerialSlot& s, OVERLAPPED& ov) {
    SerialCancel(s, ov);
    DWORD done = 0;
    return GetOverlappedResult(s.handle, &ov, &done, FALSE) ? done : 0;
}

int SerialWrite(int slot, const void* data, int count) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return -1;
    if (count < 1) return 0;
    if (!data) return -1;
    s->writeStart.store(GetTickCount());
    s->pendingWrite.store(static_cast<uint32_t>(count));
    DWORD written = 0;
    if (!WriteFile(s->handle, data, static_cast<DWORD>(count), &written, &s->writeOv) &&
        GetLastError() != ERROR_IO_PENDING) {
        s->pendingWrite.store(0);
        return -1;
    }
    const DWORD deadline = GetTickCount() + SerialBytesToMs(*s, static_cast<uint64_t>(count)) + 1000;
    for (int slice = 0;; ++slice) {
        const int32_t remaining = MsUntil(deadline);
        if (slice > 0 && remaining <= 0) {
            // Never return while the system may still read the caller's data.
            SerialCancelAndWait(*s, s->writeOv);
            s->pendingWrite.store(0);
            return -1;
        }
        const DWORD left = static_cast<DWORD>(std::max<int32_t>(remaining, 0));
        const DWORD wait = slice == 0 ? (left < 11 ? left : 10) : std::min<DWORD>(left, 30);
        if (WaitForSingleObject(s->writeOv.hEvent, wait) == WAIT_OBJECT_0) break;
    }
    // A write that the system ended before all bytes went out timed out (Wine reports ERROR_TIMEOUT, Windows
    // a short count): -1, so that a caller never takes it for a write of nothing.
    written = 0;
    const bool complete = GetOverlappedResult(s->handle, &s->writeOv, &written, FALSE) && written == DWORD(count);
    s->pendingWrite.store(written);
    return complete ? count : -1;
}

int SerialRead(int slot, void* buffer, int count) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return -1;
    if (count < 1) return 0;
    if (!buffer) return -1;
    // An outstanding wait gives way; the byte it took comes first, then only what is queued behind it.
    SerialSettleWait(*s, true);
    auto* out = static_cast<unsigned char*>(buffer);
    if (!s->held) return ReadPort(*s, out, count);
    out[0] = s->heldByte;
    s->held = false;
    const int queued = std::min(SerialQueueBytes(*s), count - 1);
    return queued > 0 ? 1 + std::max(ReadPort(*s, out + 1, queued), 0) : 1;
}

int SerialReadTimeout(int slot, void* buffer, int count, int timeoutMs) {
    return ReadWithDeadline(slot, buffer, count, timeoutMs, -1);
}

int SerialReadUntil(int slot, void* buffer, int count, int timeoutMs, int terminator) {
    return ReadWithDeadline(slot, buffer, count, std::max(timeoutMs, 0) + 20, terminator & 0xFF);
}

int SerialOutputPending(int slot) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return -1;
    DWORD errors = 0;
    COMSTAT stat{};
    if (!ClearCommError(s->handle, &errors, &stat)) return 0;
    if (stat.cbOutQue > 0) return static_cast<int>(std::min<DWORD>(stat.cbOutQue, 0x7FFFFFFF));
    // The queue may already be in the UART's hands: estimate from the last write's end.
    const uint32_t pending = s->pendingWrite.load();
    if (pending == 0 || s->byteTime == 0) return 0;
    const int32_t left = MsUntil(s->writeStart.load() + SerialBytesToMs(*s, pending));
    if (left <= 0) return 0;
    const uint64_t bytes = (uint64_t{static_cast<uint32_t>(left)} * 1024 + s->byteTime - 1) / s->byteTime;
    return static_cast<int>(std::min<uint64_t>(bytes, pending));
}

int SerialDrain(int slot, int maxMs) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return 0;
    const uint32_t pending = s->pendingWrite.load();
    if (pending == 0) return 1;
    const int32_t left = MsUntil(s->writeStart.load() + SerialBytesToMs(*s, pending));
    if (left > 0) {
        if (maxMs < left) {
            Sleep(static_cast<DWORD>(std::max(maxMs, 0)));
            return 1;
        }
        Sleep(static_cast<DWORD>(left));
    }
    s->pendingWrite.store(0);
    return 1;
}
