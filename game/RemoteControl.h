// Remote control on a COM port (9600 8N1): text frames of a key digit, an event letter ('U', 'S',
// 'D') and eight hexadecimal digits of the remote's millisecond clock, ended by CR or LF.
// RemoteFrameReader is the pure half (bytes in, actions out); RemoteControlThread keeps the port
// open and feeds it.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace game {

constexpr int kRemoteBaud = 9600;
constexpr uint32_t kRemoteDebounceMs = 100;
constexpr size_t kRemoteBufferBytes = 32;
constexpr DWORD kRemoteRetryMs = 200;
constexpr int kRemoteWaitMs = 100;

// What the remote's keys do to the game.
class RemoteActions {
public:
    virtual void StartPlayer(int player, uint32_t tick) = 0;
    virtual void StopPlayer(int player, uint32_t tick) = 0;
    virtual void PostCommand(int commandId) = 0;
    virtual bool SingleMode() = 0;

protected:
    ~RemoteActions() = default;
};

using TickSource = uint32_t (*)();

// Command posted for the keys 2-7; 0 for the others.
int RemoteKeyCommand(int key);

// The COM-port prompt: the text shown for a port index ("COM1" for 0; buffer of 16 bytes) and the
// index of an answer ("com3" -> 2; a leading "COM" in any case, then a number in any notation of
// ParseInt32A; no positive number -> 0). At most 32 characters of the answer count.
void ComPortText(int comPort, char* buffer);
int ComPortFromText(const char* text);

class RemoteFrameReader {
public:
    // clockOffset holds the remote's offset to the local clock (0 = not yet known); it outlives
    // the reader when given, else the reader keeps its own.
    RemoteFrameReader(RemoteActions& actions, TickSource now, std::atomic<int32_t>* clockOffset = nullptr);

    // Bytes the buffer can take now; never 0 between calls of Feed.
    size_t Room() const { return kRemoteBufferBytes - m_fill; }
    // Appends the bytes and handles every complete frame; the buffer keeps an incomplete one.
    void Feed(const void* bytes, size_t count);
    int32_t ClockOffset() const { return m_offset->load(); }

private:
    void Parse();
    void Drop(size_t count);
    void Process(int key, char event, uint32_t remoteTime);

    RemoteActions& m_actions;
    TickSource m_now;
    std::atomic<int32_t> m_ownOffset{0};
    std::atomic<int32_t>* m_offset;
    char m_buffer[kRemoteBufferBytes + 1] = {};
    size_t m_fill = 0;
    uint32_t m_lastStop[2] = {0, 0};
    uint32_t m_lastAction[8] = {};
};

// What the reader thread shares with its owner.
struct RemoteControlContext {
    RemoteActions* actions;
    std::atomic<int32_t>* comPort;      // 0 = COM1; the reader reopens when it changes
    std::atomic<int32_t>* clockOffset;
    std::atomic<int32_t>* stopRequest;  // set by the owner to end the thread
    std::atomic<int32_t>* ended;        // set by the thread as it ends
    TickSource now;                     // null = GetTickCount
};

// The reader loop: keeps the configured port open, reopening it when the port number changes,
// when it dies and after read errors, retrying every 200 ms; ends when the stop request is set and
// then sets the ended flag.
DWORD RunRemoteControl(const RemoteControlContext& context);
// Thread procedure over RunRemoteControl, the context as parameter.
DWORD WINAPI RemoteControlThread(LPVOID context);

// Starts thread(param) (which runs RunRemoteControl) with a stack of 32768 bytes; false when it
// could not be created (the ended flag is then set).
bool StartRemoteControl(std::atomic<int32_t>& ended, LPTHREAD_START_ROUTINE thread, LPVOID param);
bool StartRemoteControl(RemoteControlContext* context);
// Sets the stop request and waits (polling every 50 ms, bounded) until the thread has ended.
void StopRemoteControl(std::atomic<int32_t>& stopRequest, std::atomic<int32_t>& ended);
void StopRemoteControl(RemoteControlContext* context);

}  // namespace game
