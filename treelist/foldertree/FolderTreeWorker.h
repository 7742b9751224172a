// The thread that reads a folder tree's drives and folders, and what it shares with the control. The
// context lives on the heap and is shared by the control and the thread; whichever lets go last frees
// it. The thread fills the control through direct calls (TreeListDirectProc) and talks to the control's
// thread only through posted messages.
#pragma once

#include "framework/Sync.h"
#include "system/FileList.h"
#include "treelist/control/TreeList.h"
#include "treelist/foldertree/FolderJobs.h"
#include "treelist/foldertree/FolderTreeText.h"

#include <atomic>
#include <map>
#include <string>

// Posted to the control: the worker's queue ran empty (WM_COMMAND id).
constexpr UINT ID_FOLDERTREE_IDLE = 6483;
// Its handler refreshes the network synchronously (WM_COMMAND id).
constexpr UINT ID_FOLDERTREE_NETWORK = 6484;

// Item state bits of the folder tree (upper half of the item state).
enum : UINT {
    FTS_NETWORK = 0x10000,   // a network entry
    FTS_DRIVE = 0x20000,     // a drive item
    FTS_SLOW = 0x40000,      // slow medium: not prefetched
    FTS_UNREAD = 0x80000,    // has subfolders that are not read yet
    FTS_READ = 0x100000,     // children read
    FTS_HIGH_BITS = 0xFFFF0000,
};

struct CaselessLess {
    bool operator()(const std::string& a, const std::string& b) const { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }
};
// Network path prefixes and their items. The texts stay put while the context lives: items carry
// pointers to them in their lParam.
using NetworkPathMap = std::map<std::string, HTREEITEM, CaselessLess>;

struct FolderTreeContext {
    FolderTreeContext(HWND window, bool network);
    ~FolderTreeContext();
    FolderTreeContext(const FolderTreeContext&) = delete;
    FolderTreeContext& operator=(const FolderTreeContext&) = delete;

    HWND window;
    const UINT networkFlag;  // FL_NETWORK, or 0 without network

    // Guards everything below up to the atomics, and every notification to the parent.
    CCriticalSection lock;
    FolderJobQueue jobs;
    NetworkPathMap networkPaths;
    char currentPath[kFolderPathSize] = {};
    HTREEITEM currentItem = nullptr;
    uint32_t currentKind = 0;
    HTREEITEM networkRoot = TVI_ROOT;
    uint32_t generation = 0;
    uint32_t workingId = 0;    // the job in hand, 0 when idle
    uint32_t workingWord = 0;
    uint32_t abortedId = 0;    // the last job whose read was stopped
    uint32_t uiInserts = 0;    // counts items the control's thread inserted (the worker looks again)

    CSemaphore jobSemaphore;
    CFileList files;  // the worker's reader; other threads only set its abort flag
    std::atomic<int> pendingExpands{0};
    std::atomic<bool> stop{false};
    std::atomic<int> refs{2};
    HANDLE thread = nullptr;
};

// Starts the worker of a control; null when it could not start.
FolderTreeContext* StartFolderTreeWorker(HWND window, bool network);

// Lets go of one reference; the last one frees the context.
void ReleaseFolderTreeContext(FolderTreeContext* c);

// Queues a job under the context's lock and wakes the worker; its identity.
uint32_t QueueFolderJob(FolderTreeContext* c, HTREEITEM item, uint32_t word, bool counted, int place,
                        HANDLE done = nullptr);

// Lets go of the worker: it stops at its next check, its read is stopped, and the call waits up to
// waitMs for the thread to end, answering what is sent to this thread meanwhile. The context is freed
// by whoever lets go last. True when the thread ended within the wait.
bool StopFolderTreeWorker(FolderTreeContext* c, DWORD waitMs);

// The path of an item from its text and its ancestors' (see CFolderTreeCtrl::GetItemPath). Works on
// any thread through direct calls.
int ComposeItemPath(HWND window, HTREEITEM networkRoot, HTREEITEM item, char* buffer, int size,
                    int mode, LPARAM* lParamOut);

// Compare functions the control calls for sorted inserts.
LRESULT CALLBACK CompareDriveItems(HWND, HTREEITEM, LPCSTR probeText, LPCSTR newText, LPARAM, LPARAM);
LRESULT CALLBACK CompareFolderItems(HWND, HTREEITEM, LPCSTR probeText, LPCSTR newText, LPARAM, LPARAM);
