// Wave-out player: opening, the buffer ring, the completion callback, stop and idle.
#include "game/sound/WaveOut.h"
#include "game/sound/WavePlayer.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kFreeWaitMs = 2000;
constexpr DWORD kResetSettleMs = 500;

uint32_t g_bufferLimit = 0;

class Guard {
public:
    explicit Guard(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~Guard() { LeaveCriticalSection(&m_cs); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};

// Ring distance from b forward to a.
uint32_t Distance(const WavePlayer& p, uint32_t a, uint32_t b) { return (a + p.count - b) % p.count; }

// Held buffers the ring can take before output must start: the pre-roll of eight, but never so
// many that the producer's next buffer would wrap onto a queued one.
uint32_t PreRollLimit(const WavePlayer& p) { return std::min(kWavePreRoll, p.count - 2); }

void CALLBACK WaveOutCallback(HWAVEOUT, UINT msg, DWORD_PTR, DWORD_PTR param1, DWORD_PTR) {
    if (msg != WOM_DONE) return;
    WavePlayer& p = Player();
    const auto* header = reinterpret_cast<const WAVEHDR*>(param1);
    Guard guard(p.lock);
    const uint32_t index = header->dwUser < p.count ? static_cast<uint32_t>(header->dwUser) : 0;
    if (!p.queued[index]) return;  // a late report from before a stop
    p.queued[index] = false;
    p.queuedBytes -= std::min(p.queuedBytes, static_cast<uint32_t>(header->dwBufferLength));
    p.playedBytes.fetch_add(header->dwBufferLength);
    if (Distance(p, p.lastDone, index) > p.count / 2) p.lastDone = index;
    if (Distance(p, p.lastDone, p.writeIndex) >= 2) SignalFree(p, true);
}

// Hands one buffer to the device; the caller holds the producer lock.
bool SendBuffer(WavePlayer& p, uint32_t index, uint32_t bytes) {
    WAVEHDR* header = p.buffers[index].header;
    header->dwBufferLength = bytes;
    header->dwFlags &= ~WHDR_DONE;
    {
        Guard guard(p.lock);
        p.queued[index] = true;
        p.queuedBytes += bytes;
    }
    if (waveOutWrite(p.device.load(), header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR) return true;
    Guard guard(p.lock);
    p.queued[index] = false;
    p.queuedBytes -= std::min(p.queuedBytes, bytes);
    return false;
}

// Sends the held pre-roll buffers, oldest first; the caller holds the producer lock.
bool StartOutput(WavePlayer& p) {
    if (p.outputStarted) return true;
    p.outputStarted = true;
    uint32_t writeIndex;
    {
        Guard guard(p.lock);
        writeIndex = p.writeIndex;
    }
    const uint32_t held = p.held;
    p.held = 0;
    for (uint32_t i = 0; i < held; ++i) {
        if (!SendBuffer(p, (writeIndex + p.count - held + i) % p.count, p.heldLength[i])) return false;
    }
    return true;
}

void AdvanceWriteIndex(WavePlayer& p) {
    Guard guard(p.lock);
    p.writeIndex = (p.writeIndex + 1) % p.count;
    if (Distance(p, p.lastDone, p.writeIndex) < 2) SignalFree(p, false);
}

// Empties the ring after the device has given every buffer back; the device stays open.
void ResetRing(WavePlayer& p) {
    Guard producer(ProducerLock());
    p.running.store(false);
    p.generation.fetch_add(1);
    {
        Guard guard(p.lock);
        SignalFree(p, true);  // a producer waiting for a buffer returns
    }
    waveOutReset(p.device.load());
    // The device reports reset buffers through the callback; let those reports settle.
    const DWORD start = GetTickCount();
    for (;;) {
        {
            Guard guard(p.lock);
            if (std::none_of(p.queued, p.queued + p.count, [](bool q) { return q; })) break;
        }
        if (GetTickCount() - start > kResetSettleMs) break;
        Sleep(1);
    }
    {
        Guard guard(p.lock);
        // A producer that still fills a buffer submits buffer 0 next: let it carry silence.
        const bool used = p.writeIndex != (p.lastDone + 1) % p.count || p.held > 0;
        if (used) std::memset(p.buffers[0].header + 1, 0, p.bufferBytes);
        std::fill(p.queued, p.queued + kWaveMaxBuffers, false);
        p.queuedBytes = 0;
        p.lastDone = p.count - 1;
        p.writeIndex = 0;
        SignalFree(p, true);
    }
    p.held = 0;
    p.outputStarted = false;
    p.running.store(true);
}

void FreeBuffers(WavePlayer& p, bool& failed) {
    for (uint32_t i = 0; i < kWaveMaxBuffers; ++i) {
        WaveBuffer& b = p.buffers[i];
        if (!b.block) continue;
        if (i < p.count && waveOutUnprepareHeader(p.device.load(), b.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
            failed = true;
        GlobalUnlock(b.block);
        if (GlobalFree(b.block)) failed = true;
        b = WaveBuffer{};
    }
    p.count = 0;
}

bool PrepareBuffers(WavePlayer& p) {
    const uint32_t most = g_bufferLimit ? std::clamp(g_bufferLimit, kWaveMinBuffers, kWaveMaxBuffers) : kWaveMaxBuffers;
    p.count = 0;
    while (p.count < most) {
        WaveBuffer& b = p.buffers[p.count];
        b.block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(WAVEHDR) + size_t{p.bufferBytes});
        b.header = b.block ? static_cast<WAVEHDR*>(GlobalLock(b.block)) : nullptr;
        if (b.header) {
            b.header->lpData = reinterpret_cast<LPSTR>(b.header + 1);
            b.header->dwBufferLength = p.bufferBytes;
            b.header->dwUser = p.count;
            b.header->dwFlags = WHDR_DONE;
            b.header->dwLoops = 1;
            if (waveOutPrepareHeader(p.device.load(), b.header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR) {
                ++p.count;
                continue;
            }
        }
        if (b.block) {
            GlobalUnlock(b.block);
            GlobalFree(b.block);
        }
        b = WaveBuffer{};
        break;
    }
    return p.count >= kWaveMinBuffers;
}

}  // namespace

void SignalFree(WavePlayer& p, bool free) {
    if (p.freeSignalled.load() == free) return;
    if (free ? SetEvent(p.freeEvent) : ResetEvent(p.freeEvent)) p.freeSignalled.store(free);
}

WavePlayer& Player() {
    static WavePlayer player;
    return player;
}

CRITICAL_SECTION& ProducerLock() {
    struct Lock {
        CRITICAL_SECTION cs;
        Lock() { InitializeCriticalSection(&cs); }
    };
    static Lock lock;
    return lock.cs;
}

bool WaveFormatAccepted(int rate, int bits, int channels) {
    return bits > 0 && bits % 4 == 0 && bits <= 32 && channels > 0 && channels <= 32 && rate > 0 && rate <= 48000;
}

void WaveOutLimitBuffers(int count) { g_bufferLimit = count > 0 ? static_cast<uint32_t>(count) : 0; }

int WaveOutOpen(int rate, int bits, int channels, int bufferBytes) {
    WavePlayer& p = Player();
    if (p.device.load()) WaveOutClose();
    if (!WaveFormatAccepted(rate, bits, channels)) return kWaveOpenBadFormat;

    WAVEFORMATEX& f = p.format;
    f = WAVEFORMATEX{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = static_cast<WORD>(channels);
    f.nSamplesPerSec = static_cast<DWORD>(rate);
    f.nBlockAlign = static_cast<WORD>((bits * channels + 7) / 8);
    f.nAvgBytesPerSec = f.nBlockAlign * f.nSamplesPerSec;
    f.wBitsPerSample = static_cast<WORD>(bits);
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &f, reinterpret_cast<DWORD_PTR>(&WaveOutCallback), 0, CALLBACK_FUNCTION) !=
        MMSYSERR_NOERROR) {
        f = WAVEFORMATEX{};
        return kWaveOpenBadFormat;
    }
    p.device.store(device);
    InitializeCriticalSection(&p.lock);
    if (bufferBytes > 0) p.bufferBytes = static_cast<uint32_t>(bufferBytes);
    p.writeIndex = 0;
    p.held = 0;
    p.outputStarted = false;
    p.stopFlag.store(false);
    p.playedBytes.store(0);
    std::fill(p.queued, p.queued + kWaveMaxBuffers, false);
    p.queuedBytes = 0;

    if (!PrepareBuffers(p)) {
        WaveOutClose();
        return kWaveOpenFewBuffers;
    }
    p.lastDone = p.count - 1;
    p.freeEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    p.freeSignalled.store(p.freeEvent != nullptr);
    if (!p.freeEvent) {
        WaveOutClose();
        return kWaveOpenNoEvent;
    }
    if (waveOutGetDevCapsA(reinterpret_cast<UINT_PTR>(device), &p.caps, sizeof p.caps) != MMSYSERR_NOERROR)
        p.caps = WAVEOUTCAPSA{};
    waveOutReset(device);
    p.running.store(true);
    return kWaveOpenOk;
}

int WaveOutClose() {
    WavePlayer& p = Player();
    if (!p.device.load()) return 1;
    bool failed = false;
    if (p.freeEvent) WaveOutStop();
    {
        Guard producer(ProducerLock());
        p.running.store(false);
        p.generation.fetch_add(1);
        if (waveOutReset(p.device.load()) != MMSYSERR_NOERROR) failed = true;
        FreeBuffers(p, failed);
        if (waveOutClose(p.device.load()) != MMSYSERR_NOERROR) failed = true;
        p.device.store(nullptr);
    }
    if (p.freeEvent && !CloseHandle(p.freeEvent)) failed = true;
    p.freeEvent = nullptr;
    p.freeSignalled.store(false);
    DeleteCriticalSection(&p.lock);
    p.format = WAVEFORMATEX{};
    p.caps = WAVEOUTCAPSA{};
    return failed ? 1 : 0;
}

void* WaveOutGetBuffer() {
    WavePlayer& p = Player();
    if (!p.device.load() || !p.count) return nullptr;
    Guard guard(p.lock);
    return p.buffers[p.writeIndex].header + 1;
}

int WaveOutWrite(int bytes) {
    WavePlayer& p = Player();
    if (!p.device.load() || !p.running.load()) return kWaveWriteNotRunning;
    if (bytes < 0 || static_cast<uint32_t>(bytes) > p.bufferBytes) return kWaveWriteTooLarge;
    const uint32_t generation = p.generation.load();
    // Set means set until a producer resets it: then the wait would return at once.
    if (!p.freeSignalled.load() && WaitForSingleObject(p.freeEvent, kFreeWaitMs) == WAIT_FAILED)
        return kWaveWriteWaitFailed;

    Guard producer(ProducerLock());
    if (generation != p.generation.load() || !p.running.load()) return kWaveWriteNotRunning;
    if (!p.outputStarted && p.held < PreRollLimit(p)) {
        p.heldLength[p.held++] = static_cast<uint32_t>(bytes);
        Guard guard(p.lock);
        p.writeIndex = (p.writeIndex + 1) % p.count;
        return kWaveWriteOk;
    }
    if (!StartOutput(p)) return kWaveWriteDeviceFailed;
    uint32_t index;
    {
        Guard guard(p.lock);
        index = p.writeIndex;
        // Only after a stalled device (the 2000 ms wait ran out) can the ring be full. Then the
        // block is dropped: the next buffer to hand out must never be one still queued.
        if (p.queued[(index + 1) % p.count]) return kWaveWriteWaitFailed;
    }
    if (!SendBuffer(p, index, static_cast<uint32_t>(bytes))) return kWaveWriteDeviceFailed;
    AdvanceWriteIndex(p);
    return kWaveWriteOk;
}

int WaveOutFlush() {
    WavePlayer& p = Player();
    if (!p.device.load()) return 1;
    ResetRing(p);
    return 0;
}

int WaveOutStop() {
    WavePlayer& p = Player();
    if (!p.device.load()) return 1;
    p.stopFlag.store(true);
    ResetRing(p);
    WaveStopStreamThread();
    return 0;
}

int WaveOutPause(int pause) {
    HWAVEOUT device = Player().device.load();
    if (!device) return 1;
    const MMRESULT r = pause ? waveOutPause(device) : waveOutRestart(device);
    return r == MMSYSERR_NOERROR ? 0 : 1;
}

BOOL WaveOutIsIdle() {
    WavePlayer& p = Player();
    if (!p.device.load() || !p.count) return TRUE;
    Guard guard(p.lock);
    return p.writeIndex == (p.lastDone + 1) % p.count ? TRUE : FALSE;
}

int WaveOutWaitIdle(int timeoutMs) {
    WavePlayer& p = Player();
    if (!p.device.load()) return 1;
    {
        // Buffers still held back would never finish: waiting for idle plays them.
        Guard producer(ProducerLock());
        if (!p.outputStarted && p.held > 0 && !StartOutput(p)) return 1;
    }
    const DWORD start = GetTickCount();
    auto left = [&]() -> DWORD {
        if (timeoutMs < 0) return INFINITE;
        const DWORD spent = GetTickCount() - start;
        return spent >= static_cast<DWORD>(timeoutMs) ? 0 : static_cast<DWORD>(timeoutMs) - spent;
    };
    if (WaitForSingleObject(p.freeEvent, left()) != WAIT_OBJECT_0) return 1;
    while (!WaveOutIsIdle()) {
        const DWORD remaining = left();
        if (remaining == 0) return 1;
        Sleep(std::min<DWORD>(remaining, 100));
    }
    return 0;
}

uint32_t WaveFinishSilenceBytes(uint32_t rate, int bits, int channels, uint32_t bufferBytes) {
    uint32_t bytes = rate / 4;
    if (channels == 2) bytes *= 2;
    if (bits > 8) bytes *= 2;
    return std::min(bytes, bufferBytes);
}

int WaveOutFinish() {
    WavePlayer& p = Player();
    if (!p.device.load()) return 1;
    const uint32_t silence =
        WaveFinishSilenceBytes(p.format.nSamplesPerSec, p.format.wBitsPerSample, p.format.nChannels, p.bufferBytes);
    if (void* buffer = WaveOutGetBuffer()) {
        std::memset(buffer, p.format.wBitsPerSample <= 8 ? 0x80 : 0, silence);
        WaveOutWrite(static_cast<int>(silence));
    }
    const int idle = WaveOutWaitIdle(3000);
    Sleep(100);
    WaveOutStop();
    return idle;
}

unsigned WaveOutTakePlayedBytes() { return Player().playedBytes.exchange(0); }

unsigned WaveOutQueuedTime() {
    WavePlayer& p = Player();
    if (!p.device.load()) return 0;
    const uint32_t perSixteenth = p.format.nSamplesPerSec / 16 * p.format.nBlockAlign;
    if (!perSixteenth) return 0;
    uint32_t bytes;
    {
        Guard producer(ProducerLock());
        bytes = 0;
        for (uint32_t i = 0; i < p.held; ++i) bytes += p.heldLength[i];
        Guard guard(p.lock);
        bytes += p.queuedBytes;
    }
    return bytes / perSixteenth;
}

BOOL WaveOutGetFormat(int* rate, int* bits, int* channels, int* bufferBytes) {
    const WavePlayer& p = Player();
    if (rate) *rate = static_cast<int>(p.format.nSamplesPerSec);
    if (bits) *bits = p.format.wBitsPerSample;
    if (channels) *channels = p.format.nChannels;
    if (bufferBytes) *bufferBytes = static_cast<int>(p.bufferBytes);
    return p.device.load() ? TRUE : FALSE;
}

BOOL WaveOutIsOpen() { return Player().device.load() ? TRUE : FALSE; }
