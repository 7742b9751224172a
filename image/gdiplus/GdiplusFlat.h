// The few GDI+ flat-API entry points this library uses, declared by hand (the library is loaded at run time,
// never linked), and the process-wide state of the loader.
#pragma once

#include <windows.h>

#include <cstdint>

namespace gdiplus {

typedef int Status; // 0 = Ok
typedef void GpGraphics;
typedef void GpPen;

struct StartupInput {
    UINT32 version;
    void* debugEventCallback;
    BOOL suppressBackgroundThread;
    BOOL suppressExternalCodecs;
};

constexpr int kSmoothingAntiAlias = 4;
constexpr int kUnitPixel = 2;

struct Api {
    Status(WINAPI* CreateFromHDC)(HDC, GpGraphics**);
    Status(WINAPI* DeleteGraphics)(GpGraphics*);
    Status(WINAPI* SetSmoothingMode)(GpGraphics*, int);
    Status(WINAPI* DrawEllipseI)(GpGraphics*, GpPen*, INT, INT, INT, INT);
    Status(WINAPI* DrawLineI)(GpGraphics*, GpPen*, INT, INT, INT, INT);
    Status(WINAPI* CreatePen1)(UINT32, float, int, GpPen**);
    Status(WINAPI* SetPenColor)(GpPen*, UINT32);
    Status(WINAPI* DeletePen)(GpPen*);
};

enum State { kNotTried = 0, kUnavailable = 1, kLoaded = 2 };

// The state, and the bound functions while it is kLoaded.
State CurrentState();
const Api& Bound();

} // namespace gdiplus
