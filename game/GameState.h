// The game's state record: everything the view, its frame timer, the board painter and the remote reader share.
// Fields the reader and mixer threads touch are atomics; the rest belongs to the UI thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace game {

constexpr int kRed = 0;
constexpr int kBlue = 1;
constexpr int kSolution = 2;

constexpr int32_t kNotDrawn = -1000;   // pointer and marker positions that are not on the board
constexpr int32_t kScaleOrigin = 32;   // image column of scale pixel 0
constexpr int32_t kBandHeight = 200;   // the bottom band with the scale
constexpr uint32_t kFrameMs = 30;      // nominal period of the frame timer
constexpr uint32_t kPassMs = 3200;     // one sweep of a player's pointer across the scale
constexpr uint32_t kRunUpMsPerWidth = 1700;  // the solution pointer's run-up speed
constexpr uint32_t kHalfWaveMs = 1700;       // one half wave of the solution pointer's swing
constexpr uint32_t kKeyRepeatGuardMs = 8000;
constexpr int32_t kAutoStartFrames = 33;

enum PlayerState : int32_t {
    kPlayerIdle = 0,
    kPlayerRunning = 1,
    kPlayerStopped = 2,
    kPlayerChanging = 3,  // a start or stop is writing its tick; readers treat it like idle
};

enum RevealState : int32_t { kRevealNone = 0, kRevealRunning = 1, kRevealFinished = 2 };

// Sounds in the order they are located at start-up.
enum GameSound : int {
    kSoundCling1 = 0,  // red stops
    kSoundCling2,      // blue stops
    kSoundCling3,      // the reveal ends
    kSoundSweep,
    kSoundTimer,       // countdown beep of the time limit
    kSoundError,
    kSoundTick,
    kSoundCount
};

// Dirty-mask bits of one frame: bit i marks pointer i as moved; the frame itself sets the band and reveal bits.
constexpr uint32_t kDirtyBand = 0x01;          // the whole band was redrawn (shares the red pointer's bit)
constexpr uint32_t kDirtyRevealEnded = 0x04;   // shares the solution pointer's bit
constexpr uint32_t kDirtyMarker = 0x80;

struct GameState {
    GameState();
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

    // Board geometry.
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    int32_t scaleLength = 1;  // W = client width - 64, at least 1
    double pixelsPerUnit = 0.0;
    int32_t decimals = 0;
    double decimalFactor = 1.0;

    // Question.
    double solution = 600.0;
    double minimum = 100.0;
    double maximum = 800.0;
    int32_t logScale = 0;
    std::atomic<int32_t> gameNumber{0};

    // Players and reveal.
    std::atomic<int32_t> playerState[2] = {kPlayerIdle, kPlayerIdle};
    std::atomic<uint32_t> startTick[2] = {0, 0};
    std::atomic<uint32_t> stopTick[2] = {0, 0};
    int32_t revealState = kRevealNone;
    uint32_t revealStart = 0;
    int32_t position[3] = {0, 0, 0};
    int32_t drawnPosition[3] = {kNotDrawn, kNotDrawn, kNotDrawn};
    int32_t labelWidth[3] = {0, 0, 0};
    int32_t labelLeft[3] = {0, 0, 0};
    double labelValue[3] = {0.0, 0.0, 0.0};
    uint32_t pointerColour[3] = {0xFF0000, 0x0000FF, 0x00FF00};
    int32_t swingCount = 0;
    int32_t runUpMs = 0;
    int32_t targetPixel = 0;
    int32_t amplitude = 0;
    int32_t winner = -1;
    int32_t markerPosition = kNotDrawn;
    int32_t drawnMarkerPosition = kNotDrawn;

    // Stars.
    int32_t starSize = 0;
    int32_t starColumns = 1;
    int32_t starModulus = 8;
    int32_t starCellWidth = 136;
    int32_t starCellHeight = 136;
    uint8_t starCount[2] = {0, 0};
    uint8_t starSlotCache[64];  // 32 slots x 2 players: 1 star drawn, 0 empty drawn, 0xFF not drawn

    // Settings.
    std::atomic<int32_t> singleMode{0};
    int32_t autoCount = 1;
    int32_t sameSide = 0;
    int32_t scaleColour = 1;
    int32_t timeLimit = 0;  // seconds, 0 = none
    std::atomic<int32_t> comPort{0};

    // Timers and guards.
    uint32_t remainingLimitFrames = 0;
    int32_t autoStartCountdown = 0;
    uint32_t keyGuard[2] = {0, 0};  // tick of the key-down that started the guard; 0 = key up
    int32_t repeatNumber = 0;        // the next page load reloads the current number
    int32_t roundActive = 0;
    std::atomic<int32_t> noQuestion{1};
    int32_t boardDrawn = 0;
    int32_t fullScreenMode = 0;
    RECT viewRect = {0, 0, 0, 0};

    // Remote control and sound threads.
    std::atomic<int32_t> clockOffset{0};
    std::atomic<int32_t> readerStopRequest{0};
    std::atomic<int32_t> readerEnded{0};
    std::atomic<int32_t> mixerRunning{0};
    std::atomic<int32_t> mixerEnded{0};

    void ForgetStarSlots();
    int32_t BandTop() const { return clientHeight > kBandHeight ? clientHeight - kBandHeight : 0; }
};

}  // namespace game
