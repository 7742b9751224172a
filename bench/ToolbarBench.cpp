// The toolbar control against the system toolbar ("ToolbarWindow32") in the same process: 200 buttons with
// text and images are added, laid out and painted into a memory bitmap. Prints the best of several runs for
// each side and the ratio ours / system (below 1.0: ours is faster).
#include "bench/BenchFigure.h"
#include "ui/toolbar/ToolbarEx.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kButtons = 200;
constexpr int kImages = 20;
constexpr int kRuns = 9;

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

HBITMAP MakeStrip() {
    std::vector<DWORD> bits(kImages * 16 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < kImages * 16; ++x) bits[y * kImages * 16 + x] = 0x00102030u * (x / 16 + 1);
    bits[0] = 0x00C0C0C0;
    return CreateBitmap(kImages * 16, 16, 1, 32, bits.data());
}

std::wstring StringList() {
    std::wstring list;
    for (int i = 0; i < kButtons; ++i) list += L"Knopf " + std::to_wstring(i) + L'\0';
    return list + L'\0';
}

std::vector<TBBUTTON> Buttons() {
    std::vector<TBBUTTON> buttons(kButtons);
    for (int i = 0; i < kButtons; ++i) {
        buttons[i] = {};
        buttons[i].iBitmap = i % kImages;
        buttons[i].idCommand = 1000 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = i;
    }
    return buttons;
}

// A 32-bit memory bitmap to paint into.
struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    Canvas(int w, int h) {
        BITMAPINFO bi = {};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

struct Fixture {
    HWND parent;
    HBITMAP strip = MakeStrip();
    std::wstring strings = StringList();
    std::vector<TBBUTTON> buttons = Buttons();
    Canvas canvas{1600, 1000};
};

// One run: create the bar, add images, texts and buttons, lay it out at a width of 1600, paint it, destroy it.
double RunOurs(Fixture& f) {
    double start = Now();
    HWND bar = CreateWindowExA(0, kToolbarExClassName, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 1600, 1000,
                               f.parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    TBADDBITMAP ab = {nullptr, (UINT_PTR)f.strip};
    SendMessageW(bar, TB_ADDBITMAP, kImages, (LPARAM)&ab);
    SendMessageW(bar, TB_ADDSTRINGW, 0, (LPARAM)f.strings.c_str());
    SendMessageW(bar, TB_ADDBUTTONSW, kButtons, (LPARAM)f.buttons.data());
    SendMessageW(bar, TBX_FITTOSIZE, 1600, TBXFIT_COMMIT);
    SendMessageW(bar, WM_PAINT, (WPARAM)f.canvas.dc, 0);
    GdiFlush();
    DestroyWindow(bar);
    return Now() - start;
}

double RunSystem(Fixture& f) {
    double start = Now();
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_WRAPABLE |
                                                              CCS_NORESIZE | CCS_NOPARENTALIGN,
                               0, 0, 1600, 1000, f.parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP ab = {nullptr, (UINT_PTR)f.strip};
    SendMessageW(bar, TB_ADDBITMAP, kImages, (LPARAM)&ab);
    SendMessageW(bar, TB_ADDSTRINGW, 0, (LPARAM)f.strings.c_str());
    SendMessageW(bar, TB_ADDBUTTONSW, kButtons, (LPARAM)f.buttons.data());
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    RECT last;
    SendMessageW(bar, TB_GETITEMRECT, kButtons - 1, (LPARAM)&last);
    SendMessageW(bar, WM_PAINT, (WPARAM)f.canvas.dc, 0);
    GdiFlush();
    DestroyWindow(bar);
    return Now() - start;
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterToolbarExClass(GetModuleHandleA(nullptr));
    Fixture f;
    f.parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1600, 1000, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    RunOurs(f);  // warm up: classes, fonts, shared resources
    RunSystem(f);
    double ours = 1e30, system = 1e30;
    for (int i = 0; i < kRuns; ++i) {
        ours = std::min(ours, RunOurs(f));
        system = std::min(system, RunSystem(f));
    }
    printf("Toolbar, %d buttons with text and images: add, lay out and paint; best of %d runs\n", kButtons, kRuns);
    printf("ours %8.3f ms   system %8.3f ms   ratio %5.2f\n", ours, system, ours / system);
    BenchFigure("add, lay out and paint", ours, system, "ms");
    DestroyWindow(f.parent);
    DeleteObject(f.strip);
    return 0;
}
