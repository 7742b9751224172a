// CPathDlg: the list view. A path is listed by the worker into its entries, which the dialog moves into
// the owner-drawn list box (in the order of the entries: the box's sort asks the dialog, which answers by
// entry index); double clicks, the mouse wheel, type-ahead and dropped files on the list; the drive combo.
#include "treelist/pathdlg/PathDlg.h"

#include "system/PathFunctions.h"
#include "treelist/pathdlg/PathDlgTemplate.h"
#include "treelist/pathdlg/PathDlgText.h"
#include "treelist/pathdlg/PathDlgWorker.h"
#include "treelist/shared/FolderWidgetClock.h"
#include "treelist/shared/FolderWidgetLook.h"
#include "treelist/shared/PathText.h"

#include <shellapi.h>

namespace {

constexpr int kTypeAheadChars = 8;

HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

bool IsBareDriveText(const char* path) { return path[0] && path[1] == ':' && !path[2]; }

}  // namespace

void CPathDlg::ListPath(const char* text, bool again) {
    if (!m_worker || !text || !text[0]) return;
    CString path = text;
    if (IsBareDriveText(path)) path += "\\";
    if (path.GetLength() >= kPathBufferSize) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    if (!again && path.CompareNoCase(m_requestPath) == 0) return;
    const bool network = path.GetLength() >= 2 && path[0] == '\\' && path[1] == '\\';
    // A path in the start path's share is listed from its drive entry.
    m_shareRoot = network && PathUnder(path, m_startShare.c_str()) ? m_startShare : "";
    m_networkMode = network && !m_localOnly;
    if (!RequestPathListing(m_worker, path, m_shareRoot.c_str())) return;
    m_requestPath = path;
    m_listedPath.Empty();
    m_listed = 0;
    m_current = -1;
    // The worker never touches the box: emptied here, on the dialog's own thread.
    ::SendMessageA(Item(m_hWnd, IDC_PATHDLG_LIST), LB_RESETCONTENT, 0, 0);
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    m_settingField = true;
    m_field.SetPath(path, -1);
    m_settingField = false;
}

void CPathDlg::MoveEntries() {
    PathListContext* c = m_worker;
    if (!c) return;
    int count;
    {
        CSingleLock lock(&c->lock, TRUE);
        count = (int)c->entries.size();
    }
    HWND list = Item(m_hWnd, IDC_PATHDLG_LIST);
    for (; m_listed < count; ++m_listed) ::SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)m_listed);
}

void CPathDlg::OnListReady() {
    PathListContext* c = m_worker;
    if (!c) return;
    {
        CSingleLock lock(&c->lock, TRUE);
        if (c->doneGeneration != c->generation) return;
        m_current = c->current;
    }
    MoveEntries();
    HWND list = Item(m_hWnd, IDC_PATHDLG_LIST);
    ::SendMessageA(list, LB_SETCURSEL, (WPARAM)m_current, 0);
    ::SendMessageA(list, LB_SETCARETINDEX, (WPARAM)m_current, FALSE);
    m_listedPath = m_requestPath;
    const int drive = DriveOfPath(m_listedPath);
    if (drive >= 0) {
        m_drive = drive;
        ::SendMessageA(Item(m_hWnd, IDC_PATHDLG_DRIVES), CB_SETCURSEL, (WPARAM)drive, 0);
    }
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
}

int CPathDlg::OnCompareItem(int id, LPCOMPAREITEMSTRUCT item) {
    if (id != IDC_PATHDLG_LIST) return CDialog::OnCompareItem(id, item);
    // Entries keep the order the worker made: levels, then subfolders.
    return item->itemData1 < item->itemData2 ? -1 : item->itemData1 > item->itemData2 ? 1 : 0;
}

void CPathDlg::OnMeasureItem(int id, LPMEASUREITEMSTRUCT item) {
    if (id == IDC_PATHDLG_LIST || id == IDC_PATHDLG_DRIVES || id == IDC_PATHDLG_PATH) {
        item->itemHeight = (UINT)GetFolderWidgetLook().rowHeight;
        return;
    }
    CDialog::OnMeasureItem(id, item);
}

void CPathDlg::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    if (id == IDC_PATHDLG_LIST)
        DrawListEntry(*item);
    else if (id == IDC_PATHDLG_DRIVES)
        DrawDriveEntry(*item);
    else
        CDialog::OnDrawItem(id, item);
}

