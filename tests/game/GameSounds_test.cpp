// Game sounds: the WAVE chunk walk, the one-shot slots and the mixer step.
#include "game/GameSounds.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

using game::FindWaveSamples;
using game::OneShotSlots;

void PutTag(std::vector<uint8_t>& b, const char* tag) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutChunk(std::vector<uint8_t>& b, const char* tag, uint32_t length, size_t bytes) {
    PutTag(b, tag);
    Put32(b, length);
    b.insert(b.end(), bytes, 0x11);
}

// RIFF/WAVE image with a fmt chunk, an optional chunk before the data, and the data chunk.
std::vector<uint8_t> Wave(uint32_t dataLength, size_t dataBytes, size_t filler = 0) {
    std::vector<uint8_t> b;
    PutTag(b, "RIFF");
    Put32(b, 0);
    PutTag(b, "WAVE");
    PutChunk(b, "fmt ", 16, 16);
    if (filler) PutChunk(b, "LIST", static_cast<uint32_t>(filler), filler);
    PutChunk(b, "data", dataLength, dataBytes);
    return b;
}

TEST(WaveChunkWalk, FindsTheDataChunk) {
    const std::vector<uint8_t> w = Wave(200, 200, 100);
    const int16_t* samples = nullptr;
    uint32_t count = 0;
    ASSERT_TRUE(FindWaveSamples(w.data(), w.size(), &samples, &count));
    EXPECT_EQ(count, 100u);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(samples), w.data() + 12 + 24 + 108 + 8);
}

TEST(WaveChunkWalk, MissingTruncatedOrOutOfReachDataIsSilent) {
    const int16_t* samples = nullptr;
    uint32_t count = 7;
    std::vector<uint8_t> w = Wave(200, 100);  // data runs past the end
    EXPECT_FALSE(FindWaveSamples(w.data(), w.size(), &samples, &count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(samples, nullptr);

    w = Wave(200, 200, 4100);  // the data header lies beyond the first 4096 bytes
    EXPECT_FALSE(FindWaveSamples(w.data(), w.size(), &samples, &count));

    w.clear();  // no data chunk at all
    PutTag(w, "RIFF");
    Put32(w, 0);
    PutTag(w, "WAVE");
    PutChunk(w, "fmt ", 16, 16);
    PutChunk(w, "LIST", 64, 64);
    EXPECT_FALSE(FindWaveSamples(w.data(), w.size(), &samples, &count));
    EXPECT_FALSE(FindWaveSamples(nullptr, 100, &samples, &count));
    EXPECT_FALSE(FindWaveSamples(w.data(), 20, &samples, &count));
}

TEST(WaveChunkWalk, HugeChunkLengthsDoNotWrapTheBoundsCheck) {
    const int16_t* samples = nullptr;
    uint32_t count = 0;
    // 36 + 8 + 0xFFFFFFF0 wraps to 28 in 32 bits, which would "fit" a 64-byte image.
    std::vector<uint8_t> w = Wave(0xFFFFFFF0u, 20);
    ASSERT_FALSE(FindWaveSamples(w.data(), w.size(), &samples, &count));
    EXPECT_EQ(count, 0u);
    // A huge chunk before the data must end the walk, not wrap it back to the start.
    w = Wave(200, 200);
    const size_t fmtLength = 16;
    w[fmtLength] = 0xF8;
    w[fmtLength + 1] = w[fmtLength + 2] = w[fmtLength + 3] = 0xFF;  // fmt length 0xFFFFFFF8
    EXPECT_FALSE(FindWaveSamples(w.data(), w.size(), &samples, &count));
}

std::vector<int16_t> Constant(int16_t value, size_t n) { return std::vector<int16_t>(n, value); }

TEST(OneShotSlots, FourPlayMixedAndTheFifthIsDropped) {
    OneShotSlots slots;
    const auto a = Constant(1000, 600), b = Constant(2000, 600), c = Constant(3000, 600), d = Constant(-500, 600);
    const auto e = Constant(7, 600);
    EXPECT_TRUE(slots.Queue(a.data(), 600));
    EXPECT_TRUE(slots.Queue(b.data(), 600));
    EXPECT_TRUE(slots.Queue(c.data(), 600));
    EXPECT_TRUE(slots.Queue(d.data(), 600));
    EXPECT_FALSE(slots.Queue(e.data(), 600));
    EXPECT_EQ(slots.Busy(), 4);

    std::vector<int16_t> out(512);
    slots.Mix(out.data(), out.size());
    EXPECT_EQ(out, Constant(5500, 512));
    slots.Mix(out.data(), out.size());
    EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 88), Constant(5500, 88));
    EXPECT_EQ(std::vector<int16_t>(out.begin() + 88, out.end()), Constant(0, 512 - 88));
    EXPECT_EQ(slots.Busy(), 0);
    slots.Mix(out.data(), out.size());
    EXPECT_EQ(out, Constant(0, 512));
}

