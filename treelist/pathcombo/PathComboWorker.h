// The thread that reads a path combo box's level lists. It lives on a context on the heap that the
// control and the thread share; whichever lets go last frees it. The thread touches the control's
// state only under PathComboLock and only while the control still holds it, and it talks to the
// control's thread only through posted messages.
#pragma once

#include <windows.h>

#include "framework/Sync.h"
#include "system/FileList.h"

#include <atomic>
#include <cstdint>

struct PathComboState;

// Posted by the worker to the control: wParam 1 = the worker is up (lParam the context, again after
// every idle second until taken), 2 = it ended (lParam the context), 3 = a level list is ready for
// the level word in lParam.
constexpr UINT WM_PATHCOMBO_WORKER = 0x3417;
enum : WPARAM { PCW_STARTED = 1, PCW_ENDED = 2, PCW_LEVEL_READY = 3 };

enum : int { PCW_STARTING = 0, PCW_RUNNING = 1, PCW_STOP_ASKED = 2, PCW_STATE_ENDED = 3 };

struct PathComboWorker {
    PathComboWorker(HWND owner, PathComboState* state);
    ~PathComboWorker();
    PathComboWorker(const PathComboWorker&) = delete;
    PathComboWorker& operator=(const PathComboWorker&) = delete;

    HWND owner;
    PathComboState* state;  // null once the control let go; read and cleared under PathComboLock
    CSemaphore wake;
    CFileList files;
    std::atomic<int> runState{PCW_STARTING};
    std::atomic<uint32_t> requested{0};
    std::atomic<uint32_t> working{0};  // the word being read
    std::atomic<uint32_t> done{0};
    std::atomic<int> refs{2};
    HANDLE thread = nullptr;
};

// Starts the thread; null when it could not start.
PathComboWorker* StartPathComboWorker(HWND owner, PathComboState* state);

// Asks for a level word: nothing when the worker finished that word last or has it in hand; else the
// word replaces any waiting one, a running read stops and the worker wakes.
void AskPathComboWorker(PathComboWorker* worker, uint32_t word);

// Lets go of the worker: it may no longer touch the state, its read stops, and the call waits up to
// waitMs for the thread to end (answering messages sent to this thread meanwhile). The context is
// freed by whoever lets go last.
void StopPathComboWorker(PathComboWorker* worker, DWORD waitMs);
