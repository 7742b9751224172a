// Family members that report Tab and Enter to the dialog, open a combo's list with Down,
// and report the focus of a combo's edit.
#include "ui/subclass/SubclassFamily.h"

namespace {

// The last key each keyboard procedure reported as handled; its character and key-up
// messages are swallowed too. UI thread only.
UINT g_comboEditLastKey;
UINT g_comboLastKey;
UINT g_editLastKey;

struct KeyRules {
    bool handlesEnter;
    bool isCombo;  // close the drop-down before notifying
};

// True when the key message is consumed. `notifier` is the control named in the
// notification (the combo, or the edit itself).
bool HandleNotifyKey(HWND notifier, UINT& lastKey, KeyRules rules, UINT msg, WPARAM wParam,
                     LPARAM lParam) {
    UINT key = static_cast<UINT>(wParam);
    if (msg != WM_KEYDOWN) return lastKey != 0 && key == lastKey;
    UINT code;
    if (key == VK_TAB)
        code = static_cast<UINT>(NM_KEYDOWN);
    else if (key == VK_RETURN && rules.handlesEnter)
        code = static_cast<UINT>(NM_RETURN);
    else
        return false;
    if (rules.isCombo) SendMessageA(notifier, CB_SHOWDROPDOWN, FALSE, 0);
    NMKEY notify = {};
    notify.hdr.code = code;
    notify.nVKey = key;
    notify.uFlags = static_cast<UINT>(lParam);
    if (NotifyParentKey(notifier, &notify)) {
        lastKey = key;
        return true;
    }
    lastKey = 0;
    return false;
}

// Down opens a closed, non-empty list.
bool HandleDropDownKey(HWND combo, UINT msg, WPARAM wParam) {
    if (msg != WM_KEYDOWN || wParam != VK_DOWN) return false;
    if (SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) || SendMessageA(combo, CB_GETCOUNT, 0, 0) <= 0)
        return false;
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    return true;
}

}  // namespace

LRESULT CALLBACK ComboEditKeyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kComboEditKey, hwnd, msg, wParam, lParam, &result)) return result;
    if (IsKeyboardMessage(msg)) {
        HWND combo = GetParent(hwnd);
        if (HandleNotifyKey(combo, g_comboEditLastKey, {true, true}, msg, wParam, lParam)) return 0;
        if (HandleDropDownKey(combo, msg, wParam)) return 0;
    }
    return CallPreviousProc(kComboEditKey, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ComboKeyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kComboKey, hwnd, msg, wParam, lParam, &result)) return result;
    if (IsKeyboardMessage(msg)) {
        if (HandleNotifyKey(hwnd, g_comboLastKey, {false, true}, msg, wParam, lParam)) return 0;
        if (HandleDropDownKey(hwnd, msg, wParam)) return 0;
    }
    return CallPreviousProc(kComboKey, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK EditKeyNotifyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kEditKeyNotify, hwnd, msg, wParam, lParam, &result)) return result;
    if (IsKeyboardMessage(msg) && HandleNotifyKey(hwnd, g_editLastKey, {true, false}, msg, wParam, lParam))
        return 0;
    return CallPreviousProc(kEditKeyNotify, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ComboEditFocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kComboEditFocus, hwnd, msg, wParam, lParam, &result)) return result;
    result = CallPreviousProc(kComboEditFocus, hwnd, msg, wParam, lParam);
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
        HWND combo = GetParent(hwnd);
        SendControlCommand(GetParent(combo), GetDlgCtrlID(combo),
                           msg == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS, hwnd);
    }
    return result;
}

LRESULT CALLBACK ComboFocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kComboFocus, hwnd, msg, wParam, lParam, &result)) return result;
    // The edit's colours are the dialog's to choose, as for a plain edit.
    if (msg == WM_CTLCOLOREDIT) return SendMessageA(GetParent(hwnd), msg, wParam, lParam);
    return CallPreviousProc(kComboFocus, hwnd, msg, wParam, lParam);
}
