// The image benchmark's peer times, as tools/image_peers.py writes them (peers.tsv), one line each:
//   operation<TAB>photograph<TAB>peer<TAB>milliseconds
// A line that does not read so is kept aside for the report, and the others are read all the same.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// operation -> photograph -> peer -> milliseconds, the photographs in the order listed, and the lines
// that did not read as a time.
struct PeerTimes {
    std::map<std::string, std::map<std::string, std::map<std::string, double>>> ms;
    std::vector<std::string> photographs;
    std::vector<std::string> malformed;
};

// A time: the whole field a finite number, not negative.
inline bool ReadPeerMs(const std::string& field, double* ms) {
    char* end = nullptr;
    *ms = std::strtod(field.c_str(), &end);
    return !field.empty() && end == field.c_str() + field.size() && std::isfinite(*ms) && *ms >= 0;
}

inline void ReadPeers(std::istream& in, PeerTimes* out) {
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::istringstream fields(line);
        std::string operation, photograph, peer, field;
        double ms = 0;
        if (!std::getline(fields, operation, '\t') || !std::getline(fields, photograph, '\t') ||
            !std::getline(fields, peer, '\t') || !std::getline(fields, field) || !ReadPeerMs(field, &ms)) {
            out->malformed.push_back(line);
            continue;
        }
        out->ms[operation][photograph][peer] = ms;
        if (std::find(out->photographs.begin(), out->photographs.end(), photograph) == out->photographs.end())
            out->photographs.push_back(photograph);
    }
}
