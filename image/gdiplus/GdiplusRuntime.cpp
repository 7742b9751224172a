// Loading, starting and unloading GDI+ with a count of users. Used from the user-interface thread only.
#include "image/gdiplus/GdiplusAA.h"
#include "image/gdiplus/GdiplusFlat.h"

#include <cstring>

namespace gdiplus {
namespace {

typedef Status(WINAPI* StartupFn)(ULONG_PTR*, const StartupInput*, void*);
typedef void(WINAPI* ShutdownFn)(ULONG_PTR);

HMODULE g_library;
ULONG_PTR g_token;
State g_state = kNotTried;
int g_extraUsers;
Api g_api;

// Binds every entry point in the order of the Api record; false when one is missing.
bool Bind(HMODULE library) {
    static const char* const kNames[] = {"GdipCreateFromHDC", "GdipDeleteGraphics", "GdipSetSmoothingMode",
                                         "GdipDrawEllipseI",  "GdipDrawLineI",      "GdipCreatePen1",
                                         "GdipSetPenColor",   "GdipDeletePen"};
    static_assert(sizeof(Api) == sizeof(kNames) / sizeof(kNames[0]) * sizeof(void*), "one name per entry");
    FARPROC bound[sizeof(kNames) / sizeof(kNames[0])];
    for (size_t i = 0; i < sizeof(kNames) / sizeof(kNames[0]); ++i)
        if (!(bound[i] = GetProcAddress(library, kNames[i]))) return false;
    memcpy(&g_api, bound, sizeof g_api);
    return true;
}

bool Load() {
    g_library = LoadLibraryW(L"gdiplus.dll");
    if (!g_library) return false;
    const auto startup = (StartupFn)(void*)GetProcAddress(g_library, "GdiplusStartup");
    const StartupInput input = {1, nullptr, FALSE, FALSE};
    if (startup && Bind(g_library) && startup(&g_token, &input, nullptr) == 0) return true;
    FreeLibrary(g_library);
    g_library = nullptr;
    return false;
}

} // namespace

State CurrentState() { return g_state; }
const Api& Bound() { return g_api; }

} // namespace gdiplus

int GdipStart() {
    using namespace gdiplus;
    if (g_state != kNotTried) {
        ++g_extraUsers;
        return g_state - 1;
    }
    g_state = Load() ? kLoaded : kUnavailable;
    return g_state - 1;
}

int GdipStop() {
    using namespace gdiplus;
    if (g_extraUsers > 0) {
        --g_extraUsers;
        return 1;
    }
    if (g_state == kNotTried) return 0;
    if (g_state == kLoaded) {
        const auto shutdown = (ShutdownFn)(void*)GetProcAddress(g_library, "GdiplusShutdown");
        if (shutdown) shutdown(g_token);
        FreeLibrary(g_library);
        g_library = nullptr;
        g_token = 0;
    }
    g_state = kNotTried;
    return 1;
}
