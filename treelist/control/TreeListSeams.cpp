#include "treelist/control/TreeListSeams.h"

#include <atomic>

namespace {

DWORD SystemTick() { return GetTickCount(); }

std::atomic<TreeListTickFn> g_tick{SystemTick};
std::atomic<TreeListPostFn> g_post{PostMessageA};
std::atomic<TreeListCursorFn> g_cursor{GetCursorPos};
std::atomic<bool> g_paintCopies{true};

}  // namespace

bool TreeListPaintCopiesOn() { return g_paintCopies.load(); }

bool SetTreeListPaintCopies(bool on) { return g_paintCopies.exchange(on); }

DWORD TreeListTick() { return g_tick.load()(); }

BOOL TreeListPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_post.load()(window, message, wParam, lParam);
}

TreeListTickFn SetTreeListTickSource(TreeListTickFn tick) { return g_tick.exchange(tick ? tick : SystemTick); }

TreeListPostFn SetTreeListPostFunction(TreeListPostFn post) {
    return g_post.exchange(post ? post : PostMessageA);
}

BOOL TreeListCursorPos(POINT* point) { return g_cursor.load()(point); }

POINT TreeListCursorIn(HWND window) {
    POINT p = {0, 0};
    if (TreeListCursorPos(&p)) ScreenToClient(window, &p);
    return p;
}

TreeListCursorFn SetTreeListCursorSource(TreeListCursorFn cursor) {
    return g_cursor.exchange(cursor ? cursor : GetCursorPos);
}
