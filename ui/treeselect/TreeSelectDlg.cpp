// CTreeSelectDlg: the entry and cell operations, opening (control, columns, window, rows), OK and Cancel, and
// the resizing shared with the list selection dialog.
#include "ui/treeselect/TreeSelectDlg.h"

#include "text/StrCopy.h"
#include "ui/treeselect/TreeSelectTemplate.h"
#include "ui/treeselect/TreeSelectState.h"

namespace {

constexpr int kPromptMinHeight = 5;  // an empty prompt lowers the minimum height by this much

}  // namespace

TreeSelectProcessState g_treeSelect;

CTreeSelectDlg::CTreeSelectDlg(CWnd* parent)
    : CResizableSelectDlg(TreeSelectDialogTemplate(), parent, &g_treeSelect.position) {}

CTreeSelectDlg::~CTreeSelectDlg() = default;

void CTreeSelectDlg::ForgetSavedPosition() { g_treeSelect.position = SelectSavedPosition(); }

// --- entries, columns and cells

int CTreeSelectDlg::AddItem(int index, uint32_t value, LPCSTR text, int flag) {
    const int at = m_entries.Add(index, value, text, flag != 0);
    if (at < 0) return -1;
    if (!m_table.InsertRow(at)) {
        m_entries.Remove(at);
        return -1;
    }
    return at;
}

void CTreeSelectDlg::RemoveAll() {
    m_entries.RemoveAll();
    m_table.RemoveRows();
}

int CTreeSelectDlg::AddColumn(LPCSTR text, int width, int format, int editable) {
    if (m_entries.Count() > 0) return -1;
    return m_table.AddColumn(text, width, format, editable != 0);
}

int CTreeSelectDlg::SetItemText(int row, LPCSTR text) { return m_entries.SetText(row, text) ? 1 : 0; }

int CTreeSelectDlg::SetCellText(int row, int column, LPCSTR text) {
    if (column == 0) return SetItemText(row, text);
    return m_entries.Valid(row) && m_table.SetCell(row, column, text) ? 1 : 0;
}

const char* CTreeSelectDlg::GetCellText(int row, int column) const {
    if (!m_entries.Valid(row)) return nullptr;
    if (column == 0) return m_entries.Text(row);
    return m_table.CellColumn(column) ? m_table.Cell(row, column) : nullptr;
}

int CTreeSelectDlg::GetCellTextCopy(int row, int column, char* buffer, int size) const {
    if (!buffer || size < 1) return 0;
    return StrCopyNA(buffer, GetCellText(row, column), size);
}

// --- opening

bool CTreeSelectDlg::CreateTree() {
    m_tree = std::make_unique<CTreeListCtrl>();
    if (!m_tree->CreateAtControl(WS_EX_CLIENTEDGE, TreeSelectWindowStyle(m_options), kTreeSelectPlaceholderId, this,
                                 kTreeSelectTreeId))
        return false;
    m_tree->SendMessage(TVM_SETEXTENDEDSTYLE, 0, TreeSelectExtendedStyle(m_options, m_table.ColumnCount()));
    return true;
}

void CTreeSelectDlg::InsertColumns() {
    for (int i = 0; i < m_table.ColumnCount(); ++i) {
        const TreeSelectColumn& c = m_table.Column(i);
        m_tree->InsertColumn(i, c.text.c_str(), c.format, c.width);
        if (c.editable) m_tree->SendMessage(TLM_SETCOLUMNEDIT, TreeSelectColumnEditParam(i), 0);
    }
}

void CTreeSelectDlg::PlaceAndLayOut() {
    MeasureLayout(kTreeSelectTreeId, kPromptMinHeight);
    PlaceWindow();
    if (!m_cancelAllowed) {
        m_measures.gap = 0;
        ::ShowWindow(::GetDlgItem(m_hWnd, IDCANCEL), SW_HIDE);
    }
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    OnSize(SIZE_RESTORED, client.right, client.bottom);
}

// Single choice shows one row chosen: the last ticked row is the candidate and the ticks are cleared.
// Multiple choice shows every ticked row checked (check boxes) or selected.
void CTreeSelectDlg::FillRows() {
    const bool checks = m_options & kTreeSelectCheckBoxes, multiple = m_options & kTreeSelectMultiple;
    const UINT stateMask = checks ? TVIS_STATEIMAGEMASK : 0;
    int candidate = -1;
    m_items.clear();
    m_items.reserve(m_entries.Count());
    for (int row = 0; row < m_entries.Count(); ++row) {
        const bool tick = m_entries.Check(row);
        if (!multiple && tick) {
            candidate = row;
            m_entries.SetCheck(row, false);
        }
        const UINT state = checks ? INDEXTOSTATEIMAGEMASK(multiple && tick ? 2 : 1) : 0;
        m_items.push_back(InsertRowItem(row, m_entries.Text(row), state, stateMask));
        if (multiple && !checks && tick) SetState(m_items[row], TVIS_SELECTED, TVIS_SELECTED);
        for (int column = 1; column < m_table.ColumnCount(); ++column)
            if (*m_table.Cell(row, column)) ShowCell(row, column);
    }
    ChooseInitialRow(candidate);
    m_newRow = nullptr;
    if (m_options & kTreeSelectNewRow)
        m_newRow = InsertRowItem(m_entries.Count(), "", checks ? INDEXTOSTATEIMAGEMASK(1) : 0, stateMask);
}

void CTreeSelectDlg::ChooseInitialRow(int candidate) {
    if (m_index <= -2) {
        m_index = -1;
        return;
    }
    if (m_options & kTreeSelectMultiple) return;
    if (m_index < 0) m_index = candidate;
    if (m_index >= m_entries.Count() || m_index == -1) m_index = 0;
    if (m_entries.Count() == 0) return;
    m_tree->SelectItem(m_items[m_index]);
    if (m_options & kTreeSelectCheckBoxes) SetChecked(m_items[m_index], true);
    m_entries.SetCheck(m_index, true);
}

BOOL CTreeSelectDlg::OnInitDialog() {
    m_options = EffectiveTreeSelectOptions(m_options, m_table.ColumnCount(), m_table.AnyEditable());
    // The rows open in table order, so the first header click sorts ascending whatever was sorted before.
    g_treeSelect.sort = TreeSelectSortState();
    m_menuRow = -1;
    if (!CreateTree()) {
        EndDialog(-1);
        return FALSE;
    }
    if (m_focusList) PostMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_tree->GetSafeHwnd()), 1);
    InsertColumns();
    PlaceAndLayOut();
    FillRows();
    CDialog::OnInitDialog();
    ShowCaptionAndPrompt();
    return TRUE;
}

// --- closing

// The rows are walked in the order shown: a checked (check boxes) or selected row is chosen, and the last
// chosen row gives the text and the value.
void CTreeSelectDlg::OnOK() {
    KeepWindow();
    m_index = -1;
    const bool checks = m_options & kTreeSelectCheckBoxes;
    for (HTREEITEM item = m_tree->GetRootItem(); item; item = m_tree->GetNextSiblingItem(item)) {
        const int row = RowOf(item);
        if (row < 0) continue;
        const bool chosen = checks ? Checked(item) : (State(item) & TVIS_SELECTED) != 0;
        m_entries.SetCheck(row, chosen);
        if (chosen) m_index = row;
    }
    TakeChosenEntry();
    CDialog::OnOK();
}

void CTreeSelectDlg::OnSize(UINT, int cx, int cy) {
    if (m_tree) LayOutSelectControls(m_hWnd, kTreeSelectTreeId, m_measures, cx, cy, m_cancelAllowed != 0);
}
