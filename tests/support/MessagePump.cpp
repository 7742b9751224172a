#include "tests/support/MessagePump.h"

#include "framework/WinApp.h"

namespace {

bool PumpWithin(const std::function<bool()>& done, DWORD ms, const PumpMode& mode) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        if (!PumpQueued(mode)) return done();
        if (done()) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

}  // namespace

bool PumpQueued(const PumpMode& mode) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
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

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, const PumpMode& mode) {
    return PumpWithin(done, Bound(timeoutMs), mode);
}

void PumpFor(DWORD ms, const PumpMode& mode) { PumpWithin([] { return false; }, ms, mode); }

bool PreTranslateAsApp(MSG& msg) {
    CWinThread* thread = AfxGetThread();
    if (!thread) return false;
    thread->m_msgCur = msg;
    return thread->PreTranslateMessage(&msg) != FALSE;
}
