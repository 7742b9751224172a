#include "tests/support/HeapCheck.h"

#include "tests/support/TimeBound.h"

#include <tlhelp32.h>

#include <atomic>
#include <cstdio>
#include <vector>

namespace {

std::atomic<int> g_baseline{1};

}  // namespace

int CountProcessThreads() {
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

void KeepThreadBaseline() {
    const int count = CountProcessThreads();
    if (count > 0) g_baseline.store(count);
}

bool HeapsWholeOnceQuiet(DWORD boundMs) {
    const DWORD start = GetTickCount();
    while (CountProcessThreads() > g_baseline.load()) {
        if (GetTickCount() - start > Bound(boundMs)) {
            fprintf(stderr, "[heap check] skipped: %d threads still running\n", CountProcessThreads());
            return true;
        }
        Sleep(10);
    }
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    bool whole = true;
    for (DWORD i = 0; i < count && i < heaps.size(); ++i) whole &= HeapValidate(heaps[i], 0, nullptr) != FALSE;
    return whole;
}

bool HeapValidationAfterTests() {
    char value[8] = {};
    return GetEnvironmentVariableA("WL_HEAP_VALIDATE", value, sizeof value) && value[0] == '1';
}
