// The options of the tree selection dialog and what they make of the tree-list control's styles.
#pragma once

#include <windows.h>

#include <cstdint>

enum : uint32_t {
    kTreeSelectMultiple = 0x01,       // several rows may be chosen
    kTreeSelectCheckBoxes = 0x02,     // rows are chosen by their check boxes
    kTreeSelectToggleRows = 0x04,     // flips the grid lines and alternating row colours
    kTreeSelectNoSort = 0x08,         // a header click does not sort
    kTreeSelectNewRow = 0x10,         // an empty last row through which rows are typed in
    kTreeSelectDelete = 0x20,         // rows can be deleted (menu and the Delete key)
    kTreeSelectDeleteEmptied = 0x40,  // with kTreeSelectDelete: a row whose cells were all emptied goes
    kTreeSelectEdit = 0x80,           // cells can be edited
};

// The options as the dialog uses them: editing is switched on by an editable column, or, without columns,
// by the new row or deleting.
uint32_t EffectiveTreeSelectOptions(uint32_t options, int columnCount, bool anyColumnEditable);
// The control's window style and extended style for the (effective) options.
DWORD TreeSelectWindowStyle(uint32_t options);
DWORD TreeSelectExtendedStyle(uint32_t options, int columnCount);
// wParam of the control's column edit message that makes a column editable.
WPARAM TreeSelectColumnEditParam(int column);
// What the dialog answers the control's edit request for a cell in `column`: 0 refuses, otherwise an editor
// that fills the cell.
LRESULT TreeSelectEditAnswer(uint32_t options, int column, int columnCount, bool columnEditable, bool anyEditable);
