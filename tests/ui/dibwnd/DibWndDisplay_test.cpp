// What the bitmap window sends to the X server: run through display_rig.py, which counts the pixels the server
// receives (X DAMAGE), with no other test beside it (the screen is read back).
#include "ui/dibwnd/DibWnd.h"

#include "tests/support/MessagePump.h"
#include "tests/ui/dibwnd/DisplayRig.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The colours the screen shows over the window's client area, as 0x00RRGGBB, row by row.
std::vector<uint32_t> ScreenImage(HWND wnd, int width, int height) {
    POINT origin = {0, 0};
    ClientToScreen(wnd, &origin);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + width * height);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(section);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

}  // namespace

TEST(DibWndDisplay, FarApartChangesReachTheServerAloneAndTheScreenShowsTheImage) {
    ASSERT_NE(DisplayRigRequest("damage"), "") << "run through display_rig.py";
    const int width = 1000, height = 300;
    uitest::TestParent parent(width, height);
    SetWindowPos(parent.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CDibWnd wnd;
    ASSERT_TRUE(wnd.Create(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, width, height}, CWnd::FromHandle(parent.hwnd), 38680));
    CDibImage* image = wnd.GetImage();
    image->FillRect(0, 0, width, height, 0x102030);
    wnd.InvalidateImageRect(0, 0, width, height, TRUE);
    wnd.UpdateWindow();
    PumpFor(200);
    RECT screen;
    GetWindowRect(wnd.m_hWnd, &screen);
    char watch[80];
    std::snprintf(watch, sizeof watch, "watch %ld %ld %ld %ld", screen.left, screen.top, screen.right, screen.bottom);
    ASSERT_EQ(DisplayRigRequest(watch), "ok\n");

    // Four sprite-sized changes at the corners, invalidated one by one as the game does.
    const RECT changes[] = {{10, 10, 38, 102}, {960, 10, 988, 102}, {10, 200, 38, 292}, {960, 200, 988, 292}};
    long long changed = 0;
    for (const RECT& c : changes) {
        image->FillRect(c.left, c.top, c.right - c.left, c.bottom - c.top, 0xFF8000 + c.left);
        wnd.InvalidateImageRect(c.left, c.top, c.right - c.left, c.bottom - c.top, TRUE);
        changed += (long long)(c.right - c.left) * (c.bottom - c.top);
    }
    wnd.UpdateWindow();
    PumpFor(100);  // the thread goes idle: what it drew goes to the server
    // Reading the screen back goes through the same connection as the drawing: the server has taken all of it.
    std::vector<uint32_t> shown = ScreenImage(wnd.m_hWnd, width, height);
    int differing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) differing += shown[size_t(y) * width + x] != (image->GetPixel(x, y) & 0xFFFFFF);
    EXPECT_EQ(0, differing) << "pixels on screen that differ from the image";

    long long received = -1;
    ASSERT_EQ(1, std::sscanf(DisplayRigRequest("damage").c_str(), "%lld", &received));
    EXPECT_GT(received, 0);
    EXPECT_LE(received, changed * 3 / 2) << "the server received " << received << " pixels for " << changed << " changed";
}
