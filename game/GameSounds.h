// Game sounds: the seven WAVE resources, four one-shot slots and the mixer thread that sums them
// into the wave-out stream (44100 Hz, 16 bit, mono, 512-sample blocks).
#pragma once
#include "game/GameState.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace game {

constexpr int kMixRate = 44100;
constexpr size_t kMixBlockSamples = 512;
constexpr uint32_t kMaxSoundSamples = 0x40000000;
constexpr size_t kOneShotSlots = 4;

struct SoundEntry {
    HRSRC resource = nullptr;
    HGLOBAL loaded = nullptr;
    const int16_t* samples = nullptr;
    uint32_t count = 0;  // 0 = not available
};

// The sound table, filled by LocateSound (in GameSound order).
extern SoundEntry g_soundTable[kSoundCount];

// Resource names in GameSound order.
const char* SoundResourceName(GameSound sound);

// Finds the "data" chunk of a RIFF/WAVE image of size bytes: 16-bit samples and their count.
// Returns false (count 0) when there is none in reach or it does not fit in the image.
bool FindWaveSamples(const void* image, size_t size, const int16_t** samples, uint32_t* count);

// Loads one WAVE resource of the program into the sound table; false when it is missing or silent.
bool LocateSound(GameSound sound);
// All seven, in the order CLING1, CLING2, CLING3, SWEEP, TIMER, ERROR, TICK.
void LocateSounds();

// Four one-shot slots shared by the threads that queue sounds and the mixer thread. A slot is
// taken by claiming its free count, filled with its pointer and published by its count; the mixer
// publishes each advanced pointer before the count it belongs to and leaves a slot alone once it
// has published 0, so a newly queued sound never runs on in an old one's memory.
class OneShotSlots {
public:
    // Takes the first free slot; false when samples is null, count is 0 or too large, or all four are busy.
    bool Queue(const int16_t* samples, uint32_t count);
    // Sets samples 0..n-1 of out to the sum of the next n samples of every playing slot, each sum
    // clamped to -32767..32767, and consumes them.
    void Mix(int16_t* out, size_t n);
    // Slots still playing or being filled.
    int Busy() const;
    void Clear();

private:
    struct Slot {
        std::atomic<const int16_t*> samples{nullptr};
        std::atomic<uint32_t> remaining{0};  // 0 = free
    };
    Slot m_slots[kOneShotSlots];
};

extern OneShotSlots g_oneShotSlots;

// Queues a sound on the process's slots (dropped when all four are busy).
bool QueueOneShotSound(const int16_t* samples, uint32_t count);
// Queues one of the seven game sounds.
bool QueueGameSound(GameSound sound);

// What the mixer thread shares with its owner.
struct SoundMixerFlags {
    std::atomic<int32_t>* running;  // cleared by the owner to end the thread
    std::atomic<int32_t>* ended;    // set by the thread as it ends
};

// The mixer loop: fills and submits 512-sample blocks while the running flag is set and the player
// hands out buffers; the player's wait for a free buffer paces it. At its end it leaves the player (closing
// it when its owner has already given up waiting), then sets the ended flag. The flags must outlive it.
DWORD RunSoundMixer(const SoundMixerFlags& flags);
// Thread procedure over RunSoundMixer, the flags as parameter.
DWORD WINAPI SoundMixerThread(LPVOID flags);

// Sets the running flag, opens the wave-out player for the mixer, starts thread(param) (which runs
// RunSoundMixer) at the highest priority and starts the output. False when no thread runs (param is then
// the caller's again): also when a mixer of an earlier owner is still in the player after the bound.
bool StartSoundMixer(const SoundMixerFlags& flags, LPTHREAD_START_ROUTINE thread, LPVOID param);
// Clears the running flag, stops the player, waits (bounded) for the ended flag and leaves the player: it is
// closed now when the mixer has ended, else by the mixer as it leaves.
void StopSoundMixer(const SoundMixerFlags& flags);

}  // namespace game
