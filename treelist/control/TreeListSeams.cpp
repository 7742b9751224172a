#include "treelist/control/TreeListSeams.h"

#include <atomic>

namespace {

DWORD SystemTick() { return GetTickCount(); }

std::atomic<TreeListTickFn> g_tick{SystemTick};
std::atomic<TreeListPostFn> g_post{PostMessageA};

}  // namespace

DWORD TreeListTick() { return g_tick.load()(); }

BOOL TreeListPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_post.load()(window, message, wParam, lParam);
}

TreeListTickFn SetTreeListTickSource(TreeListTickFn tick) { return g_tick.exchange(tick ? tick : SystemTick); }

TreeListPostFn SetTreeListPostFunction(TreeListPostFn post) {
    return g_post.exchange(post ? post : PostMessageA);
}
