// Synchronisation objects and worker threads.
#include <gtest/gtest.h>

#include <atomic>

#include "framework/Framework.h"

namespace {

// Used by a constructor that runs before the section's own: it must already work then.
extern CCriticalSection g_earlyLock;
struct EarlyUser {
    int value = 0;
    EarlyUser() {
        g_earlyLock.Lock();
        value = 1;
        g_earlyLock.Unlock();
    }
};
EarlyUser g_earlyUser;
CCriticalSection g_earlyLock;

std::atomic<int> g_workerRuns{0};

}  // namespace

TEST(Sync, CriticalSectionIsUsableBeforeItsConstructorRan) {
    EXPECT_EQ(g_earlyUser.value, 1);
    g_earlyLock.Lock();
    g_earlyLock.Lock();  // recursive on one thread
    g_earlyLock.Unlock();
    g_earlyLock.Unlock();
}

TEST(Sync, SemaphoreCountsAndTimesOut) {
    CSemaphore sem(1, 1);
    EXPECT_TRUE(sem.Lock(0));
    EXPECT_FALSE(sem.Lock(20));  // taken
    LONG previous = -1;
    EXPECT_TRUE(sem.Unlock(1, &previous));
    EXPECT_EQ(previous, 0);
    EXPECT_FALSE(sem.Unlock(1, nullptr));  // beyond the maximum
    CSingleLock lock(&sem, TRUE);
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_TRUE(lock.Unlock());
    EXPECT_FALSE(lock.IsLocked());
}

TEST(Sync, WorkerThreadRunsAndReleasesItself) {
    CSemaphore done(0, 0x7F000000);
    struct Param {
        CSemaphore* done;
    } param{&done};
    for (int i = 0; i < 3; ++i) {
        CWinThread* thread = AfxBeginThread(
            [](LPVOID p) -> UINT {
                ++g_workerRuns;
                static_cast<Param*>(p)->done->Unlock();
                return 0;
            },
            &param);
        ASSERT_NE(thread, nullptr);
    }
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(done.Lock(5000));
    EXPECT_EQ(g_workerRuns.load(), 3);
}

TEST(Sync, EventSignalsAcrossThreads) {
    CEvent event(FALSE, TRUE);
    EXPECT_FALSE(event.Lock(0));
    AfxBeginThread([](LPVOID p) -> UINT { return static_cast<CEvent*>(p)->SetEvent() ? 0 : 1; }, &event);
    EXPECT_TRUE(event.Lock(5000));
}
