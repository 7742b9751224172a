// CDibImage against what a user would pick instead: Pillow and OpenCV, one thread each, on real
// photographs. tools/image_peers.py (run natively by tools/bench.sh just before this) writes the
// photographs as 24-bit BMP files into peers\ beside this program and times its peers on them into
// peers\peers.tsv; this program times the same operations on the same pictures (best of 7 after a warm-up
// run) and prints each figure against its peer: the one named, or the faster of the two peers (without a
// peer when peers.tsv lacks its time).
// Each operation is timed twice: into one result image kept across the runs (its pixel block serves again),
// and into a new result image each run, made and destroyed within the time as the peers' results are and
// as a caller's new CDibImage is ("new result" in the figure's name).
#include "bench/BenchClock.h"
#include "bench/BenchFigure.h"
#include "bench/PeerTimes.h"
#include "image/DibImage.h"
#include "image/loops/DibLoops.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 7;

std::string PeerFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + "peers\\";
}

bool ReadPeers(const std::string& file, PeerTimes* out) {
    std::ifstream in(file);
    ReadPeers(in, out);
    for (const std::string& line : out->malformed)
        fprintf(stderr, "malformed line in %s, left out: %s\n", file.c_str(), line.c_str());
    return !out->photographs.empty();
}

bool LoadBmp(const std::string& file, CDibImage* image) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t fileHeader = sizeof(BITMAPFILEHEADER);
    return bytes.size() > fileHeader && bytes[0] == 'B' && bytes[1] == 'M' &&
           image->LoadDibBlock(bytes.data() + fileHeader, bytes.size() - fileHeader);
}

struct Operation {
    const char* key;   // as in peers.tsv
    const char* label; // in the figure's name
    std::vector<const char*> peers; // each a figure of its own; empty: one figure against the fastest peer
    std::function<bool(CDibImage& out, const CDibImage& photo)> run;
};

std::vector<Operation> Operations() {
    return {
        {"down3", "scale down 3 smooth", {"Pillow reduce", "OpenCV area"},
         [](CDibImage& out, const CDibImage& p) {
             return out.Scale(p, (int)p.width / 3, (int)p.height / 3, kDibScaleSmooth);
         }},
        {"up2", "scale up 2 smooth", {},
         [](CDibImage& out, const CDibImage& p) {
             return out.Scale(p, 2 * (int)p.width, 2 * (int)p.height, kDibScaleSmooth);
         }},
        {"up2nearest", "scale up 2 nearest", {},
         [](CDibImage& out, const CDibImage& p) { return out.Scale(p, 2 * (int)p.width, 2 * (int)p.height, 0); }},
        {"rotate", "rotate 30 degrees bilinear 24-bit", {},
         [](CDibImage& out, const CDibImage& p) {
             int cx = (int)p.width / 2, cy = (int)p.height / 2;
             return out.Rotate(p, 0x20000 / 12, 0, &cx, &cy, 0xffffff);
         }},
        {"grey", "grey 8-bit from 24-bit", {},
         [](CDibImage& out, const CDibImage& p) { return out.GreyIndex8From(p); }},
        {"to32", "convert 24 to 32 bits", {},
         [](CDibImage& out, const CDibImage& p) { return out.ConvertDepth(p, 32); }},
        {"quantize", "quantize to 256 colours", {}, [](CDibImage& out, const CDibImage& p) { return out.Quantize(p); }},
    };
}

} // namespace

int main() {
    const std::string folder = PeerFolder();
    PeerTimes peers;
    if (!ReadPeers(folder + "peers.tsv", &peers)) {
        printf("no peer times in %speers.tsv: tools/bench.sh runs tools/image_peers.py first\n", folder.c_str());
        return 1;
    }
    printf("CDibImage against Pillow and OpenCV (one thread), best of %d runs; row loops: %s\n", kRuns,
           &DibLoops() == DibLoopsAvx2() ? "AVX2" : "portable");
    bool trustworthy = true;
    for (const std::string& photograph : peers.photographs) {
        CDibImage photo;
        if (!LoadBmp(folder + photograph + ".bmp", &photo)) {
            printf("cannot load %s.bmp\n", photograph.c_str());
            return 1;
        }
        printf("%s: %u x %u, %u bits\n", photograph.c_str(), photo.width, photo.height, photo.depth);
        for (const Operation& op : Operations()) {
            CDibImage out;
            bool done = true;
            const double ours = BenchBestOf(kRuns, [&] { done = op.run(out, photo) && done; });
            out.Reset();
            const double fresh = BenchBestOf(kRuns, [&] {
                CDibImage result;
                done = op.run(result, photo) && done;
            });
            trustworthy = trustworthy && done;
            const std::map<std::string, double>& times = peers.ms[op.key][photograph];
            for (const auto& [peer, ms] : times)
                printf("  %-34s ours %9.3f ms, new result %9.3f ms   %-16s %9.3f ms\n", op.label, ours, fresh,
                       peer.c_str(), ms);
            std::vector<std::pair<std::string, double>> figures;
            // A peer whose time is missing (not measured, or its line malformed): the figure without one.
            for (const char* peer : op.peers) figures.push_back({peer, times.count(peer) ? times.at(peer) : kNoPeer});
            if (op.peers.empty()) {
                const auto fastest = std::min_element(times.begin(), times.end(),
                                                      [](const auto& a, const auto& b) { return a.second < b.second; });
                figures.push_back({"fastest peer", fastest == times.end() ? kNoPeer : fastest->second});
            }
            for (const auto& [peer, ms] : figures) {
                BenchFigure((std::string(op.label) + ", " + photograph + " / " + peer).c_str(), ours, ms, "ms");
                BenchFigure((std::string(op.label) + ", new result, " + photograph + " / " + peer).c_str(), fresh, ms,
                            "ms");
            }
        }
    }
    return trustworthy ? 0 : 1;
}
