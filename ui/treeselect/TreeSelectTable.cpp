#include "ui/treeselect/TreeSelectTable.h"

#include "treelist/control/TreeList.h"

#include <algorithm>
#include <new>

int TreeSelectTable::AddColumn(const char* text, int width, int format, bool editable) {
    if (ColumnCount() >= kTreeListMaxColumns) return -1;
    try {
        m_columns.push_back({text ? text : "", width, format, editable});
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return ColumnCount() - 1;
}

bool TreeSelectTable::AnyEditable() const {
    return std::any_of(m_columns.begin(), m_columns.end(), [](const TreeSelectColumn& c) { return c.editable; });
}

bool TreeSelectTable::InsertRow(int row) {
    if (row < 0 || row > static_cast<int>(m_cells.size())) return false;
    try {
        m_cells.emplace(m_cells.begin() + row);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void TreeSelectTable::RemoveRow(int row) {
    if (row >= 0 && row < static_cast<int>(m_cells.size())) m_cells.erase(m_cells.begin() + row);
}

const char* TreeSelectTable::Cell(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(m_cells.size()) || column < 1) return "";
    const std::vector<std::string>& cells = m_cells[row];
    return column - 1 < static_cast<int>(cells.size()) ? cells[column - 1].c_str() : "";
}

bool TreeSelectTable::SetCell(int row, int column, const char* text) {
    if (!CellColumn(column) || row < 0 || row >= static_cast<int>(m_cells.size())) return false;
    std::vector<std::string>& cells = m_cells[row];
    try {
        if (column - 1 >= static_cast<int>(cells.size())) cells.resize(column);
        cells[column - 1] = text ? text : "";
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool TreeSelectTable::CellsEmpty(int row) const {
    if (row < 0 || row >= static_cast<int>(m_cells.size())) return true;
    return std::all_of(m_cells[row].begin(), m_cells[row].end(), [](const std::string& s) { return s.empty(); });
}
