// The directory chooser's list worker: it reads the drives once, then lists a requested path (its levels
// and its subfolders) into an entry list that the dialog moves into its list box. The context lives on
// the heap, shared by the dialog and the thread; whichever lets go last frees it. The thread posts to
// the dialog and never sends to it.
#pragma once

#include "framework/Sync.h"
#include "system/FileList.h"

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

// Posted to the dialog (WM_COMMAND ids, lParam 0): the drive entries are read, a listing is done.
constexpr UINT ID_PATHDLG_DRIVES_READY = 1043;
constexpr UINT ID_PATHDLG_LIST_READY = 1044;

struct PathListEntry {
    std::string text;
    int icon;
    int indent;  // pixels
    bool level;  // one of the path's levels (else a subfolder)
};

enum : int { PATHDRIVE_DRIVE = 1, PATHDRIVE_NETWORK = 2 };
struct PathDriveEntry {
    std::string text;  // "C:\", the network place's own name, or a share path
    int icon;
    int kind;
    bool share;  // the start path's share (kind PATHDRIVE_NETWORK)
};

constexpr int kPathLevelIndent = 5;

struct PathListContext {
    PathListContext(HWND dialog, bool localOnly, const char* share);
    PathListContext(const PathListContext&) = delete;
    PathListContext& operator=(const PathListContext&) = delete;

    const HWND dialog;
    const bool localOnly;
    const std::string share;  // a share that gets an entry of its own after the drives ("" none)

    // Guards everything below up to the atomics.
    CCriticalSection lock;
    std::vector<PathListEntry> entries;
    int current = -1;               // the entry of the listed folder itself
    uint32_t generation = 0;        // counts requests; a listing of an older one adds nothing
    uint32_t doneGeneration = 0;    // the request listed last
    std::vector<PathDriveEntry> drives;
    std::string request;            // the path to list
    std::string shareRoot;          // a chosen share entry ("" none)
    bool requested = false;

    CSemaphore wake;
    CFileList files;  // the worker's reader of listings; other threads only set its abort flag
    CFileList driveFiles;  // its reader of the drives, which a listing request leaves alone
    std::atomic<bool> stop{false};
    std::atomic<bool> running{true};
    std::atomic<bool> filling{false};
    std::atomic<int> refs{2};
    HANDLE thread = nullptr;
};

// Starts the worker (the drives are read first, then share gets an entry when given); null when it could
// not start.
PathListContext* StartPathListWorker(HWND dialog, bool localOnly, const char* share = nullptr);

// A network folder counts as present (and a share as reachable) when a search in it finds something.
bool NetworkFolderFound(const char* path);

// Asks for a listing of path: the entries are emptied, a running listing stops and the worker wakes.
// The caller empties its list box (the worker never touches it). False when path is too long.
bool RequestPathListing(PathListContext* c, const char* path, const char* shareRoot);

// Asks the worker to end and stops its read (it ends at its next check).
void AskPathListWorkerToStop(PathListContext* c);
// Lets go of the context; the last one frees it.
void ReleasePathListContext(PathListContext* c);
