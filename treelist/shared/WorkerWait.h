// Starting worker threads on a context of their own, and the waits of a window's thread for them. Every wait is bounded, and the window's thread keeps
// answering what is sent to it meanwhile, so a worker that calls into a window never hangs on it.
#pragma once

#include <windows.h>

// Waits up to waitMs for handle, answering messages sent to this thread (nothing posted is taken).
// True when the handle was signalled.
bool WaitAnsweringSent(HANDLE handle, DWORD waitMs);

// Waits up to waitMs for handle while dispatching every message of this thread. True when signalled.
bool WaitDispatching(HANDLE handle, DWORD waitMs);

// Starts main(context) on a thread of its own (stackCommit bytes committed) and keeps the thread handle
// in context->thread; the thread runs once the handle is kept. Null, with the context deleted, when the
// thread could not start.
template <typename Context>
Context* StartWorkerThread(Context* context, LPTHREAD_START_ROUTINE main, SIZE_T stackCommit) {
    context->thread = CreateThread(nullptr, stackCommit, main, context, CREATE_SUSPENDED, nullptr);
    if (!context->thread) {
        delete context;
        return nullptr;
    }
    ResumeThread(context->thread);
    return context;
}
