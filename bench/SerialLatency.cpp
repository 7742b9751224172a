// Remote-path latency: from the peer's write of an 11-byte frame to SerialWaitReceive returning
// on the driver's side, against the system's own completion of an overlapped read on the same port.
// Run it on a socat pty pair (ptys do not emulate the baud rate):
//   python3 tests/game/serial/com_rig.py --pair 21:22 -- wine build/bench/SerialLatency.exe
#include "game/serial/Serial.h"
#include "tests/game/serial/ComPeer.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int kFrames = 200;
const char kFrame[] = "0D000003E8\r";

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Figures {
    double median, worst;
};

Figures Summarise(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

// Writes frames on the peer at irregular intervals; arrived() blocks until the receiving side
// has seen the frame and returns the time it did.
template <typename Arrived>
std::vector<double> Measure(ComPeer& peer, Arrived arrived) {
    std::vector<double> latencies;
    for (int i = 0; i < kFrames; ++i) {
        Sleep(3 + (i * 7) % 13);
        const double sent = Now();
        if (!peer.Write(kFrame)) break;
        const double seen = arrived();
        if (seen < 0) break;
        latencies.push_back(seen - sent);
    }
    return latencies;
}

std::vector<double> DriverLatencies(int port, ComPeer& peer) {
    const int slot = SerialOpen(port, 9600, 0, 0, 0, 0);
    if (slot < 0) return {};
    std::vector<double> result = Measure(peer, [&]() -> double {
        const double start = Now();
        while (Now() - start < 2000) {
            if (SerialWaitReceive(slot, 100) == 1) {
                const double seen = Now();
                char frame[16];
                int got = 0;
                while (got < 11 && Now() - start < 2000) {
                    const int r = SerialRead(slot, frame, 11 - got);
                    if (r < 0) return -1;
                    got += r;
                }
                return seen;
            }
        }
        return -1;
    });
    SerialClose(slot);
    return result;
}

// The platform's own path: an overlapped ReadFile that completes when bytes arrive.
std::vector<double> PlatformLatencies(int comNumber, ComPeer& peer) {
    char name[24];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", comNumber);
    HANDLE port = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) return {};
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port, &dcb);
    dcb.BaudRate = 9600;
    SetCommState(port, &dcb);
    // Reads pend until bytes arrive and then return what is there.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    SetCommTimeouts(port, &timeouts);
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<double> result = Measure(peer, [&]() -> double {
        char frame[16];
        double seen = -1;
        const double start = Now();
        for (DWORD total = 0; total < 11 && Now() - start < 2000;) {
            DWORD got = 0;
            if (!ReadFile(port, frame, 11 - total, &got, &ov) && GetLastError() != ERROR_IO_PENDING) return -1;
            if (WaitForSingleObject(ov.hEvent, 2000) != WAIT_OBJECT_0) {
                CancelIoEx(port, &ov);
                GetOverlappedResult(port, &ov, &got, TRUE);
                return -1;
            }
            if (!GetOverlappedResult(port, &ov, &got, FALSE)) continue;
            if (got && seen < 0) seen = Now();
            total += got;
        }
        return seen;
    });
    CloseHandle(ov.hEvent);
    CloseHandle(port);
    return result;
}

}  // namespace

int main() {
    const std::vector<ComPair> pairs = RigComPairs();
    if (pairs.empty()) {
        std::fprintf(stderr, "run through tests/game/serial/com_rig.py --pair A:B\n");
        return 2;
    }
    ComPeer peer(pairs[0].peer);
    if (!peer.IsOpen()) return 2;
    const std::vector<double> driver = DriverLatencies(pairs[0].device - 1, peer);
    const std::vector<double> platform = PlatformLatencies(pairs[0].device, peer);
    if (driver.size() != kFrames || platform.size() != kFrames) {
        std::fprintf(stderr, "frames lost: driver %zu, platform %zu of %d\n", driver.size(), platform.size(), kFrames);
        return 1;
    }
    const Figures d = Summarise(driver);
    const Figures p = Summarise(platform);
    std::printf("frame written -> SerialWaitReceive returns (%d frames of 11 bytes, pty):\n", kFrames);
    std::printf("  driver:   median %6.2f ms, worst %6.2f ms\n", d.median, d.worst);
    std::printf("  platform: median %6.2f ms, worst %6.2f ms (overlapped ReadFile completing)\n", p.median, p.worst);
    std::printf("  ratio driver/platform: median %.2f, worst %.2f\n", d.median / p.median, d.worst / p.worst);
    std::printf("  on a real line at 9600 baud add 11 x 1.04 ms = 11.5 ms of line time\n");
    return 0;
}
