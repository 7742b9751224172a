// Wave-out player through Wine's ALSA driver into a capture file (alsa_rig.py): what comes out
// is compared sample for sample with what was written.
#include "tests/game/sound/AudioCapture.h"
#include "game/sound/WaveOut.h"
#include "game/sound/WavePlayer.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace {

constexpr int kRate = 44100;
constexpr int kBlockBytes = 1024;
constexpr int kBlockSamples = kBlockBytes / 2;
// Bound of waits for the device: generous, a busy machine may hold Wine's audio thread up for seconds.
constexpr int kDeviceWaitMs = 30000;

// Block k of a test signal: never 0, unique over 60 blocks, so order and losses show.
std::vector<int16_t> Block(int k) {
    std::vector<int16_t> s(kBlockSamples);
    for (int j = 0; j < kBlockSamples; ++j) s[j] = static_cast<int16_t>((k * kBlockSamples + j) % 32000 + 1);
    return s;
}

std::vector<int16_t> Blocks(int from, int to) {
    std::vector<int16_t> all;
    for (int k = from; k < to; ++k) {
        const std::vector<int16_t> b = Block(k);
        all.insert(all.end(), b.begin(), b.end());
    }
    return all;
}

int WriteBlock(int k) {
    void* buffer = WaveOutGetBuffer();
    if (!buffer) return -1;
    std::memcpy(buffer, Block(k).data(), kBlockBytes);
    return WaveOutWrite(kBlockBytes);
}

class WaveOutTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(AudioCapturePath().empty()) << "run through alsa_rig.py"; }
    void TearDown() override {
        if (WaveOutIsOpen()) WaveOutClose();
        WaveOutLimitBuffers(0);
    }
    void Open() { ASSERT_EQ(WaveOutOpen(kRate, 16, 1, kBlockBytes), kWaveOpenOk); }
    // Plays everything out and closes, so that the capture file is complete.
    std::vector<int16_t> PlayOutAndCapture() {
        EXPECT_EQ(WaveOutWaitIdle(kDeviceWaitMs), 0);
        EXPECT_EQ(WaveOutClose(), 0);
        return ReadAudioCapture();
    }
};

TEST(WaveOutFormat, OnlyWholeNibblesAndSaneRanges) {
    EXPECT_TRUE(WaveFormatAccepted(44100, 16, 1));
    EXPECT_TRUE(WaveFormatAccepted(44100, 12, 1));
    EXPECT_TRUE(WaveFormatAccepted(48000, 32, 32));
    EXPECT_TRUE(WaveFormatAccepted(8000, 8, 2));
    EXPECT_FALSE(WaveFormatAccepted(44100, 10, 1));
    EXPECT_FALSE(WaveFormatAccepted(44100, 36, 1));
    EXPECT_FALSE(WaveFormatAccepted(44100, 16, 33));
    EXPECT_FALSE(WaveFormatAccepted(48001, 16, 1));
    EXPECT_FALSE(WaveFormatAccepted(0, 16, 1));
    EXPECT_FALSE(WaveFormatAccepted(44100, 0, 1));
    EXPECT_FALSE(WaveFormatAccepted(44100, 16, 0));
}

TEST_F(WaveOutTest, BadFormatIsRefusedAndNothingOpens) {
    EXPECT_EQ(WaveOutOpen(kRate, 10, 1, kBlockBytes), kWaveOpenBadFormat);
    EXPECT_FALSE(WaveOutIsOpen());
    EXPECT_EQ(WaveOutOpen(96000, 16, 1, kBlockBytes), kWaveOpenBadFormat);
    EXPECT_FALSE(WaveOutIsOpen());
}

TEST_F(WaveOutTest, ClosedPlayerAnswersWithItsErrorValues) {
    int rate = -1;
    EXPECT_EQ(WaveOutGetBuffer(), nullptr);
    EXPECT_EQ(WaveOutWrite(16), kWaveWriteNotRunning);
    EXPECT_EQ(WaveOutStop(), 1);
    EXPECT_EQ(WaveOutFlush(), 1);
    EXPECT_EQ(WaveOutPause(1), 1);
    EXPECT_TRUE(WaveOutIsIdle());
    EXPECT_EQ(WaveOutWaitIdle(10), 1);
    EXPECT_EQ(WaveOutFinish(), 1);
    EXPECT_EQ(WaveOutQueuedTime(), 0u);
    EXPECT_FALSE(WaveOutGetFormat(&rate, nullptr, nullptr, nullptr));
    EXPECT_EQ(rate, 0);
    EXPECT_EQ(WaveOutClose(), 1);
    EXPECT_EQ(WaveOutSetVolume(100), -1);
    EXPECT_EQ(WaveOutGetVolume(), -1);
    EXPECT_EQ(WaveOutStreamFile(stdin), -1);
    EXPECT_EQ(WaveOutStartStream(nullptr, [](void*, void*, int) { return 0; }), -1);
}

