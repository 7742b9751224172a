#include "text/StrCopy.h"
#include "ui/dialogs/ListSelectControl.h"
#include "ui/dialogs/SelectDialogTemplates.h"
#include "ui/dialogs/SelectDialogs.h"
#include "ui/msgbox/UiStrings.h"
#include "ui/WindowPos.h"

#include <algorithm>

namespace {

constexpr int32_t kListDesignWidth = 347, kListDesignHeight = 301;
constexpr int kPromptHeight = 20;
constexpr int kMinRowHeight = 16;

enum ListStyle { kSingle = 0, kMultiple = 1, kOneTick = 2, kCheckBoxes = 3 };

// The screen position of the last list dialog closed in this process.
struct SavedPosition {
    POINT point = {};
    bool saved = false;
};
SavedPosition g_savedPosition;

bool DrawsTicks(int style) { return style == kOneTick || style == kCheckBoxes; }
bool SelectsAll(int style) { return style == kMultiple || style == kCheckBoxes; }

RECT ClientRectOf(HWND hwnd) {
    RECT r;
    ::GetClientRect(hwnd, &r);
    return r;
}

void MoveTo(HWND dialog, int id, const RECT& r) {
    ::MoveWindow(::GetDlgItem(dialog, id), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

}  // namespace

BEGIN_MESSAGE_MAP(CListSelectDlg, CSelectDlgBase)
    ON_WM_CHAR()
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_WM_DRAWITEM()
    ON_WM_MOUSEWHEEL()
    ON_CONTROL_RANGE(LBN_DBLCLK, kSelectListFirstId, kSelectListLastId, OnListDoubleClick)
    ON_COMMAND(kSelectContextMenu, OnContextMenuCommand)
    ON_COMMAND(kSelectAll, OnSelectAll)
    ON_COMMAND(kSelectNone, OnSelectNone)
END_MESSAGE_MAP()

CListSelectDlg::CListSelectDlg(CWnd* parent) : CSelectDlgBase(ListSelectDialogTemplate(), parent, -1) {}

CListSelectDlg::~CListSelectDlg() = default;

void CListSelectDlg::ForgetSavedPosition() { g_savedPosition = SavedPosition(); }

int CListSelectDlg::GetItemTextCopy(int index, char* buffer, int size) const {
    if (!buffer || size < 1) return 0;
    return StrCopyNA(buffer, m_entries.Text(index), size);
}

int CListSelectDlg::AddItem(int index, uint32_t value, LPCSTR text, int flag) {
    return m_entries.Add(index, value, text, flag != 0);
}

// The measures of the template as laid out, in client pixels; the minimum size as a window size.
void CListSelectDlg::MeasureLayout() {
    RECT list, ok, cancel;
    GetDlgItemRectInDlg(m_hWnd, m_listId, &list);
    GetDlgItemRectInDlg(m_hWnd, IDOK, &ok);
    GetDlgItemRectInDlg(m_hWnd, IDCANCEL, &cancel);
    const RECT client = ClientRectOf(m_hWnd);
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    ListSelectMeasures& m = m_measures;
    m.listLeft = list.left;
    m.listTop = list.top;
    m.listBottom = client.bottom - list.bottom;
    m.buttonWidth = cancel.right - cancel.left;
    m.buttonHeight = ok.bottom - ok.top;
    m.gap = cancel.left - ok.right;
    m.buttonTop = client.bottom - ok.top;
    m.minWidth = (m_cancelAllowed ? cancel.right : cancel.left) + 40 - ok.left +
                 (window.right - window.left) - client.right;
    m.minHeight = client.bottom - ok.top + 100 + (window.bottom - window.top) - client.bottom;
    if (m_prompt.IsEmpty()) {
        m.listTop -= kPromptHeight;
        m.minHeight -= kPromptHeight;
    }
}

void CListSelectDlg::PlaceWindow() {
    RECT w;
    ::GetWindowRect(m_hWnd, &w);
    int x = w.left, y = w.top, width = w.right - w.left, height = w.bottom - w.top;
    bool move = false;
    if (g_savedPosition.saved &&
        UsableSavedPosition(g_savedPosition.point, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN))) {
        x = g_savedPosition.point.x;
        y = g_savedPosition.point.y;
        move = true;
    }
    if (m_sizeKept) {
        width = m_keptSize.cx;
        height = m_keptSize.cy;
        move = true;
    } else if (m_widthChange || m_heightChange) {
        width = std::max(width + DesignSizeDelta(width, m_widthChange, kListDesignWidth), m_measures.minWidth);
        height = std::max(height + DesignSizeDelta(height, m_heightChange, kListDesignHeight), m_measures.minHeight);
        move = true;
    }
    if (move) ::SetWindowPos(m_hWnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CListSelectDlg::FillList() {
    HWND list = List();
    if (DrawsTicks(m_style)) {
        const int height = static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        if (height < kMinRowHeight) ::SendMessageA(list, LB_SETITEMHEIGHT, 0, kMinRowHeight);
    }
    int candidate = -1;
    for (int i = 0; i < m_entries.Count(); ++i) {
        // Owner-drawn lists keep the pointer; the rows are drawn from the table.
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_entries.Text(i)));
        if (SelectsAll(m_style)) {
            ::SendMessageA(list, LB_SETSEL, m_entries.Check(i), i);
        } else {
            if (m_entries.Check(i)) candidate = i;
            m_entries.SetCheck(i, false);
        }
    }
    if (m_index <= -2) {
        m_index = -1;
    } else if (!SelectsAll(m_style)) {
        if (m_index < 0) m_index = candidate;
        if (m_index >= m_entries.Count() || m_index == -1) m_index = 0;
        if (m_entries.Count() > 0) {
            ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(m_index), 0);
            m_entries.SetCheck(m_index, true);
        }
    }
}

