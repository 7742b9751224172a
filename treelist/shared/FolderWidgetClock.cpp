#include "treelist/shared/FolderWidgetClock.h"

#include <atomic>

namespace {

std::atomic<FolderWidgetClock> g_clock{nullptr};

}  // namespace

void SetFolderWidgetClock(FolderWidgetClock clock) { g_clock.store(clock); }

DWORD FolderWidgetNow() {
    FolderWidgetClock clock = g_clock.load();
    return clock ? clock() : GetTickCount();
}
