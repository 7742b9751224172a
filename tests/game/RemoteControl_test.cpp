// Remote-control frames fed as byte chunks, with a fake clock and a recorder for the actions.
#include "game/RemoteControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using game::RemoteFrameReader;

uint32_t g_now = 0;
uint32_t FakeNow() { return g_now; }

struct Recorder : game::RemoteActions {
    std::vector<std::string> log;
    bool single = false;
    void StartPlayer(int player, uint32_t tick) override { log.push_back("start " + std::to_string(player) + " " + std::to_string(tick)); }
    void StopPlayer(int player, uint32_t tick) override { log.push_back("stop " + std::to_string(player) + " " + std::to_string(tick)); }
    void PostCommand(int id) override { log.push_back("cmd " + std::to_string(id)); }
    bool SingleMode() override { return single; }
    std::vector<std::string> Take() { return std::exchange(log, {}); }
};

using Log = std::vector<std::string>;

class RemoteReaderTest : public testing::Test {
protected:
    void SetUp() override { g_now = 50000; }
    void Feed(const std::string& bytes) { reader.Feed(bytes.data(), bytes.size()); }
    // Feeds the bytes in pieces of the given size.
    void FeedInPieces(const std::string& bytes, size_t piece) {
        for (size_t i = 0; i < bytes.size(); i += piece) Feed(bytes.substr(i, piece));
    }
    Recorder actions;
    RemoteFrameReader reader{actions, FakeNow};
};

TEST_F(RemoteReaderTest, FirstFrameSetsTheOffsetAndKeysWithin100MsAreIgnored) {
    Feed("0D000003E8\r");  // remote 1000 ms, local 50000
    EXPECT_EQ(reader.ClockOffset(), 49000);
    EXPECT_EQ(actions.Take(), (Log{"stop 0 50000", "start 0 50000"}));
    g_now = 70000;  // the serial delay does not matter: the remote's stamp times the press
    Feed("0D00000420\r");  // +56 ms
    Feed("0D0000044C\r");  // +100 ms: still within
    EXPECT_EQ(actions.Take(), Log{});
    Feed("0D0000044D\r");  // +101 ms
    EXPECT_EQ(actions.Take(), (Log{"stop 0 50101", "start 0 50101"}));
    // Each key has its own window.
    Feed("1D0000044E\r");
    EXPECT_EQ(actions.Take(), (Log{"stop 1 50102", "start 1 50102"}));
}

TEST_F(RemoteReaderTest, KeyTablePostsCommandsAndSingleModeOnlyStops) {
    Feed("2D00001000\r3D00001000\r4D00001000\r5D00001000\r6D00001000\r7D00001000\r");
    EXPECT_EQ(actions.Take(), (Log{"cmd 32809", "cmd 32813", "cmd 33036", "cmd 33034", "cmd 33037", "cmd 33035"}));
    actions.single = true;
    Feed("1D00002000\r");
    EXPECT_EQ(actions.Take(), (Log{"stop 1 54096", "stop 1 54096"}));
    EXPECT_EQ(game::RemoteKeyCommand(0), 0);
    EXPECT_EQ(game::RemoteKeyCommand(8), 0);
}

TEST_F(RemoteReaderTest, FramesSplitAcrossReadsAndLineEnds) {
    FeedInPieces("2D000003E8\r\n3D000003E9\n", 1);
    EXPECT_EQ(actions.Take(), (Log{"cmd 32809", "cmd 32813"}));
    FeedInPieces("4D00000400\r\n5D00000400\r\n6D00000400\n\n7D00000400\r", 4);
    EXPECT_EQ(actions.Take(), (Log{"cmd 33036", "cmd 33034", "cmd 33037", "cmd 33035"}));
    // A frame cut right behind its key and its event letter.
    Feed("2");
    Feed("D");
    Feed("00000800");
    EXPECT_EQ(actions.Take(), Log{}) << "waits for the terminator";
    Feed("\r");
    EXPECT_EQ(actions.Take(), Log{"cmd 32809"});
}

TEST_F(RemoteReaderTest, GarbageIsSkippedAndBrokenFramesDropped) {
    Feed("xx??\r\n0Z1D0000\r 5D000003E8\rzz7D000007D0\r");
    EXPECT_EQ(actions.Take(), (Log{"cmd 33034", "cmd 33035"}));
    // Seven and nine digits before the line end, and eight with no line end behind them.
    Feed("2D0000BB8\r2D000000BB8\r2D00000BB8X2D00000BB9\r");
    EXPECT_EQ(actions.Take(), Log{"cmd 32809"});
    // A long run of digits and junk never blocks the buffer.
    for (int i = 0; i < 40; ++i) {
        Feed("0D0123456789ABCDEF0123456789ABCDEF");
        EXPECT_GT(reader.Room(), 0u);
    }
    Feed("\r\n3D00002000\r");
    EXPECT_EQ(actions.Take(), Log{"cmd 32813"});
}

