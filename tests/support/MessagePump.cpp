#include "tests/support/MessagePump.h"

#include "framework/WinApp.h"

namespace {

// At most this many messages in one round: a window that posts to itself on every message (or never
// validates) cannot hold the pump.
constexpr int kRoundLimit = 10000;

// Dispatches what is queued until over() holds; false when it stopped at WM_QUIT.
template <typename Over>
bool DispatchRound(const PumpMode& mode, Over over) {
    MSG msg;
    for (int n = 0; n < kRoundLimit && !over() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (msg.message == WM_QUIT && mode.stopAtQuit) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (mode.filter && mode.filter(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

bool PumpWithin(const std::function<bool()>& done, DWORD ms, const PumpMode& mode) {
    const DWORD start = GetTickCount();
    const auto over = [&] { return GetTickCount() - start > ms; };
    while (!done()) {
        if (over()) return false;
        if (!DispatchRound(mode, over)) return done();
        if (done()) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

}  // namespace

bool PumpQueued(const PumpMode& mode) {
    return DispatchRound(mode, [] { return false; });
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, const PumpMode& mode) {
    return PumpWithin(done, Bound(timeoutMs), mode);
}

void PumpFor(DWORD ms, const PumpMode& mode) { PumpWithin([] { return false; }, ms, mode); }

std::vector<MSG> TakeQueued(HWND window, UINT first, UINT last) {
    std::vector<MSG> taken;
    MSG msg;
    while (PeekMessageA(&msg, window, first, last, PM_REMOVE)) taken.push_back(msg);
    return taken;
}

bool PreTranslateAsApp(MSG& msg) {
    CWinThread* thread = AfxGetThread();
    if (!thread) return false;
    thread->m_msgCur = msg;
    return thread->PreTranslateMessage(&msg) != FALSE;
}
