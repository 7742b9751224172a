#include "ui/autoscroll/AutoScroll.h"

#include "framework/Controls.h"
#include "framework/WinApp.h"
#include "ui/autoscroll/AutoScrollDirection.h"
#include "ui/autoscroll/AutoScrollImages.h"

#include <memory>
#include <utility>

namespace {

constexpr int kMarkSize = 32;
constexpr UINT kMarkId = 65535;
constexpr DWORD kMarkStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SS_ICON;
constexpr DWORD kTickMs = 200;
// How long the loop waits for the worker to end, in steps of 50 ms.
constexpr DWORD kWorkerWaitMs = 5000;
constexpr DWORD kWorkerWaitStepMs = 50;

// What the loop and the worker share; the worker keeps it alive for as long as it runs.
struct AutoScrollState {
    HWND target = nullptr;
    AutoScrollTick tick;
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    std::atomic<int> code{0};
    std::atomic<int> step{1};
};

AutoScrollTick& ConfiguredTick() {
    static AutoScrollTick tick;
    return tick;
}

void DefaultTick(const std::atomic<bool>&) { ::Sleep(kTickMs); }

// Posts the scroll of one axis for a tick, when the direction has a part on it.
void PostTick(HWND target, int bar, int code, int step) {
    if ((bar == SB_HORZ ? code / 3 : code % 3) == 0) return;
    int minPos = 0, maxPos = 0;
    ::GetScrollRange(target, bar, &minPos, &maxPos);
    int next = AutoScrollTarget(code, bar, ::GetScrollPos(target, bar), step, minPos, maxPos);
    if (next < 0) next = 0;
    if (next > 0xFFFF) next = 0xFFFF;
    // A tick's horizontal scroll carries 1 where a scroll bar control would stand, the vertical one 0.
    ::PostMessageA(target, bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, next), bar == SB_HORZ);
}

// Tells the window to settle at the position reached; its object (if it still has one) names the scroll bar
// control.
void PostSettle(HWND target, int bar) {
    CWnd* wnd = CWnd::FromHandlePermanent(target);
    CWnd* control = wnd ? wnd->GetScrollBarCtrl(bar) : nullptr;
    ::PostMessageA(target, bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL,
                   MAKEWPARAM(SB_THUMBPOSITION, ::GetScrollPos(target, bar)),
                   reinterpret_cast<LPARAM>(control ? control->GetSafeHwnd() : nullptr));
}

// The mouse point of a message in the target's client coordinates.
POINT ClientPoint(const MSG& msg, HWND target) {
    POINT p = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    if (msg.hwnd != target) ::MapWindowPoints(msg.hwnd, target, &p, 1);
    return p;
}

// The modal loop: runs while the target holds the capture and keeps code and step up to date.
void RunLoop(AutoScrollState& state, const AutoScrollImages& images, int x, int y, int axes) {
    MSG msg;
    int shown = 0;
    while (::GetCapture() == state.target) {
        if (!fw::GetNextMessage(msg)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: return;
        case WM_MOUSEWHEEL: break;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) return;
            break;
        case WM_KILLFOCUS: ::DispatchMessageA(&msg); return;
        case WM_MOUSEMOVE: {
            const POINT p = ClientPoint(msg, state.target);
            const int code = AutoScrollCode(p.x - x, p.y - y, axes);
            if (code != shown) ::SetCursor(images.Cursor(code));
            shown = code;
            state.code = code;
            state.step = AutoScrollStep(p.x - x, p.y - y, axes);
            break;
        }
        default: ::DispatchMessageA(&msg);
        }
    }
}

// Sets the stop flag and waits, bounded, for a started worker to end. The state stays alive for a
// worker that outlasts the wait.
void StopWorker(AutoScrollState& state, bool started) {
    state.stop = true;
    if (!started) return;
    for (DWORD waited = 0; !state.done && waited < kWorkerWaitMs; waited += kWorkerWaitStepMs)
        ::Sleep(kWorkerWaitStepMs);
}

}  // namespace

void SetAutoScrollTick(AutoScrollTick tick) { ConfiguredTick() = std::move(tick); }

UINT AutoScrollThread(LPVOID param) {
    const std::unique_ptr<std::shared_ptr<AutoScrollState>> holder(static_cast<std::shared_ptr<AutoScrollState>*>(param));
    AutoScrollState& state = **holder;
    while (!state.stop) {
        state.tick(state.stop);
        if (state.stop) break;
        const int code = state.code, step = state.step;
        PostTick(state.target, SB_HORZ, code, step);
        PostTick(state.target, SB_VERT, code, step);
    }
    state.done = true;
    return 0;
}

int StartAutoScroll(CWnd* wnd, int x, int y, int axes) {
    if (axes < 1 || axes > 3 || !wnd || !::IsWindow(wnd->GetSafeHwnd())) return 0;
    // The loop may destroy the window and its object: only the handle is used after it.
    const HWND target = wnd->m_hWnd;
    auto state = std::make_shared<AutoScrollState>();
    state->target = target;
    state->tick = ConfiguredTick() ? ConfiguredTick() : AutoScrollTick(DefaultTick);
    auto* handover = new std::shared_ptr<AutoScrollState>(state);
    const bool started = AfxBeginThread(AutoScrollThread, handover) != nullptr;
    if (!started) delete handover;

    AutoScrollImages images(axes);
    ::SetCapture(target);
    HWND mark = ::CreateWindowExA(0, "STATIC", nullptr, kMarkStyle, x - kMarkSize / 2, y - kMarkSize / 2, kMarkSize,
                                  kMarkSize, target, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kMarkId)),
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (mark) ::SendMessageA(mark, STM_SETICON, reinterpret_cast<WPARAM>(images.Mark()), 0);
    state->step = 1;
    HCURSOR oldCursor = ::SetCursor(images.Cursor(0));

    RunLoop(*state, images, x, y, axes);
    StopWorker(*state, started);

    ::SetCursor(oldCursor);
    if (!::IsWindow(target)) return 1;  // the mark went with it
    if (::GetCapture() == target) ::ReleaseCapture();
    if (mark) ::DestroyWindow(mark);
    PostSettle(target, SB_HORZ);
    PostSettle(target, SB_VERT);
    return 1;
}
