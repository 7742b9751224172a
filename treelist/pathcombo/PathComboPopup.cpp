// CPathComboBox: the popup list of a level's folders, its rows, choice and type-ahead.
#include "treelist/pathcombo/PathComboBox.h"

#include "text/StrCopy.h"
#include "treelist/pathcombo/PathComboShared.h"
#include "treelist/shared/FolderWidgetClock.h"
#include "treelist/shared/FolderWidgetLook.h"

namespace {

PopupPlaceRect WorkAreaAt(POINT point) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    RECT area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (::GetMonitorInfoA(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) area = info.rcWork;
    return {area.left, area.top, area.right, area.bottom};
}

}  // namespace

void CPathComboBox::OpenPopup(int level) {
    if (level < 0 || level > m_state.count) return;
    if (m_popupOpen) ClosePopup(false);
    m_openLevel = level;
    if (IsLevelRead(level)) {
        ShowPopup(level);
        return;
    }
    m_openGeneration = kWaitingForWorker;
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    AskLevel(level);
}

void CPathComboBox::ShowPopup(int level) {
    int count, width, height, scroll;
    {
        CSingleLock lock(&PathComboLock, TRUE);
        count = m_state.levels[level]->GetCount();
        width = m_state.popupWidth[level];
        height = m_state.popupHeight[level];
        scroll = m_state.popupScroll[level];
    }
    m_openLevel = level;
    m_openGeneration = MakeLevelWord(level, m_state.generation);
    int left, right;
    PositionSpan(m_layout, Frame(), 2 * level, &left, &right);
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    POINT anchor = {window.left + left, window.bottom};
    const PopupPlaceRect r = PlaceLevelPopup(anchor.x, window.top, window.bottom, width, height,
                                             GetFolderWidgetLook().rowHeight, WorkAreaAt(anchor));
    m_popup.SetItemCountEx(count, 0);
    m_popup.SetColumnWidth(0, width - scroll - 1);
    // The entry the path goes through is the current one.
    int current = -1;
    if (level < m_state.count) {
        CSingleLock lock(&PathComboLock, TRUE);
        current = m_state.levels[level]->FindItem(m_state.segLength[level], m_state.path + m_state.segStart[level], 0, -1, 1);
    }
    if (current >= 0) {
        m_popup.SetItemState(current, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        m_popup.EnsureVisible(current, FALSE);
    }
    ::SetWindowPos(m_popup.m_hWnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_SHOWWINDOW);
    m_popupOpen = true;
    m_popup.SetFocus();
    Invalidate();
}

void CPathComboBox::ClosePopup(bool restoreFocus) {
    if (!m_popupOpen) return;
    m_popupOpen = false;
    m_openGeneration = 0;
    const bool hadFocus = ::GetFocus() == m_popup.m_hWnd;
    m_popup.ShowWindow(SW_HIDE);
    if (restoreFocus && hadFocus) SetFocus();
    Invalidate();
}

void CPathComboBox::ChooseEntry(int index) {
    const int level = m_openLevel;
    if (!m_popupOpen || level < 0 || level > m_state.count) return;
    char path[kPathBufferSize];
    LevelEntryData data = {};
    int length = 0;
    {
        CSingleLock lock(&PathComboLock, TRUE);
        const CTextList& list = *m_state.levels[level];
        const char* name = list.GetItemText(index);
        if (!name) return;
        list.GetItemData(index, &data);
        // The network place among the roots stands for the network's root.
        if (level == 0 && LevelEntryKind(data) == LEVEL_ENTRY_NETWORK) name = "\\\\";
        length = ComposeChildPath(path, sizeof path, m_state.path, m_state.LevelPathLength(level), name);
    }
    ClosePopup(true);
    // A path that does not fit the buffer is refused.
    if (length == 0) return;
    const bool network = LevelEntryKind(data) == LEVEL_ENTRY_NETWORK || (path[0] == '\\' && path[1] == '\\');
    m_entryIcon = data.icon;
    SetPath(path, (int)((network ? PATHFORM_SHELL : PATHFORM_UNCHANGED) | PATHFORM_ENTRY_ICON | (uint32_t)length));
}

void CPathComboBox::OnPopupDispInfo(NMLVDISPINFOA* info) {
    LVITEMA& item = info->item;
    const int level = m_openLevel;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) item.pszText[0] = 0;
    if (level < 0 || level >= kLevelCount) return;
    CSingleLock lock(&PathComboLock, TRUE);
    const CTextList& list = *m_state.levels[level];
    const char* text = list.GetItemText(item.iItem);
    if (!text) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) StrCopyNA(item.pszText, text, item.cchTextMax);
    if (item.mask & LVIF_IMAGE) {
        LevelEntryData data = {};
        list.GetItemData(item.iItem, &data);
        item.iImage = data.icon;
    }
}

void CPathComboBox::PopupTypeAhead(char c) {
    const int level = m_openLevel;
    if (level < 0 || level >= kLevelCount) return;
    const TypeAheadSearch search = FeedTypeAhead(GetPathComboShared().typeAhead, c, FolderWidgetNow());
    const int current = m_popup.GetNextItem(-1, LVNI_FOCUSED);
    int found;
    {
        CSingleLock lock(&PathComboLock, TRUE);
        found = FindTypeAhead(*m_state.levels[level], current, search);
    }
    if (found < 0) return;
    m_popup.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_popup.SetItemState(found, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    m_popup.EnsureVisible(found, FALSE);
}

BOOL CPathComboBox::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header || !m_popup.m_hWnd || header->hwndFrom != m_popup.m_hWnd) return CComboBox::OnNotify(wParam, lParam, result);
    switch (header->code) {
    case LVN_GETDISPINFOA:
        OnPopupDispInfo(reinterpret_cast<NMLVDISPINFOA*>(lParam));
        break;
    case LVN_ODFINDITEMA:
        *result = -1;  // the popup's own type-ahead
        return TRUE;
    case NM_CLICK: {
        const int index = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
        if (index >= 0) ChooseEntry(index);
        break;
    }
    default:
        break;
    }
    *result = 0;
    return TRUE;
}

LRESULT CALLBACK CPathComboBox::PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CPathComboBox*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    WNDPROC old = self ? self->m_oldListProc : nullptr;
    if (!old) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            const int index = self->m_popup.GetNextItem(-1, LVNI_FOCUSED);
            if (index >= 0) self->ChooseEntry(index);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            self->ClosePopup(true);
            return 0;
        }
        break;
    case WM_CHAR:
        if ((unsigned char)wParam >= ' ') self->PopupTypeAhead((char)wParam);
        return 0;
    case WM_KILLFOCUS: {
        LRESULT r = ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
        if (self->m_popupOpen) {
            self->m_closeTime = FolderWidgetNow();
            self->m_closedLevel = self->m_openLevel;
        }
        self->ClosePopup(false);
        return r;
    }
    default:
        break;
    }
    return ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
}