namespace {

void DrawRow(const DRAWITEMSTRUCT& item, HIMAGELIST images, const char* text, int icon, int indent) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    COLORREF back = ::GetSysColor(COLOR_WINDOW);
    if (item.itemState & ODS_SELECTED)
        back = SelectedRowColour(::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_WINDOW));
    else if (item.itemState & ODS_FOCUS)
        back = ::GetSysColor(COLOR_BTNFACE);
    HBRUSH brush = ::CreateSolidBrush(back);
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
    if (!text) return;
    int imageWidth = 16, imageHeight = 16;
    if (images) ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    if (images && icon >= 0)
        ImageList_Draw(images, icon, dc, r.left + indent + 4, r.top + (r.bottom - r.top - imageHeight) / 2,
                       ILD_TRANSPARENT);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    RECT t = r;
    t.left += indent + 24;
    ::DrawTextA(dc, text, -1, &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

void CPathDlg::DrawListEntry(const DRAWITEMSTRUCT& item) {
    PathListContext* c = m_worker;
    std::string text;
    int icon = -1, indent = 0;
    bool found = false;
    if (c && item.itemID != (UINT)-1) {
        CSingleLock lock(&c->lock, TRUE);
        if (item.itemData < c->entries.size()) {
            const PathListEntry& e = c->entries[item.itemData];
            text = e.text;
            icon = e.icon;
            indent = e.indent;
            found = true;
        }
    }
    DrawRow(item, m_images, found ? text.c_str() : nullptr, icon, indent);
}

void CPathDlg::DrawDriveEntry(const DRAWITEMSTRUCT& item) {
    PathListContext* c = m_worker;
    std::string text;
    int icon = -1;
    bool found = false;
    if (c && item.itemID != (UINT)-1) {
        CSingleLock lock(&c->lock, TRUE);
        if (item.itemData < c->drives.size()) {
            text = c->drives[item.itemData].text;
            icon = c->drives[item.itemData].icon;
            found = true;
        }
    }
    DrawRow(item, m_images, found ? text.c_str() : nullptr, icon, 0);
}

// The list box's own procedure in front of the system's: wheel, drops and type-ahead.
LRESULT CALLBACK CPathDlg::ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CPathDlg*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || !self->m_oldListProc) return ::DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEWHEEL: {
        const LRESULT top = ::CallWindowProcA(self->m_oldListProc, window, LB_GETTOPINDEX, 0, 0);
        const int step = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1;
        ::CallWindowProcA(self->m_oldListProc, window, LB_SETTOPINDEX, (WPARAM)std::max<LRESULT>(top + step, 0), 0);
        return 0;
    }
    case WM_DROPFILES:
        self->DropOnList(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CHAR:
        if (wParam >= ' ') {
            self->ListTypeAhead((char)wParam);
            return 0;
        }
        break;
    default:
        break;
    }
    return ::CallWindowProcA(self->m_oldListProc, window, message, wParam, lParam);
}

void CPathDlg::SetUpList() {
    HWND list = Item(m_hWnd, IDC_PATHDLG_LIST);
    ::SetWindowLongPtrA(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_oldListProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListProc)));
    ::DragAcceptFiles(list, TRUE);
    int imageWidth = 16, imageHeight = 16;
    if (m_images) ImageList_GetIconSize(m_images, &imageWidth, &imageHeight);
    const int height = (int)::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    if (height < imageHeight + 2) ::SendMessageA(list, LB_SETITEMHEIGHT, 0, imageHeight + 2);
}

void CPathDlg::ListTypeAhead(char c) {
    PathListContext* w = m_worker;
    if (!w) return;
    HWND list = Item(m_hWnd, IDC_PATHDLG_LIST);
    const TypeAheadSearch search = FeedTypeAhead(m_typeAhead, c, FolderWidgetNow(), kTypeAheadChars);
    const int count = (int)::SendMessageA(list, LB_GETCOUNT, 0, 0);
    const int current = (int)::SendMessageA(list, LB_GETCURSEL, 0, 0);
    int found;
    {
        CSingleLock lock(&w->lock, TRUE);
        found = FindTypeAheadIn(count, current, search, [&](int index) -> const char* {
            const LRESULT entry = ::SendMessageA(list, LB_GETITEMDATA, (WPARAM)index, 0);
            return entry >= 0 && (size_t)entry < w->entries.size() ? w->entries[(size_t)entry].text.c_str() : nullptr;
        });
    }
    if (found < 0) {
        ::MessageBeep(MB_ICONASTERISK);
        return;
    }
    ::SendMessageA(list, LB_SETCURSEL, (WPARAM)found, 0);
}

void CPathDlg::OnDropFiles(HDROP drop) { DropOnList(drop); }