// What a play of the blocks from `base` on left in the capture: the samples of earlier plays (blocks below
// base) are taken out, whether the capture still holds them or not.
std::vector<int16_t> PlayedFrom(const std::vector<int16_t>& captured, int base) {
    std::vector<int16_t> own;
    for (int16_t s : captured)
        if (s == 0 || s > base * kBlockSamples) own.push_back(s);
    return own;
}

// The nine blocks from `base` with silence right after the first and nowhere else.
bool LateAfterTheFirstBlock(const std::vector<int16_t>& played, int base) {
    const std::vector<int16_t> first = Block(base), rest = Blocks(base + 1, base + 9);
    if (played.size() < first.size() || !std::equal(first.begin(), first.end(), played.begin())) return false;
    size_t next = first.size();
    while (next < played.size() && played[next] == 0) ++next;
    return next > first.size() && played.size() - next >= rest.size() &&
           std::equal(rest.begin(), rest.end(), played.begin() + static_cast<long>(next));
}

TEST_F(WaveOutTest, FirstEightWritesAreHeldAndTheNinthReleasesNineInOrder) {
    // Wine starts the device with the first block alone and hands it the others from a thread of its own,
    // which a busy machine may hold up: then silence follows the first block. Only for that gap the play is
    // repeated (with other blocks, twice at most); silence anywhere else among the nine fails at once.
    for (int play = 0;; ++play) {
        const int base = 20 * play;
        Open();
        for (int k = 0; k < 8; ++k) ASSERT_EQ(WriteBlock(base + k), kWaveWriteOk);
        EXPECT_FALSE(WaveOutIsIdle());
        Sleep(300);
        EXPECT_TRUE(WithoutSilence(PlayedFrom(ReadAudioCapture(), base)).empty()) << "held buffers must not play";

        ASSERT_EQ(WriteBlock(base + 8), kWaveWriteOk);
        const std::vector<int16_t> captured = PlayedFrom(PlayOutAndCapture(), base);
        const long first = FindSamples(captured, Block(base));
        ASSERT_GE(first, 0);
        const std::vector<int16_t> played(captured.begin() + first, captured.end());
        if (play < 2 && LateAfterTheFirstBlock(played, base)) continue;
        // Sent together, the nine blocks come out back to back.
        const std::vector<int16_t> nine(played.begin(),
                                        played.begin() + std::min<long>(9 * kBlockSamples, played.size()));
        EXPECT_EQ(nine, Blocks(base, base + 9));
        EXPECT_EQ(WithoutSilence(captured), Blocks(base, base + 9));
        return;
    }
}

// A producer paced by the player, as the game's mixer is: every block comes out once, in order.
void StreamBlocksPacedByPlayer(int blocks) {
    for (int k = 0; k < blocks; ++k) ASSERT_EQ(WriteBlock(k), kWaveWriteOk) << "block " << k;
}

TEST_F(WaveOutTest, PacedStreamComesOutIntact) {
    Open();
    StreamBlocksPacedByPlayer(60);
    ASSERT_EQ(WaveOutWaitIdle(kDeviceWaitMs), 0);
    EXPECT_EQ(WaveOutTakePlayedBytes(), 60u * kBlockBytes);
    EXPECT_EQ(WaveOutTakePlayedBytes(), 0u);
    EXPECT_EQ(WithoutSilence(PlayOutAndCapture()), Blocks(0, 60));
}

TEST_F(WaveOutTest, FreeBufferEventIsSetExactlyWhileTwoBuffersAreFree) {
    // The player keeps the event's state beside it so as not to ask the system for it; both must agree, and the
    // event must follow the ring, through the pre-roll, a paced stream and a stop (in a full ring the pre-roll
    // leaves two buffers free).
    Open();
    WavePlayer& p = Player();
    ASSERT_EQ(p.count, kWaveMaxBuffers);
    auto agrees = [&p] {
        EnterCriticalSection(&p.lock);
        const bool set = WaitForSingleObject(p.freeEvent, 0) == WAIT_OBJECT_0;
        const bool free = (p.lastDone + p.count - p.writeIndex) % p.count >= 2;
        const bool agree = set == p.freeSignalled.load() && set == free;
        LeaveCriticalSection(&p.lock);
        return agree;
    };
    EXPECT_TRUE(agrees());
    for (int k = 0; k < 40; ++k) {
        ASSERT_EQ(WriteBlock(k), kWaveWriteOk);
        EXPECT_TRUE(agrees()) << "after block " << k;
    }
    EXPECT_EQ(WaveOutStop(), 0);
    EXPECT_TRUE(agrees());
    EXPECT_TRUE(p.freeSignalled.load());
}

