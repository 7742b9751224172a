#include "ui/dialogs/ListSelectControl.h"
#include "ui/dialogs/SelectDialogPlacement.h"
#include "ui/dialogs/SelectDialogTemplates.h"
#include "ui/dialogs/SelectDialogs.h"
#include "ui/shared/UiStrings.h"

namespace {

constexpr int kPromptHeight = 20;
constexpr int kMinRowHeight = 16;

enum ListStyle { kSingle = 0, kMultiple = 1, kOneTick = 2, kCheckBoxes = 3 };

// The screen position of the last list dialog closed in this process.
SelectSavedPosition g_savedPosition;

bool DrawsTicks(int style) { return style == kOneTick || style == kCheckBoxes; }
bool SelectsAll(int style) { return style == kMultiple || style == kCheckBoxes; }

RECT ClientRectOf(HWND hwnd) {
    RECT r;
    ::GetClientRect(hwnd, &r);
    return r;
}

}  // namespace

BEGIN_MESSAGE_MAP(CListSelectDlg, CResizableSelectDlg)
    ON_WM_CHAR()
    ON_WM_SIZE()
    ON_WM_DRAWITEM()
    ON_WM_MOUSEWHEEL()
    ON_CONTROL_RANGE(LBN_DBLCLK, kSelectListFirstId, kSelectListLastId, OnListDoubleClick)
    ON_COMMAND(kSelectContextMenu, OnContextMenuCommand)
    ON_COMMAND(kSelectAll, OnSelectAll)
    ON_COMMAND(kSelectNone, OnSelectNone)
END_MESSAGE_MAP()

CListSelectDlg::CListSelectDlg(CWnd* parent)
    : CResizableSelectDlg(ListSelectDialogTemplate(), parent, &g_savedPosition) {}

CListSelectDlg::~CListSelectDlg() = default;

void CListSelectDlg::ForgetSavedPosition() { g_savedPosition = SelectSavedPosition(); }

int CListSelectDlg::AddItem(int index, uint32_t value, LPCSTR text, int flag) {
    return m_entries.Add(index, value, text, flag != 0);
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
    MeasureLayout(m_listId, kPromptHeight);
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
    ShowCaptionAndPrompt();
    return TRUE;
}

void CListSelectDlg::OnSize(UINT, int cx, int cy) {
    LayOutSelectControls(m_hWnd, m_listId, m_measures, cx, cy, m_cancelAllowed != 0);
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

void CListSelectDlg::OnOK() {
    KeepWindow();
    HWND list = List();
    if (m_style != kOneTick) m_index = static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0));
    TakeChosenEntry();
    if (m_style == kSingle || m_style == kMultiple)
        for (int i = 0; i < m_entries.Count(); ++i) m_entries.SetCheck(i, ::SendMessageA(list, LB_GETSEL, i, 0) > 0);
    CDialog::OnOK();
}
