// Remote-path latency: from the peer's write of an 11-byte frame to SerialWaitReceive returning
// on the driver's side, against the system's own completion of an overlapped read on the same port.
// Run it on a socat pty pair (ptys do not emulate the baud rate):
//   python3 tests/game/serial/com_rig.py --pair 21:22 -- wine build/bench/SerialLatency.exe
#include "bench/ComLatency.h"
#include "game/serial/Serial.h"

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

// The driver's side waits on a thread of its own, as the remote-control reader does.
std::vector<double> DriverLatencies(int port, ComPeer& peer) {
    const int slot = SerialOpen(port, 9600, 0, 0, 0, 0);
    if (slot < 0) return {};
    std::atomic<bool> stop{false};
    std::atomic<double> seen{-1};
    std::thread receiver([&] {
        char bytes[16];
        while (!stop) {
            if (SerialWaitReceive(slot, 100) != 1) continue;
            const double at = BenchNowMs();
            for (int got = 0; got < 11 && !stop;) {
                const int r = SerialRead(slot, bytes, 11 - got);
                if (r < 0) return;
                got += r;
            }
            seen = at;
        }
    });
    auto frame = [&](int) {
        seen = -1;
        return std::string("0D000003E8\r");
    };
    std::vector<double> result = MeasureFrames(peer, frame, [&]() -> double {
        const double start = BenchNowMs();
        while (seen < 0 && BenchNowMs() - start < 2000) Sleep(0);
        return seen;
    });
    stop = true;
    receiver.join();
    SerialClose(slot);
    return result;
}

}  // namespace

int main() {
    ComPair pair;
    if (!FirstRigPair(&pair)) return 2;
    ComPeer peer(pair.peer);
    if (!peer.IsOpen()) return 2;
    const std::vector<double> driver = DriverLatencies(pair.device - 1, peer);
    const std::vector<double> platform = PlatformLatencies(pair.device, peer);
    if (!ReportLatencies("frame written -> SerialWaitReceive returns", "driver", driver, platform)) return 1;
    std::printf("  on a real line at 9600 baud add 11 x 1.04 ms = 11.5 ms of line time per 11-byte frame\n");
    return 0;
}