TEST_F(RemoteReaderTest, KeysNineAndAAreFramedAndIgnored) {
    Feed("9D000003E8\rAD000003E9\raD000003EA\r2D000003EB\r9U000003EC\r");
    EXPECT_EQ(actions.Take(), Log{"cmd 32809"});
}

TEST_F(RemoteReaderTest, OffsetFollowsSFramesOfKeysZeroToThreeOnly) {
    Feed("4U00001000\r");  // the first frame sets it, whatever its key
    EXPECT_EQ(reader.ClockOffset(), 50000 - 0x1000);
    g_now = 60000;
    Feed("4S00001000\r");
    EXPECT_EQ(reader.ClockOffset(), 50000 - 0x1000) << "key 4 keeps the offset";
    Feed("0U00001000\r1D00001000\r");
    EXPECT_EQ(reader.ClockOffset(), 50000 - 0x1000) << "U and D frames keep it";
    EXPECT_EQ(actions.Take(), (Log{"stop 1 50000", "start 1 50000"}));
    Feed("3S00001000\r");
    EXPECT_EQ(reader.ClockOffset(), 60000 - 0x1000);
    g_now = 70000;
    Feed("0S00002000\r");
    EXPECT_EQ(reader.ClockOffset(), 70000 - 0x2000);
    EXPECT_EQ(actions.Take(), Log{});
}

TEST_F(RemoteReaderTest, LocalTimesAcrossTheTickWrap) {
    g_now = 0xFFFFFFC0u;
    Feed("0D00000000\r");
    EXPECT_EQ(actions.Take(), (Log{"stop 0 4294967232", "start 0 4294967232"}));
    Feed("0D00000050\r");  // local 0x10: 80 ms later across the wrap, inside the window
    EXPECT_EQ(actions.Take(), Log{});
    Feed("0D00000080\r");  // local 0x40: 128 ms later
    EXPECT_EQ(actions.Take(), (Log{"stop 0 64", "start 0 64"}));
    // A remote clock that runs backwards passes the debounce.
    Feed("0D00000070\r");
    EXPECT_EQ(actions.Take(), (Log{"stop 0 48", "start 0 48"}));
}

TEST_F(RemoteReaderTest, SharedOffsetOutlivesTheReader) {
    std::atomic<int32_t> offset{0};
    {
        RemoteFrameReader first(actions, FakeNow, &offset);
        first.Feed("2U00000100\r", 11);
    }
    EXPECT_EQ(offset.load(), 50000 - 0x100);
    g_now = 90000;
    RemoteFrameReader second(actions, FakeNow, &offset);
    second.Feed("2D00000200\r", 11);
    EXPECT_EQ(second.ClockOffset(), 50000 - 0x100) << "a D frame keeps a known offset";
}

TEST(ComPortPrompt, TextAndAnswers) {
    char text[16];
    game::ComPortText(0, text);
    EXPECT_STREQ(text, "COM1");
    game::ComPortText(9, text);
    EXPECT_STREQ(text, "COM10");
    EXPECT_EQ(game::ComPortFromText("com3"), 2);
    EXPECT_EQ(game::ComPortFromText("COM10"), 9);
    EXPECT_EQ(game::ComPortFromText("Com 4"), 3);
    EXPECT_EQ(game::ComPortFromText("7"), 6);
    EXPECT_EQ(game::ComPortFromText("0x10"), 15);
    EXPECT_EQ(game::ComPortFromText("0"), 0);
    EXPECT_EQ(game::ComPortFromText("abc"), 0);
    EXPECT_EQ(game::ComPortFromText("COM"), 0);
    EXPECT_EQ(game::ComPortFromText("COM-2"), 0);
    EXPECT_EQ(game::ComPortFromText(""), 0);
    EXPECT_EQ(game::ComPortFromText(nullptr), 0);
    // Only the first 32 characters count.
    EXPECT_EQ(game::ComPortFromText("COM                             5"), 0);
    EXPECT_EQ(game::ComPortFromText("COM                            5"), 4);
}

}  // namespace
