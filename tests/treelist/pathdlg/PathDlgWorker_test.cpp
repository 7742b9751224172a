#include "treelist/pathdlg/PathDlgWorker.h"

#include "system/SystemIcons.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kBound = 20000;

// The list worker as the chooser starts it: a listing of path is asked for at once. Stopped and let go of
// at the end of the scope.
class Worker {
public:
    Worker(const char* path, bool localOnly) {
        window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        c = StartPathListWorker(window, localOnly);
        if (c) RequestPathListing(c, path, nullptr);
    }
    ~Worker() {
        if (c) {
            AskPathListWorkerToStop(c);
            WaitForSingleObject(c->thread, kBound);
            ReleasePathListContext(c);
        }
        DestroyWindow(window);
    }
    bool Listed() {
        return WaitUntil([&] {
            CSingleLock lock(&c->lock, TRUE);
            return c->doneGeneration == c->generation;
        }, kBound);
    }

    HWND window;
    PathListContext* c = nullptr;
};

// Listings asked for while the worker reads the drives (as the chooser asks for its first one at once) leave
// the drive list whole.
TEST(PathDlgWorker, ListingRequestsDuringTheDriveReadLeaveTheDrives) {
    for (int round = 0; round < 3; ++round) {
        Worker w("C:\\", false);
        ASSERT_TRUE(w.c);
        const DWORD start = GetTickCount();
        MSG msg = {};
        while (!PeekMessageA(&msg, w.window, WM_COMMAND, WM_COMMAND, PM_REMOVE) || msg.wParam != ID_PATHDLG_DRIVES_READY) {
            ASSERT_LT(GetTickCount() - start, kBound);
            RequestPathListing(w.c, "C:\\", nullptr);
        }
        CSingleLock lock(&w.c->lock, TRUE);
        EXPECT_GT(w.c->drives.size(), (size_t)__builtin_popcount(GetLogicalDrives())) << round;  // + network
    }
}

// Local only, a network path is listed as plain levels: no network place, no network reads for icons.
TEST(PathDlgWorker, LocalOnlyListsANetworkPathWithoutTheNetwork) {
    Worker w("\\\\wl-fehlt\\nirgends", true);
    ASSERT_TRUE(w.c && w.Listed());
    CSingleLock lock(&w.c->lock, TRUE);
    ASSERT_EQ(w.c->entries.size(), 3u);
    EXPECT_EQ(w.c->entries[0].text, "\\\\");
    for (int i : {1, 2}) EXPECT_EQ(w.c->entries[i].icon, GetFileIconIndex(FI_FOLDER | FI_OPEN)) << i;
}

}  // namespace
