// A family of window procedures that add small behaviours to EDIT and COMBOBOX controls.
//
// Every procedure installs itself when it receives SUBCLASS_INSTALL and removes itself on
// SUBCLASS_REMOVE; the procedure it replaced is kept in a window property of its own, so
// several procedures of the family can sit on one window and be removed in any order.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Private messages understood by every procedure of the family.
constexpr UINT SUBCLASS_INSTALL = 27133;  // lParam: 0, or the previous procedure when the caller put us in place
constexpr UINT SUBCLASS_REMOVE = 27132;   // lParam: 0 restores the previous procedure, non-zero only forgets it

// Partner messages: act on the receiving control only, never passed on to its partner.
constexpr UINT PARTNER_SETTEXT = 14762;   // as WM_SETTEXT
constexpr UINT PARTNER_GETTEXT = 14763;   // as WM_GETTEXT (wParam buffer size, lParam buffer)

// A control's partner is the sibling whose id is its own id XOR this value.
constexpr int PARTNER_ID_XOR = 0x5555;

// Written by a parent into NMHDR::idFrom of a key notification to say "handled".
constexpr UINT_PTR KEY_HANDLED_MARKER = 0x12345678;

// WM_COMMAND code posted after a dropped file became a control's text.
constexpr WORD CN_FILEDROPPED = 0x0703;

// Creates the property atoms and reads the class procedures; returns the family atom.
ATOM InitSubclassFamily();
// Installs proc on hwnd through SUBCLASS_INSTALL; returns 1.
int InstallSubclassProc(HWND hwnd, WNDPROC proc);
// As InstallSubclassProc, but returns what proc answered; 0 for a null proc.
LRESULT CallSubclassInstall(HWND hwnd, WNDPROC proc);
// Outside the family: keeps the current procedure in GWLP_USERDATA and installs proc.
int SubclassWindowUserData(HWND hwnd, WNDPROC proc);
// Sends notify (hwndFrom and idFrom filled in) to hwnd's parent; 1 when the parent
// marked it handled, otherwise the parent's answer.
LRESULT NotifyParentKey(HWND hwnd, NMKEY* notify);
// The partner of a control (id XOR 0x5555 under the same parent), or 0.
HWND GetPartnerControl(HWND hwnd);

// The family.
LRESULT CALLBACK ComboEditFocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboFocusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboEditKeyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboKeyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PartnerEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PartnerComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboEditDropProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboDropProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EnabledLookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditKeyNotifyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK LockedEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditDropProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ReadOnlyEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MirrorEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
