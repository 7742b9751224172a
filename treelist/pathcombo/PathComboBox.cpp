// CPathComboBox: creation, set-up and teardown, geometry, the worker's messages and the window-text
// messages.
#include "treelist/pathcombo/PathComboBox.h"

#include "text/StrCopy.h"
#include "treelist/pathcombo/PathComboShared.h"
#include "treelist/pathcombo/PathComboWorker.h"
#include "treelist/shared/FolderWidgetLook.h"

#include <algorithm>

namespace {

constexpr DWORD kComboStyleCleared = 0xD;
constexpr DWORD kComboStyleAdded = CBS_DROPDOWN | CBS_OWNERDRAWFIXED | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
constexpr DWORD kPlaceholderStyle = 0x50300000;  // child, visible, both scroll bars
constexpr DWORD kPopupStyle = WS_POPUP | WS_BORDER | LVS_OWNERDATA | LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS |
                              LVS_SINGLESEL | LVS_REPORT;
constexpr DWORD kPopupExtendedStyle = LVS_EX_FULLROWSELECT | LVS_EX_TRACKSELECT;
constexpr DWORD kStopWaitMs = 500;

}  // namespace

BEGIN_MESSAGE_MAP(CPathComboBox, CComboBox)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_TIMER()
    ON_WM_DROPFILES()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_SETCURSOR()
    ON_WM_GETDLGCODE()
    ON_CONTROL_REFLECT(CBN_CLOSEUP, OnCloseUp)
    ON_COMMAND(ID_PATHCOMBO_COPY_PATH, OnCopyPath)
    ON_COMMAND(ID_PATHCOMBO_COPY_SEGMENT, OnCopySegment)
    ON_MESSAGE(WM_PATHCOMBO_WORKER, OnWorker)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(CB_SELECTSTRING, OnSelectString)
    ON_MESSAGE(CB_SETCURSEL, OnSetCurSel)
    ON_MESSAGE(WM_THEMECHANGED, OnThemeChanged)
END_MESSAGE_MAP()

CPathComboBox::CPathComboBox() { GetPathComboShared(); }

CPathComboBox::~CPathComboBox() {
    // While this class's handlers still run: WM_DESTROY stops the worker.
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
    Teardown();
}

void CPathComboBox::ReadOptions(DWORD options) {
    m_dragOut = (options & PCO_DRAG_OUT) != 0;
    m_acceptDrop = (options & PCO_ACCEPT_DROP) != 0;
    m_keepTyped = (options & PCO_KEEP_TYPED) != 0;
    m_history = (options & PCO_HISTORY) != 0;
    m_mustExist = (options & PCO_MUST_EXIST) != 0;
    m_tabToParent = (options & PCO_TAB_TO_PARENT) != 0;
    m_state.noNetwork = (options & PCO_NO_NETWORK) != 0;
    m_breadcrumb = !(options & PCO_PLAIN_EDIT);
}

BOOL CPathComboBox::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    ReadOptions(style);
    if (!CreateEx(exStyle | WS_EX_ACCEPTFILES, "COMBOBOX", "", (style & ~kComboStyleCleared) | kComboStyleAdded, rect,
                  parent, id))
        return FALSE;
    return Setup(style);
}

