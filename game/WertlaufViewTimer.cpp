// CWertlaufView: the 30 ms frame timer.
#include "game/WertlaufView.h"

using namespace game;

namespace {

// Marks a frame in progress (process-wide): a frame never starts inside another.
std::atomic<bool> g_frameRunning{false};

}  // namespace

void CWertlaufView::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kFrameTimerId) {
        CView::OnTimer(nIDEvent);
        return;
    }
    if (m_state.geometry.clientWidth == 0 || m_state.geometry.clientHeight == 0) return;
    if (g_frameRunning.exchange(true)) return;
    ParkCursor();
    RunFrame();
    g_frameRunning = false;
}

// In full screen entered from a maximised frame the mouse cursor is moved out of the way, to the view's
// bottom-right pixel.
void CWertlaufView::ParkCursor() {
    if (m_state.window.fullScreenMode != kFullScreenFromMaximised) return;
    POINT cursor;
    if (GetCursorPos(&cursor) && PtInRect(&m_state.window.viewRect, cursor))
        SetCursorPos(m_state.window.viewRect.right, m_state.window.viewRect.bottom - 1);
}

void CWertlaufView::RunFrame() {
    m_painter.SetImage(m_board.GetImage());
    m_frame.Run(GetTickCount());
}
