// Serial-port driver: the slot table, opening, closing and the line settings.
#include "game/serial/Serial.h"
#include "game/serial/SerialSlot.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr DWORD kLockWaitMs = 5000;
constexpr char kXon = 0x11, kXoff = 0x13;  // DC1 and DC3

struct SlotTable {
    HANDLE lock;  // semaphore of count 1: guards allocation only
    unsigned next = 0;
    SerialSlot slots[kSerialSlotCount];
    SlotTable() : lock(CreateSemaphoreA(nullptr, 1, 1, nullptr)) {}
};

SlotTable& Table() {
    static SlotTable table;
    return table;
}

class SlotLock {
public:
    SlotLock() : m_held(WaitForSingleObject(Table().lock, kLockWaitMs) == WAIT_OBJECT_0) {}
    ~SlotLock() {
        if (m_held) ReleaseSemaphore(Table().lock, 1, nullptr);
    }
    bool Held() const { return m_held; }

private:
    bool m_held;
};

int ReserveSlot() {
    SlotLock lock;
    if (!lock.Held()) return -1;
    SlotTable& t = Table();
    for (int tries = 0; tries < kSerialSlotCount; ++tries) {
        int slot = static_cast<int>(t.next++ % kSerialSlotCount);
        if (t.slots[slot].state.load() == SerialSlotState::Free) {
            t.slots[slot].state.store(SerialSlotState::Opening);
            return slot;
        }
    }
    return -1;
}

// Gives the slot back to allocation; every close and every failed open ends here.
void ReleaseSlot(SerialSlot& s) {
    SlotLock lock;
    s.handle = INVALID_HANDLE_VALUE;
    s.state.store(SerialSlotState::Free);
}

bool ParityUsed(int parity) { return parity >= kParityOdd && parity <= kParityMark; }

BYTE DcbParity(int parity) {
    switch (parity) {
    case kParityOdd: return ODDPARITY;
    case kParityEven: return EVENPARITY;
    case kParitySpace: return SPACEPARITY;
    case kParityMark: return MARKPARITY;
    default: return NOPARITY;
    }
}

int EffectiveHandshake(int handshake) {
    if (handshake & kHandshakeNoModemLines) handshake &= ~(kHandshakeRtsFlow | kHandshakeDtrFlow);
    return handshake;
}

// Writes the line settings into the port: DCB and time-outs. On success the slot's
// derived values (byte time, line mask, modem flag) follow them.
bool ApplyLineSettings(SerialSlot& s, const SerialLineSettings& line) {
    if (line.baud <= 0) return false;
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!GetCommState(s.handle, &dcb)) {
        dcb = DCB{};
        dcb.DCBlength = sizeof(DCB);
        dcb.XonChar = kXon;
        dcb.XoffChar = kXoff;
    }
    const int hs = EffectiveHandshake(line.handshake);
    dcb.BaudRate = static_cast<DWORD>(line.baud);
    dcb.fBinary = 1;
    dcb.fParity = ParityUsed(line.parity) ? 1 : 0;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDsrSensitivity = 0;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fErrorChar = 0;
    dcb.fNull = 0;
    dcb.fAbortOnError = 0;
    dcb.fRtsControl = (hs & kHandshakeRtsFlow) ? RTS_CONTROL_HANDSHAKE
                      : (hs & kHandshakeRtsOn) ? RTS_CONTROL_ENABLE
                                               : RTS_CONTROL_DISABLE;
    dcb.fDtrControl = (hs & kHandshakeDtrFlow) ? DTR_CONTROL_HANDSHAKE
                      : (hs & kHandshakeDtrOn) ? DTR_CONTROL_ENABLE
                                               : DTR_CONTROL_DISABLE;
    dcb.ByteSize = (line.data & kSevenDataBits) ? 7 : 8;
    dcb.Parity = DcbParity(line.parity);
    dcb.StopBits = line.stop != kOneStopBit ? TWOSTOPBITS : ONESTOPBIT;
    if (!SetCommState(s.handle, &dcb)) return false;

    COMMTIMEOUTS timeouts = SerialTimeouts(line.baud, false);
    if (!SetCommTimeouts(s.handle, &timeouts)) return false;

    s.line = line;
    s.byteTime = SerialByteTime(line.baud, line.parity, line.stop, line.data);
    s.noModemLines = (hs & kHandshakeNoModemLines) != 0;
    s.lineMask = kLineRts | kLineDtr;
    if (hs & kHandshakeDtrFlow) s.lineMask &= ~kLineDtr;
    if (hs & kHandshakeRtsFlow) s.lineMask &= ~kLineRts;
    return true;
}

bool CreateEvents(SerialSlot& s) {
    for (OVERLAPPED* ov : {&s.readOv, &s.writeOv, &s.waitOv}) {
        *ov = OVERLAPPED{};
        ov->hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (!ov->hEvent) return false;
    }
    return true;
}

void CloseEvents(SerialSlot& s) {
    for (OVERLAPPED* ov : {&s.readOv, &s.writeOv, &s.waitOv}) {
        if (ov->hEvent) CloseHandle(ov->hEvent);
        *ov = OVERLAPPED{};
    }
}

}  // namespace

SerialSlot* SerialOpenSlot(int slot) {
    if (static_cast<unsigned>(slot) >= static_cast<unsigned>(kSerialSlotCount)) return nullptr;
    SerialSlot& s = Table().slots[slot];
    return s.state.load() == SerialSlotState::Open ? &s : nullptr;
}

