// A combo box's history as one REG_MULTI_SZ value under HKEY_CURRENT_USER: the entries
// newest first, at most 16 saved.
//
// Value names may carry prefixes, "*" first, then "#", which are not part of the stored
// name: "#" stores the edit text in a marker part (byte 2, then the text) in front of the
// entries and restores it on loading; "*" saves even an empty edit text (and implies the
// marker part). A key path beginning with "#" means the application's own key, and what
// follows the "#" names a subkey of it.
#pragma once

#include "framework/CString.h"
#include "framework/Wnd.h"

#include <windows.h>

class CRegistry;

// Fills combo ctrlId of dialog from the value; outText (may be null) receives the first stored
// entry (at most 2,047 characters). Returns the number of entries added, 0 when the key or
// value is missing (the combo is then untouched).
int LoadComboHistory(HWND dialog, int ctrlId, LPCSTR valueName, LPCSTR keyPath, CString* outText);
int LoadComboHistoryFromKey(HWND dialog, int ctrlId, LPCSTR valueName, CRegistry& registry, CString* outText);

// Writes the combo's edit text and its other entries (creating the key when missing).
// Returns the number of entries written, 0 when nothing was written.
int SaveComboHistory(HWND dialog, int ctrlId, LPCSTR valueName, LPCSTR keyPath);
int SaveComboHistoryToKey(HWND dialog, int ctrlId, LPCSTR valueName, CRegistry& registry);

// The same for a framework dialog.
inline int LoadComboHistory(CWnd* dialog, int ctrlId, LPCSTR valueName, LPCSTR keyPath, CString* outText) {
    return LoadComboHistory(dialog->GetSafeHwnd(), ctrlId, valueName, keyPath, outText);
}
inline int SaveComboHistory(CWnd* dialog, int ctrlId, LPCSTR valueName, LPCSTR keyPath) {
    return SaveComboHistory(dialog->GetSafeHwnd(), ctrlId, valueName, keyPath);
}

constexpr int COMBO_HISTORY_MAX_ENTRIES = 16;
