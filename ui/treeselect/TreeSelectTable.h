// The columns of the tree selection dialog and the texts of its rows' cells beyond the first column. Rows are
// numbered as in the dialog's entry table; the caller keeps the cells in step with its inserts and removals.
// Cells are kept per row and column without narrowing either number.
#pragma once

#include <string>
#include <vector>

struct TreeSelectColumn {
    std::string text;
    int width;
    int format;
    bool editable;
};

class TreeSelectTable {
public:
    // The new column's index; -1 past the control's 32 columns or when memory ran out.
    int AddColumn(const char* text, int width, int format, bool editable);
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    const TreeSelectColumn& Column(int column) const { return m_columns[column]; }
    bool AnyEditable() const;
    // Columns that hold cells: 1 .. count - 1.
    bool CellColumn(int column) const { return column >= 1 && column < ColumnCount(); }

    // An empty row of cells at row (0..rows); false when memory ran out.
    bool InsertRow(int row);
    void RemoveRow(int row);
    void RemoveRows() { m_cells.clear(); }
    // The cell's text, "" when it has none (also for rows and columns the table does not hold).
    const char* Cell(int row, int column) const;
    // False for a column that holds no cells, a row the table does not hold, or when memory ran out.
    bool SetCell(int row, int column, const char* text);
    bool CellsEmpty(int row) const;

private:
    std::vector<TreeSelectColumn> m_columns;
    std::vector<std::vector<std::string>> m_cells;  // per row: columns 1.. as far as set
};
