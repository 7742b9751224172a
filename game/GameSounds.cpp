// Game sounds: WAVE resources, one-shot slots and the mixer thread.
#include "game/GameSounds.h"

#include "game/ThreadSeams.h"
#include "game/sound/WaveOut.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace game {

SoundEntry g_soundTable[kSoundCount];
OneShotSlots g_oneShotSlots;

namespace {

constexpr uint32_t kClaimed = 0xFFFFFFFFu;  // a slot being filled: the mixer passes it by
constexpr size_t kChunkSearchEnd = 4096;
constexpr DWORD kBlockMs = 12;
constexpr DWORD kMixerStackBytes = 32768;
constexpr DWORD kStopPollMs = 50;

const char* const kSoundNames[kSoundCount] = {"CLING1", "CLING2", "CLING3", "SWEEP", "TIMER", "ERROR", "TICK"};

uint32_t ReadLe32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

}  // namespace

const char* SoundResourceName(GameSound sound) {
    return sound >= 0 && sound < kSoundCount ? kSoundNames[sound] : "";
}

bool FindWaveSamples(const void* image, size_t size, const int16_t** samples, uint32_t* count) {
    *samples = nullptr;
    *count = 0;
    if (!image) return false;
    const auto* bytes = static_cast<const uint8_t*>(image);
    // Offsets and lengths in 64 bits: a chunk length near 4 GB must not wrap the bounds check.
    const uint64_t total = size;
    uint64_t offset = 12;  // behind "RIFF", its length and "WAVE"
    while (offset < kChunkSearchEnd && offset + 16 < total) {
        const uint64_t length = ReadLe32(bytes + offset + 4);
        if (std::memcmp(bytes + offset, "data", 4) == 0) {
            const uint8_t* first = bytes + offset + 8;
            if (offset + 8 + length > total || reinterpret_cast<uintptr_t>(first) % alignof(int16_t) != 0) return false;
            *samples = reinterpret_cast<const int16_t*>(first);
            *count = static_cast<uint32_t>(length / 2);
            return *count > 0;
        }
        offset += 8 + length;
    }
    return false;
}

bool LocateSound(GameSound sound) {
    if (sound < 0 || sound >= kSoundCount) return false;
    SoundEntry& entry = g_soundTable[sound];
    entry = SoundEntry{};
    HMODULE module = GetModuleHandleA(nullptr);
    entry.resource = FindResourceA(module, kSoundNames[sound], "WAVE");
    if (!entry.resource) return false;
    entry.loaded = LoadResource(module, entry.resource);
    const void* image = entry.loaded ? LockResource(entry.loaded) : nullptr;
    return FindWaveSamples(image, SizeofResource(module, entry.resource), &entry.samples, &entry.count);
}

void LocateSounds() {
    for (int s = 0; s < kSoundCount; ++s) LocateSound(static_cast<GameSound>(s));
}

bool OneShotSlots::Queue(const int16_t* samples, uint32_t count) {
    if (!samples || count == 0 || count > kMaxSoundSamples) return false;
    for (Slot& slot : m_slots) {
        uint32_t expected = 0;
        if (slot.remaining.compare_exchange_strong(expected, kClaimed, std::memory_order_acquire)) {
            slot.samples.store(samples, std::memory_order_relaxed);
            slot.remaining.store(count, std::memory_order_release);
            return true;
        }
    }
    return false;
}

void OneShotSlots::Mix(int16_t* out, size_t n) {
    std::fill(out, out + n, int16_t{0});
    for (Slot& slot : m_slots) {
        const uint32_t remaining = slot.remaining.load(std::memory_order_acquire);
        if (remaining == 0 || remaining == kClaimed) continue;
        const int16_t* samples = slot.samples.load(std::memory_order_relaxed);
        const size_t take = std::min<size_t>(remaining, n);
        for (size_t i = 0; i < take; ++i) out[i] = static_cast<int16_t>(std::clamp(out[i] + samples[i], -32767, 32767));
        // The pointer first: once the count reads 0 the slot belongs to the queueing side.
        slot.samples.store(samples + take, std::memory_order_relaxed);
        slot.remaining.store(remaining - static_cast<uint32_t>(take), std::memory_order_release);
    }
}