TEST(OneShotSlots, RefusesEmptyAndOversizeSounds) {
    OneShotSlots slots;
    const auto a = Constant(1, 4);
    EXPECT_FALSE(slots.Queue(nullptr, 4));
    EXPECT_FALSE(slots.Queue(a.data(), 0));
    EXPECT_FALSE(slots.Queue(a.data(), game::kMaxSoundSamples + 1));
    EXPECT_EQ(slots.Busy(), 0);
    EXPECT_FALSE(game::QueueGameSound(game::kSoundTick)) << "a sound never located stays silent";
}

TEST(OneShotSlots, TheSameSoundTwiceOverlaps) {
    OneShotSlots slots;
    std::vector<int16_t> ramp(1000);
    for (int i = 0; i < 1000; ++i) ramp[i] = static_cast<int16_t>(i + 1);
    std::vector<int16_t> out(256);
    ASSERT_TRUE(slots.Queue(ramp.data(), 1000));
    slots.Mix(out.data(), out.size());
    ASSERT_TRUE(slots.Queue(ramp.data(), 1000));
    slots.Mix(out.data(), out.size());
    for (int i = 0; i < 256; ++i) ASSERT_EQ(out[i], ramp[256 + i] + ramp[i]) << i;
}

TEST(OneShotSlots, SumsClipAtPlusMinus32767) {
    OneShotSlots slots;
    const auto loud = Constant(30000, 8), quiet = Constant(-30000, 8);
    std::vector<int16_t> out(8);
    slots.Queue(loud.data(), 8);
    slots.Queue(loud.data(), 8);
    slots.Mix(out.data(), 8);
    EXPECT_EQ(out, Constant(32767, 8));
    slots.Queue(quiet.data(), 8);
    slots.Queue(quiet.data(), 8);
    slots.Mix(out.data(), 8);
    EXPECT_EQ(out, Constant(-32767, 8)) << "the floor is -32767, not -32768";
    // Each addition is clamped in slot order.
    slots.Queue(loud.data(), 8);
    slots.Queue(loud.data(), 8);
    slots.Queue(quiet.data(), 8);
    slots.Mix(out.data(), 8);
    EXPECT_EQ(out, Constant(32767 - 30000, 8));
}

TEST(OneShotSlots, ConcurrentQueueingNeverPlaysForeignSamples) {
    // Sounds are runs of 1 fenced by 1000s: any sample outside a queued sound shows up as >= 1000,
    // and the output must carry exactly the samples of the sounds that were taken.
    OneShotSlots slots;
    constexpr int kGuard = 64;
    std::vector<std::vector<int16_t>> pool;
    std::mt19937 random(7);
    for (int i = 0; i < 64; ++i) {
        const size_t length = 1 + random() % 700;
        std::vector<int16_t> s(kGuard, 1000);
        s.insert(s.end(), length, 1);
        s.insert(s.end(), kGuard, 1000);
        pool.push_back(std::move(s));
    }
    std::atomic<int64_t> queued{0};
    std::atomic<int> producersLeft{2};
    auto producer = [&](unsigned seed) {
        std::mt19937 r(seed);
        // At least 40000 tries, and on until enough was queued: on a busy machine the mixer may get little
        // time and most tries find the slots full. Bounded so that a mixer that never runs ends the test.
        const DWORD start = GetTickCount();
        for (int i = 0; i < 40000 || (queued.load() <= 100000 && GetTickCount() - start < 60000); ++i) {
            const auto& s = pool[r() % pool.size()];
            const uint32_t length = static_cast<uint32_t>(s.size() - 2 * kGuard);
            if (slots.Queue(s.data() + kGuard, length)) queued += length;
            else if (i >= 40000) Sleep(0);
            if (i % 64 == 0) std::this_thread::yield();
        }
        --producersLeft;
    };
    int64_t mixed = 0;
    int16_t highest = 0, lowest = 0;
    std::thread mixer([&] {
        std::vector<int16_t> out(game::kMixBlockSamples);
        while (producersLeft > 0 || slots.Busy() > 0) {
            slots.Mix(out.data(), out.size());
            for (int16_t v : out) {
                mixed += v;
                highest = std::max(highest, v);
                lowest = std::min(lowest, v);
            }
        }
    });
    std::thread red(producer, 1), blue(producer, 2);
    red.join();
    blue.join();
    mixer.join();
    EXPECT_GT(queued.load(), 100000);
    EXPECT_EQ(lowest, 0);
    EXPECT_LE(highest, 4) << "samples from outside a queued sound";
    EXPECT_EQ(mixed, queued.load()) << "samples lost or played twice";
}

}  // namespace
