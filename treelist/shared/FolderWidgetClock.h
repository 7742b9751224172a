// The clock of the folder widgets' timed behaviour (type-ahead, the popup's reopening guard).
#pragma once

#include <windows.h>

// Tests may replace the clock; null restores GetTickCount.
using FolderWidgetClock = DWORD (*)();
void SetFolderWidgetClock(FolderWidgetClock clock);
DWORD FolderWidgetNow();
