// The game's state: one record per concern, gathered in GameState for the view, its frame and the board painter.
// Only ThreadShared crosses threads (its fields are atomics); the rest belongs to the UI thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

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

// The board window's client area and the scale its last full redraw computed.
struct BoardGeometry {
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    int32_t scaleLength = 1;  // W = client width - 64, at least 1
    double pixelsPerUnit = 0.0;
    int32_t decimals = 0;
    double decimalFactor = 1.0;

    int32_t BandTop() const { return clientHeight > kBandHeight ? clientHeight - kBandHeight : 0; }
};

// The question on the board: its scale and its solution.
struct Question {
    double solution = 600.0;
    double minimum = 100.0;
    double maximum = 800.0;
    int32_t logScale = 0;
};

// The swing of the solution pointer, planned when the reveal starts.
struct RevealPlan {
    int32_t swingCount = 3;  // half waves, 3..8
    int32_t target = 0;      // scale pixel of the solution
    int32_t runUpMs = 0;
    int32_t amplitude = 0;   // pixels
};

// The round played on the question: its timers, the reveal and its outcome.
struct Round {
    int32_t roundActive = 0;
    int32_t repeatNumber = 0;  // the next page load reloads the current number
    uint32_t remainingLimitFrames = 0;
    int32_t autoStartCountdown = 0;
    int32_t revealState = kRevealNone;
    uint32_t revealStart = 0;
    RevealPlan reveal;
    int32_t winner = -1;
    int32_t markerPosition = kNotDrawn;
};

// The three pointers (red, blue, solution) where the last frame put them, and the players' keys. The solution
// pointer stands at kNotDrawn while no reveal runs.
struct Pointers {
    int32_t position[3] = {0, 0, kNotDrawn};
    uint32_t colour[3] = {0xFF0000, 0x0000FF, 0x00FF00};
    uint32_t keyGuard[2] = {0, 0};  // tick of the key-down that started the guard; 0 = key up
};

// The star columns: the cells of the chosen star size and each player's count.
struct StarColumns {
    int32_t columns = 1;
    int32_t modulus = 8;
    int32_t cellWidth = 136;
    int32_t cellHeight = 136;
    uint8_t count[2] = {0, 0};
};

// What a star slot of the back buffer shows.
enum StarSlot : uint8_t { kStarSlotEmpty = 0, kStarSlotStar = 1, kStarSlotNotDrawn = 0xFF };
constexpr int kStarSlotsPerPlayer = 32;

// What the board's back buffer shows, so that a frame redraws only what changed.
struct DrawnBoard {
    DrawnBoard() { ForgetStarSlots(); }

    int32_t board = 0;  // the band and the frame are drawn; 0 asks the next frame for a full redraw
    int32_t position[3] = {kNotDrawn, kNotDrawn, kNotDrawn};
    int32_t markerPosition = kNotDrawn;
    int32_t labelWidth[3] = {0, 0, 0};
    int32_t labelLeft[3] = {0, 0, 0};
    double labelValue[3] = {0.0, 0.0, 0.0};
    uint8_t starSlots[2 * kStarSlotsPerPlayer];  // a StarSlot per slot, red's then blue's

    void ForgetStarSlots();
};

// The star sizes, as the settings keep them.
enum StarSize : int32_t { kStarsLarge = 0, kStarsMedium = 1, kStarsSmall = 2, kStarsTwoRows = 3 };

// The operator's settings that only the UI thread reads (the others are shared with the threads).
struct Settings {
    int32_t starSize = kStarsLarge;
    int32_t autoCount = 1;
    int32_t sameSide = 0;
    int32_t scaleColour = 1;
    int32_t timeLimit = 0;  // seconds, 0 = none
};

// The main frame's full-screen states; the view is told them.
enum FullScreenState : int32_t { kFullScreenOff = 0, kFullScreenFromNormal = 1, kFullScreenFromMaximised = 2 };

// The view window in full screen, where the frame timer parks the cursor.
struct ViewWindow {
    int32_t fullScreenMode = kFullScreenOff;
    RECT viewRect = {0, 0, 0, 0};
};

// Everything the remote reader and the sound mixer share with the UI thread; nothing else crosses threads.
struct ThreadShared {
    // The players' pointers: the reader starts and stops them.
    std::atomic<int32_t> playerState[2] = {kPlayerIdle, kPlayerIdle};
    std::atomic<uint32_t> startTick[2] = {0, 0};
    std::atomic<uint32_t> stopTick[2] = {0, 0};

    // What a start from the reader checks, and the reader's own settings.
    std::atomic<int32_t> gameNumber{0};
    std::atomic<int32_t> noQuestion{1};
    std::atomic<int32_t> singleMode{0};
    std::atomic<int32_t> comPort{0};
    std::atomic<int32_t> clockOffset{0};

    // Ending the threads.
    std::atomic<int32_t> readerStopRequest{0};
    std::atomic<int32_t> readerEnded{0};
    std::atomic<int32_t> mixerRunning{0};
    std::atomic<int32_t> mixerEnded{0};

    // Where the reader posts the commands of the remote's control keys; cleared when that window goes.
    std::atomic<HWND> commandWindow{nullptr};
};

struct GameState {
    GameState() : m_sharedOwner(std::make_shared<ThreadShared>()), shared(*m_sharedOwner) {}
    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

    // A share of `shared` for a thread: the owner waits for its threads only up to a bound, so what they use
    // is freed by whichever side lets go last.
    std::shared_ptr<ThreadShared> ShareWithThread() const { return m_sharedOwner; }

private:
    std::shared_ptr<ThreadShared> m_sharedOwner;

public:

    BoardGeometry geometry;
    Question question;
    Round round;
    Pointers pointers;
    StarColumns stars;
    DrawnBoard drawn;
    Settings settings;
    ViewWindow window;
    ThreadShared& shared;
};

}  // namespace game