TEST_F(WaveOutTest, RingOfEightBuffersComesOutIntact) {
    // With only eight buffers the pre-roll must start output before the ring wraps onto held ones.
    WaveOutLimitBuffers(8);
    Open();
    StreamBlocksPacedByPlayer(40);
    EXPECT_EQ(WithoutSilence(PlayOutAndCapture()), Blocks(0, 40));
}

TEST_F(WaveOutTest, OversizeWriteIsRefusedAndChangesNothing) {
    Open();
    ASSERT_EQ(WriteBlock(0), kWaveWriteOk);
    void* before = WaveOutGetBuffer();
    const unsigned queued = WaveOutQueuedTime();
    EXPECT_EQ(WaveOutWrite(kBlockBytes + 1), kWaveWriteTooLarge);
    EXPECT_EQ(WaveOutWrite(-1), kWaveWriteTooLarge);
    EXPECT_EQ(WaveOutGetBuffer(), before);
    EXPECT_EQ(WaveOutQueuedTime(), queued);
    for (int k = 1; k < 12; ++k) ASSERT_EQ(WriteBlock(k), kWaveWriteOk);
    EXPECT_EQ(WithoutSilence(PlayOutAndCapture()), Blocks(0, 12));
}

TEST_F(WaveOutTest, StopReleasesAProducerWaitingForABuffer) {
    Open();
    ASSERT_EQ(WaveOutPause(1), 0);  // nothing finishes: the ring fills up
    std::atomic<int> written{0};
    std::atomic<int> lastResult{-1};
    std::atomic<DWORD> returnedAt{0};
    std::thread producer([&] {
        for (int k = 0; k < 40; ++k) {
            const int r = WriteBlock(k);
            if (r != kWaveWriteOk) {
                lastResult = r;
                returnedAt = GetTickCount();
                return;
            }
            ++written;
        }
    });
    // The producer blocks once ten buffers are queued and the free-buffer event is down.
    WaitUntil([&] { return written >= 10; }, kDeviceWaitMs);
    Sleep(300);
    EXPECT_EQ(written.load(), 10);
    const DWORD stopAt = GetTickCount();
    EXPECT_EQ(WaveOutStop(), 0);
    producer.join();
    EXPECT_EQ(lastResult.load(), kWaveWriteNotRunning);
    EXPECT_LT(returnedAt.load() - stopAt, 1000u) << "must not sit out the 2000 ms wait";

    // The device stays open with an empty ring and plays again.
    EXPECT_TRUE(WaveOutIsOpen());
    EXPECT_TRUE(WaveOutIsIdle());
    ASSERT_EQ(WaveOutPause(0), 0);
    for (int k = 100; k < 112; ++k) ASSERT_EQ(WriteBlock(k), kWaveWriteOk);
    const std::vector<int16_t> captured = WithoutSilence(PlayOutAndCapture());
    EXPECT_GE(FindSamples(captured, Blocks(100, 112)), 0);
}

TEST_F(WaveOutTest, StalledDeviceNeverGetsAQueuedBufferRefilled) {
    // After the 2000 ms wait runs out the producer goes on, but it must never fill a buffer that
    // the device still holds: queued audio stays intact and blocks beyond the ring are dropped.
    Open();
    ASSERT_EQ(WaveOutPause(1), 0);
    std::vector<int> results;
    for (int k = 0; k < 13; ++k) results.push_back(WriteBlock(k));
    const std::vector<int> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kWaveWriteWaitFailed, kWaveWriteWaitFailed};
    EXPECT_EQ(results, expected);
    ASSERT_EQ(WaveOutPause(0), 0);
    EXPECT_EQ(WithoutSilence(PlayOutAndCapture()), Blocks(0, 11));
}

