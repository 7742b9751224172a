// Family members that take a file dropped from the shell as the control's text.
#include "ui/subclass/SubclassFamily.h"

#include <shellapi.h>

namespace {

// The first file of the drop, at most MAX_PATH characters; false when there is none.
bool FirstDroppedFile(HDROP drop, char (&path)[MAX_PATH + 1]) {
    path[0] = 0;
    if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) < 1) return false;
    return DragQueryFileA(drop, 0, path, sizeof path) > 0;
}

// Puts a path into a combo box. `set` reaches the combo without passing through the
// procedure that received the drop when that procedure sits on the combo itself.
template <typename Setter>
void DropIntoCombo(HWND combo, HWND receiver, HDROP drop, Setter set) {
    char path[MAX_PATH + 1];
    if (FirstDroppedFile(drop, path)) {
        set(CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        set(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
        HWND parent = GetParent(combo);
        int id = GetDlgCtrlID(combo);
        PostControlCommand(parent, id, CBN_EDITCHANGE, receiver);
        PostControlCommand(parent, id, CN_FILEDROPPED, receiver);
    }
    DragFinish(drop);
}

}  // namespace

LRESULT CALLBACK ComboDropProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kComboDrop, hwnd, msg, wParam, lParam, &result)) return result;
    if (msg == WM_DROPFILES) {
        DropIntoCombo(hwnd, hwnd, reinterpret_cast<HDROP>(wParam), [hwnd](UINT m, WPARAM w, LPARAM l) {
            return CallPreviousProc(kComboDrop, hwnd, m, w, l);
        });
        return 0;
    }
    return CallPreviousProc(kComboDrop, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ComboEditDropProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kComboEditDrop, hwnd, msg, wParam, lParam, &result)) return result;
    if (msg == WM_DROPFILES) {
        HWND combo = GetParent(hwnd);
        DropIntoCombo(combo, hwnd, reinterpret_cast<HDROP>(wParam), [combo](UINT m, WPARAM w, LPARAM l) {
            return SendMessageA(combo, m, w, l);
        });
        return 0;
    }
    return CallPreviousProc(kComboEditDrop, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK EditDropProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result;
    if (HandleSubclassProtocol(kEditDrop, hwnd, msg, wParam, lParam, &result)) return result;
    if (msg == WM_DROPFILES) {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        char path[MAX_PATH + 1];
        if (FirstDroppedFile(drop, path)) {
            CallPreviousProc(kEditDrop, hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
            HWND parent = GetParent(hwnd);
            int id = GetDlgCtrlID(hwnd);
            PostControlCommand(parent, id, EN_CHANGE, hwnd);
            PostControlCommand(parent, id, CN_FILEDROPPED, hwnd);
        }
        DragFinish(drop);
        return 0;
    }
    return CallPreviousProc(kEditDrop, hwnd, msg, wParam, lParam);
}

// Used by PartnerComboProc: as ComboDropProc, and the partner gets the path too.
LRESULT DropIntoPartnerCombo(HWND combo, HDROP drop) {
    char path[MAX_PATH + 1];
    if (FirstDroppedFile(drop, path)) {
        CallPreviousProc(kPartnerCombo, combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        CallPreviousProc(kPartnerCombo, combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
        if (HWND partner = GetPartnerControl(combo))
            SendMessageA(partner, PARTNER_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
        HWND parent = GetParent(combo);
        int id = GetDlgCtrlID(combo);
        PostControlCommand(parent, id, CBN_EDITCHANGE, combo);
        PostControlCommand(parent, id, EN_CHANGE, combo);
        PostControlCommand(parent, id, CN_FILEDROPPED, combo);
    }
    DragFinish(drop);
    return 0;
}
