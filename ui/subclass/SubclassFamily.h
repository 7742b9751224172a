// Shared machinery of the subclass family (used by the procedure files only).
#pragma once

#include "ui/subclass/Subclass.h"

enum SubclassId {
    kComboEditFocus,
    kComboFocus,
    kComboEditKey,
    kComboKey,
    kPartnerEdit,
    kPartnerCombo,
    kComboEditDrop,
    kComboDrop,
    kEnabledLook,
    kEditKeyNotify,
    kLockedEdit,
    kEditDrop,
    kReadOnlyEdit,
    kMirrorEdit,
    kSubclassCount
};

// Answers the install and remove messages and cleans up at WM_NCDESTROY; true when the
// message was one of those and *result holds the answer.
bool HandleSubclassProtocol(SubclassId id, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                            LRESULT* result);
// The procedure the member replaced on hwnd (the class procedure when none is stored).
WNDPROC GetPreviousProc(SubclassId id, HWND hwnd);
LRESULT CallPreviousProc(SubclassId id, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The edit inside a combo box, or 0.
HWND GetComboEdit(HWND combo);
// Posts WM_COMMAND (id, code) with lParam `from` to `target`.
void PostControlCommand(HWND target, int id, WORD code, HWND from);
void SendControlCommand(HWND target, int id, WORD code, HWND from);

// The drop handling of PartnerComboProc.
LRESULT DropIntoPartnerCombo(HWND combo, HDROP drop);

inline bool IsKeyboardMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_SYSDEADCHAR; }
