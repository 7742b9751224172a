// CTreeSelectDlg: what the tree-list control reports (right and double clicks, keys, header clicks, editing)
// and the context menu's commands.
#include "ui/treeselect/TreeSelectDlg.h"

#include "ui/Clipboard.h"
#include "ui/dialogs/SelectDialogTemplates.h"
#include "ui/treeselect/TreeSelectTemplate.h"

namespace {

// The control's records name the column in cChildren.
int ColumnOf(const TVITEMA& item, int columnCount) {
    return item.cChildren >= 0 && item.cChildren < (columnCount > 0 ? columnCount : 1) ? item.cChildren : 0;
}

bool BothSet(uint32_t options, uint32_t bits) { return (options & bits) == bits; }

}  // namespace

BEGIN_MESSAGE_MAP(CTreeSelectDlg, CResizableSelectDlg)
    ON_WM_SIZE()
    ON_NOTIFY(NM_RCLICK, kTreeSelectTreeId, OnRightClick)
    ON_NOTIFY(NM_DBLCLK, kTreeSelectTreeId, OnDoubleClick)
    ON_NOTIFY(TVN_KEYDOWN, kTreeSelectTreeId, OnKeyDown)
    ON_NOTIFY(TLN_EDITREQUEST, kTreeSelectTreeId, OnEditRequest)
    ON_NOTIFY(TVN_ENDLABELEDITA, kTreeSelectTreeId, OnEndEdit)
    ON_NOTIFY(HDN_ITEMCLICKA, kTreeSelectTreeId, OnHeaderClick)
    ON_COMMAND(kTreeSelectCopyField, OnCopyField)
    ON_COMMAND(ID_EDIT_CLEAR, OnDeleteRow)
    ON_COMMAND(kSelectAll, OnCheckAll)
    ON_COMMAND(kSelectNone, OnUncheckAll)
END_MESSAGE_MAP()

void CTreeSelectDlg::OnRightClick(NMHDR* header, LRESULT* result) {
    *result = 1;
    const TVITEMA& hit = reinterpret_cast<const NMTREEVIEWA*>(header)->itemNew;
    m_menuRow = RowOf(hit.hItem ? hit.hItem : CaretItem());
    m_menuColumn = hit.hItem ? ColumnOf(hit, m_table.ColumnCount()) : CaretColumn();
    HMENU menu = CreateTreeSelectMenu(m_options);
    if (!menu) return;
    POINT at;
    ::GetCursorPos(&at);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
}

// Ends the dialog only when the options are exactly none, or exactly single choice by check boxes (which
// checks the row first); otherwise the control goes its usual way.
void CTreeSelectDlg::OnDoubleClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    HTREEITEM item = reinterpret_cast<const NMTREEVIEWA*>(header)->itemNew.hItem;
    if (!item) item = CaretItem();
    if (RowOf(item) < 0) return;
    if (m_options == kTreeSelectCheckBoxes) {
        CheckAll(false);
        SetChecked(item, true);
    } else if (m_options != 0) {
        return;
    }
    *result = 1;
    OnOK();
}

void CTreeSelectDlg::OnKeyDown(NMHDR* header, LRESULT* result) {
    *result = 0;
    if (reinterpret_cast<const NMTVKEYDOWN*>(header)->wVKey == VK_DELETE) OnDeleteRow();
}

// The control asks before it opens an editor; rows of the table and the new row may be edited in the
// columns the options and the column settings allow.
void CTreeSelectDlg::OnEditRequest(NMHDR* header, LRESULT* result) {
    *result = 0;
    const TVITEMA& cell = reinterpret_cast<const NMTREEVIEWA*>(header)->itemNew;
    if (!cell.hItem || (cell.hItem != m_newRow && RowOf(cell.hItem) < 0)) return;
    const int column = cell.cChildren;
    const bool editable = column >= 0 && column < m_table.ColumnCount() && m_table.Column(column).editable;
    *result = TreeSelectEditAnswer(m_options, column, m_table.ColumnCount(), editable, m_table.AnyEditable());
}

// The dialog stores an accepted text itself (and answers non-zero, so that the control stores nothing).
void CTreeSelectDlg::OnEndEdit(NMHDR* header, LRESULT* result) {
    const TVITEMA& item = reinterpret_cast<const NMTVDISPINFOA*>(header)->item;
    *result = 0;
    if (!(item.mask & TVIF_TEXT) || !item.pszText) return;  // cancelled
    *result = 1;
    const int column = ColumnOf(item, m_table.ColumnCount());
    if (m_newRow && item.hItem == m_newRow) {
        if (*item.pszText) TakeNewRow(column, item.pszText);
        return;
    }
    const int row = RowOf(item.hItem);
    if (row < 0 || !SetCellText(row, column, item.pszText)) return;
    ShowCell(row, column);
    if (BothSet(m_options, kTreeSelectDelete | kTreeSelectDeleteEmptied) && !*m_entries.Text(row) &&
        m_table.CellsEmpty(row))
        DeleteRow(row);
}

// The control hands on the clicks on its header.
void CTreeSelectDlg::OnHeaderClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    if (!(m_options & kTreeSelectNoSort)) SortBy(reinterpret_cast<const NMHEADERA*>(header)->iItem);
}

void CTreeSelectDlg::OnCopyField() {
    int row = m_menuRow, column = m_menuColumn;
    if (row < 0) {
        row = RowOf(CaretItem());
        column = CaretColumn();
    }
    m_menuRow = -1;
    const char* text = GetCellText(row, column);
    if (text && *text) SetClipboardText(text, -1);
}

void CTreeSelectDlg::OnDeleteRow() {
    if (m_options & kTreeSelectDelete) DeleteRow(RowOf(CaretItem()));
}

void CTreeSelectDlg::OnCheckAll() {
    if (m_options & kTreeSelectCheckBoxes) CheckAll(true);
}

void CTreeSelectDlg::OnUncheckAll() {
    if (m_options & kTreeSelectCheckBoxes) CheckAll(false);
}
