// The remote-control reader thread on real ports: frames from the far end of a socat pty pair,
// the port vanishing and coming back, and a change of the configured port.
#include "tests/game/serial/ComPeer.h"
#include "tests/game/serial/PauseCounter.h"
#include "game/RemoteControl.h"
#include "game/serial/Serial.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct Recorder : game::RemoteActions {
    std::mutex lock;
    std::vector<int> commands;
    void StartPlayer(int, uint32_t) override {}
    void StopPlayer(int, uint32_t) override {}
    void PostCommand(int id) override {
        std::lock_guard<std::mutex> guard(lock);
        commands.push_back(id);
    }
    bool SingleMode() override { return false; }
    size_t Count() {
        std::lock_guard<std::mutex> guard(lock);
        return commands.size();
    }
};

std::string Frame(int key, uint32_t remoteMs) {
    char text[16];
    std::snprintf(text, sizeof text, "%dD%08X\r", key, remoteMs);
    return text;
}

class RemotePortTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(pairs.size(), 2u) << "run through com_rig.py";
        context.actions = &actions;
        context.comPort = &comPort;
        context.clockOffset = &offset;
        context.stopRequest = &stop;
        context.ended = &ended;
        context.now = nullptr;
        comPort = pairs[0].device - 1;
        ASSERT_TRUE(game::StartRemoteControl(&context));
    }
    void TearDown() override {
        game::StopRemoteControl(&context);
        EXPECT_EQ(ended.load(), 1);
    }
    // Writes frames of key 2 with fresh time stamps until the reader has posted one more command (bounded
    // generously: a busy machine may hold the reader up for seconds).
    bool DeliveredThrough(ComPeer& peer) {
        const size_t before = actions.Count();
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 20000) {
            remoteMs += 1000;
            if (!peer.Write(Frame(2, remoteMs))) return false;
            for (int j = 0; j < 50; ++j) {
                if (actions.Count() > before) return true;
                Sleep(10);
            }
        }
        return false;
    }

    std::vector<ComPair> pairs = RigComPairs();
    Recorder actions;
    std::atomic<int32_t> comPort{0}, offset{0}, stop{0}, ended{0};
    game::RemoteControlContext context{};
    uint32_t remoteMs = 1000;
};

TEST_F(RemotePortTest, ReaderSurvivesThePortVanishingAgainAndAgain) {
    auto peer = std::make_unique<ComPeer>(pairs[0].peer);
    ASSERT_TRUE(DeliveredThrough(*peer));
    // Every reopen takes a slot of the serial driver: far more than eight must work.
    for (int round = 0; round < 12; ++round) {
        peer.reset();
        ASSERT_TRUE(RigComControl("down", pairs[0].device));
        Sleep(150);
        ASSERT_TRUE(RigComControl("up", pairs[0].device));
        peer = std::make_unique<ComPeer>(pairs[0].peer);
        ASSERT_TRUE(peer->IsOpen());
        ASSERT_TRUE(DeliveredThrough(*peer)) << "round " << round;
    }
    EXPECT_EQ(actions.commands.front(), 32809);
}

TEST_F(RemotePortTest, ReaderFollowsAChangeOfPort) {
    ComPeer first(pairs[0].peer), second(pairs[1].peer);
    ASSERT_TRUE(DeliveredThrough(first));
    comPort = pairs[1].device - 1;
    ASSERT_TRUE(DeliveredThrough(second));
    // The old port is closed again: a program of its own can open it.
    const int slot = SerialOpen(pairs[0].device - 1, 9600, 0, 0, 0, 0);
    EXPECT_GE(slot, 0);
    SerialClose(slot);
    comPort = pairs[0].device - 1;
    ASSERT_TRUE(DeliveredThrough(first));
}

TEST_F(RemotePortTest, MissingPortIsRetriedUntilItAppears) {
    ASSERT_TRUE(RigComControl("down", pairs[0].device));
    Sleep(500);  // the reader retries every 200 ms meanwhile
    EXPECT_EQ(actions.Count(), 0u);
    ASSERT_TRUE(RigComControl("up", pairs[0].device));
    ComPeer peer(pairs[0].peer);
    EXPECT_TRUE(DeliveredThrough(peer));
}

TEST_F(RemotePortTest, IdleReaderSleepsInTheSystem) {
    // Two seconds on an idle port wake the reader about twenty times (one wait of 100 ms each), not once a
    // millisecond; a frame still comes through at once after them.
    ComPeer peer(pairs[0].peer);
    ASSERT_TRUE(DeliveredThrough(peer));
    SerialSetPauseCall(CountedSerialPause);
    gSerialPauses = 0;
    Sleep(2000);
    const int pauses = gSerialPauses.load();
    SerialSetPauseCall(nullptr);
    EXPECT_LT(pauses, 50);
    EXPECT_GT(pauses, 0) << "the reader waits through the driver";
    EXPECT_TRUE(DeliveredThrough(peer));
}

}  // namespace
