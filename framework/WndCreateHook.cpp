// Attaches an object to its window before the window's first message: a thread-local CBT hook catches
// the window at HCBT_CREATEWND and routes it through AfxWndProc. This works for the framework's own
// classes and for system and toolkit classes alike.
#include <windows.h>

#include "framework/HandleMap.h"
#include "framework/Wnd.h"

namespace fw {
namespace {

struct Creating {
    CWnd* wnd;
    HWND parent;
    UINT id;
};

constexpr int kMaxCreating = 32;

struct ThreadState {
    MSG current;
    CWnd* pending;  // waits for its HCBT_CREATEWND
    HHOOK hook;
    int depth;
    Creating creating[kMaxCreating];
};

thread_local ThreadState t_state;

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    ThreadState& st = t_state;
    if (code == HCBT_CREATEWND && st.pending) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        CWnd* wnd = st.pending;
        st.pending = nullptr;
        wnd->m_hWnd = hWnd;
        SetPermanent(hWnd, wnd);
        WNDPROC old = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
        SetSuperProc(hWnd, old && old != &AfxWndProc ? old : &DefWindowProcA);
    }
    return CallNextHookEx(st.hook, code, wParam, lParam);
}

}  // namespace

MSG& CurrentMessage() { return t_state.current; }

void BeginCreating(CWnd* wnd, HWND parent, UINT id) {
    ThreadState& st = t_state;
    if (st.depth == 0 && !st.hook)
        st.hook = SetWindowsHookExA(WH_CBT, &CbtHook, nullptr, GetCurrentThreadId());
    if (st.depth < kMaxCreating) st.creating[st.depth] = {wnd, parent, id};
    ++st.depth;
    st.pending = wnd;
}

bool EndCreating() {
    ThreadState& st = t_state;
    bool attached = st.pending == nullptr;
    st.pending = nullptr;  // unused when the creation failed early
    if (st.depth > 0) --st.depth;
    if (st.depth == 0 && st.hook) {
        UnhookWindowsHookEx(st.hook);
        st.hook = nullptr;
    }
    return attached;
}

CWnd* FindCreatingChild(HWND parent, UINT id) {
    ThreadState& st = t_state;
    for (int i = (st.depth < kMaxCreating ? st.depth : kMaxCreating) - 1; i >= 0; --i) {
        const Creating& c = st.creating[i];
        if (c.parent == parent && c.id == id && c.wnd->m_hWnd) return c.wnd;
    }
    return nullptr;
}

LRESULT CallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG& cur = t_state.current;
    MSG saved = cur;
    cur.hwnd = hWnd;
    cur.message = message;
    cur.wParam = wParam;
    cur.lParam = lParam;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    cur = saved;
    return result;
}

}  // namespace fw
