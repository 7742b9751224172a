// The image benchmark's peer times: malformed lines are set aside and the well-formed ones still read.
#include "bench/PeerTimes.h"

#include <gtest/gtest.h>

TEST(PeerTimes, MalformedLinesAreSetAsideAndTheOthersRead) {
    const std::vector<std::string> malformed = {
        "down3\tcoffee\tOpenCV area",          // no time
        "up2\tcoffee\tPillow box\tfast",       // not a number
        "up2\tcoffee\tOpenCV area\t1.5ms",     // more than a number
        "grey\trocket\tPillow L\t-2",          // negative
        "grey\trocket\tOpenCV gray\tnan",      // not finite
    };
    std::string text = "down3\tcoffee\tPillow reduce\t2.25\n\n";
    for (const std::string& line : malformed) text += line + "\n";
    text += "up2\tastronaut\tPillow box\t7\n";
    std::istringstream in(text);
    PeerTimes peers;
    ReadPeers(in, &peers);
    EXPECT_EQ(peers.malformed, malformed);
    EXPECT_EQ(peers.photographs, (std::vector<std::string>{"coffee", "astronaut"}));
    EXPECT_EQ(peers.ms["down3"]["coffee"], (std::map<std::string, double>{{"Pillow reduce", 2.25}}));
    EXPECT_EQ(peers.ms["up2"]["astronaut"]["Pillow box"], 7.0);
    EXPECT_EQ(peers.ms["up2"].count("coffee") + peers.ms.count("grey"), 0u);
}
