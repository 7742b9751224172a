// The module that resources (strings, dialogs, bitmaps, toolbars) are loaded from: the executable.
#include <windows.h>

namespace {
HINSTANCE g_resourceModule;
}

HINSTANCE AfxGetResourceHandle() {
    return g_resourceModule ? g_resourceModule : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module) { g_resourceModule = module; }
