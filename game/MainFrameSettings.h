// The main frame's values under the application's Settings sub key, and the placement rules that use them.
#pragma once

#include <windows.h>

#include "ui/Monitor.h"

// Placement saved at the last close.
struct FramePlacement {
    bool haveZoomed = false;  // IsZoomed could be read (not a first start)
    DWORD isZoomed = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    int monitor = 0;
};

// Reads a REG_DWORD of the Settings key; fallback when it is missing.
DWORD ReadFrameSetting(const char* name, DWORD fallback);
void WriteFrameSetting(const char* name, DWORD value);

FramePlacement ReadFramePlacement();
// IsZoomed always; position and size only when not maximised; the monitor only with several monitors.
void WriteFramePlacement(const RECT& window, bool zoomed, int monitor, int monitorCount);

// Applies a saved placement to the creation rectangle: a saved rectangle that is still visible by 50 pixels on
// its monitor becomes the creation rectangle, which is then centred on the saved monitor when it lies on
// another. Returns whether the frame starts maximised.
bool RestoreFramePlacement(const FramePlacement& saved, MonitorPlacement& creation);
