// The tests' message pump: dispatches this thread's messages, bounded in time.
#pragma once

#include "tests/support/TimeBound.h"

#include <windows.h>

#include <functional>
#include <vector>

// How the pump treats a message before dispatching it.
struct PumpMode {
    // Offered each message first; true consumes it (the application's PreTranslateMessage, for example).
    bool (*filter)(MSG& msg) = nullptr;
    // At WM_QUIT the pump stops and posts the quit again for whoever runs the loop; otherwise it is dropped.
    bool stopAtQuit = false;
};

// Dispatches what is queued now, at most 10,000 messages (a window posting to itself on every message cannot
// hold it); false when it stopped at WM_QUIT.
bool PumpQueued(const PumpMode& mode = {});

// Dispatches messages until done() holds or the bound of timeoutMs has passed (see TimeBound.h), waiting at
// most 10 ms for input between rounds; true when done() held. A round of queued messages ends at the bound.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000, const PumpMode& mode = {});

// Dispatches messages for ms milliseconds (a span, not scaled).
void PumpFor(DWORD ms, const PumpMode& mode = {});

// Dispatches whatever is queued now and what follows within 50 ms.
inline void PumpPending() { PumpFor(50); }

// Takes the queued messages of window (nullptr: of any window) from first to last out of the queue without
// running them, in their order: for a test that reads what was posted, or drops it.
std::vector<MSG> TakeQueued(HWND window, UINT first, UINT last);

// The framework application's pre-translation, as its message loop does it (accelerators, dialog keys):
// the message becomes the thread's current one and its PreTranslateMessage may take it.
bool PreTranslateAsApp(MSG& msg);
constexpr PumpMode kAppPump = {&PreTranslateAsApp, false};
// The same, ending at WM_QUIT as the application's loop does.
constexpr PumpMode kAppPumpToQuit = {&PreTranslateAsApp, true};