void CPathDlg::DropOnList(HDROP drop) {
    char file[kPathBufferSize];
    const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    const UINT length = count ? ::DragQueryFileA(drop, 0, nullptr, 0) : 0;
    const bool fits = length > 0 && length < sizeof file && ::DragQueryFileA(drop, 0, file, sizeof file) == length;
    // The block is ours whatever its contents.
    ::DragFinish(drop);
    if (!fits) return;
    const DWORD attributes = ::GetFileAttributesA(file);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) CutToFolder(file);
    if (m_treeMode)
        SelectInTree(file, FTP_SHOW | FTP_READ);
    else
        ListPath(file);
}

void CPathDlg::OnListDblClk() {
    HWND list = Item(m_hWnd, IDC_PATHDLG_LIST);
    const LRESULT index = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index != LB_ERR) OpenEntry((int)::SendMessageA(list, LB_GETITEMDATA, (WPARAM)index, 0));
}

// A level lists the folder it stands for (the listed folder itself is OK); a subfolder is listed.
void CPathDlg::OpenEntry(int entry) {
    PathListContext* c = m_worker;
    if (!c || entry < 0) return;
    int current;
    std::string name;
    bool level;
    {
        CSingleLock lock(&c->lock, TRUE);
        if ((size_t)entry >= c->entries.size()) return;
        current = c->current;
        level = c->entries[(size_t)entry].level;
        name = c->entries[(size_t)entry].text;
    }
    const std::vector<std::string> levels = PathLevels(m_requestPath, m_shareRoot.c_str());
    if (level && entry == current) {
        SendMessage(WM_COMMAND, IDOK, 0);
        return;
    }
    std::string path = level ? JoinLevels(levels, entry) : JoinLevels(levels, current);
    if (!level) {
        if (path.back() != '\\') path += '\\';
        path += name;
    }
    ListPath(path.c_str());
}

int CPathDlg::DriveOfPath(const char* path) const {
    PathListContext* c = m_worker;
    if (!c || !path) return -1;
    const bool network = path[0] == '\\' && path[1] == '\\';
    int place = -1;
    CSingleLock lock(&c->lock, TRUE);
    for (size_t i = 0; i < c->drives.size(); ++i) {
        const PathDriveEntry& d = c->drives[i];
        if (d.share ? PathUnder(path, d.text.c_str()) : d.kind == PATHDRIVE_DRIVE && !network &&
                                                           _strnicmp(path, d.text.c_str(), d.text.size() - 1) == 0)
            return (int)i;
        // Other network paths belong to the network place.
        if (d.kind == PATHDRIVE_NETWORK && !d.share && network) place = (int)i;
    }
    return place;
}

void CPathDlg::OnDrivesReady() {
    PathListContext* c = m_worker;
    if (!c) return;
    HWND combo = Item(m_hWnd, IDC_PATHDLG_DRIVES);
    size_t count;
    {
        CSingleLock lock(&c->lock, TRUE);
        count = c->drives.size();
    }
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < count; ++i) ::SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)i);
    m_driveMemory.assign(count, std::string());
    m_drive = DriveOfPath(m_requestPath.IsEmpty() ? m_path : m_requestPath);
    ::SendMessageA(combo, CB_SETCURSEL, (WPARAM)m_drive, 0);
}

// Another drive: the path on the old one is remembered, the new one's remembered path (or its root) is
// listed; the network place lists the network.
void CPathDlg::OnDriveChange() {
    PathListContext* c = m_worker;
    const int chosen = (int)::SendDlgItemMessageA(m_hWnd, IDC_PATHDLG_DRIVES, CB_GETCURSEL, 0, 0);
    if (!c || chosen < 0 || chosen == m_drive || (size_t)chosen >= m_driveMemory.size()) return;
    if (m_drive >= 0 && (size_t)m_drive < m_driveMemory.size()) m_driveMemory[(size_t)m_drive] = (const char*)m_requestPath;
    m_drive = chosen;
    PathDriveEntry drive;
    {
        CSingleLock lock(&c->lock, TRUE);
        drive = c->drives[(size_t)chosen];
    }
    const std::string& remembered = m_driveMemory[(size_t)chosen];
    if (drive.kind == PATHDRIVE_NETWORK && !drive.share)
        ListPath("\\\\");
    else
        ListPath(remembered.empty() ? drive.text.c_str() : remembered.c_str());
}

std::string CPathDlg::GetEntryText(int entry) const {
    PathListContext* c = m_worker;
    if (!c || entry < 0) return "";
    CSingleLock lock(&c->lock, TRUE);
    return (size_t)entry < c->entries.size() ? c->entries[(size_t)entry].text : "";
}