int SerialQueueBytes(SerialSlot& s) {
    DWORD errors = 0;
    COMSTAT stat{};
    if (!ClearCommError(s.handle, &errors, &stat)) return -1;
    return static_cast<int>(std::min<DWORD>(stat.cbInQue, 0x7FFFFFFF));
}

COMMTIMEOUTS SerialTimeouts(int baud, bool waitForByte) {
    COMMTIMEOUTS timeouts{};
    // All zero read values: a read lasts until its count has come.
    timeouts.ReadIntervalTimeout = waitForByte ? 0 : MAXDWORD;
    timeouts.WriteTotalTimeoutMultiplier = 12000 / static_cast<DWORD>(baud) + 1;
    timeouts.WriteTotalTimeoutConstant = timeouts.WriteTotalTimeoutMultiplier + 1;
    return timeouts;
}

uint32_t SerialByteTime(int baud, int parity, int stop, int data) {
    if (baud <= 0) return 0;
    uint32_t bits = (data & kSevenDataBits) ? 9 : 10;
    if (stop != kOneStopBit) ++bits;
    if (ParityUsed(parity)) ++bits;
    return static_cast<uint32_t>(uint64_t{bits} * 1024000 / static_cast<uint64_t>(baud));
}

uint32_t SerialSpanMs(uint32_t byteTime, uint64_t count) {
    return static_cast<uint32_t>(std::min<uint64_t>(count * byteTime / 1024, 0x3FFFFFFF));
}

int SerialOpen(int port, int baud, int parity, int stop, int data, int handshake) {
    if (port < 0 || port >= 256 || baud <= 0) return -1;
    const int slot = ReserveSlot();
    if (slot < 0) return -1;
    SerialSlot& s = Table().slots[slot];

    char name[24];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port + 1);
    s.handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (s.handle == INVALID_HANDLE_VALUE) {
        ReleaseSlot(s);
        return -1;
    }
    SerialLineSettings line;
    line.baud = baud;
    line.parity = parity;
    line.stop = stop;
    line.data = data;
    line.handshake = handshake;
    if (!ApplyLineSettings(s, line) || !CreateEvents(s)) {
        CloseEvents(s);
        CloseHandle(s.handle);
        ReleaseSlot(s);
        return -1;
    }
    s.waitPending = false;
    s.held = false;
    s.pendingWrite.store(0);
    s.writeStart.store(GetTickCount());
    SetupComm(s.handle, 2048, 2048);
    SetCommMask(s.handle, EV_RXCHAR);
    s.state.store(SerialSlotState::Open);
    return slot;
}

int SerialClose(int slot) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return -1;
    // The wait's read may still be outstanding from the last SerialWaitReceive: cancel it, so that the
    // system lets go of it before the handle goes; a byte it had taken goes with the port.
    SerialSettleWait(*s, true);
    s->waitPending = false;
    s->held = false;
    const BOOL closed = CloseHandle(s->handle);
    CloseEvents(*s);
    ReleaseSlot(*s);
    return closed ? 0 : -1;
}

int SerialIsAlive(int slot) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s || s->handle == INVALID_HANDLE_VALUE) return 0;
    return SerialQueueBytes(*s) >= 0 ? 1 : 0;
}

int SerialBytesWaiting(int slot) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return -1;
    return SerialPendingInput(*s);
}

int SerialModemStatus(int slot) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return -1;
    if (s->noModemLines) return 3;
    DWORD status = 0;
    if (!GetCommModemStatus(s->handle, &status)) return -1;
    return ((status & MS_CTS_ON) ? 1 : 0) | ((status & MS_DSR_ON) ? 2 : 0);
}

int SerialSetLines(int slot, int lines, int which) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return -1;
    const uint32_t change = static_cast<uint32_t>(which) & s->lineMask;
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!GetCommState(s->handle, &dcb)) return 0;
    int handshake = s->line.handshake;
    if (change & kLineRts) {
        const bool on = (lines & kLineRts) != 0;
        dcb.fRtsControl = on ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
        handshake = on ? (handshake | kHandshakeRtsOn) : (handshake & ~kHandshakeRtsOn);
    }
    if (change & kLineDtr) {
        const bool on = (lines & kLineDtr) != 0;
        dcb.fDtrControl = on ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
        handshake = on ? (handshake | kHandshakeDtrOn) : (handshake & ~kHandshakeDtrOn);
    }
    if (!SetCommState(s->handle, &dcb)) return 0;
    s->line.handshake = handshake;  // a later reconfigure keeps the lines as set here
    return 1;
}

int SerialGetByteTime(int slot) {
    SerialSlot* s = SerialOpenSlot(slot);
    return s ? static_cast<int>(s->byteTime) : -1;
}

int SerialReconfigure(int slot, int baud, int parity, int stop, int data, int handshake) {
    SerialSlot* s = SerialOpenSlot(slot);
    if (!s) return -1;
    SerialLineSettings line = s->line;
    if (baud >= 0) line.baud = baud;
    if (parity >= 0) line.parity = parity;
    if (stop >= 0) line.stop = stop;
    if (data >= 0) line.data = data;
    if (handshake >= 0) line.handshake = handshake;
    return ApplyLineSettings(*s, line) ? 0 : -1;
}
