#include "game/ThreadSeams.h"

#include "game/sound/WaveOut.h"

namespace game {

ThreadSeams& GameThreadSeams() {
    static ThreadSeams seams;
    static const bool playerSet = [] {
        seams.player = {WaveOutOpen, WaveOutPause, WaveOutGetBuffer, WaveOutWrite, WaveOutStop, WaveOutClose};
        return true;
    }();
    (void)playerSet;
    return seams;
}

}  // namespace game