BOOL CPathComboBox::CreateAtControl(DWORD exStyle, DWORD style, int placeholderId, CWnd* parent, UINT id) {
    HWND placeholder = parent ? ::GetDlgItem(parent->m_hWnd, placeholderId) : nullptr;
    RECT r;
    if (!placeholder || !::GetWindowRect(placeholder, &r)) return FALSE;
    ::MapWindowPoints(nullptr, parent->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    if (!Create(exStyle, style | kPlaceholderStyle, r, parent, id)) return FALSE;
    ::SetWindowPos(m_hWnd, placeholder, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
    return TRUE;
}

BOOL CPathComboBox::Attach(DWORD options, HWND window) {
    ReadOptions(options);
    if (!SubclassWindow(window)) return FALSE;
    if (!Setup(options)) return FALSE;
    RECT r;
    ::GetClientRect(m_hWnd, &r);
    PostMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
    const WPARAM font = (WPARAM)GetFolderWidgetLook().font;
    PostMessage(WM_SETFONT, font, TRUE);
    m_popup.PostMessage(WM_SETFONT, font, TRUE);
    return TRUE;
}

BOOL CPathComboBox::Setup(DWORD options) {
    ReadOptions(options);
    const FolderWidgetLook& look = GetFolderWidgetLook();
    HWND popup = ::CreateWindowExA(0, WC_LISTVIEWA, "", kPopupStyle, 0, 0, 0, 0, m_hWnd, nullptr,
                                   AfxGetInstanceHandle(), nullptr);
    if (!popup || !m_popup.Attach(popup)) {
        if (popup) ::DestroyWindow(popup);
        DestroyWindow();
        return FALSE;
    }
    m_popup.SetBkColor(::GetSysColor(COLOR_MENU));
    m_popup.SetTextBkColor(::GetSysColor(COLOR_MENU));
    m_popup.SetImageList(look.images, LVSIL_SMALL);
    m_popup.InsertColumn(0, "AAA", LVCFMT_LEFT, 250);
    m_popup.SetExtendedStyle(kPopupExtendedStyle);
    OpenTheme();
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (::GetComboBoxInfo(m_hWnd, &info)) m_edit = info.hwndItem != m_hWnd ? info.hwndItem : nullptr;
    if (m_edit && m_breadcrumb) ::ShowWindow(m_edit, SW_HIDE);
    SendMessage(WM_SETFONT, (WPARAM)look.font, FALSE);
    m_popup.SendMessage(WM_SETFONT, (WPARAM)look.font, FALSE);
    if (m_edit) {
        ::SetWindowLongPtrA(m_edit, GWLP_USERDATA, (LONG_PTR)this);
        m_oldEditProc = (WNDPROC)::SetWindowLongPtrA(m_edit, GWLP_WNDPROC, (LONG_PTR)EditProc);
    }
    ::SetWindowLongPtrA(popup, GWLP_USERDATA, (LONG_PTR)this);
    m_oldListProc = (WNDPROC)::SetWindowLongPtrA(popup, GWLP_WNDPROC, (LONG_PTR)PopupProc);
    if (m_acceptDrop) ::DragAcceptFiles(m_hWnd, TRUE);
    m_worker = StartPathComboWorker(m_hWnd, &m_state);
    if (!m_worker) {
        Teardown();
        DestroyWindow();
        return FALSE;
    }
    UpdateGeometry();
    return TRUE;
}

void CPathComboBox::Teardown() {
    if (m_worker) StopPathComboWorker(m_worker, kStopWaitMs);
    m_worker = nullptr;
    if (m_trackTimer && m_hWnd) KillTimer(kTrackTimer);
    m_trackTimer = false;
    if (m_theme && GetPathComboShared().closeThemeData) GetPathComboShared().closeThemeData(m_theme);
    m_theme = nullptr;
    if (m_popup.m_hWnd) {
        ::SetWindowLongPtrA(m_popup.m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_oldListProc);
        m_popup.DestroyWindow();
        if (m_popup.m_hWnd) m_popup.Detach();
    }
    if (m_edit && ::IsWindow(m_edit) && m_oldEditProc)
        ::SetWindowLongPtrA(m_edit, GWLP_WNDPROC, (LONG_PTR)m_oldEditProc);
    m_edit = nullptr;
}

void CPathComboBox::OnDestroy() {
    Teardown();
    Default();
}

void CPathComboBox::OpenTheme() {
    const PathComboShared& shared = GetPathComboShared();
    if (m_theme && shared.closeThemeData) shared.closeThemeData(m_theme);
    m_theme = shared.openThemeData ? shared.openThemeData(m_hWnd, L"Header") : nullptr;
}

LRESULT CPathComboBox::OnThemeChanged(WPARAM, LPARAM) {
    OpenTheme();
    Invalidate();
    return Default();
}

BreadcrumbFrame CPathComboBox::Frame() const {
    return {m_clientWidth, m_clientHeight, GetFolderWidgetLook().imageWidth, m_buttonLeft, m_buttonRight};
}

void CPathComboBox::UpdateGeometry() {
    RECT client, window;
    ::GetClientRect(m_hWnd, &client);
    ::GetWindowRect(m_hWnd, &window);
    m_clientWidth = client.right;
    m_clientHeight = client.bottom;
    const int width = window.right - window.left;
    int editRight = width;
    if (m_edit) {
        RECT edit;
        ::GetWindowRect(m_edit, &edit);
        editRight = edit.right - window.left;
    }
    m_arrowWidth = std::max(width - editRight - 2, ::GetSystemMetrics(SM_CXHSCROLL));
    m_buttonLeft = width - m_arrowWidth;
    m_buttonRight = width;
    LayBreadcrumb(m_layout, m_segWidth, m_state.count, m_arrowWidth);
    FitBreadcrumb(m_layout, Frame().Available());
}

void CPathComboBox::OnSize(UINT, int, int) {
    Default();
    UpdateGeometry();
    Invalidate();
}

int CPathComboBox::HitTest(int x, int y) const { return HitBreadcrumb(m_layout, Frame(), x, y); }

bool CPathComboBox::IsLevelRead(int level) const {
    if (level < 0 || level > m_state.count) return false;
    CSingleLock lock(&PathComboLock, TRUE);
    return m_state.levelGeneration[level] == MakeLevelWord(level, m_state.generation);
}

// ---- Worker ----

bool CPathComboBox::IsWorkerReading() const { return m_worker && m_worker->working.load() != kLevelWordNone; }

void CPathComboBox::AskLevel(int level) {
    if (level < 0 || level > m_state.count) return;
    AskPathComboWorker(m_worker, MakeLevelWord(level, m_state.generation));
}

LRESULT CPathComboBox::OnWorker(WPARAM what, LPARAM value) {
    switch (what) {
    case PCW_STARTED:
        if (m_worker && (LPARAM)m_worker == value && !m_workerTaken) {
            m_workerTaken = true;
            m_worker->runState.store(PCW_RUNNING);
            AskLevel(m_state.count);
        }
        break;
    case PCW_ENDED:
        if (m_worker && (LPARAM)m_worker == value) {
            StopPathComboWorker(m_worker, 0);
            m_worker = nullptr;
        }
        break;
    case PCW_LEVEL_READY:
        OnLevelReady((uint32_t)value);
        break;
    }
    return 0;
}

void CPathComboBox::OnLevelReady(uint32_t word) {
    if (GenerationOfWord(word) != (m_state.generation & 0xFFFFFF)) return;
    const int level = LevelOfWord(word);
    if (level == m_state.count) {
        FitBreadcrumb(m_layout, Frame().Available());
        Invalidate();
    }
    // The levels are read from the deepest up, one at a time.
    if (level > 0) AskLevel(level - 1);
    if (m_openGeneration == kWaitingForWorker && m_openLevel == level) ShowPopup(level);
    else if (m_popupOpen && m_openLevel == level) ShowPopup(level);
}

// ---- Window text ----

LRESULT CPathComboBox::OnGetText(WPARAM size, LPARAM buffer) {
    if (!BreadcrumbShown()) return Default();
    if (!buffer || size == 0) return 0;
    return StrCopyNA(reinterpret_cast<char*>(buffer), m_state.path, (int)std::min<WPARAM>(size, 0x7FFFFFFF));
}

LRESULT CPathComboBox::OnGetTextLength(WPARAM, LPARAM) {
    if (!BreadcrumbShown()) return Default();
    return lstrlenA(m_state.path);
}

LRESULT CPathComboBox::OnSetText(WPARAM, LPARAM text) {
    if (!BreadcrumbShown()) Default();
    return SetPath(reinterpret_cast<const char*>(text), -1);
}

// The text of the combo's list entry index through SetPath.
static void ShowListEntry(CPathComboBox* combo, LRESULT index) {
    if (index == CB_ERR) return;
    const int length = (int)combo->SendMessage(CB_GETLBTEXTLEN, (WPARAM)index);
    char text[kPathBufferSize];
    if (length < 0 || length >= kPathBufferSize) return;
    combo->SendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)text);
    combo->SetPath(text, -1);
}

LRESULT CPathComboBox::OnSelectString(WPARAM, LPARAM) {
    const LRESULT index = Default();
    ShowListEntry(this, index);
    return index;
}

LRESULT CPathComboBox::OnSetCurSel(WPARAM, LPARAM) {
    const LRESULT index = Default();
    ShowListEntry(this, index);
    return index;
}

void CPathComboBox::OnCloseUp() {
    ShowListEntry(this, DefWindowProc(CB_GETCURSEL, 0, 0));
    if (m_trackTimer) KillTimer(kTrackTimer);
    m_trackTimer = false;
    m_hotState = 1;
    Invalidate();
}
