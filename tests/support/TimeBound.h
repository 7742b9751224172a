// The tests' time bounds. Under full heap validation every heap call checks the whole heap and the programs
// run many times slower; tests/run.sh then sets WL_TIME_SCALE, and every bound within which a test waits for
// something or expects it done is multiplied by it. The normal pass (factor 1) checks the timing itself.
#pragma once

#include <windows.h>

#include <cstdlib>

// The factor from WL_TIME_SCALE: 1 to 100, 1 when unset or not a number.
inline DWORD TimeScale() {
    static const DWORD scale = [] {
        char text[16] = {};
        const DWORD length = GetEnvironmentVariableA("WL_TIME_SCALE", text, sizeof text);
        const long value = length && length < sizeof text ? std::strtol(text, nullptr, 10) : 1;
        return value >= 1 && value <= 100 ? static_cast<DWORD>(value) : 1u;
    }();
    return scale;
}

// A bound of ms milliseconds (or of ms ticks), scaled.
inline DWORD Bound(DWORD ms) { return ms * TimeScale(); }
