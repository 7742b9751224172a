// Common main() of the test executables.
#include "tests/support/HeapCheck.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

namespace {

// Wine can crash the whole process when it ends while another thread is ending on its own (the sound
// system's device thread leaves right after the last device closes). Before leaving, a process with
// threads besides this one waits until their number has held still for 100 ms, at most 3 s.
void LetEndingThreadsFinish() {
    int last = CountProcessThreads();
    if (last <= 1) return;
    const DWORD start = GetTickCount();
    DWORD stableSince = start;
    while (GetTickCount() - stableSince < 100 && GetTickCount() - start < 3000) {
        Sleep(10);
        const int now = CountProcessThreads();
        if (now != last) {
            last = now;
            stableSince = GetTickCount();
        }
    }
}

// Under heap checking: every heap is validated after each test, once the test's threads have ended. A damaged
// heap fails the program (and Wine's report of the block fails the test under ctest).
class HeapValidation : public testing::EmptyTestEventListener {
public:
    bool damaged = false;

private:
    void OnTestEnd(const testing::TestInfo& test) override {
        if (HeapsWholeOnceQuiet()) return;
        fprintf(stderr, "[heap check] :heap: a heap is damaged after %s.%s\n", test.test_suite_name(), test.name());
        damaged = true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    // A crash must end the process with a failure code, never wait on a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    // GoogleTest starts a thread that watches a thread for its end once that thread first uses one of its
    // thread-local records (a trace, a skip, a failure); the main thread's watcher is started here, so that it
    // counts as the program's own and the heaps are still validated after such a test.
    { testing::ScopedTrace startsTheWatcher(__FILE__, __LINE__, ""); }
    KeepThreadBaseline();
    auto* validation = HeapValidationAfterTests() ? new HeapValidation : nullptr;
    if (validation) testing::UnitTest::GetInstance()->listeners().Append(validation);
    const int result = RUN_ALL_TESTS();
    const bool damaged = validation && validation->damaged;
    LetEndingThreadsFinish();
    return damaged ? 1 : result;
}
