// Wave-out queue depth: how much sound lies queued in front of a block the game's mixer has just
// written (44100 Hz, 16 bit, mono, 1024-byte buffers), sampled after every write of a paced stream.
// The platform peer is the player's whole ring of prepared buffers.
// Run it with a sound device, e.g. the capture sink of the tests:
//   python3 tests/game/sound/alsa_rig.py -- wine build/bench/WaveQueueDepth.exe
#include "bench/BenchFigure.h"
#include "game/sound/WaveOut.h"
#include "game/sound/WavePlayer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

int main() {
    constexpr int kRate = 44100, kBytes = 1024, kBlocks = 2000;
    if (WaveOutOpen(kRate, 16, 1, kBytes) != kWaveOpenOk) {
        std::fprintf(stderr, "no wave-out device\n");
        return 2;
    }
    WavePlayer& p = Player();
    const double msPerBuffer = 1000.0 * kBytes / (kRate * 2);
    std::vector<uint32_t> depth;
    for (int k = 0; k < kBlocks; ++k) {
        void* buffer = WaveOutGetBuffer();
        std::memset(buffer, 0, kBytes);
        if (WaveOutWrite(kBytes) != kWaveWriteOk) {
            std::fprintf(stderr, "write %d failed\n", k);
            return 1;
        }
        EnterCriticalSection(&p.lock);
        const uint32_t queued = p.queuedBytes;
        LeaveCriticalSection(&p.lock);
        if (k >= 50) depth.push_back(queued / kBytes);
    }
    const uint32_t ring = p.count;
    WaveOutClose();
    std::sort(depth.begin(), depth.end());
    const uint32_t median = depth[depth.size() / 2];
    std::printf("wave-out queue at 44100 Hz, 16 bit, mono, %d-byte buffers (%.2f ms each), %d writes:\n", kBytes,
                msPerBuffer, kBlocks);
    std::printf("  queued after a write: median %u buffers = %.1f ms (min %u = %.1f ms, max %u = %.1f ms)\n", median,
                median * msPerBuffer, depth.front(), depth.front() * msPerBuffer, depth.back(),
                depth.back() * msPerBuffer);
    std::printf("  ring of %u prepared buffers = %.1f ms; ratio queue/ring %.2f\n", ring, ring * msPerBuffer,
                double(median) / ring);
    BenchFigure("queued after a write (median)", median * msPerBuffer, ring * msPerBuffer, "ms");
    return 0;
}