TEST_F(WaveOutTest, FinishPlaysOutEvenAShortStream) {
    Open();
    for (int k = 0; k < 3; ++k) ASSERT_EQ(WriteBlock(k), kWaveWriteOk);
    EXPECT_EQ(WaveOutFinish(), 0);
    EXPECT_TRUE(WaveOutIsIdle());
    EXPECT_EQ(WaveOutClose(), 0);
    const std::vector<int16_t> captured = ReadAudioCapture();
    EXPECT_EQ(WithoutSilence(captured), Blocks(0, 3));
    // Followed by a quarter second of silence.
    const long first = FindSamples(captured, Block(0));
    ASSERT_GE(first, 0);
    EXPECT_GE(captured.size() - first, size_t{3 * kBlockSamples + kBlockSamples});
}

TEST_F(WaveOutTest, EveryBufferBlockHoldsItsHeaderAndData) {
    // The header in front of the data is 48 bytes on x64, not 32.
    for (int cycle = 0; cycle < 3; ++cycle) {
        Open();
        const WavePlayer& p = Player();
        ASSERT_GE(p.count, 8u);
        for (uint32_t i = 0; i < p.count; ++i) {
            const auto* block = static_cast<const char*>(static_cast<const void*>(p.buffers[i].header));
            EXPECT_GE(GlobalSize(p.buffers[i].block), sizeof(WAVEHDR) + kBlockBytes);
            EXPECT_EQ(p.buffers[i].header->lpData, block + sizeof(WAVEHDR));
        }
        EXPECT_EQ(WaveOutClose(), 0);
    }
}

TEST_F(WaveOutTest, FormatSizeAndReopen) {
    Open();
    int rate = 0, bits = 0, channels = 0, bytes = 0;
    EXPECT_TRUE(WaveOutGetFormat(&rate, &bits, &channels, &bytes));
    EXPECT_EQ(rate, kRate);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(bytes, kBlockBytes);
    // An open player is closed and opened anew; a size of 0 keeps the buffer size.
    ASSERT_EQ(WaveOutOpen(22050, 16, 2, 0), kWaveOpenOk);
    EXPECT_TRUE(WaveOutGetFormat(&rate, &bits, &channels, &bytes));
    EXPECT_EQ(rate, 22050);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(bytes, kBlockBytes);
    EXPECT_EQ(WaveOutWrite(kBlockBytes + 1), kWaveWriteTooLarge);
    // At 22050 Hz, 16 bits, stereo a sixteenth of a second is 22050 / 16 x 4 = 5512 bytes.
    ASSERT_EQ(WaveOutPause(1), 0);
    for (int k = 0; k < 6; ++k) ASSERT_EQ(WriteBlock(k), kWaveWriteOk);
    EXPECT_EQ(WaveOutQueuedTime(), 6u * kBlockBytes / (22050 / 16 * 4));
    EXPECT_EQ(WaveOutClose(), 0);
    EXPECT_FALSE(WaveOutIsOpen());
}

TEST_F(WaveOutTest, VolumeAndMasterVolume) {
    // Both channels get the volume set; the answer is their mean.
    ASSERT_EQ(WaveOutOpen(kRate, 16, 2, kBlockBytes), kWaveOpenOk);
    EXPECT_EQ(WaveOutSetVolume(40000), 40000);
    EXPECT_EQ(WaveOutGetVolume(), 40000);
    EXPECT_EQ(WaveOutSetVolume(70000), 65535);
    EXPECT_EQ(WaveOutGetVolume(), 65535);
    EXPECT_EQ(WaveOutSetVolume(-5), 0);
    EXPECT_EQ(WaveOutSetVolume(65535), 65535);
    // A mono stream answers the mean of both words too, whatever the device reports for the right one
    // (Wine leaves it 0).
    Open();
    EXPECT_EQ(WaveOutSetVolume(40000), 40000);
    DWORD device = 0;
    ASSERT_EQ(waveOutGetVolume(Player().device.load(), &device), MMSYSERR_NOERROR);
    ASSERT_TRUE(Player().caps.dwSupport & WAVECAPS_LRVOLUME);
    EXPECT_EQ(WaveOutGetVolume(), static_cast<int>(((device & 0xFFFF) + (device >> 16)) / 2));
    EXPECT_EQ(WaveOutSetVolume(65535), 65535);

    const int master = MixerGetMasterVolume();
    ASSERT_GE(master, 0);
    EXPECT_EQ(MixerSetMasterVolume(30000), 30000);
    EXPECT_EQ(MixerGetMasterVolume(), 30000);
    EXPECT_EQ(MixerSetMasterVolume(1 << 20), 65535) << "clamped to the control's range";
    EXPECT_EQ(MixerSetMasterVolume(master), master);
}

