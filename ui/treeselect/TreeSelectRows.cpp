// CTreeSelectDlg: the rows on the control's side. Each row is a top-level item whose lParam is its row
// number; the dialog keeps the item of every row, and the empty new row (lParam = row count) apart.
// Deleting, adding and sorting keep rows, cells and items in step.
#include "ui/treeselect/TreeSelectDlg.h"

#include "ui/dialogs/SelectEntries.h"
#include "ui/treeselect/TreeSelectState.h"

namespace {

constexpr UINT kCheckedImage = 2;

}  // namespace

HTREEITEM CTreeSelectDlg::InsertRowItem(int row, LPCSTR text, UINT state, UINT stateMask) {
    return m_tree->InsertItem(TVIF_TEXT | TVIF_PARAM | (stateMask ? TVIF_STATE : 0), text, 0, 0, state, stateMask, row,
                              TVI_ROOT, TVI_LAST);
}

int CTreeSelectDlg::RowOf(HTREEITEM item) const {
    if (!item) return -1;
    TVITEMA r = {};
    r.mask = TVIF_HANDLE | TVIF_PARAM;
    r.hItem = item;
    if (!m_tree->SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&r))) return -1;
    const LPARAM row = r.lParam;
    return row >= 0 && row < static_cast<LPARAM>(m_items.size()) && m_items[row] == item ? static_cast<int>(row) : -1;
}

UINT CTreeSelectDlg::State(HTREEITEM item) const {
    return static_cast<UINT>(m_tree->SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), 0xFFFFFFFF));
}

void CTreeSelectDlg::SetState(HTREEITEM item, UINT state, UINT stateMask) {
    TVITEMA r = {};
    r.mask = TVIF_HANDLE | TVIF_STATE;
    r.hItem = item;
    r.state = state;
    r.stateMask = stateMask;
    m_tree->SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&r));
}

HTREEITEM CTreeSelectDlg::CaretItem() const { return m_tree->GetSelectedItem(); }

int CTreeSelectDlg::CaretColumn() const {
    return static_cast<int>(m_tree->SendMessage(TVM_GETNEXTITEM, TLGN_CARETCOLUMN, 0));
}

bool CTreeSelectDlg::Checked(HTREEITEM item) const {
    return (State(item) & TVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(kCheckedImage);
}

void CTreeSelectDlg::SetChecked(HTREEITEM item, bool checked) {
    SetState(item, INDEXTOSTATEIMAGEMASK(checked ? kCheckedImage : 1), TVIS_STATEIMAGEMASK);
}

void CTreeSelectDlg::CheckAll(bool checked) {
    for (HTREEITEM item : m_items) SetChecked(item, checked);
}

// Puts the table's text of a cell (column 0: the row's text) into the row's item.
void CTreeSelectDlg::ShowCell(int row, int column) {
    const char* text = GetCellText(row, column);
    if (!text || row >= static_cast<int>(m_items.size())) return;
    TVITEMA r = {};
    r.mask = TVIF_HANDLE | TVIF_TEXT | (column > 0 ? static_cast<UINT>(TLIF_CELL) : 0u);
    r.hItem = m_items[row];
    r.pszText = const_cast<LPSTR>(text);
    r.cChildren = column;
    m_tree->SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&r));
}

// Removes the row's entry, cells and item; the rows behind it (and the new row) move up by one.
void CTreeSelectDlg::DeleteRow(int row) {
    if (!m_entries.Valid(row) || row >= static_cast<int>(m_items.size())) return;
    HTREEITEM item = m_items[row];
    m_entries.Remove(row);
    m_table.RemoveRow(row);
    m_items.erase(m_items.begin() + row);
    m_tree->DeleteItem(item);
    for (int i = row; i < static_cast<int>(m_items.size()); ++i) m_tree->SetItemData(m_items[i], i);
    if (m_newRow) m_tree->SetItemData(m_newRow, m_items.size());
}

// A text typed into the empty new row makes it a real row; a new empty row follows.
void CTreeSelectDlg::TakeNewRow(int column, const char* text) {
    if (column != 0 && !m_table.CellColumn(column)) return;
    const int row = m_entries.Count();
    if (AddItem(row, 0, column == 0 ? text : "", 0) != row) return;
    if (column > 0) m_table.SetCell(row, column, text);
    m_items.push_back(m_newRow);
    ShowCell(row, column);
    const UINT stateMask = (m_options & kTreeSelectCheckBoxes) ? TVIS_STATEIMAGEMASK : 0;
    m_newRow = InsertRowItem(row + 1, "", stateMask ? INDEXTOSTATEIMAGEMASK(1) : 0, stateMask);
}

int CALLBACK CTreeSelectDlg::CompareRows(LPARAM a, LPARAM b, LPARAM dialog) {
    const auto* self = reinterpret_cast<const CTreeSelectDlg*>(dialog);
    const TreeSelectSortState& sort = g_treeSelect.sort;
    const char* textA = self->GetCellText(static_cast<int>(a), sort.column);
    const char* textB = self->GetCellText(static_cast<int>(b), sort.column);
    if (!textA || !textB) return textA ? -1 : textB ? 1 : 0;  // the new row stays last
    const int order = CompareSelectText(textA, textB);
    if (order) return sort.descending ? -order : order;
    return a < b ? -1 : a > b ? 1 : 0;
}

// A click on the same column again reverses the order; another column starts ascending.
void CTreeSelectDlg::SortBy(int column) {
    if (column < 0 || column >= (m_table.ColumnCount() > 0 ? m_table.ColumnCount() : 1)) return;
    TreeSelectSortState& sort = g_treeSelect.sort;
    sort.descending = sort.column == column && !sort.descending;
    sort.column = column;
    TVSORTCB by = {};
    by.hParent = TVI_ROOT;
    by.lpfnCompare = CompareRows;
    by.lParam = reinterpret_cast<LPARAM>(this);
    m_tree->SendMessage(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&by));
}
