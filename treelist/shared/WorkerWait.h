// Waits of a window's thread for its worker threads. Every wait is bounded, and the window's thread keeps
// answering what is sent to it meanwhile, so a worker that calls into a window never hangs on it.
#pragma once

#include <windows.h>

// Waits up to waitMs for handle, answering messages sent to this thread (nothing posted is taken).
// True when the handle was signalled.
bool WaitAnsweringSent(HANDLE handle, DWORD waitMs);

// Waits up to waitMs for handle while dispatching every message of this thread. True when signalled.
bool WaitDispatching(HANDLE handle, DWORD waitMs);
