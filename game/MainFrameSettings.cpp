// The main frame's Settings values and placement rules.
#include "game/MainFrameSettings.h"

#include "system/Registry.h"

namespace {

constexpr int kVisibleMargin = 50;

bool OpenSettings(CRegistry& key) {
    return key.Open(HKEY_CURRENT_USER, nullptr, REGMODE_CREATE) && key.OpenSubKey("Settings");
}

bool Query(CRegistry& key, const char* name, DWORD& value) {
    return key.QueryValueA(&value, sizeof(value), name, REG_DWORD) != FALSE;
}

}  // namespace

DWORD ReadFrameSetting(const char* name, DWORD fallback) {
    CRegistry key;
    DWORD value = fallback;
    if (OpenSettings(key)) Query(key, name, value);
    return value;
}

void WriteFrameSetting(const char* name, DWORD value) {
    CRegistry key;
    if (OpenSettings(key)) key.SetValueA(&value, sizeof(value), name, REG_DWORD);
}

FramePlacement ReadFramePlacement() {
    FramePlacement saved;
    CRegistry key;
    if (!OpenSettings(key)) return saved;
    saved.haveZoomed = Query(key, "IsZoomed", saved.isZoomed);
    DWORD value = 0;
    auto read = [&](const char* name) {
        value = 0;
        Query(key, name, value);
        return static_cast<int>(value);
    };
    saved.x = read("LastPosX");
    saved.y = read("LastPosY");
    saved.cx = read("LastSizeX");
    saved.cy = read("LastSizeY");
    saved.monitor = read("LastMonitor");
    return saved;
}

void WriteFramePlacement(const RECT& window, bool zoomed, int monitor, int monitorCount) {
    CRegistry key;
    if (!OpenSettings(key)) return;
    auto write = [&](const char* name, DWORD value) { key.SetValueA(&value, sizeof(value), name, REG_DWORD); };
    write("IsZoomed", zoomed ? 1 : 0);
    if (!zoomed) {
        write("LastPosX", static_cast<DWORD>(window.left));
        write("LastPosY", static_cast<DWORD>(window.top));
        write("LastSizeX", static_cast<DWORD>(window.right - window.left));
        write("LastSizeY", static_cast<DWORD>(window.bottom - window.top));
    }
    if (monitorCount > 1) write("LastMonitor", static_cast<DWORD>(monitor));
}

bool RestoreFramePlacement(const FramePlacement& saved, MonitorPlacement& creation) {
    if (!saved.haveZoomed) return false;
    if (IsRectVisibleOnMonitor(saved.monitor, saved.x, saved.y, saved.cx, saved.cy, kVisibleMargin)) {
        creation.x = saved.x;
        creation.y = saved.y;
        creation.cx = saved.cx;
        creation.cy = saved.cy;
    }
    if (MonitorIndexFromPlacement(&creation) != saved.monitor)
        MovePlacementToMonitor(&creation, saved.monitor, kMonitorCentre);
    return saved.isZoomed != 0;
}