BOOL CListSelectDlg::OnInitDialog() {
    m_style = m_style >= kSingle && m_style <= kCheckBoxes ? m_style : kSingle;
    m_listId = kSelectListFirstId + m_style;
    MeasureLayout();
    ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, kListSelectDialogMarker);
    HWND list = List();
    if (m_focusList) ::PostMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), 1);
    PlaceWindow();
    if (!m_cancelAllowed) {
        m_measures.gap = 0;
        ::ShowWindow(::GetDlgItem(m_hWnd, IDCANCEL), SW_HIDE);
    }
    const RECT client = ClientRectOf(m_hWnd);
    OnSize(SIZE_RESTORED, client.right, client.bottom);
    FillList();
    ::ShowWindow(list, SW_SHOW);
    if (m_style != kSingle) {
        ::SetWindowLongPtrA(list, GWLP_USERDATA, ::GetWindowLongPtrA(list, GWLP_WNDPROC));
        ::SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListSelectSubclassProc));
    }
    CDialog::OnInitDialog();
    if (!m_caption.IsEmpty()) SetWindowText(m_caption);
    if (m_prompt.IsEmpty())
        ::ShowWindow(::GetDlgItem(m_hWnd, kSelectPromptId), SW_HIDE);
    else
        SetDlgItemText(kSelectPromptId, m_prompt);
    return TRUE;
}

void CListSelectDlg::OnSize(UINT, int cx, int cy) {
    if (cx <= 0 || cy <= 0 || !m_listId) return;
    const ListSelectPlacement p = LayOutListSelect(m_measures, cx, cy, m_cancelAllowed != 0);
    MoveTo(m_hWnd, m_listId, p.list);
    MoveTo(m_hWnd, IDOK, p.ok);
    MoveTo(m_hWnd, IDCANCEL, p.cancel);
}

void CListSelectDlg::OnSizing(UINT fwSide, LPRECT pRect) {
    KeepMinimumSize(pRect, fwSide, m_measures.minWidth, m_measures.minHeight);
}

BOOL CListSelectDlg::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    if (m_inWheel) return FALSE;
    m_inWheel = true;
    ::SendMessageA(List(), WM_MOUSEWHEEL, MAKEWPARAM(nFlags, zDelta), MAKELPARAM(pt.x, pt.y));
    m_inWheel = false;
    return TRUE;
}

