// Loading, starting and unloading GDI+ with a count of users. Used from the user-interface thread only.
#include "image/gdiplus/GdiplusAA.h"
#include "image/gdiplus/GdiplusFlat.h"

#include <cstring>

namespace gdiplus {
namespace {

typedef Status(WINAPI* StartupFn)(ULONG_PTR*, const StartupInput*, void*);
typedef void(WINAPI* ShutdownFn)(ULONG_PTR);

HMODULE gLibrary;
ULONG_PTR gToken;
State gState = kNotTried;
int gExtraUsers;
Api gApi;

// Binds every entry point in the order of the Api record; false when one is missing.
bool Bind(HMODULE library) {
    static const char* const kNames[] = {"GdipCreateFromHDC", "GdipDeleteGraphics", "GdipSetSmoothingMode",
                                         "GdipDrawEllipseI",  "GdipDrawLineI",      "GdipCreatePen1",
                                         "GdipSetPenColor",   "GdipDeletePen"};
    static_assert(sizeof(Api) == sizeof(kNames) / sizeof(kNames[0]) * sizeof(void*), "one name per entry");
    FARPROC bound[sizeof(kNames) / sizeof(kNames[0])];
    for (size_t i = 0; i < sizeof(kNames) / sizeof(kNames[0]); ++i)
        if (!(bound[i] = GetProcAddress(library, kNames[i]))) return false;
    memcpy(&gApi, bound, sizeof gApi);
    return true;
}

bool Load() {
    gLibrary = LoadLibraryW(L"gdiplus.dll");
    if (!gLibrary) return false;
    const auto startup = (StartupFn)(void*)GetProcAddress(gLibrary, "GdiplusStartup");
    const StartupInput input = {1, nullptr, FALSE, FALSE};
    if (startup && Bind(gLibrary) && startup(&gToken, &input, nullptr) == 0) return true;
    FreeLibrary(gLibrary);
    gLibrary = nullptr;
    return false;
}

} // namespace

State CurrentState() { return gState; }
const Api& Bound() { return gApi; }

} // namespace gdiplus

int GdipStart() {
    using namespace gdiplus;
    if (gState != kNotTried) {
        ++gExtraUsers;
        return gState - 1;
    }
    gState = Load() ? kLoaded : kUnavailable;
    return gState - 1;
}

int GdipStop() {
    using namespace gdiplus;
    if (gExtraUsers > 0) {
        --gExtraUsers;
        return 1;
    }
    if (gState == kNotTried) return 0;
    if (gState == kLoaded) {
        const auto shutdown = (ShutdownFn)(void*)GetProcAddress(gLibrary, "GdiplusShutdown");
        if (shutdown) shutdown(gToken);
        FreeLibrary(gLibrary);
        gLibrary = nullptr;
        gToken = 0;
    }
    gState = kNotTried;
    return 1;
}
