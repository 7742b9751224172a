// Keeps Wine's desktop up for the whole test run. Wine ends its desktop process about a second
// after the last program has left the desktop and starts it again (with its RPC service) for the
// next program that needs it. Started from inside a test, those processes would inherit that test's
// output pipe, and CTest would wait for them until the test times out.
//   wine_warmup.exe hold   brings the desktop up, says so, and stays until the Wine server ends
//   wine_warmup.exe wait   returns once a holder is there (non-zero after a minute without one)
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, "WertlaufTestDesktopHeld");
    if (!held) return 1;
    if (argc < 2 || std::strcmp(argv[1], "hold") != 0) return WaitForSingleObject(held, 60000) == WAIT_OBJECT_0 ? 0 : 1;
    HWND wnd = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (wnd) DestroyWindow(wnd);
    SetEvent(held);
    Sleep(INFINITE);
    return 0;
}
