// The tests' shared message pump ends even while a window keeps its queue full.
#include <gtest/gtest.h>

#include "tests/support/MessagePump.h"
#include "tests/support/TestWindowClass.h"

namespace {

int g_echoes;

// Posts itself WM_APP again for every WM_APP it gets.
LRESULT CALLBACK EchoProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_APP) return DefWindowProcA(hwnd, msg, wp, lp);
    ++g_echoes;
    PostMessageA(hwnd, WM_APP, 0, 0);
    return 0;
}

}  // namespace

TEST(MessagePump, EndsWhileAWindowKeepsPostingToItself) {
    HWND echo = CreateWindowExA(0, RegisterTestWindowClass("WlPumpEcho", EchoProc), "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, nullptr, nullptr);
    PostMessageA(echo, WM_APP, 0, 0);
    g_echoes = 0;
    EXPECT_TRUE(PumpQueued());
    EXPECT_EQ(g_echoes, 10000);  // one round's worth
    PumpFor(20);
    EXPECT_GT(g_echoes, 10000);
    DestroyWindow(echo);
}
