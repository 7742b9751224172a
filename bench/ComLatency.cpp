#include "bench/ComLatency.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

struct LatencyFigures {
    double median, worst;
};

LatencyFigures SummariseLatencies(std::vector<double> ms) {
    if (ms.empty()) return {0, 0};
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

}  // namespace

bool FirstRigPair(ComPair* pair) {
    const std::vector<ComPair> pairs = RigComPairs();
    if (pairs.empty()) {
        std::fprintf(stderr, "run through tests/game/serial/com_rig.py --pair A:B\n");
        return false;
    }
    *pair = pairs[0];
    return true;
}

std::vector<double> MeasureFrames(ComPeer& peer, const std::function<std::string(int)>& frame,
                                  const std::function<double()>& arrived) {
    std::vector<double> latencies;
    for (int i = 0; i < kBenchFrames; ++i) {
        Sleep(3 + (i * 7) % 13);
        const std::string bytes = frame(i);
        const double sent = BenchNowMs();
        if (!peer.Write(bytes)) break;
        const double seen = arrived();
        if (seen < 0) break;
        latencies.push_back(seen - sent);
    }
    return latencies;
}

namespace {

// COM<comNumber> opened for overlapped I/O at 9600 baud with the given read interval time-out.
HANDLE OpenPlatformPort(int comNumber, DWORD readInterval) {
    char name[24];
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", comNumber);
    HANDLE port = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) return port;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(port, &dcb);
    dcb.BaudRate = 9600;
    SetCommState(port, &dcb);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = readInterval;
    SetCommTimeouts(port, &timeouts);
    return port;
}

}  // namespace

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    auto seconds = [](FILETIME t) { return double(uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

double PlatformIdleCpuPer20s(int comNumber, DWORD idleMs) {
    // No read time-outs: the read waits for its byte however long it takes.
    HANDLE port = OpenPlatformPort(comNumber, 0);
    if (port == INVALID_HANDLE_VALUE) return -1;
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    char byte;
    DWORD got = 0;
    const double before = ProcessCpuSeconds();
    if (ReadFile(port, &byte, 1, &got, &ov) || GetLastError() == ERROR_IO_PENDING) WaitForSingleObject(ov.hEvent, idleMs);
    const double used = ProcessCpuSeconds() - before;
    CancelIoEx(port, &ov);
    GetOverlappedResult(port, &ov, &got, TRUE);
    CloseHandle(ov.hEvent);
    CloseHandle(port);
    return used * 20000.0 / idleMs;
}

std::vector<double> PlatformLatencies(int comNumber, ComPeer& peer) {
    // Reads pend until bytes arrive and then return what is there.
    HANDLE port = OpenPlatformPort(comNumber, MAXDWORD);
    if (port == INVALID_HANDLE_VALUE) return {};
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto frame = [](int) { return std::string("0D000003E8\r"); };
    std::vector<double> result = MeasureFrames(peer, frame, [&]() -> double {
        char bytes[16];
        double seen = -1;
        const double start = BenchNowMs();
        for (DWORD total = 0; total < 11 && BenchNowMs() - start < 2000;) {
            DWORD got = 0;
            if (!ReadFile(port, bytes, 11 - total, &got, &ov) && GetLastError() != ERROR_IO_PENDING) return -1;
            if (WaitForSingleObject(ov.hEvent, 2000) != WAIT_OBJECT_0) {
                CancelIoEx(port, &ov);
                GetOverlappedResult(port, &ov, &got, TRUE);
                return -1;
            }
            if (!GetOverlappedResult(port, &ov, &got, FALSE)) continue;
            if (got && seen < 0) seen = BenchNowMs();
            total += got;
        }
        return seen;
    });
    CloseHandle(ov.hEvent);
    CloseHandle(port);
    return result;
}

bool ReportLatencies(const char* heading, const char* name, const std::vector<double>& ours,
                     const std::vector<double>& platform) {
    if (ours.size() != kBenchFrames || platform.size() != kBenchFrames) {
        std::fprintf(stderr, "frames lost: %s %zu, platform %zu of %d\n", name, ours.size(), platform.size(),
                     kBenchFrames);
        return false;
    }
    const LatencyFigures o = SummariseLatencies(ours);
    const LatencyFigures p = SummariseLatencies(platform);
    std::printf("%s (%d frames, pty):\n", heading, kBenchFrames);
    std::printf("  %-9s median %6.2f ms, worst %6.2f ms\n", (std::string(name) + ":").c_str(), o.median, o.worst);
    std::printf("  platform: median %6.2f ms, worst %6.2f ms (overlapped ReadFile completing)\n", p.median, p.worst);
    std::printf("  ratio %s/platform: median %.2f, worst %.2f\n", name, o.median / p.median, o.worst / p.worst);
    BenchFigure((std::string(name) + " median").c_str(), o.median, p.median, "ms");
    BenchFigure((std::string(name) + " worst").c_str(), o.worst, p.worst, "ms");
    return true;
}