int OneShotSlots::Busy() const {
    return static_cast<int>(std::count_if(std::begin(m_slots), std::end(m_slots),
                                          [](const Slot& s) { return s.remaining.load() != 0; }));
}

void OneShotSlots::Clear() {
    for (Slot& slot : m_slots) slot.remaining.store(0);
}

bool QueueOneShotSound(const int16_t* samples, uint32_t count) { return g_oneShotSlots.Queue(samples, count); }

bool QueueGameSound(GameSound sound) {
    if (sound < 0 || sound >= kSoundCount) return false;
    return QueueOneShotSound(g_soundTable[sound].samples, g_soundTable[sound].count);
}

namespace {

// The player is the process's one wave-out device. Its owner (the view) and the mixer thread both use it; the
// owner waits for the mixer only up to a bound, so whichever of the two leaves it last closes it.
std::mutex g_playerLock;
int g_playerUsers = 0;  // under the lock

void LeavePlayer() {
    std::lock_guard<std::mutex> lock(g_playerLock);
    if (g_playerUsers > 0 && --g_playerUsers == 0) GameThreadSeams().player.close();
}

int PlayerUsers() {
    std::lock_guard<std::mutex> lock(g_playerLock);
    return g_playerUsers;
}

// Polls every 50 ms until done() holds or the bound has passed.
template <typename Done>
bool WaitBounded(Done done, DWORD boundMs) {
    for (DWORD waited = 0; !done(); waited += kStopPollMs) {
        if (waited >= boundMs) return false;
        Sleep(kStopPollMs);
    }
    return true;
}

}  // namespace

DWORD RunSoundMixer(const SoundMixerFlags& flags) {
    const MixerPlayer& player = GameThreadSeams().player;
    while (flags.running->load()) {
        auto* block = static_cast<int16_t*>(player.getBuffer());
        if (!block) break;
        if (ThreadHook hook = GameThreadSeams().mixerPass.load()) hook();
        g_oneShotSlots.Mix(block, kMixBlockSamples);
        // The player paces this loop; should it refuse at once, wait a block rather than spin.
        if (player.write(static_cast<int>(kMixBlockSamples * sizeof(int16_t))) != kWaveWriteOk) Sleep(kBlockMs);
    }
    LeavePlayer();
    flags.ended->store(1);
    return 0;
}

DWORD WINAPI SoundMixerThread(LPVOID flags) { return RunSoundMixer(*static_cast<const SoundMixerFlags*>(flags)); }

bool StartSoundMixer(const SoundMixerFlags& flags, LPTHREAD_START_ROUTINE thread, LPVOID param) {
    const ThreadSeams& seams = GameThreadSeams();
    flags.running->store(0);
    flags.ended->store(1);
    // A mixer of an earlier owner that outlived its owner's wait is still in the player: wait for it (bounded),
    // and rather go without sound than reopen the player under it.
    if (!WaitBounded([] { return PlayerUsers() == 0; }, seams.mixerStopMs)) return false;
    flags.ended->store(0);
    flags.running->store(1);
    seams.player.open(kMixRate, 16, 1, static_cast<int>(kMixBlockSamples * sizeof(int16_t)));
    HANDLE handle = CreateThread(nullptr, kMixerStackBytes, thread, param, CREATE_SUSPENDED, nullptr);
    {
        std::lock_guard<std::mutex> lock(g_playerLock);
        g_playerUsers = handle ? 2 : 1;  // the owner, and the mixer until it leaves
    }
    if (handle) {
        SetThreadPriority(handle, THREAD_PRIORITY_HIGHEST);
        ResumeThread(handle);
        CloseHandle(handle);
    } else {
        flags.running->store(0);
        flags.ended->store(1);
    }
    seams.player.pause(0);
    return handle != nullptr;
}

void StopSoundMixer(const SoundMixerFlags& flags) {
    const ThreadSeams& seams = GameThreadSeams();
    flags.running->store(0);
    seams.player.stop();
    WaitBounded([&flags] { return flags.ended->load() != 0; }, seams.mixerStopMs);
    LeavePlayer();  // closes the player unless the mixer is still in it; then the mixer closes it as it leaves
}

}  // namespace game
