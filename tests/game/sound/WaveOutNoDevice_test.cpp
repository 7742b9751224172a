// Wave-out player on a system without any sound device (alsa_rig.py --no-device).
#include "game/sound/WaveOut.h"

#include <gtest/gtest.h>

TEST(WaveOutNoDevice, OpenFailsCleanly) {
    EXPECT_EQ(WaveOutOpen(44100, 16, 1, 1024), kWaveOpenBadFormat);
    EXPECT_FALSE(WaveOutIsOpen());
    EXPECT_EQ(WaveOutGetBuffer(), nullptr);
    EXPECT_EQ(WaveOutWrite(1024), kWaveWriteNotRunning);
    EXPECT_EQ(WaveOutClose(), 1);
    // Trying again changes nothing.
    EXPECT_EQ(WaveOutOpen(44100, 16, 1, 1024), kWaveOpenBadFormat);
    EXPECT_FALSE(WaveOutIsOpen());
}
