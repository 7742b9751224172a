#include "tests/game/sound/AudioCapture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

std::string AudioCapturePath() {
    const char* path = std::getenv("WL_AUDIO_CAPTURE");
    return path ? std::string("Z:") + path : std::string();
}

std::vector<int16_t> ReadAudioCapture() {
    std::vector<int16_t> samples;
    FILE* f = std::fopen(AudioCapturePath().c_str(), "rb");
    if (!f) return samples;
    int16_t chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, sizeof chunk[0], 4096, f)) > 0) samples.insert(samples.end(), chunk, chunk + got);
    std::fclose(f);
    return samples;
}

std::vector<int16_t> WithoutSilence(const std::vector<int16_t>& samples) {
    std::vector<int16_t> out;
    std::copy_if(samples.begin(), samples.end(), std::back_inserter(out), [](int16_t s) { return s != 0; });
    return out;
}

long FindSamples(const std::vector<int16_t>& haystack, const std::vector<int16_t>& needle) {
    auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end());
    return it == haystack.end() ? -1 : static_cast<long>(it - haystack.begin());
}
