#include "treelist/pathdlg/PathDlgWorker.h"

#include "system/SystemIcons.h"
#include "tests/support/TimeBound.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kBound = 20000;

// The list worker with a listing of path asked for at once, as the chooser starts it; stopped at the end.
struct Worker {
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    PathListContext* c;
    Worker(const char* path, bool localOnly) : c(StartPathListWorker(window, localOnly)) {
        RequestPathListing(c, path, nullptr);
    }
    ~Worker() {
        AskPathListWorkerToStop(c);
        WaitForSingleObject(c->thread, Bound(kBound));
        ReleasePathListContext(c);
        DestroyWindow(window);
    }
    // True once the worker posts `what`; asks for askAgain meanwhile, as fast as it can. The queue is polled
    // here, not pumped: the shared pump waits for input between rounds, and nothing posted is to be run.
    bool Posted(WPARAM what, const char* askAgain = nullptr) {
        MSG msg;
        for (const DWORD start = GetTickCount(); GetTickCount() - start < Bound(kBound);) {
            if (PeekMessageA(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE) && msg.wParam == what) return true;
            RequestPathListing(c, askAgain, nullptr);
        }
        return false;
    }
};

// Listings asked for while the drives are read leave the drive list whole.
TEST(PathDlgWorker, ListingRequestsDuringTheDriveReadLeaveTheDrives) {
    for (int round = 0; round < 3; ++round) {
        Worker w("C:\\", false);
        ASSERT_TRUE(w.Posted(ID_PATHDLG_DRIVES_READY, "C:\\"));
        CSingleLock lock(&w.c->lock, TRUE);
        EXPECT_GT(w.c->drives.size(), (size_t)__builtin_popcount(GetLogicalDrives())) << round;  // + network
    }
}

// Local only, a network path is listed as plain levels: no network place, no network reads for icons.
TEST(PathDlgWorker, LocalOnlyListsANetworkPathWithoutTheNetwork) {
    Worker w("\\\\wl-fehlt\\nirgends", true);
    ASSERT_TRUE(w.Posted(ID_PATHDLG_LIST_READY));
    CSingleLock lock(&w.c->lock, TRUE);
    ASSERT_EQ(w.c->entries.size(), 3u);
    EXPECT_EQ(w.c->entries[0].text, "\\\\");
    for (int i : {1, 2}) EXPECT_EQ(w.c->entries[i].icon, GetFileIconIndex(FI_FOLDER | FI_OPEN)) << i;
}

}  // namespace
