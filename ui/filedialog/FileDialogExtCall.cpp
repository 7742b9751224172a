// The replacements of GetOpenFileNameA and GetSaveFileNameA.
//
// The system gets a copy of the caller's structure carrying the extension's hook, so the
// caller's hook, flags and filter pointers stay as the caller left them, whatever other
// dialogs open meanwhile on this or another thread.
#include "ui/filedialog/FileDialogExtInternal.h"

#include <atomic>
#include <cstddef>
#include <cstring>

namespace {

// Only the first extended dialog of the process gets the larger default size; the system
// keeps the size the user gives it from then on.
std::atomic<bool> g_busy{false};

thread_local FileDialogSession* t_innermost = nullptr;

class SessionScope {
public:
    explicit SessionScope(FileDialogSession& s) : m_session(s) {
        s.outer = t_innermost;
        t_innermost = &s;
    }
    ~SessionScope() { t_innermost = m_session.outer; }

private:
    FileDialogSession& m_session;
};

bool IsExplorerStyle(DWORD flags) {
    // A hook or template without OFN_EXPLORER asks for the old-style dialog, which the
    // extension leaves alone.
    return (flags & OFN_EXPLORER) || !(flags & (OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE));
}

void TakeHistoryKey(FileDialogSession& s) {
    s.historyMode = s.ofn.Flags & OFNX_HISTORY_MASK;
    if (s.historyMode <= OFNX_HISTORY_READONLY) {
        s.historyKeyText = s.ofn.lpstrDefExt ? s.ofn.lpstrDefExt : "";
    } else if (s.historyMode != OFNX_HISTORY_OFF) {
        const char* text = s.ofn.lpstrCustomFilter;
        if (s.historyMode == OFNX_HISTORY_CALLER_LIST)
            s.callerList = text;
        else
            s.historyKeyText = text ? text : "";
        // Not a filter for the system.
        s.ofn.lpstrCustomFilter = nullptr;
        s.ofn.nMaxCustFilter = 0;
    }
}

BOOL RunDialog(LPOPENFILENAMEA callerOfn, FileDialogFn system, bool save, bool saveShownAsOpen) {
    if (!system) return FALSE;
    // Every field up to the template name is read; the system judges any other size.
    if (!callerOfn || callerOfn->lStructSize < offsetof(OPENFILENAMEA, pvReserved) ||
        callerOfn->lStructSize > sizeof(OPENFILENAMEA))
        return system(callerOfn);  // the system reports the bad structure

    FileDialogSession s;
    memcpy(&s.ofn, callerOfn, callerOfn->lStructSize);
    const DWORD callerFlags = callerOfn->Flags;
    if (!(callerFlags & OFN_ENABLETEMPLATE)) s.ofn.Flags |= OFN_ENABLESIZING;
    if ((callerFlags & OFNX_CAPTION) && !save) {
        const char* rest = nullptr;
        if (SplitFilterCaption(s.ofn.lpstrFilter, s.caption, &rest)) {
            s.hasCaption = true;
            s.ofn.lpstrFilter = rest;
        }
    }
    s.ofn.Flags &= ~OFNX_CAPTION;
    TakeHistoryKey(s);
    s.save = save || saveShownAsOpen;
    s.saveShownAsOpen = saveShownAsOpen;
    if (s.ofn.lpstrDefExt && IsBadStringPtrA(s.ofn.lpstrDefExt, 256)) s.ofn.lpstrDefExt = nullptr;

    bool extended = IsExplorerStyle(callerFlags);
    bool markedBusy = false;
    if (extended) {
        s.callerHook = (callerFlags & OFN_ENABLEHOOK) ? callerOfn->lpfnHook : nullptr;
        s.ofn.lpfnHook = FileDialogExtHook;
        s.ofn.Flags |= OFN_ENABLEHOOK | OFN_EXPLORER;
        if ((s.ofn.Flags & OFN_ENABLESIZING) && !g_busy.exchange(true)) {
            markedBusy = true;
            s.resizeCandidate = true;
            s.templateHeight = s.ofn.lpTemplateName ? 100 : 0;
        }
    }

    BOOL result;
    {
        SessionScope scope(s);
        result = system(&s.ofn);
    }
    if (markedBusy) g_busy.store(false);

    // The results; everything else is the caller's as it was.
    callerOfn->Flags = (callerFlags & ~static_cast<DWORD>(OFN_READONLY)) | (s.ofn.Flags & OFN_READONLY);
    callerOfn->nFilterIndex = s.ofn.nFilterIndex;
    callerOfn->nFileOffset = s.ofn.nFileOffset;
    callerOfn->nFileExtension = s.ofn.nFileExtension;
    return result;
}

}  // namespace

// The innermost running call of this thread whose dialog has not been seen yet.
FileDialogSession* UnclaimedSessionOfThisThread() {
    for (FileDialogSession* s = t_innermost; s; s = s->outer)
        if (!s->claimed) return s;
    return nullptr;
}

BOOL WINAPI ExtGetOpenFileNameA(LPOPENFILENAMEA ofn) {
    return RunDialog(ofn, SystemGetOpenFileName(), false, false);
}

BOOL WINAPI ExtGetSaveFileNameA(LPOPENFILENAMEA ofn) {
    if (ofn && (ofn->Flags & OFNX_CAPTION)) return RunDialog(ofn, SystemGetOpenFileName(), false, true);
    return RunDialog(ofn, SystemGetSaveFileName(), true, false);
}
