// The thread's message loop: idle work waits for an empty queue, and a message without idle work costs no
// look at the queue besides its GetMessage.
#include <gtest/gtest.h>

#include "framework/Framework.h"
#include "tests/support/WaitUntil.h"

#include <atomic>
#include <string>
#include <thread>

namespace {

constexpr UINT kQuiet = WM_APP + 1;  // brings no idle work
int g_peeks;                         // PM_NOREMOVE looks that found a message

LRESULT CALLBACK CountPeeks(int code, WPARAM removal, LPARAM msg) {
    if (code == HC_ACTION && removal == PM_NOREMOVE) ++g_peeks;
    return CallNextHookEx(nullptr, code, removal, msg);
}

class LoggingThread : public CWinThread {
public:
    std::string log;
    BOOL PreTranslateMessage(MSG* msg) override {
        log += msg->message == kQuiet ? "q" : "m";
        return TRUE;
    }
    BOOL IsIdleMessage(MSG* msg) override { return msg->message != kQuiet; }
    // The first idle time brings three quiet messages and one with idle work, the second ends the loop.
    BOOL OnIdle(LONG) override {
        log += "i";
        if (++idleTimes > 1) {
            PostQuitMessage(0);
        } else {
            for (UINT message : {kQuiet, kQuiet, kQuiet, UINT(WM_APP)})
                PostThreadMessageA(GetCurrentThreadId(), message, 0, 0);
        }
        return FALSE;
    }
    int idleTimes = 0;
    int ExitInstance() override { return 7; }
};

}  // namespace

TEST(WinThread, IdleWorkWaitsForAnEmptyQueueAndQuietMessagesCostNoExtraLook) {
    MSG stale;
    while (PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE)) {
    }
    PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, CountPeeks, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    g_peeks = 0;
    LoggingThread thread;
    EXPECT_EQ(thread.Run(), 7);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(thread.log, "miqqqmi");
    EXPECT_EQ(g_peeks, 1);  // the first look found the first message; none looked past a quiet one
}

// A command that another thread sends to the frame is carried out inside the loop's wait for a message; it
// brings idle work all the same, without waiting for another message (timers here bring none).
TEST(WinThread, ACommandSentFromAnotherThreadBringsIdleWork) {
    class CountingThread : public CWinThread {
    public:
        std::atomic<int> idleTimes{0};
        BOOL IsIdleMessage(MSG* msg) override { return msg->message != WM_TIMER && CWinThread::IsIdleMessage(msg); }
        BOOL OnIdle(LONG count) override {
            if (count == 0) ++idleTimes;
            return FALSE;
        }
    } thread;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Rahmen"));
    const HWND window = frame->m_hWnd;
    const DWORD loopThread = GetCurrentThreadId();
    bool idleAfterSend = false;
    std::thread sender([&] {
        WaitUntil([&] { return thread.idleTimes > 0; }, 5000);  // the loop waits for a message
        const int before = thread.idleTimes;
        SendMessageA(window, WM_COMMAND, 0x7F00, 0);
        idleAfterSend = WaitUntil([&] { return thread.idleTimes > before; }, 2000);
        PostThreadMessageA(loopThread, WM_QUIT, 0, 0);
    });
    thread.Run();
    sender.join();
    EXPECT_TRUE(idleAfterSend);
    frame->DestroyWindow();
}

// However many commands arrive before the loop takes its next posted message, one empty message waits; once
// it has arrived, the next sent command posts one again.
TEST(WinThread, SentCommandsLeaveOneEmptyMessageWaiting) {
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Rahmen"));
    const HWND window = frame->m_hWnd;
    const auto sendAndCount = [window](int commands) {
        std::atomic<bool> sent{false};
        std::thread sender([&] {
            for (int i = 0; i < commands; ++i) SendMessageA(window, WM_COMMAND, 0x7F00, 0);
            sent = true;
        });
        MSG msg;
        while (!sent) {  // answers what is sent, takes nothing posted
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        sender.join();
        int waiting = 0;
        while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
            waiting += msg.message == WM_NULL;
            DispatchMessageA(&msg);
        }
        return waiting;
    };
    EXPECT_EQ(sendAndCount(0), 0);
    EXPECT_EQ(sendAndCount(50), 1);
    EXPECT_EQ(sendAndCount(1), 1);
    frame->DestroyWindow();
}
