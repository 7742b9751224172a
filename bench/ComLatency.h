// Shared pieces of the serial benchmarks: a millisecond clock, frames written by the far end of a
// pty pair, and the platform's own receive path as the peer figure.
#pragma once
#include "bench/BenchClock.h"
#include "bench/BenchFigure.h"
#include "tests/game/serial/ComPeer.h"

#include <functional>
#include <vector>

constexpr int kBenchFrames = 200;

// The rig's first COM pair into *pair; false (and how to run the benchmark, on stderr) without a rig.
bool FirstRigPair(ComPair* pair);

// Writes kBenchFrames frames at irregular intervals; frame(i) gives frame i, arrived() blocks until
// the receiving side has seen it and returns the time it did (negative: lost).
std::vector<double> MeasureFrames(ComPeer& peer, const std::function<std::string(int)>& frame,
                                  const std::function<double()>& arrived);

// An overlapped ReadFile completing on COM<comNumber> as the frames arrive.
std::vector<double> PlatformLatencies(int comNumber, ComPeer& peer);

// CPU time (kernel and user) the process has used, in seconds.
double ProcessCpuSeconds();

// The process's CPU seconds per 20 s while one overlapped ReadFile waits on an idle COM<comNumber> for
// idleMs: the platform's own idle cost of waiting for a byte.
double PlatformIdleCpuPer20s(int comNumber, DWORD idleMs);

// Prints the measured path (`name`, e.g. "driver") against the platform peer under `heading`: median,
// worst and their ratios, also as figures "<name> median" and "<name> worst". False (and a note on stderr) when either side lost frames.
bool ReportLatencies(const char* heading, const char* name, const std::vector<double>& ours,
                     const std::vector<double>& platform);
