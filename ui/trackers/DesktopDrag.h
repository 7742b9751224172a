// The frame the modal mouse trackers share: the desktop locked against updates, its window DC for
// inverted drag frames, the mouse captured, and a message loop that runs until the left button is released.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/Gdi.h"

// How a drag loop ended.
enum class DragEnd { Released, Cancelled, CaptureLost };

// A rectangle drawn by inversion: every drawing inverts only the difference to the one before.
class DragFrame {
public:
    // thickness {0, 0} inverts the whole rectangle.
    void Draw(CDC& dc, const RECT& rect, SIZE thickness = {0, 0});
    void Erase(CDC& dc);
    const RECT& Last() const { return m_last; }

private:
    RECT m_last = {};
    SIZE m_size = {};
    bool m_drawn = false;
};

class DesktopDrag {
public:
    DesktopDrag() = default;
    // Unlocks the desktop, releases the capture and the DC (callers erase their frames first).
    ~DesktopDrag();
    DesktopDrag(const DesktopDrag&) = delete;
    DesktopDrag& operator=(const DesktopDrag&) = delete;

    // Locks the desktop, takes its DC, lets pending paints happen, then captures the mouse for `window`.
    // False, with nothing held, when `window` is null, another window holds the capture (any window at all
    // unless ownCaptureAllowed), or the application quits meanwhile (the quit stays queued).
    bool Begin(HWND window, bool ownCaptureAllowed);
    CDC& Screen() { return m_screen; }
    // Takes every message while `window` holds the capture: the left button's release ends the drag,
    // Escape, the right button or a quit (posted again) cancel it; mouse moves go to onMove, other keys
    // are dropped, everything else is dispatched.
    DragEnd Run(const std::function<void(const MSG&)>& onMove);

private:
    HWND m_window = nullptr;
    HWND m_desktop = nullptr;
    HDC m_dc = nullptr;
    bool m_locked = false;
    CDC m_screen;
};
