// The program's command-line arguments.
#include <gtest/gtest.h>

#include "game/WertlaufAppArguments.h"

TEST(WertlaufAppArguments, SwitchesAndFolders) {
    for (const char* zoom : {"-z", "-Z", "/z", "/Z", "-zoom"})
        EXPECT_EQ(ClassifyStartArgument(zoom), StartArgument::FullScreen) << zoom;
    for (const char* other : {"-x", "/?", "-", "/"})
        EXPECT_EQ(ClassifyStartArgument(other), StartArgument::IgnoredSwitch) << other;
    for (const char* folder : {"C:\\Fragen", "z", "Fragen-z", ""})
        EXPECT_EQ(ClassifyStartArgument(folder), StartArgument::QuestionFolder) << folder;
}
