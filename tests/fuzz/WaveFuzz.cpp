// WAVE images: the chunk walk that finds the samples, and the one-shot slots that mix what it found.
#include "tests/fuzz/FuzzEngine.h"

#include "game/GameSounds.h"

namespace {

fuzz::Bytes MakeWave(const std::vector<const char*>& chunks, uint32_t samples) {
    fuzz::Bytes out;
    fuzz::PutText(out, "RIFF");
    fuzz::Put32(out, 0);
    fuzz::PutText(out, "WAVE");
    for (const char* id : chunks) {
        fuzz::PutText(out, id);
        const bool data = id[0] == 'd';
        const uint32_t length = data ? samples * 2 : id[0] == 'f' ? 16 : 10;
        fuzz::Put32(out, length);
        for (uint32_t i = 0; i < length; ++i) out.push_back(static_cast<uint8_t>(data ? i * 7 : i));
    }
    const uint32_t riff = static_cast<uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
    return out;
}

std::vector<fuzz::Bytes> Seeds() {
    return {fuzz::ResourceBytes("TICK", "WAVE"), MakeWave({"fmt ", "data"}, 300),
            MakeWave({"fmt ", "LIST", "fact", "data"}, 64), MakeWave({"fmt ", "data", "LIST"}, 1)};
}

bool Run(const uint8_t* data, size_t size) {
    const int16_t* samples = nullptr;
    uint32_t count = 0;
    if (!game::FindWaveSamples(data, size, &samples, &count)) {
        FUZZ_CHECK(count == 0);
        return false;
    }
    const uint8_t* first = reinterpret_cast<const uint8_t*>(samples);
    FUZZ_CHECK(first >= data + 16 && first + 2ull * count <= data + size);
    // Mixed to the end: every sample is read, in blocks as the mixer thread reads them.
    game::OneShotSlots slots;
    FUZZ_CHECK(slots.Queue(samples, count) && slots.Queue(samples, count));
    int16_t block[game::kMixBlockSamples];
    for (uint64_t done = 0; done < count + game::kMixBlockSamples; done += game::kMixBlockSamples)
        slots.Mix(block, game::kMixBlockSamples);
    FUZZ_CHECK(slots.Busy() == 0);
    return true;
}

fuzz::Registration registration{{"Wave", 150000, Seeds, Run, {}}};

}  // namespace
