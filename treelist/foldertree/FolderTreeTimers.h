// The folder tree's own timers, posted message and cursors.
#pragma once

#include <windows.h>

// Posted to itself when the current item changed: wParam the flags (SelectPath's, 0 for the user's
// selections), lParam the item.
constexpr UINT WM_FOLDERTREE_CURRENT = 6479;

enum : UINT_PTR {
    kTimerHover = 6480,     // a keyboard selection becomes current after its ticks
    kTimerPrefetch = 6481,  // prefetch after the queue ran empty
    kTimerCancel = 6482,    // stale jobs are cancelled after its ticks
    kTimerBusy = 6485,      // the wait cursor while expansions are read
};
constexpr UINT kTickMs = 200;
constexpr UINT kBusyTickMs = 300;
constexpr int kHoverTicks = 5;
constexpr int kCancelTicks = 5;
constexpr int kPrefetchTicks = 4;
constexpr int kPrefetchQueueLimit = 51;

struct FolderTreeCursorSet {
    HCURSOR arrow;
    HCURSOR wait;
};
// Loaded once per process.
const FolderTreeCursorSet& FolderTreeCursors();
