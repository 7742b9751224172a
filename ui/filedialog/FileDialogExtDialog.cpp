// The extension on the system's Explorer dialog: the hook procedure, and the dialog
// procedure put in front of the dialog's own.
#include "ui/filedialog/FileDialogExtInternal.h"

#include "system/FileFunctions.h"
#include "system/PathFunctions.h"
#include "text/StrCopy.h"
#include "ui/Clipboard.h"
#include "ui/history/ListHistoryMessages.h"
#include "ui/popup/PopupList.h"
#include "ui/popup/PopupPlacement.h"
#include "ui/subclass/Subclass.h"
#include "ui/WindowPos.h"

#include <atomic>
#include <string>

namespace {

const char kSessionProperty[] = "WlFileDialogExt";
std::atomic<bool> g_resized{false};

constexpr DWORD kWorkerStopWait = 2000;
constexpr int kSuggestionHeight = 120;

FileDialogSession* SessionOf(HWND hwnd) { return static_cast<FileDialogSession*>(GetPropA(hwnd, kSessionProperty)); }

// The folder the dialog shows; false (folder empty) when the dialog does not tell.
bool GetCurrentFolder(HWND dialog, char (&folder)[MAX_PATH]) {
    folder[0] = 0;
    return SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH - 1, reinterpret_cast<LPARAM>(folder)) > 0;
}

bool HasHistoryCombo(const FileDialogSession* s) { return s->combo && s->historyMode != OFNX_HISTORY_OFF; }

void HideList(FileDialogSession* s) {
    if (s->list && IsWindowVisible(s->list)) ShowWindow(s->list, SW_HIDE);
}

