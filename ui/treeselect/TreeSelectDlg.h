// CTreeSelectDlg: the selection dialog whose rows carry several columns of text, shown in a tree-list
// control created over the template's placeholder. Like the list selection dialog it keeps its own entry
// table (a value, a tick and the first column's text per row), reopens at its kept size and where the last
// tree dialog closed, and reports the chosen row. On top it offers check boxes, multiple choice, sorting by
// a header click, editing of cells, typing in new rows through an empty last row, and deleting rows.
#pragma once

#include "treelist/treelistctrl/TreeListCtrl.h"
#include "ui/dialogs/SelectDialogs.h"
#include "ui/treeselect/TreeSelectOptions.h"
#include "ui/treeselect/TreeSelectTable.h"

#include <cstdint>
#include <memory>
#include <vector>

class CTreeSelectDlg : public CResizableSelectDlg {
public:
    explicit CTreeSelectDlg(CWnd* parent = nullptr);
    ~CTreeSelectDlg() override;

    // See SelectEntries::Add; flag is the row's tick. -1 when memory ran out.
    int AddItem(int index, uint32_t value, LPCSTR text, int flag = 0);
    void RemoveAll();

    // Only while there are no rows (otherwise -1); the column's index. format is an LVCFMT_ alignment.
    int AddColumn(LPCSTR text, int width, int format = LVCFMT_LEFT, int editable = 0);
    // The row's first-column text; 0 for an invalid row.
    int SetItemText(int row, LPCSTR text);
    // Column 0 is SetItemText; 0 for an invalid row or column.
    int SetCellText(int row, int column, LPCSTR text);
    // "" for a cell without text, null for an invalid row or column.
    const char* GetCellText(int row, int column) const;
    // At most size - 1 characters and a NUL; the characters copied (0 for an invalid cell or size < 1).
    int GetCellTextCopy(int row, int column, char* buffer, int size) const;

    uint32_t m_options = 0;  // kTreeSelect* bits

    // Forgets the position shared by the tree dialogs of the process (tests).
    static void ForgetSavedPosition();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnRightClick(NMHDR* header, LRESULT* result);
    afx_msg void OnDoubleClick(NMHDR* header, LRESULT* result);
    afx_msg void OnKeyDown(NMHDR* header, LRESULT* result);
    afx_msg void OnEditRequest(NMHDR* header, LRESULT* result);
    afx_msg void OnEndEdit(NMHDR* header, LRESULT* result);
    afx_msg void OnHeaderClick(NMHDR* header, LRESULT* result);
    afx_msg void OnCopyField();
    afx_msg void OnDeleteRow();
    afx_msg void OnCheckAll();
    afx_msg void OnUncheckAll();
    DECLARE_MESSAGE_MAP()

private:
    // Opening.
    bool CreateTree();
    void InsertColumns();
    void PlaceAndLayOut();
    void FillRows();
    void ChooseInitialRow(int candidate);
    // The control's side of the rows (TreeSelectRows.cpp).
    HTREEITEM InsertRowItem(int row, LPCSTR text, UINT state, UINT stateMask);
    int RowOf(HTREEITEM item) const;
    UINT State(HTREEITEM item) const;
    void SetState(HTREEITEM item, UINT state, UINT stateMask);
    HTREEITEM CaretItem() const;
    int CaretColumn() const;
    bool Checked(HTREEITEM item) const;
    void SetChecked(HTREEITEM item, bool checked);
    void CheckAll(bool checked);
    void ShowCell(int row, int column);
    void DeleteRow(int row);
    void TakeNewRow(int column, const char* text);
    void SortBy(int column);
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM dialog);

    TreeSelectTable m_table;
    std::unique_ptr<CTreeListCtrl> m_tree;
    std::vector<HTREEITEM> m_items;    // the control's item of each row while the dialog is open
    HTREEITEM m_newRow = nullptr;      // the empty last row (kTreeSelectNewRow); its lParam is the row count
    int m_menuRow = -1, m_menuColumn = 0;  // the cell a right click was on
};