void CListSelectDlg::OnChar(UINT nChar, UINT, UINT) {
    HWND list = List();
    const int current = static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0));
    const int found = m_typeAhead.Type(static_cast<unsigned char>(nChar), ::GetTickCount(), current, m_entries.Count(),
                                       [this](int i) { return m_entries.Text(i); });
    if (found < 0) return;
    if (m_style == kMultiple)
        ::SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(found), FALSE);
    else
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

void CListSelectDlg::InvalidateRow(int index) {
    HWND list = List();
    if (!m_entries.Valid(index)) return;
    const int top = static_cast<int>(::SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const int height = static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    RECT row = ClientRectOf(list);
    row.top = (index - top) * height;
    row.bottom = row.top + height;
    ::InvalidateRect(list, &row, TRUE);
}

void CListSelectDlg::RedrawList() { ::RedrawWindow(List(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void CListSelectDlg::OnListDoubleClick(UINT id) {
    if (static_cast<int>(id) != m_listId) return;
    const int current = static_cast<int>(::SendMessageA(List(), LB_GETCURSEL, 0, 0));
    if (!m_entries.Valid(current)) return;
    switch (m_style) {
    case kSingle: OnOK(); break;
    case kOneTick:
        if (m_entries.Check(current)) break;
        m_entries.SetCheck(m_index, false);  // out of range changes nothing
        m_entries.SetCheck(current, true);
        InvalidateRow(m_index);
        InvalidateRow(current);
        m_index = current;
        break;
    case kCheckBoxes:
        m_entries.SetCheck(current, !m_entries.Check(current));
        RedrawList();
        break;
    default: break;
    }
}

void CListSelectDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT item) {
    if (nIDCtl != m_listId || !DrawsTicks(m_style) || !item || !m_entries.Valid(static_cast<int>(item->itemID))) return;
    const int index = static_cast<int>(item->itemID);
    DrawSelectTick(item->hDC, item->rcItem, (item->itemState & ODS_SELECTED) != 0, m_entries.Check(index),
                   m_entries.Text(index));
}

void CListSelectDlg::OnContextMenuCommand() {
    if (!SelectsAll(m_style)) return;
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, kSelectAll, GetUIStringA(nullptr, kUiSelectAll));
    ::AppendMenuA(menu, MF_STRING, kSelectNone, GetUIStringA(nullptr, kUiDeselectAll));
    POINT at;
    ::GetCursorPos(&at);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
}

void CListSelectDlg::SelectAll(bool select) {
    if (!SelectsAll(m_style)) return;
    HWND list = List();
    bool changed = false;
    for (int i = m_entries.Count() - 1; i >= 0; --i) {
        ::SendMessageA(list, LB_SETSEL, select, i);
        if (m_style == kCheckBoxes && m_entries.Check(i) != select) {
            m_entries.SetCheck(i, select);
            changed = true;
        }
    }
    if (changed) RedrawList();
}

void CListSelectDlg::OnSelectAll() { SelectAll(true); }
void CListSelectDlg::OnSelectNone() { SelectAll(false); }

void CListSelectDlg::KeepSizeAndPosition() {
    RECT w;
    ::GetWindowRect(m_hWnd, &w);
    m_keptSize = {w.right - w.left, w.bottom - w.top};
    m_sizeKept = true;
    g_savedPosition.point = {w.left, w.top};
    g_savedPosition.saved = true;
}

void CListSelectDlg::OnOK() {
    KeepSizeAndPosition();
    HWND list = List();
    if (m_style != kOneTick) m_index = static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (m_entries.Valid(m_index)) {
        m_text = m_entries.Text(m_index);
        m_value = m_entries.Value(m_index);
    } else {
        m_text.Empty();
        m_value = 0;
    }
    if (m_style == kSingle || m_style == kMultiple)
        for (int i = 0; i < m_entries.Count(); ++i) m_entries.SetCheck(i, ::SendMessageA(list, LB_GETSEL, i, 0) > 0);
    CDialog::OnOK();
}

void CListSelectDlg::OnCancel() {
    if (!m_cancelAllowed) return;
    KeepSizeAndPosition();
    m_text.Empty();
    m_index = -1;
    CDialog::OnCancel();
}
