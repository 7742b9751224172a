// Family members that change how an edit can be used: normal colours while disabled,
// locked (focusable but unchangeable) and always read-only.
#include "ui/subclass/SubclassFamily.h"

namespace {

bool IsDisabled(HWND hwnd) { return (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_DISABLED) != 0; }

// Messages that would change the text.
bool IsEditingMessage(UINT msg, WPARAM wParam) {
    switch (msg) {
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_CHAR:
        return true;
    default:
        return IsKeyboardMessage(msg) && (wParam == VK_BACK || wParam == VK_DELETE);
    }
}

// The edit always believes it is enabled, so it keeps its normal colours.
bool HandleEnabledLook(SubclassId id, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (msg == WM_ENABLE) {
        *result = CallPreviousProc(id, hwnd, msg, TRUE, lParam);
        return true;
    }
    if (msg == WM_GETDLGCODE && IsDisabled(hwnd)) {
        *result = DLGC_STATIC;
        return true;
    }
    (void)wParam;
    return false;
}

}  // namespace

LRESULT CALLBACK EnabledLookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kEnabledLook, hwnd, msg, wParam, lParam, &result)) return result;
    if (HandleEnabledLook(kEnabledLook, hwnd, msg, wParam, lParam, &result)) return result;
    if (msg == WM_SETFOCUS && IsDisabled(hwnd)) return 0;
    return CallPreviousProc(kEnabledLook, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK LockedEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kLockedEdit, hwnd, msg, wParam, lParam, &result)) return result;
    if (HandleEnabledLook(kLockedEdit, hwnd, msg, wParam, lParam, &result)) return result;
    if (IsEditingMessage(msg, wParam) && IsDisabled(hwnd)) return 0;
    return CallPreviousProc(kLockedEdit, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ReadOnlyEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kReadOnlyEdit, hwnd, msg, wParam, lParam, &result)) return result;
    if (msg == WM_GETDLGCODE) return DLGC_WANTARROWS;
    if (IsEditingMessage(msg, wParam)) return 0;
    return CallPreviousProc(kReadOnlyEdit, hwnd, msg, wParam, lParam);
}
