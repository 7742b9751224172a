// Remote control: frame parsing, clock correction, debounce and the reader thread.
#include "game/RemoteControl.h"

#include "game/ThreadSeams.h"
#include "game/serial/Serial.h"
#include "res/ViewCommands.h"
#include "text/ParseNumber.h"
#include "text/StrPrintf.h"

#include <algorithm>
#include <cstring>

namespace game {

namespace {

// Keys 0 and 1 are the players'; 2-7 post these commands.
constexpr int kKeyCommands[8] = {0,
                                 0,
                                 ID_GAME_NEXT_PAGE,
                                 ID_GAME_RESET,
                                 ID_STARS_RED_MINUS,
                                 ID_STARS_RED_PLUS,
                                 ID_STARS_BLUE_MINUS,
                                 ID_STARS_BLUE_PLUS};
constexpr size_t kDigits = 8;
constexpr DWORD kStackBytes = 32768;
constexpr DWORD kStopPollMs = 50;
constexpr char kAsciiCaseBit = 0x20;  // set in the lower-case letters

char AsciiLower(char c) { return static_cast<char>(c | kAsciiCaseBit); }

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool IsEvent(char c) { return c == 'U' || c == 'S' || c == 'D'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

uint32_t HexValue(const char* digits) {
    uint32_t value = 0;
    for (size_t i = 0; i < kDigits; ++i) {
        const char c = digits[i];
        const uint32_t d = c <= '9' ? c - '0' : AsciiLower(c) - 'a' + 10;
        value = value << 4 | d;
    }
    return value;
}

// Signed distance from an earlier to a later local time, across the 32-bit wrap.
int32_t Since(uint32_t later, uint32_t earlier) { return static_cast<int32_t>(later - earlier); }

uint32_t SystemTicks() { return GetTickCount(); }

}  // namespace

int RemoteKeyCommand(int key) { return key >= 0 && key < 8 ? kKeyCommands[key] : 0; }

void ComPortText(int comPort, char* buffer) { StrPrintfA(buffer, "COM%i", comPort + 1); }

int ComPortFromText(const char* text) {
    char head[33] = {};
    if (text) std::strncpy(head, text, 32);
    const char* number = head;
    if (AsciiLower(head[0]) == 'c' && AsciiLower(head[1]) == 'o' && AsciiLower(head[2]) == 'm') number += 3;
    const int32_t n = ParseInt32A(number, 0, nullptr);
    return n > 0 ? n - 1 : 0;
}

RemoteFrameReader::RemoteFrameReader(RemoteActions& actions, TickSource now, std::atomic<int32_t>* clockOffset)
    : m_actions(actions), m_now(now ? now : SystemTicks), m_offset(clockOffset ? clockOffset : &m_ownOffset) {}

void RemoteFrameReader::Feed(const void* bytes, size_t count) {
    const auto* in = static_cast<const char*>(bytes);
    while (count > 0) {
        const size_t take = std::min(count, Room());
        std::memcpy(m_buffer + m_fill, in, take);
        m_fill += take;
        m_buffer[m_fill] = 0;
        in += take;
        count -= take;
        Parse();
        if (Room() == 0) Drop(m_fill);  // cannot happen: a full buffer always decides its first frame
    }
}

void RemoteFrameReader::Drop(size_t count) {
    count = std::min(count, m_fill);
    std::memmove(m_buffer, m_buffer + count, m_fill - count);
    m_fill -= count;
    m_buffer[m_fill] = 0;
}

void RemoteFrameReader::Parse() {
    for (;;) {
        // Resync: a frame starts with a key digit and an event letter; a lone digit at the end may be one.
        size_t start = 0;
        while (start < m_fill && !(IsHex(m_buffer[start]) && (start + 1 == m_fill || IsEvent(m_buffer[start + 1])))) ++start;
        Drop(start);
        if (m_fill < 3) return;

        size_t digits = 0;
        while (2 + digits < m_fill && IsHex(m_buffer[2 + digits])) ++digits;
        if (digits > kDigits) {
            Drop(digits + 2);
            continue;
        }
        if (digits < kDigits) {
            if (2 + digits == m_fill) return;  // the time stamp may still be coming
            Drop(digits + 2);
            continue;
        }
        if (m_fill == 2 + kDigits) return;  // waiting for the terminator
        if (!IsLineEnd(m_buffer[2 + kDigits])) {
            Drop(2 + kDigits);
            continue;
        }
        Process(m_buffer[0] - '0', m_buffer[1], HexValue(m_buffer + 2));
        Drop(3 + kDigits);  // a LF behind a CR goes with the next resync
    }
}

void RemoteFrameReader::Process(int key, char event, uint32_t remoteTime) {
    if ((event == 'S' && key <= 3) || m_offset->load() == 0)
        m_offset->store(static_cast<int32_t>(m_now() - remoteTime));
    const uint32_t t = remoteTime + static_cast<uint32_t>(m_offset->load());
    if (event != 'D' || key < 0 || key > 7) return;

    if (key <= 1) {
        const int32_t sinceStop = Since(t, m_lastStop[key]);
        if (sinceStop < 0 || sinceStop > static_cast<int32_t>(kRemoteDebounceMs)) {
            m_lastStop[key] = t;
            m_actions.StopPlayer(key, t);
        }
    }
    const int32_t sinceAction = Since(t, m_lastAction[key]);
    if (sinceAction >= 0 && sinceAction <= static_cast<int32_t>(kRemoteDebounceMs)) return;
    m_lastAction[key] = t;
    if (key <= 1) {
        if (m_actions.SingleMode())
            m_actions.StopPlayer(key, t);
        else
            m_actions.StartPlayer(key, t);
    } else {
        m_actions.PostCommand(RemoteKeyCommand(key));
    }
}

DWORD RunRemoteControl(const RemoteControlContext& context) {
    const RemoteControlContext* c = &context;
    RemoteFrameReader reader(*c->actions, c->now, c->clockOffset);
    int slot = -1;
    int openedFor = -1;
    while (!c->stopRequest->load()) {
        if (ThreadHook hook = GameThreadSeams().readerPass.load()) hook();
        const int port = c->comPort->load();
        if (port != openedFor || slot < 0 || !SerialIsAlive(slot)) {
            if (slot >= 0) SerialClose(slot);
            slot = SerialOpen(port, kRemoteBaud, kParityNone, kOneStopBit, kEightDataBits, kHandshakeNone);
            openedFor = port;
            if (slot < 0) {
                Sleep(kRemoteRetryMs);
                continue;
            }
        }
        SerialWaitReceive(slot, kRemoteWaitMs);
        const int waiting = SerialBytesWaiting(slot);
        char bytes[kRemoteBufferBytes];
        const int got = waiting > 0 ? SerialRead(slot, bytes, std::min<int>(waiting, static_cast<int>(reader.Room()))) : 0;
        if (waiting < 0 || got < 0) {
            SerialClose(slot);  // reopened on the next pass
            slot = -1;
            continue;
        }
        reader.Feed(bytes, static_cast<size_t>(got));
    }
    if (slot >= 0) SerialClose(slot);
    c->ended->store(1);
    return 0;
}

DWORD WINAPI RemoteControlThread(LPVOID context) {
    return RunRemoteControl(*static_cast<const RemoteControlContext*>(context));
}

bool StartRemoteControl(std::atomic<int32_t>& ended, LPTHREAD_START_ROUTINE thread, LPVOID param) {
    ended.store(0);
    HANDLE handle = CreateThread(nullptr, kStackBytes, thread, param, 0, nullptr);
    if (!handle) {
        ended.store(1);
        return false;
    }
    CloseHandle(handle);
    return true;
}

bool StartRemoteControl(RemoteControlContext* context) {
    return StartRemoteControl(*context->ended, RemoteControlThread, context);
}

void StopRemoteControl(std::atomic<int32_t>& stopRequest, std::atomic<int32_t>& ended) {
    // The reader notices within one pass (about 200 ms at most); give it ample time.
    const DWORD boundMs = GameThreadSeams().readerStopMs;
    stopRequest.store(1);
    for (DWORD waited = 0; waited < boundMs && !ended.load(); waited += kStopPollMs) {
        Sleep(kStopPollMs);
        stopRequest.store(1);
    }
}

void StopRemoteControl(RemoteControlContext* context) { StopRemoteControl(*context->stopRequest, *context->ended); }

}  // namespace game
