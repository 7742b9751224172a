// Common main() of the test executables.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

namespace {

// The number of threads of this process, or -1 when they cannot be counted.
int CountOwnThreads() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    CloseHandle(snapshot);
    return count;
}

// Wine can crash the whole process when it ends while another thread is ending on its own (the sound
// system's device thread leaves right after the last device closes). Before leaving, a process with
// threads besides this one waits until their number has held still for 100 ms, at most 3 s.
void LetEndingThreadsFinish() {
    int last = CountOwnThreads();
    if (last <= 1) return;
    const DWORD start = GetTickCount();
    DWORD stableSince = start;
    while (GetTickCount() - stableSince < 100 && GetTickCount() - start < 3000) {
        Sleep(10);
        const int now = CountOwnThreads();
        if (now != last) {
            last = now;
            stableSince = GetTickCount();
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // A crash must end the process with a failure code, never wait on a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    LetEndingThreadsFinish();
    return result;
}
