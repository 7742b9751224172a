// Serial-port driver: up to eight COM ports in slots 0-7, overlapped I/O underneath.
// Every function takes the slot number returned by SerialOpen and answers a bad or closed
// slot with -1 (SerialIsAlive and SerialDrain with 0).
#pragma once
#include <cstdint>

// Parity index of SerialOpen and SerialReconfigure.
enum SerialParity { kParityNone = 0, kParityOdd = 1, kParityEven = 2, kParitySpace = 3, kParityMark = 4 };

// Stop bits and data bits of SerialOpen and SerialReconfigure (of the data, only bit 0 counts).
enum SerialStopBits : int { kOneStopBit = 0, kTwoStopBits = 1 };
enum SerialDataBits : int { kEightDataBits = 0, kSevenDataBits = 1 };

// Handshake bits of SerialOpen and SerialReconfigure.
enum SerialHandshake : int {
    kHandshakeNone = 0,            // no handshake, RTS and DTR off
    kHandshakeRtsOn = 0x04,        // RTS line on
    kHandshakeDtrOn = 0x08,        // DTR line on
    kHandshakeRtsFlow = 0x10,      // RTS handshake (overrides kHandshakeRtsOn)
    kHandshakeDtrFlow = 0x20,      // DTR handshake (overrides kHandshakeDtrOn)
    kHandshakeNoModemLines = 0x40  // no modem lines: clears both handshakes, modem status reads "both present"
};

// Line bits of SerialSetLines.
enum SerialLines : int { kLineRts = 0x04, kLineDtr = 0x08 };

constexpr int kSerialSlotCount = 8;

// port is 0-based (port n opens "\\.\COM<n+1>", n below 256); any stop other than kOneStopBit gives two stop
// bits. Returns the slot or -1.
int SerialOpen(int port, int baud, int parity, int stop, int data, int handshake);
int SerialClose(int slot);
int SerialIsAlive(int slot);
int SerialBytesWaiting(int slot);
int SerialModemStatus(int slot);  // bit 0 CTS, bit 1 DSR
int SerialSetLines(int slot, int lines, int which);
int SerialOutputPending(int slot);
int SerialDrain(int slot, int maxMs);
int SerialGetByteTime(int slot);  // time of one character in 1/1024 ms
int SerialWaitReceive(int slot, int timeoutMs);
int SerialWrite(int slot, const void* data, int count);
int SerialRead(int slot, void* buffer, int count);
int SerialReadTimeout(int slot, void* buffer, int count, int timeoutMs);
int SerialReadUntil(int slot, void* buffer, int count, int timeoutMs, int terminator);
// A negative argument keeps the current setting.
int SerialReconfigure(int slot, int baud, int parity, int stop, int data, int handshake);

// Byte time of a line setting (1/1024 ms per character); 0 for a baud of 0 or less.
uint32_t SerialByteTime(int baud, int parity, int stop, int data);
