// Saving the shown page to a file without showing the browser's save dialog: a CBT hook catches the
// dialog as it is created, moves it off screen, fills in the file name and type and confirms it.
#include "ui/html/HtmlWnd.h"

#include <chrono>
#include <cstring>
#include <mutex>

namespace {

// Controls of the system's save dialog.
constexpr int kFileNameCombo = 1148;
constexpr int kFileTypeCombo = 1136;
constexpr char kPreviousProc[] = "HtmlWndSaveAsProc";

// One silent save at a time in the process.
struct SilentSave {
    std::timed_mutex lock;
    CString path;
    int typeIndex = 0;
    bool centreFollowUp = false;
    HHOOK hook = nullptr;
    HWND captured = nullptr; // the first dialog
    bool done = false;       // the file name went in and the dialog was confirmed
};

SilentSave& State() {
    static SilentSave* state = new SilentSave; // lives until exit; no destruction order to mind
    return *state;
}

LRESULT CALLBACK CapturedDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kPreviousProc));
    const LRESULT result = previous ? CallWindowProcA(previous, hwnd, message, wParam, lParam)
                                    : DefDlgProcA(hwnd, message, wParam, lParam);
    SilentSave& s = State();
    if (message == WM_INITDIALOG) {
        if (!s.done) {
            HWND name = GetDlgItem(hwnd, kFileNameCombo);
            SendMessageA(name, CB_SETCURSEL, (WPARAM)-1, 0);
            SetWindowTextA(name, s.path);
            SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(kFileNameCombo, CBN_EDITCHANGE), (LPARAM)name);
            HWND type = GetDlgItem(hwnd, kFileTypeCombo);
            SendMessageA(type, CB_SETCURSEL, (WPARAM)(s.typeIndex + 1), 0);
            SendMessageA(type, WM_COMMAND, MAKEWPARAM(kFileTypeCombo, CBN_CLOSEUP), (LPARAM)type);
            SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(kFileTypeCombo, CBN_SELCHANGE), (LPARAM)type);
            s.done = true;
            PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
        } else {
            // A follow-up question (replace the file?) is answered with yes.
            PostMessageA(hwnd, WM_COMMAND, IDYES, 0);
        }
    } else if (message == WM_NCDESTROY) {
        RemovePropA(hwnd, kPreviousProc);
    }
    return result;
}

void CaptureOffScreen(HWND hwnd, CREATESTRUCTA* create) {
    SetPropA(hwnd, kPreviousProc,
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CapturedDialogProc))));
    create->x = -2 * create->cx;
}

LRESULT CALLBACK SaveAsHook(int code, WPARAM wParam, LPARAM lParam) {
    SilentSave& s = State();
    if (code == HCBT_CREATEWND) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        char className[16] = {};
        GetClassNameA(hwnd, className, sizeof className);
        if (strcmp(className, "#32770") == 0) {
            if (!s.captured) {
                s.captured = hwnd;
                CaptureOffScreen(hwnd, create);
            } else if (s.centreFollowUp) {
                create->x = (GetSystemMetrics(SM_CXSCREEN) - create->cx) / 2;
                create->y = (GetSystemMetrics(SM_CYSCREEN) - create->cy) / 2;
            } else {
                CaptureOffScreen(hwnd, create);
            }
        }
    }
    return CallNextHookEx(s.hook, code, wParam, lParam);
}

} // namespace

int CHtmlWnd::SaveAsSilent(LPCSTR path, int typeIndex, BOOL centreFollowUp) {
    if (!m_pBrowserApp) return kSaveAsSilentNotSaved;
    SilentSave& s = State();
    // Another silent save still running after half a minute has hung.
    if (!s.lock.try_lock_for(std::chrono::seconds(30))) return kSaveAsSilentNoHook;
    s.path = path ? path : "";
    s.typeIndex = typeIndex;
    s.centreFollowUp = centreFollowUp != FALSE;
    s.captured = nullptr;
    s.done = false;
    s.hook = SetWindowsHookExA(WH_CBT, SaveAsHook, nullptr, GetCurrentThreadId());
    if (!s.hook) {
        s.lock.unlock();
        return kSaveAsSilentNoHook;
    }
    const HRESULT hr = m_pBrowserApp->ExecWB(OLECMDID_SAVEAS, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
    UnhookWindowsHookEx(s.hook);
    s.hook = nullptr;
    const bool saved = SUCCEEDED(hr) && s.done;
    s.lock.unlock();
    // Only a dialog that was answered saved anything.
    return saved ? kSaveAsSilentDone : kSaveAsSilentNotSaved;
}