TEST_F(WaveOutTest, StreamsFromFilesOnTheCallerOrAThread) {
    const std::string path = AudioCapturePath() + ".in";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    const std::vector<int16_t> signal = Blocks(0, 20);
    std::fwrite(signal.data(), 2, signal.size() - 100, f);  // the last buffer is a short one
    std::fclose(f);

    Open();
    f = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(WaveOutStreamFile(f), static_cast<int>((signal.size() - 100) * 2));
    std::fclose(f);
    EXPECT_EQ(WaveOutWaitIdle(kDeviceWaitMs), 0);

    f = std::fopen(path.c_str(), "rb");
    ASSERT_EQ(WaveOutStartStreamFile(f), 0);
    EXPECT_TRUE(WaitUntil([] { return Player().threadFinished.load(); }, kDeviceWaitMs));
    EXPECT_EQ(WaveOutWaitIdle(kDeviceWaitMs), 0);
    const std::vector<int16_t> captured = WithoutSilence(PlayOutAndCapture());
    std::fclose(f);
    std::remove(path.c_str());
    std::vector<int16_t> twice(signal.begin(), signal.end() - 100);
    twice.insert(twice.end(), signal.begin(), signal.end() - 100);
    EXPECT_EQ(captured, twice);
}

TEST_F(WaveOutTest, StreamTotalCountsEveryBlockHandedOver) {
    // On a stalled device the twelfth block is dropped after the wait for a free buffer; it was read and
    // handed over all the same, and the total says so.
    const std::string path = AudioCapturePath() + ".in";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    const std::vector<int16_t> signal = Blocks(0, 12);
    std::fwrite(signal.data(), 2, signal.size(), f);
    std::fclose(f);
    Open();
    ASSERT_EQ(WaveOutPause(1), 0);
    f = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(WaveOutStreamFile(f), 12 * kBlockBytes);
    std::fclose(f);
    std::remove(path.c_str());
    EXPECT_EQ(WaveOutPause(0), 0);
}

TEST(WaveOutArithmetic, VolumeOfBothChannelsAndFinishingSilence) {
    // The device's left and right words: their mean with separate volumes (a mono stream included), else the
    // left word.
    EXPECT_EQ(WaveVolumeFromDevice(0x20006000u, WAVECAPS_VOLUME | WAVECAPS_LRVOLUME), 0x4000);
    EXPECT_EQ(WaveVolumeFromDevice(0x00006000u, WAVECAPS_VOLUME | WAVECAPS_LRVOLUME), 0x3000);
    EXPECT_EQ(WaveVolumeFromDevice(0xFFFFFFFFu, WAVECAPS_VOLUME | WAVECAPS_LRVOLUME), 0xFFFF);
    EXPECT_EQ(WaveVolumeFromDevice(0x20006000u, WAVECAPS_VOLUME), 0x6000);
    // A quarter second: rate / 4, doubled for two channels and for more than 8 bits, at most a buffer.
    struct Case {
        uint32_t rate;
        int bits, channels;
        uint32_t buffer, bytes;
    } cases[] = {{8000, 8, 1, 1 << 20, 2000},  {8000, 16, 1, 1 << 20, 4000}, {8000, 8, 2, 1 << 20, 4000},
                 {8000, 16, 2, 1 << 20, 8000}, {8000, 32, 1, 1 << 20, 4000}, {8000, 24, 2, 1 << 20, 8000},
                 {8000, 12, 1, 1 << 20, 4000}, {44100, 16, 1, 1024, 1024}};
    for (const Case& c : cases)
        EXPECT_EQ(WaveFinishSilenceBytes(c.rate, c.bits, c.channels, c.buffer), c.bytes)
            << c.rate << " Hz, " << c.bits << " bits, " << c.channels << " channels";
}

TEST_F(WaveOutTest, StopEndsAnEndlessStreamThread) {
    Open();
    static std::atomic<int> reads{0};
    reads = 0;
    auto endless = [](void*, void* buffer, int bytes) {
        std::memset(buffer, 0x11, static_cast<size_t>(bytes));
        ++reads;
        return bytes;
    };
    ASSERT_EQ(WaveOutStartStream(nullptr, endless), 0);
    EXPECT_TRUE(WaitUntil([] { return reads >= 20; }, kDeviceWaitMs));
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaveOutStop(), 0);
    EXPECT_LT(GetTickCount() - start, 1000u);
    const int after = reads.load();
    Sleep(100);
    EXPECT_EQ(reads.load(), after) << "the stream thread is gone";
    EXPECT_TRUE(WaveOutIsIdle());
}

}  // namespace
