// Validating the process's heaps where Wine's heap checking can be trusted: only while no other thread of
// the process runs. Wine 8 validates a heap in one thread while another thread is changing it, and then
// reports damage that never happened ("free block overwritten", "invalid block tail"); with a single thread
// its reports are exact. Under tests/run.sh --heap-check, freed blocks are filled and block ends guarded, so
// that a write into a block freed not long before, or past the end of a live block, shows here.
#pragma once

#include <windows.h>

// The number of threads of this process, or -1 when they cannot be counted.
int CountProcessThreads();

// Remembers the threads the process runs now as its own (the test program calls it once at start).
void KeepThreadBaseline();

// Waits, within the bound (scaled), until no thread besides the remembered ones runs, then validates every
// heap of the process. False when a heap is damaged (Wine names the block); true when the heaps are whole
// or could not be checked because other threads kept running.
bool HeapsWholeOnceQuiet(DWORD boundMs = 2000);

// Whether the test program validates the heaps after every test (WL_HEAP_VALIDATE=1, set by
// tests/run.sh --heap-check).
bool HeapValidationAfterTests();
