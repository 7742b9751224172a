// Shared pieces of the file-dialog extension (used by its own files and its tests).
#pragma once

#include "framework/CString.h"
#include "ui/filedialog/FileDialogExt.h"
#include "ui/filedialog/FileDialogExtCompletion.h"

#include <string>

using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEA);

// The system functions that the import slots held (bound at run time when no slot was replaced).
FileDialogFn SystemGetOpenFileName();
FileDialogFn SystemGetSaveFileName();

// Controls and commands of the extended dialog.
constexpr int kFileNameId = 1152;                             // the dialog's file-name field; our combo
constexpr int kFileNameComboExId = 1148;                      // the file-name field of dialogs without 1152
constexpr int kHiddenFileNameId = kFileNameId ^ 0x5555;       // 20949: the dialog's own field, hidden
constexpr int kCaptionId = 1040;
constexpr int kSuggestionListId = 1408;
constexpr UINT kCopyPathCommand = 18585;

// Where a dialog's history lives.
struct HistoryLocation {
    bool none = false;        // no history and no combo
    bool callerList = false;  // the entries come with the call; nothing is written
    bool writable = true;     // false for the modes that store nothing
    std::string keyPath;      // under HKEY_CURRENT_USER
    std::string valueName;
};

// "OfnList" and the key text's last part after '.', '*' or '?' (at most 24 characters), the
// first letter upper-cased, the rest lower-cased.
std::string OfnHistoryValueName(const char* keyText);
// The history's key and value for a history mode (Flags & OFNX_HISTORY_MASK), the key text
// (default extension or custom filter) and the application's registry key and profile name
// (either may be null).
HistoryLocation ResolveHistoryLocation(DWORD mode, const char* keyText, const char* appRegistryKey,
                                       const char* appProfileName);

// The path a successful OK adds to the history, or false when it adds none. isFolder tells
// whether the path is a folder (then ending in '\').
bool HistoryCandidate(const char* path, DWORD mode, bool save, std::string& out, bool& isFolder);

// Puts at most 32 entries into the combo from the registry or from a caller's multi-string
// (callerList, read within 4,096 bytes); returns the number added.
int LoadOfnHistory(HWND combo, const HistoryLocation& where, const char* callerList);
// Writes the combo's first 16 entries (at most 4,096 bytes; an entry that does not fit is
// skipped). False when nothing was written.
bool SaveOfnHistory(HWND combo, const HistoryLocation& where);
// Moves or inserts path at the top of the combo; a folder found below the top becomes the
// selection.
void PutOnTopOfHistory(HWND combo, const char* path, bool isFolder);

// Splits "caption@filter...": true when the first filter string holds an '@'.
bool SplitFilterCaption(const char* filter, std::string& caption, const char** rest);

// The framework side: the application's registry names, and the dialog object that takes
// over the hook dialog (see FileDialogExtObject.cpp).
void GetApplicationRegistryNames(const char** registryKey, const char** profileName);
// Attaches the extension's dialog object to the hook dialog; true when the framework routes
// the hook dialog's notifications through it.
bool AttachFileDlgExtObject(HWND hookDialog);
void DetachFileDlgExtObject(HWND hookDialog);
void DeleteFileDialogExtObject();

// One call of a replacement function: the copy of the caller's structure handed to the
// system and the state of the dialog it shows. Lives on the calling thread's stack.
struct FileDialogSession {
    OPENFILENAMEA ofn = {};
    LPOFNHOOKPROC callerHook = nullptr;
    std::string caption;
    bool hasCaption = false;
    DWORD historyMode = 0;
    std::string historyKeyText;
    const char* callerList = nullptr;  // OFNX_HISTORY_CALLER_LIST: the caller's entries
    bool save = false;
    bool saveShownAsOpen = false;
    bool resizeCandidate = false;
    int templateHeight = 0;

    bool claimed = false;  // a dialog belongs to this session
    bool shown = false;
    bool notifyByObject = false;  // the framework object forwards the common-dialog notifications
    HWND hookDialog = nullptr;
    HWND dialog = nullptr;
    DLGPROC previousDlgProc = nullptr;
    HWND combo = nullptr;
    HWND original = nullptr;
    HWND list = nullptr;
    bool settingText = false;
    HistoryLocation history;
    FileCompletion completion;
    FileDialogSession* outer = nullptr;
};

// CDN_* notification codes.
inline bool IsCommonDialogNotify(UINT code) {
    return code >= static_cast<UINT>(-607) && code <= static_cast<UINT>(-600);
}

// The dialog side (FileDialogExtDialog.cpp).
UINT_PTR CALLBACK FileDialogExtHook(HWND hookDialog, UINT msg, WPARAM wParam, LPARAM lParam);
// A common-dialog notification (CDN_*) for the extension; dialog is the Explorer dialog.
void HandleFileDialogNotify(HWND dialog, const OFNOTIFYA* notify);
FileDialogSession* SessionOfDialog(HWND dialog);
// The innermost running call of this thread whose dialog has not been seen yet.
FileDialogSession* UnclaimedSessionOfThisThread();
