// The bare program that GameEndToEndBench measures the game against: a plain Win32 window with a 30 ms timer
// that moves two 28 x 92 sprites through a DIB back buffer, the way the game moves its two pointers, and
// repaints what it invalidated with one BitBlt.
//
//   BareFramePeer.exe sweep   the sprites cross the window's band in 3200 ms each way, as the pointers do
//   BareFramePeer.exe rest    the timer runs, nothing moves
//
// Built a second time as BareSoundPeer.exe (WL_PEER_SOUND), it runs the game's sound stream besides: the game's
// own mixer thread fills silent blocks into the game's wave-out player, as the game does from its start to its
// end. So the stream's cost can be told apart from the rest of the game's; the bare program imports no sound.
//
// Built a third time as BareThemedPeer.exe (WL_PEER_THEMED), it is a program of the visual styles, as the game
// is: its manifest asks for the common controls of version 6, and it links them (InitCommonControls). Under Wine
// that loads the theme engine, which reads the whole visual style in every process as it starts; so the start-up
// of a themed program can be told apart from what the game does besides.
//
// The window answers the registered message "WertlaufBenchPeer" with 0x12345678 when asked with it, as the
// game's frame answers "Wertlauf".
#ifdef WL_PEER_SOUND
#include "game/GameSounds.h"
#endif

#include <windows.h>
#ifdef WL_PEER_THEMED
#include <commctrl.h>
#endif

#include <atomic>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kSpriteWidth = 28, kSpriteHeight = 92;
constexpr UINT kFrameMs = 30;
constexpr DWORD kCrossingMs = 3200;
constexpr LRESULT kProbeAnswer = 0x12345678;

struct Peer {
    bool sweep = false;
    UINT probe = 0;
    HDC memory = nullptr;
    HBITMAP section = nullptr;
    uint32_t* bits = nullptr;
    int width = 0, height = 0;
    int drawn[2] = {-1, -1};
    DWORD start = 0;
};
Peer g_peer;

void Fill(int x, int y, int cx, int cy, uint32_t colour) {
    for (int row = y; row < y + cy; ++row)
        if (row >= 0 && row < g_peer.height)
            for (int col = x; col < x + cx; ++col)
                if (col >= 0 && col < g_peer.width) g_peer.bits[size_t(row) * g_peer.width + col] = colour;
}

void Resize(int cx, int cy) {
    if (g_peer.section) DeleteObject(g_peer.section);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    g_peer.section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    g_peer.bits = static_cast<uint32_t*>(bits);
    g_peer.width = g_peer.bits ? cx : 0;
    g_peer.height = g_peer.bits ? cy : 0;
    if (g_peer.bits) std::memset(g_peer.bits, 0, size_t(cx) * cy * 4);
    SelectObject(g_peer.memory, g_peer.section);
    g_peer.drawn[0] = g_peer.drawn[1] = -1;
}

// Where sprite i stands: bouncing along the band, the second from the right end.
int Position(int i, DWORD now) {
    const int span = g_peer.width - kSpriteWidth;
    if (span <= 0 || !g_peer.sweep) return i == 0 ? 0 : span;
    const DWORD e = now - g_peer.start;
    const DWORD p = DWORD(span) * (e % kCrossingMs) / kCrossingMs;
    const bool back = ((e / kCrossingMs) & 1) != (i == 1);
    return back ? span - int(p) : int(p);
}

void Tick(HWND wnd) {
    if (!g_peer.bits) return;
    const int y = g_peer.height > 200 ? g_peer.height - 200 + 62 : 0;
    const DWORD now = GetTickCount();
    for (int i = 0; i < 2; ++i) {
        const int x = Position(i, now);
        if (x == g_peer.drawn[i]) continue;
        if (g_peer.drawn[i] >= 0) {
            Fill(g_peer.drawn[i], y, kSpriteWidth, kSpriteHeight, 0);
            RECT old = {g_peer.drawn[i], y, g_peer.drawn[i] + kSpriteWidth, y + kSpriteHeight};
            InvalidateRect(wnd, &old, FALSE);
        }
        Fill(x, y, kSpriteWidth, kSpriteHeight, i == 0 ? 0xFF0000 : 0x0000FF);
        Fill(x + 4, y + 4, kSpriteWidth - 8, kSpriteHeight - 8, 0xFFFFFF);
        RECT shown = {x, y, x + kSpriteWidth, y + kSpriteHeight};
        InvalidateRect(wnd, &shown, FALSE);
        g_peer.drawn[i] = x;
    }
}

LRESULT CALLBACK PeerProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_peer.probe && g_peer.probe) return wParam == kProbeAnswer ? kProbeAnswer : 0;
    switch (message) {
    case WM_SIZE:
        if (LOWORD(lParam) && HIWORD(lParam)) Resize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_TIMER:
        Tick(wnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(wnd, &paint);
        BitBlt(dc, 0, 0, g_peer.width, g_peer.height, g_peer.memory, 0, 0, SRCCOPY);
        EndPaint(wnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(wnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
#ifdef WL_PEER_THEMED
    InitCommonControls();
#endif
    g_peer.sweep = std::strstr(commandLine, "sweep") != nullptr;
    g_peer.probe = RegisterWindowMessageA("WertlaufBenchPeer");
    g_peer.memory = CreateCompatibleDC(nullptr);
    g_peer.start = GetTickCount();
#ifdef WL_PEER_SOUND
    std::atomic<int32_t> mixerRunning{0}, mixerEnded{1};
    game::SoundMixerFlags mixer{&mixerRunning, &mixerEnded};
    game::StartSoundMixer(mixer, game::SoundMixerThread, &mixer);
#endif
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PeerProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "WertlaufBenchPeer";
    RegisterClassA(&windowClass);
    HWND wnd = CreateWindowA("WertlaufBenchPeer", "Peer", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 1024, nullptr, nullptr,
                             instance, nullptr);
    if (!wnd) return 1;
    ShowWindow(wnd, show);
    UpdateWindow(wnd);
    SetTimer(wnd, 1, kFrameMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
#ifdef WL_PEER_SOUND
    if (mixerRunning.load()) game::StopSoundMixer(mixer);
#endif
    DeleteDC(g_peer.memory);
    if (g_peer.section) DeleteObject(g_peer.section);
    return 0;
}
