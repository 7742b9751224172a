// From the remote's 'D' frame written on the pty to StopPlayer having run on the reader thread,
// and whether the stop tick recorded is the frame's corrected time exactly; then the reader's CPU
// time on the idle port. The platform peer is an overlapped ReadFile on the same port, completing
// and waiting.
//   python3 tests/game/serial/com_rig.py --pair 23:24 -- wine build/bench/RemoteStopLatency.exe
#include "bench/ComLatency.h"
#include "game/RemoteControl.h"
#include "game/RoundControl.h"

#include <atomic>
#include <cstdio>

namespace {

// Stops through the game's own round control and notes when it did.
struct StopClock : game::RemoteActions {
    game::GameState& state;
    std::atomic<double> stoppedAt{-1};
    explicit StopClock(game::GameState& s) : state(s) {}
    void StartPlayer(int player, uint32_t tick) override { game::StartPlayer(state.shared, player, tick); }
    void StopPlayer(int player, uint32_t tick) override {
        if (game::StopPlayer(state.shared, player, tick, nullptr)) stoppedAt = BenchNowMs();
    }
    void PostCommand(int) override {}
    bool SingleMode() override { return false; }
};

}  // namespace

int main() {
    ComPair pair;
    if (!FirstRigPair(&pair)) return 2;
    game::GameState state;
    state.shared.noQuestion = 0;
    state.shared.gameNumber = 1;
    StopClock actions(state);
    std::atomic<int32_t> comPort{pair.device - 1}, offset{0}, stop{0}, ended{0};
    game::RemoteControlContext context{&actions, &comPort, &offset, &stop, &ended, nullptr};
    if (!game::StartRemoteControl(&context)) return 2;
    ComPeer peer(pair.peer);
    if (!peer.IsOpen()) return 2;
    Sleep(300);  // the reader opens its end

    // Frames 150 ms apart on the remote's clock, so that none falls into the debounce window.
    const uint32_t remoteBase = 0x00100000;
    int exact = 0;
    auto frame = [&](int i) {
        game::ResetRound(state);  // a stopped pointer is started only from idle
        game::StartPlayer(state.shared, game::kRed, GetTickCount());
        actions.stoppedAt = -1;
        char text[16];
        std::snprintf(text, sizeof text, "0D%08X\r", remoteBase + 150u * static_cast<uint32_t>(i + 1));
        return std::string(text);
    };
    int index = 0;
    const std::vector<double> reader = MeasureFrames(peer, frame, [&]() -> double {
        const double start = BenchNowMs();
        while (actions.stoppedAt < 0 && BenchNowMs() - start < 2000) Sleep(0);
        const uint32_t expected = remoteBase + 150u * static_cast<uint32_t>(++index) + static_cast<uint32_t>(offset.load());
        if (state.shared.stopTick[game::kRed].load() == expected) ++exact;
        return actions.stoppedAt;
    });
    // The process does nothing else meanwhile: its CPU time is the reader's.
    constexpr DWORD kIdleMs = 5000;
    const double idleBefore = ProcessCpuSeconds();
    Sleep(kIdleMs);
    const double readerIdle = (ProcessCpuSeconds() - idleBefore) * 20000.0 / kIdleMs;
    game::StopRemoteControl(&context);
    const std::vector<double> platform = PlatformLatencies(pair.device, peer);
    const double platformIdle = PlatformIdleCpuPer20s(pair.device, kIdleMs);
    if (!ReportLatencies("'D' frame written -> StopPlayer has run", "reader", reader, platform)) return 1;
    std::printf("  stop tick equal to the frame's corrected time: %d of %d\n", exact, kBenchFrames);
    std::printf("idle port: reader %.3f s CPU per 20 s, platform %.3f s (goal <= 0.05 s)\n", readerIdle, platformIdle);
    BenchFigure("stop ticks exact", exact, kBenchFrames, "frames");
    BenchFigure("idle reader CPU per 20 s", readerIdle, platformIdle, "s");
    return exact == kBenchFrames ? 0 : 1;
}