// Our own text changes are not typing: they must not restart the completion.
void SetFileNameText(FileDialogSession* s, const std::string& text) {
    s->settingText = true;
    SendMessageA(s->combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageA(s->combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(s->combo, CB_SETEDITSEL, 0, MAKELPARAM(0, 255));
    s->settingText = false;
}

void AddCandidate(FileDialogSession* s, const char* path) {
    if (!HasHistoryCombo(s)) return;
    std::string candidate;
    bool isFolder = false;
    if (!HistoryCandidate(path, s->historyMode, s->save, candidate, isFolder)) return;
    s->settingText = true;
    PutOnTopOfHistory(s->combo, candidate.c_str(), isFolder);
    s->settingText = false;
    SaveOfnHistory(s->combo, s->history);
}

// --- Showing -------------------------------------------------------------------------

void ResizeOnce(FileDialogSession* s) {
    if (!s->resizeCandidate || g_resized.exchange(true)) return;
    int width = 600, height = 450 + s->templateHeight;
    int icon = GetSystemMetrics(SM_CXICON);
    if (icon > 32) {
        width = width * icon / 32;
        height = height * icon / 32;
    }
    SetWindowPos(s->dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND FileNameControl(HWND dialog) {
    HWND control = GetDlgItem(dialog, kFileNameId);
    return control ? control : GetDlgItem(dialog, kFileNameComboExId);
}

void ShowCaption(FileDialogSession* s) {
    HWND label = GetDlgItem(s->dialog, kCaptionId);
    if (!label) return;
    if (HWND fileName = FileNameControl(s->dialog)) {
        RECT field, own;
        GetWindowRect(fileName, &field);
        GetWindowRect(label, &own);
        SetWindowPos(label, nullptr, 0, 0, field.right - field.left, own.bottom - own.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowTextA(label, s->caption.c_str());
}

void RetitleOkAsSave(HWND dialog) {
    char text[64] = {};
    GetDlgItemTextA(dialog, IDOK, text, sizeof text);
    SetDlgItemTextA(dialog, IDOK, lstrcmpA(text, "Ö&ffnen") == 0 ? "&Speichern" : "&Save");
}

void StartSuggestions(FileDialogSession* s) {
    if (s->list) return;
    s->list = CreatePopupList(0, WS_BORDER, nullptr, s->dialog, kSuggestionListId);
    if (!s->list) return;
    if (!s->completion.Start(s->dialog, s->list, kSuggestionListId)) return;
    // The folder may have been announced before the worker existed.
    char folder[MAX_PATH];
    if (GetCurrentFolder(s->dialog, folder)) s->completion.SetFolder(folder);
}

// Puts the history combo (id 1152) over the dialog's file-name field. The field stays, hidden,
// as the combo's partner (id 20949), so the dialog's own reading and writing of the file name
// reach the combo.
void ReplaceFileNameControl(FileDialogSession* s) {
    HWND original = FileNameControl(s->dialog);
    if (!original) return;
    RECT r;
    GetWindowRectInParent(original, &r);
    std::string text = GetWindowTextString(original);
    LRESULT font = SendMessageA(original, WM_GETFONT, 0, 0);
    int dropHeight = 10 * (r.bottom - r.top);
    SetWindowLongPtrA(original, GWLP_ID, kHiddenFileNameId);
    HWND combo = CreateWindowExA(WS_EX_ACCEPTFILES, "ComboBox", "",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                 r.left, r.top, r.right - r.left, r.bottom - r.top + dropHeight, s->dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFileNameId)),
                                 GetModuleHandleA(nullptr), nullptr);
    if (!combo) {
        SetWindowLongPtrA(original, GWLP_ID, GetDlgCtrlID(original) ^ 0x5555);
        return;
    }
    SetWindowPos(combo, original, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(combo, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    SetWindowTextA(combo, text.c_str());
    ShowWindow(original, SW_HIDE);
    s->original = original;
    s->combo = combo;
    InstallSubclassProc(original, MirrorEditProc);
    InstallSubclassProc(combo, PartnerComboProc);
    SetFocus(combo);

    const char* registryKey = nullptr;
    const char* profileName = nullptr;
    GetApplicationRegistryNames(&registryKey, &profileName);
    s->history = ResolveHistoryLocation(s->historyMode, s->historyKeyText.c_str(), registryKey, profileName);
    LoadOfnHistory(combo, s->history, s->callerList);
    StartSuggestions(s);
}

void OnShow(FileDialogSession* s) {
    if (s->shown) return;
    s->shown = true;
    ResizeOnce(s);
    if (s->hasCaption) ShowCaption(s);
    if (s->saveShownAsOpen) RetitleOkAsSave(s->dialog);
    if (s->historyMode != OFNX_HISTORY_OFF) ReplaceFileNameControl(s);
}

// --- Commands ------------------------------------------------------------------------

void ShowCopyPathMenu(FileDialogSession* s, LPARAM lParam) {
    POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (lParam == -1) GetCursorPos(&at);
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuA(menu, MF_STRING, kCopyPathCommand, "Kopiere aktuellen Pfad");
    TrackPopupMenu(menu, TPM_BOTTOMALIGN, at.x, at.y, 0, s->dialog, nullptr);
    DestroyMenu(menu);
}

void CopyFolderPath(FileDialogSession* s) {
    char folder[MAX_PATH];
    if (GetCurrentFolder(s->dialog, folder)) SetClipboardText(folder, -1);
}

void TakeSuggestion(FileDialogSession* s) {
    LRESULT selection = SendMessageA(s->list, LB_GETCURSEL, 0, 0);
    if (selection >= 0 && s->combo)
        SetFileNameText(s, GetListEntryText(s->list, ListBoxMessages(), static_cast<int>(selection)));
    HideList(s);
}

void ShowSuggestions(FileDialogSession* s) {
    if (!s->combo || GetWindowTextLengthA(s->combo) == 0) return;
    HideList(s);
    SendMessageA(s->combo, CB_SHOWDROPDOWN, FALSE, 0);
    RECT field;
    GetWindowRect(s->combo, &field);
    // Under the field, or above it when the field sits low on its monitor.
    const RECT r = PlacePopupAtAnchor(field, field.right - field.left - 20, kSuggestionHeight, WorkAreaForRect(field));
    SetWindowPos(s->list, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void SyncHiddenField(FileDialogSession* s) {
    char hidden[1024] = {};
    SendMessageA(s->original, PARTNER_GETTEXT, sizeof hidden, reinterpret_cast<LPARAM>(hidden));
    std::string text = GetWindowTextString(s->combo);
    if (text != hidden) SendMessageA(s->original, PARTNER_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void OpenSelectedFolder(FileDialogSession* s) {
    LRESULT selection = SendMessageA(s->combo, CB_GETCURSEL, 0, 0);
    if (selection < 0) return;
    std::string entry = GetListEntryText(s->combo, ListMessagesFor(s->combo), static_cast<int>(selection));
    if (!entry.empty() && GetPathTypeA(entry.c_str()) >= PATH_DIRECTORY) PostMessageA(s->dialog, WM_COMMAND, IDOK, 0);
}

void OnFileNameCommand(FileDialogSession* s, WORD code) {
    switch (code) {
    case CBN_EDITCHANGE:
        if (s->settingText) break;
        {
            std::string text = GetWindowTextString(s->combo);
            s->completion.SetText(text.c_str());
            if (text.empty()) HideList(s);
        }
        break;
    case CBN_DROPDOWN:
        HideList(s);
        break;
    case CBN_CLOSEUP:
        OpenSelectedFolder(s);
        break;
    case EN_CHANGE:
        SyncHiddenField(s);
        break;
    case CBN_KILLFOCUS: {
        HWND focus = GetFocus();
        if (!s->list || (focus != s->list && !IsChild(s->list, focus))) HideList(s);
        break;
    }
    }
}

// True when the command is fully handled here.
bool OnCommand(FileDialogSession* s, WPARAM wParam) {
    WORD id = LOWORD(wParam), code = HIWORD(wParam);
    if (id == kCopyPathCommand && code == 0) {
        CopyFolderPath(s);
        return true;
    }
    if (id == kSuggestionListId && s->list) {
        if (code == LBN_SELCHANGE) TakeSuggestion(s);
        if (code == FILE_COMPLETION_READY) ShowSuggestions(s);
        return code == LBN_SELCHANGE || code == FILE_COMPLETION_READY;
    }
    if (id == kFileNameId && HasHistoryCombo(s)) OnFileNameCommand(s, code);
    if (id == IDOK && HasHistoryCombo(s) && s->historyMode != OFNX_HISTORY_CALLER_LIST)
        AddCandidate(s, GetWindowTextString(s->combo).c_str());
    return false;
}

// --- Keys ------------------------------------------------------------------------------

bool MoveSuggestion(FileDialogSession* s, UINT key) {
    int count = static_cast<int>(SendMessageA(s->list, LB_GETCOUNT, 0, 0));
    if (count <= 0) return false;
    int selection = static_cast<int>(SendMessageA(s->list, LB_GETCURSEL, 0, 0));
    int next = key == VK_DOWN ? selection + 1 : selection - 1;
    if (next < 0) next = 0;
    if (next >= count) next = count - 1;
    SendMessageA(s->list, LB_SETCURSEL, next, 0);
    SetFileNameText(s, GetListEntryText(s->list, ListBoxMessages(), next));
    return true;
}

void CorrectTypedSlashes(FileDialogSession* s) {
    std::string text = GetWindowTextString(s->combo);
    if (ConvertSeparatorsA(text.data(), '\\') > 0) SetFileNameText(s, text);
}

// True with *result when the key is handled (the sender then swallows it).
bool OnKeyNotify(FileDialogSession* s, WPARAM wParam, NMKEY* key, INT_PTR* result) {
    if (!s->combo || (wParam != static_cast<WPARAM>(kFileNameId) && key->hdr.hwndFrom != s->combo)) return false;
    if ((key->nVKey == VK_DOWN || key->nVKey == VK_UP) && s->list && IsWindowVisible(s->list)) {
        if (MoveSuggestion(s, key->nVKey)) {
            key->hdr.idFrom = KEY_HANDLED_MARKER;
            SetWindowLongPtrA(s->dialog, DWLP_MSGRESULT, 1);
            *result = TRUE;
            return true;
        }
    }
    if (key->nVKey == VK_RETURN) CorrectTypedSlashes(s);
    return false;
}

void OnDestroy(FileDialogSession* s) {
    s->completion.Stop(kWorkerStopWait);
    if (s->list) DestroyWindow(s->list);
    s->list = nullptr;
}

INT_PTR CALLBACK ExtensionDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    FileDialogSession* s = SessionOf(dialog);
    if (!s || !s->previousDlgProc) return FALSE;
    switch (msg) {
    case WM_SHOWWINDOW:
        if (wParam) OnShow(s);
        break;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == dialog) {
            ShowCopyPathMenu(s, lParam);
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (OnCommand(s, wParam)) return TRUE;
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        INT_PTR result;
        if (header && header->code == static_cast<UINT>(NM_KEYDOWN) &&
            OnKeyNotify(s, wParam, reinterpret_cast<NMKEY*>(lParam), &result))
            return result;
        break;
    }
    case WM_MOVING:
    case WM_LBUTTONDOWN:
        HideList(s);
        break;
    case WM_DESTROY:
        OnDestroy(s);
        break;
    }
    return CallWindowProcA(reinterpret_cast<WNDPROC>(s->previousDlgProc), dialog, msg, wParam, lParam);
}

void Claim(FileDialogSession* s, HWND hookDialog) {
    s->claimed = true;
    s->hookDialog = hookDialog;
    s->dialog = GetParent(hookDialog);
    SetPropA(hookDialog, kSessionProperty, s);
    SetPropA(s->dialog, kSessionProperty, s);
    s->notifyByObject = AttachFileDlgExtObject(hookDialog);
    s->previousDlgProc = reinterpret_cast<DLGPROC>(
        SetWindowLongPtrA(s->dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(ExtensionDialogProc)));
}

}  // namespace

FileDialogSession* SessionOfDialog(HWND dialog) { return SessionOf(dialog); }

UINT_PTR CALLBACK FileDialogExtHook(HWND hookDialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    FileDialogSession* s = SessionOf(hookDialog);
    if (!s) s = UnclaimedSessionOfThisThread();
    if (!s) return 0;
    if (msg == WM_INITDIALOG && !s->claimed) Claim(s, hookDialog);
    if (msg == WM_NOTIFY && s->claimed && !s->notifyByObject) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && IsCommonDialogNotify(header->code))
            HandleFileDialogNotify(s->dialog, reinterpret_cast<OFNOTIFYA*>(lParam));
    }
    if (msg == WM_DESTROY) DetachFileDlgExtObject(hookDialog);
    return s->callerHook ? s->callerHook(hookDialog, msg, wParam, lParam) : 0;
}

void HandleFileDialogNotify(HWND dialog, const OFNOTIFYA* notify) {
    FileDialogSession* s = SessionOf(dialog);
    if (!s || !notify) return;
    switch (notify->hdr.code) {
    case CDN_FOLDERCHANGE: {
        HideList(s);
        char folder[MAX_PATH];
        GetCurrentFolder(dialog, folder);
        s->completion.SetFolder(folder);
        break;
    }
    case CDN_FILEOK: {
        HideList(s);
        const OPENFILENAMEA* ofn = notify->lpOFN;
        if (!ofn || !ofn->lpstrFile) break;
        char path[MAX_PATH] = {};
        StrCopyNA(path, ofn->lpstrFile, sizeof path);
        AddCandidate(s, path);
        break;
    }
    }
}
