// Requests to the display watcher (display_rig.py) from a program it runs: one line each, answered by one line.
#pragma once

#include "tests/support/TimeBound.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// The rig's answer to a request (see display_rig.py), waiting for it within the bound of timeoutMs (see
// TimeBound.h); empty without a rig.
inline std::string DisplayRigRequest(const std::string& request, DWORD timeoutMs = 60000) {
    const char* dir = std::getenv("WL_DISPLAY_RIG");
    if (!dir) return "";
    const std::string base = std::string("Z:") + dir;
    FILE* control = std::fopen((base + "/control").c_str(), "a+");
    if (!control) return "";
    // Requests are numbered by their line; the rig answers request n with the file answer.<n>.
    int lines = 0;
    for (int c; (c = std::fgetc(control)) != EOF;)
        if (c == '\n') ++lines;
    std::fprintf(control, "%s\n", request.c_str());
    std::fclose(control);
    const std::string answer = base + "/answer." + std::to_string(lines + 1);
    FILE* f = nullptr;
    const DWORD bound = Bound(timeoutMs);
    for (DWORD start = GetTickCount(); !(f = std::fopen(answer.c_str(), "r"));) {
        if (GetTickCount() - start > bound) return "";
        Sleep(5);
    }
    char line[256] = {};
    if (!std::fgets(line, sizeof line, f)) line[0] = 0;
    std::fclose(f);
    return line;
}
