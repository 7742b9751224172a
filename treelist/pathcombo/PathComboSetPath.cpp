// CPathComboBox: showing a path (SetPath), its segments, the history and the change notification.
#include "treelist/pathcombo/PathComboBox.h"

#include "system/PathFunctions.h"
#include "system/SystemIcons.h"
#include "text/StrCompare.h"
#include "treelist/pathcombo/PathComboShared.h"
#include "treelist/shared/FolderWidgetLook.h"

namespace {

bool StartsWithTwoSeparators(const char* text) {
    return (text[0] == '\\' || text[0] == '/') && (text[1] == '\\' || text[1] == '/');
}

bool SamePath(const char* a, const char* b) {
    return CompareTextNA(a, lstrlenA(a), b, lstrlenA(b), true) == 0;
}

// The wait cursor for as long as the object lives.
class WaitCursor {
public:
    WaitCursor() : m_old(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(m_old); }

private:
    HCURSOR m_old;
};

}  // namespace

bool CPathComboBox::DescribePath(const char* text, bool shellKind, bool entryIcon, int* kind, int* icon) const {
    const int folderIcon = GetFolderWidgetLook().folderIcon;
    *kind = shellKind ? 0 : IsBareDrive(text) ? 2 : 1;
    *icon = folderIcon;
    if (entryIcon) {
        *icon = m_entryIcon >= 0 ? m_entryIcon : folderIcon;
        return true;
    }
    WaitCursor wait;
    char resolved[kPathBufferSize];
    if (!MapNetworkPlacePath(text, resolved, sizeof resolved)) return !m_mustExist;
    if (*kind == 2) {
        *icon = GetDriveIconIndex(text[0], TRUE);
        if (*icon < 0) *kind = 3;
    } else {
        SHFILEINFOA info = {};
        *icon = ::SHGetFileInfoA(resolved, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON) ? info.iIcon : -1;
        if (!shellKind && ::GetFileAttributesA(resolved) == INVALID_FILE_ATTRIBUTES) *kind = 3;
    }
    if (*icon < 0) *icon = folderIcon;
    return !(m_mustExist && *kind == 3);
}

int CPathComboBox::SetPath(const char* text, int lengthOrForm) {
    PathRequest request;
    if (!ReadPathRequest(text, lengthOrForm, &request)) return 0;
    if (SamePath(request.text, m_state.path)) return 1;
    if (m_state.noNetwork && StartsWithTwoSeparators(request.text)) return 0;
    int kind, icon;
    if (!DescribePath(request.text, request.shellKind, request.entryIcon, &kind, &icon)) return 0;
    {
        CSingleLock lock(&PathComboLock, TRUE);
        Segment(request.text);
    }
    m_kind = kind;
    m_pathIcon = icon;
    if (m_openGeneration == kWaitingForWorker) m_openGeneration = 0;
    ClosePopup(false);
    UpdateGeometry();
    AskLevel(m_state.count);
    ShowPathText();
    Invalidate();
    if (m_history) RecordHistory();
    Notify(PCN_PATHCHANGED, 0, 1);
    return 1;
}

// Under PathComboLock: the new path with its segments, the level lists that stay and the text widths.
void CPathComboBox::Segment(const char* path) {
    PathComboState& s = m_state;
    uint32_t oldStart[kMaxSegments + 1];
    uint16_t oldLength[kMaxSegments];
    char oldPath[kPathBufferSize];
    memcpy(oldStart, s.segStart, sizeof oldStart);
    memcpy(oldLength, s.segLength, sizeof oldLength);
    memcpy(oldPath, s.path, sizeof oldPath);
    const int oldCount = s.count;
    lstrcpynA(s.path, path, kPathBufferSize);
    s.count = SplitPathSegments(s.path, s.segStart, s.segLength);
    const int shared = CountSharedSegments(oldPath, oldStart, oldLength, oldCount, s.path, s.segStart, s.segLength, s.count);
    s.generation = (s.generation + 1) & 0xFFFFFF;
    for (int level = 0; level < kLevelCount; ++level) {
        // Level k lists the folders in the first k segments: it stays while they do.
        if (level > shared) s.levelGeneration[level] = kLevelNeverRead;
        else if (s.levelGeneration[level] != kLevelNeverRead) s.levelGeneration[level] = MakeLevelWord(level, s.generation);
    }
    s.RefreshDrives();
    PathTextMeasure measure;
    for (int k = 0; k < s.count; ++k) m_segWidth[k] = measure.Width(s.path + s.segStart[k], s.segLength[k]);
}

void CPathComboBox::ShowPathText() {
    // The list's selection follows the path, so closing the list does not bring back an old entry.
    const LRESULT index = DefWindowProc(CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)m_state.path);
    DefWindowProc(CB_SETCURSEL, (WPARAM)index, 0);
    DefWindowProc(WM_SETTEXT, 0, (LPARAM)m_state.path);
    SetEditText(m_state.path);
}

void CPathComboBox::RecordHistory() {
    if (m_historyIndex >= 0 && SamePath(m_historyList.GetItemText(m_historyIndex), m_state.path)) return;
    m_historyList.RemoveRange(m_historyIndex + 1, -1);
    m_historyList.InsertItem(m_state.path);
    if (m_historyList.GetCount() > m_historyMax) m_historyList.RemoveRange(0, m_historyList.GetCount() - m_historyMax);
    m_historyIndex = m_historyList.GetCount() - 1;
}

int CPathComboBox::GoToHistory(int index) {
    if (!m_history || index < 0 || index >= m_historyList.GetCount()) return 0;
    const int old = m_historyIndex;
    m_historyIndex = index;
    const char* entry = m_historyList.GetItemText(index);
    if (!SetPath(entry, PATHFORM_UNCHANGED | lstrlenA(entry))) {
        m_historyIndex = old;
        return 0;
    }
    return 1;
}

int CPathComboBox::GoBack() { return GoToHistory(m_historyIndex - 1); }

int CPathComboBox::GoForward() { return GoToHistory(m_historyIndex + 1); }

int CPathComboBox::GoToSegment(int segment) {
    if (segment < 0 || segment >= m_state.count) return 0;
    const int length = (int)(m_state.segStart[segment] + m_state.segLength[segment]);
    const uint32_t shell = m_kind == 0 ? (uint32_t)PATHFORM_KIND_SHELL : 0;
    return SetPath(m_state.path, (int)(PATHFORM_UNCHANGED | shell | (uint32_t)length));
}

LRESULT CPathComboBox::Notify(UINT code, uint32_t phase, uint32_t kind) {
    NMPATHCOMBO nm = {};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(m_hWnd);
    nm.hdr.code = code;
    nm.phase = phase;
    nm.kind = kind;
    nm.path = m_state.path;
    HWND parent = ::GetParent(m_hWnd);
    return parent ? ::SendMessageA(parent, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm) : 0;
}
