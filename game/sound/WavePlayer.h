// State of the process-wide wave-out player, shared by the files of the player.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <atomic>
#include <cstdint>

constexpr uint32_t kWaveMaxBuffers = 12;
constexpr uint32_t kWaveMinBuffers = 8;
constexpr uint32_t kWavePreRoll = 8;

struct WaveBuffer {
    HGLOBAL block = nullptr;   // WAVEHDR followed by the data
    WAVEHDR* header = nullptr;
};

struct WavePlayer {
    std::atomic<HWAVEOUT> device{nullptr};
    WAVEFORMATEX format{};
    WAVEOUTCAPSA caps{};
    uint32_t bufferBytes = 16384;
    uint32_t count = 0;
    WaveBuffer buffers[kWaveMaxBuffers];

    // Guarded by lock (producer and completion callback).
    CRITICAL_SECTION lock{};
    uint32_t writeIndex = 0;
    uint32_t lastDone = 0;
    bool queued[kWaveMaxBuffers] = {};  // handed to the device and not yet back
    uint32_t queuedBytes = 0;

    // Guarded by the producer lock (producers against stop and close).
    uint32_t held = 0;                    // pre-roll buffers held back
    uint32_t heldLength[kWavePreRoll] = {};
    bool outputStarted = false;

    HANDLE freeEvent = nullptr;  // manual reset: set while at least two buffers are free
    // The free-buffer event's state, changed only under lock along with the event: the event is told only when
    // its state changes, and a producer that finds it set need not ask the system (each call is a round trip
    // to the Wine server, several per block of a running stream).
    std::atomic<bool> freeSignalled{false};
    std::atomic<uint32_t> playedBytes{0};
    std::atomic<bool> running{false};
    std::atomic<uint32_t> generation{0};  // counts stops: a producer woken by one drops its buffer

    HANDLE streamThread = nullptr;
    std::atomic<bool> stopFlag{false};
    std::atomic<bool> threadFinished{false};
};

WavePlayer& Player();

// Sets or resets the free-buffer event unless it is so already; the caller holds the player's lock.
void SignalFree(WavePlayer& p, bool free);

// Serialises producers against stop and close; never taken by the completion callback.
CRITICAL_SECTION& ProducerLock();

// Stops and forgets a stream thread (bounded wait, then terminate).
void WaveStopStreamThread();

// The stream volume from the device's value: with separate left and right volumes the mean of both words,
// whatever the stream's channels; else the low word.
int WaveVolumeFromDevice(DWORD deviceValue, DWORD support);

// Bytes of the quarter second of silence that finishing writes: rate / 4, doubled for two channels and
// again for more than 8 bits, at most a buffer.
uint32_t WaveFinishSilenceBytes(uint32_t rate, int bits, int channels, uint32_t bufferBytes);
