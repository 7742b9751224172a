// Started once before the tests: creating a window brings up Wine's desktop process and RPC
// service. Started later from inside a test, they would inherit that test's output pipe and
// CTest would wait for them until the test times out.
#include <windows.h>

int main() {
    HWND wnd = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (wnd) DestroyWindow(wnd);
    return 0;
}
