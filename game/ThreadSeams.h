// Seams of the remote reader and the sound mixer for tests of their shutdown: a hook each thread calls on every
// pass, the bounds of the owner's waits, and the wave-out calls of the mixer. The program leaves them as they are.
#pragma once

#include <windows.h>

#include <atomic>

namespace game {

// The wave-out calls of the mixer and its owner (the wave-out player by default).
struct MixerPlayer {
    int (*open)(int rate, int bits, int channels, int bufferBytes);
    int (*pause)(int pause);
    void* (*getBuffer)();
    int (*write)(int bytes);
    int (*stop)();
    int (*close)();
};

using ThreadHook = void (*)();

// Set them before the threads start; the hooks may also change while they run.
struct ThreadSeams {
    std::atomic<ThreadHook> readerPass{nullptr};  // the reader, at the start of each pass
    std::atomic<ThreadHook> mixerPass{nullptr};   // the mixer, with a buffer of the player in hand
    DWORD readerStopMs = 10000;                   // how long the owner waits for each thread to end
    DWORD mixerStopMs = 5000;
    MixerPlayer player;
};

ThreadSeams& GameThreadSeams();

}  // namespace game
