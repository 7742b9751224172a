#include "treelist/shared/WorkerWait.h"

namespace {

template <typename Answer>
bool Wait(HANDLE handle, DWORD waitMs, DWORD wakeMask, Answer answer) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= waitMs) return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        const DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, waitMs - spent, wakeMask);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return false;
        answer();
    }
}

}  // namespace

bool WaitAnsweringSent(HANDLE handle, DWORD waitMs) {
    return Wait(handle, waitMs, QS_SENDMESSAGE, [] {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    });
}

bool WaitDispatching(HANDLE handle, DWORD waitMs) {
    bool quit = false;
    WPARAM quitCode = 0;
    const bool signalled = Wait(handle, waitMs, QS_ALLINPUT, [&] {
        MSG msg;
        while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // After a quit only what is sent is answered; the quit goes back to the loop that runs the thread.
        if (quit) PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    });
    if (quit) PostQuitMessage((int)quitCode);
    return signalled;
}
