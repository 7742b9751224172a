#include "game/ViewMessageBox.h"

#include <atomic>

namespace {

std::atomic<ViewMessageBoxFn> g_messageBox{nullptr};

}  // namespace

ViewMessageBoxFn SetViewMessageBox(ViewMessageBoxFn fn) { return g_messageBox.exchange(fn); }

int ShowViewMessage(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (ViewMessageBoxFn fn = g_messageBox.load()) return fn(owner, text, caption, type);
    return MessageBoxA(owner, text, caption, type);
}
