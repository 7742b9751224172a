// The sound that alsa_rig.py captured for this test process (16-bit samples).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Path of the capture file as this process sees it; empty outside the rig.
std::string AudioCapturePath();

// Every sample written so far; the device must be closed for the last ones to be there.
std::vector<int16_t> ReadAudioCapture();

// The samples without the silence the system inserts when the producer is late.
std::vector<int16_t> WithoutSilence(const std::vector<int16_t>& samples);

// Index of the first occurrence of needle in haystack, or -1.
long FindSamples(const std::vector<int16_t>& haystack, const std::vector<int16_t>& needle);
