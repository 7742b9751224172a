// Process-wide extension of the program's open and save dialogs (Explorer style): a file-name
// combo box with a per-type history of recent paths, completion from the current folder
// while typing, a "Kopiere aktuellen Pfad" context-menu entry, a larger default size and
// '/' to '\' correction.
//
// Callers switch features through high bits of OPENFILENAMEA::Flags (OFNX_*). The
// caller's OPENFILENAMEA is left as it was, apart from the dialog's results.
#pragma once

#include "framework/FileDialog.h"

#include <windows.h>
#include <commdlg.h>

// The filter begins with a caption ended by '@', shown in the dialog. In a save call the
// dialog is shown as an open dialog whose OK button reads "Save".
constexpr DWORD OFNX_CAPTION = 0x80000000;
// History modes (Flags & OFNX_HISTORY_MASK).
constexpr DWORD OFNX_HISTORY_MASK = 0x70000000;
constexpr DWORD OFNX_HISTORY_FOLDERS = 0x00000000;      // keyed by the default extension; folders stored
constexpr DWORD OFNX_HISTORY_PATHS = 0x10000000;        // ... existing files and folders stored
constexpr DWORD OFNX_HISTORY_READONLY = 0x20000000;     // ... nothing stored
constexpr DWORD OFNX_HISTORY_CALLER_LIST = 0x30000000;  // lpstrCustomFilter holds the entries; nothing stored
constexpr DWORD OFNX_HISTORY_KEYED = 0x40000000;        // 0x4/0x5/0x6...: lpstrCustomFilter = "key path\value"
constexpr DWORD OFNX_HISTORY_OFF = 0x70000000;          // no history, the dialog's own file-name field

// Replaces the import slots of GetOpenFileNameA and GetSaveFileNameA in the module (null:
// the program itself) by the extension and lets drag and drop and copy-data messages
// through from lower-integrity processes. Returns 1.
int InstallFileDialogExtension(LPCSTR moduleName);

// The replacements that the import slots point to.
BOOL WINAPI ExtGetOpenFileNameA(LPOPENFILENAMEA ofn);
BOOL WINAPI ExtGetSaveFileNameA(LPOPENFILENAMEA ofn);

// The extension's dialog object (one per process, deleted at exit). It takes over the
// system dialog's hook window from the window's framework object when there is one, and then
// hands the dialog's notifications to the extension before the framework's own handling.
class CFileDlgExt : public CFileDialog {
public:
    CFileDlgExt();
    ~CFileDlgExt() override;

    // Takes the hook window over from its permanent framework object; 0 when the window has
    // none (or this object serves another dialog).
    BOOL AttachDialog(HWND hookDialog);
    void DetachDialog(HWND hookDialog);

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
