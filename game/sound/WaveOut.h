// Process-wide PCM player on the system's wave-out device: one ring of 8-12 buffers.
// A producer takes the buffer at the write index (WaveOutGetBuffer), fills it and submits it
// (WaveOutWrite). The first eight buffers are held back and sent together, so output starts
// with a full queue; the completion callback frees buffers and wakes the producer.
#pragma once
#include <windows.h>
#include <cstdio>

// Results of WaveOutOpen.
enum WaveOutOpenResult { kWaveOpenOk = 0, kWaveOpenBadFormat = 1, kWaveOpenFewBuffers = 2, kWaveOpenNoEvent = 3 };
// Results of WaveOutWrite.
enum WaveOutWriteResult {
    kWaveWriteOk = 0,
    kWaveWriteWaitFailed = 1,
    kWaveWriteTooLarge = 2,
    kWaveWriteDeviceFailed = 3,
    kWaveWriteNotRunning = 4
};

// Reader of a stream: fills at most bytes into buffer, returns the bytes read (0 or less ends).
using WaveStreamReader = int (*)(void* context, void* buffer, int bytes);

int WaveOutOpen(int rate, int bits, int channels, int bufferBytes);
int WaveOutClose();
void* WaveOutGetBuffer();
int WaveOutWrite(int bytes);
int WaveOutStop();
int WaveOutFlush();
int WaveOutPause(int pause);
BOOL WaveOutIsIdle();
int WaveOutWaitIdle(int timeoutMs);
int WaveOutFinish();
unsigned WaveOutTakePlayedBytes();
unsigned WaveOutQueuedTime();  // sixteenths of a second
BOOL WaveOutGetFormat(int* rate, int* bits, int* channels, int* bufferBytes);
BOOL WaveOutIsOpen();

int WaveOutSetVolume(int volume);
int WaveOutGetVolume();
int MixerSetMasterVolume(int volume);
int MixerGetMasterVolume();

int WaveOutStreamHandle(int fileHandle);
int WaveOutStreamFile(FILE* file);
int WaveOutStartStreamHandle(int fileHandle);
int WaveOutStartStreamFile(FILE* file);
int WaveOutStartStream(void* context, WaveStreamReader reader);

// The format check of WaveOutOpen: bits a multiple of 4 up to 32, at most 32 channels,
// a rate up to 48000 (none of them 0).
bool WaveFormatAccepted(int rate, int bits, int channels);

// Caps the buffers the next WaveOutOpen prepares (8-12; 0 = no cap). For tests of small rings.
void WaveOutLimitBuffers(int count);
